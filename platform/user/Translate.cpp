// TranslateMessage: character keys pressed (WM_KEYDOWN) also produce WM_CHAR, queued ahead of
// everything else so that the character follows its key at once.

#include "MessageQueue.h"
#include "WindowManager.h"

using namespace platform::user;

namespace {

WCHAR characterOf(UINT key, bool shift) {
    if (key >= '0' && key <= '9') return static_cast<WCHAR>(key);
    if (key >= 'A' && key <= 'Z') return static_cast<WCHAR>(shift ? key : key - 'A' + 'a');
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return static_cast<WCHAR>('0' + key - VK_NUMPAD0);
    switch (key) {
        case VK_SPACE:
            return u' ';
        case VK_RETURN:
            return u'\r';
        case VK_BACK:
            return u'\b';
        case VK_TAB:
            return u'\t';
        case VK_ESCAPE:
            return 0x1B;
        case VK_MULTIPLY:
            return u'*';
        case VK_ADD:
            return u'+';
        case VK_SUBTRACT:
        case VK_OEM_MINUS:
            return u'-';
        case VK_DIVIDE:
            return u'/';
        case VK_DECIMAL:
        case VK_OEM_PERIOD:
            return u'.';
        case VK_OEM_COMMA:
            return u',';
        default:
            return 0;
    }
}

}  // namespace

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN || !msg->hwnd) return FALSE;
    WCHAR character = characterOf(static_cast<UINT>(msg->wParam), GetKeyState(VK_SHIFT) & 0x8000);
    if (!character) return FALSE;
    DWORD thread;
    {
        Lock lock = lockState();
        Window* w = find(msg->hwnd);
        if (!w) return FALSE;
        thread = w->thread;
    }
    auto queue = queueOf(thread);
    MSG charMessage{msg->hwnd, WM_CHAR, character, msg->lParam, msg->time, msg->pt};
    return queue && queue->post(charMessage, true);
}
