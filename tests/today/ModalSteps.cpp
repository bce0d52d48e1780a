// Driving modal windows from tests.
#include "ModalSteps.h"

#include <string>

#include "TextPopup.h"
#include "platform/windows.h"

namespace todaytest {

ModalSteps::ModalSteps(std::vector<Step> steps) : m_steps(std::move(steps)) {
    platform::setModalIdleHook([this](HWND modal) { idle(modal); });
    platform::setMessageObserver([this](HWND, UINT message, WPARAM, LPARAM lParam, bool posted) {
        const HWND modal = reinterpret_cast<HWND>(lParam);
        if (message == WM_ENTERIDLE && !posted && today::TextPopup::fromWindow(modal) != nullptr) idle(modal);
    });
}

ModalSteps::~ModalSteps() {
    platform::setModalIdleHook(nullptr);
    platform::setMessageObserver(nullptr);
}

void ModalSteps::idle(HWND modal) {
    if (m_next < m_steps.size()) {
        m_steps[m_next++](modal);
        if (IsWindow(modal)) PostMessageW(modal, WM_NULL, 0, 0);
        return;
    }
    ++m_overruns;
    if (today::TextPopup::fromWindow(modal) != nullptr)
        PostMessageW(modal, WM_KEYDOWN, VK_ESCAPE, 0);
    else
        PostMessageW(modal, WM_COMMAND, IDCANCEL, 0);
}

std::u16string classOf(HWND window) {
    WCHAR name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

HWND findDescendant(HWND window, const std::u16string& name) {
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR text[64] = {};
        GetWindowTextW(child, text, 64);
        if (name == text) return child;
        if (HWND found = findDescendant(child, name)) return found;
    }
    return nullptr;
}

POINT screenCentre(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(window, &centre);
    return centre;
}

}  // namespace todaytest
