// Dialog boxes and modeless dialogs from templates: message sequences, the modal loop, initial
// focus, keyboard defaults (Enter, Escape, Tab, arrows) and failures.
#include "DialogTestSupport.h"

using namespace dialogtest;
using platform::testing::MessageRecorder;
using platform::testing::pressKey;

namespace {

constexpr LPARAM kParam = 0x5eed;

// Records a dialog's messages from its first font message on, and ends it from a posted command.
struct Recording {
    MessageRecorder* recorder = nullptr;
    HWND dialog = nullptr;
    int firstTabId = 0;
};
Recording g_recording;

INT_PTR CALLBACK endOnPostedCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            g_recording.dialog = dialog;
            if (g_recording.recorder) g_recording.recorder->watch(dialog);
            return FALSE;
        case WM_INITDIALOG:
            g_recording.firstTabId = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
            EXPECT_EQ(lParam, kParam);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) EndDialog(dialog, 42);
            return TRUE;
        default:
            return FALSE;
    }
}

TEST_F(DialogTest, DialogBoxRunsUntilEndDialogFromAPostedCommand) {
    MessageRecorder recorder;
    recorder.watch(owner());
    recorder.ignore(WM_GETTEXT);
    g_recording = Recording{&recorder};
    INT_PTR result = DialogBoxParamW(module(), MAKEINTRESOURCEW(10), owner(), endOnPostedCommand, kParam);
    EXPECT_EQ(result, 42);
    HWND d = g_recording.dialog;
    const WPARAM editGotFocus = MAKEWPARAM(1090, EN_SETFOCUS);
    const WPARAM editLostFocus = MAKEWPARAM(1090, EN_KILLFOCUS);
    const std::vector<ExpectedMessage> kDialogBox = {
        {WM_INITDIALOG, kSent | kLParam, 0, kParam, d},
        {WM_ACTIVATE, kSent | kWParam, WA_INACTIVE, 0, owner()},
        {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE, 0, d},
        {WM_KILLFOCUS, kSent, 0, 0, owner()},
        {WM_COMMAND, kSent | kWParam, editGotFocus, 0, d},
        {WM_ENABLE, kSent | kWParam, FALSE, 0, owner()},
        {WM_SHOWWINDOW, kSent | kWParam, TRUE, 0, d},
        {WM_WINDOWPOSCHANGING, kSent, 0, 0, d},
        {WM_WINDOWPOSCHANGED, kSent, 0, 0, d},
        {WM_COMMAND, kPosted | kWParam, MAKEWPARAM(IDOK, BN_CLICKED), 0, d},
        {WM_ENABLE, kSent | kWParam, TRUE, 0, owner()},
        {WM_SHOWWINDOW, kSent | kWParam, FALSE, 0, d},
        {WM_WINDOWPOSCHANGING, kSent, 0, 0, d},
        {WM_ACTIVATE, kSent | kWParam, WA_INACTIVE, 0, d},
        {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE, 0, owner()},
        {WM_COMMAND, kSent | kWParam, editLostFocus, 0, d},
        {WM_SETFOCUS, kSent, 0, 0, owner()},
        {WM_WINDOWPOSCHANGED, kSent, 0, 0, d},
        {WM_DESTROY, kSent, 0, 0, d},
        {WM_NCDESTROY, kSent, 0, 0, d},
    };
    EXPECT_TRUE(recorder.matches(kDialogBox, "modal dialog box ended by a posted command"));
    EXPECT_EQ(g_recording.firstTabId, 1090);
    EXPECT_FALSE(IsWindow(d));
    EXPECT_TRUE(IsWindowEnabled(owner()));
    EXPECT_EQ(GetActiveWindow(), owner());
    g_recording = Recording{};
}

// Ends with the command's id; remembers where the focus was at each command.
int g_focusAtCommand = 0;
INT_PTR CALLBACK endWithCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    g_focusAtCommand = GetDlgCtrlID(GetFocus());
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
    return TRUE;
}

TEST_F(DialogTest, EnterGivesTheDefaultButtonAndEscapeCancel) {
    {
        IdleSteps steps;
        steps.then([](HWND dialog) {
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1090));
            EXPECT_FALSE(IsWindowEnabled(GetWindow(dialog, GW_OWNER)));
            pressKey(VK_RETURN);
        });
        EXPECT_EQ(DialogBoxParamW(module(), MAKEINTRESOURCEW(10), owner(), endWithCommand, 0), IDOK);
    }
    IdleSteps steps;
    steps.then([](HWND) { pressKey(VK_ESCAPE); });
    EXPECT_EQ(DialogBoxParamW(module(), MAKEINTRESOURCEW(10), owner(), endWithCommand, 0), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(owner()));
}

TEST_F(DialogTest, TabAndArrowsMoveTheFocusAndEnterOnAButtonGivesItsId) {
    IdleSteps steps;
    steps.then([](HWND) { pressKey(VK_TAB); })
        .then([](HWND dialog) {
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1227));
            pressKey(VK_DOWN);
        })
        .then([](HWND dialog) {
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1228));
            EXPECT_EQ(IsDlgButtonChecked(dialog, 1228), static_cast<UINT>(BST_CHECKED));
            EXPECT_EQ(IsDlgButtonChecked(dialog, 1227), static_cast<UINT>(BST_UNCHECKED));
            pressKey(VK_TAB);
        })
        .then([](HWND dialog) {
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1005));
            EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, 1090), TRUE),
                      GetDlgItem(dialog, IDCANCEL));
            SetFocus(GetDlgItem(dialog, IDCANCEL));
            pressKey(VK_RETURN);
        });
    EXPECT_EQ(DialogBoxParamW(module(), MAKEINTRESOURCEW(10), owner(), endWithCommand, 0), IDCANCEL);
    EXPECT_EQ(g_focusAtCommand, IDCANCEL);
}

TEST_F(DialogTest, AMissingTemplateOrAnUnknownControlClassFailsWithMinusOne) {
    SetLastError(0);
    EXPECT_EQ(DialogBoxParamW(module(), MAKEINTRESOURCEW(99), owner(), endWithCommand, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(DialogBoxParamW(module(), MAKEINTRESOURCEW(11), owner(), endWithCommand, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
    EXPECT_EQ(FindWindowW(WC_DIALOG, nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner()));
    EXPECT_EQ(CreateDialogParamW(module(), MAKEINTRESOURCEW(11), owner(), endWithCommand, 0), nullptr);
}

// A modeless dialog handles its own keys through IsDialogMessageW and destroys itself on a command.
INT_PTR CALLBACK modelessProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_USER) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 77);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
    return TRUE;
}

TEST_F(DialogTest, AModelessDialogShowsAtOnceAndTakesItsKeysThroughIsDialogMessage) {
    MessageRecorder recorder;
    recorder.watch(owner());
    HWND dialog = CreateDialogParamW(module(), MAKEINTRESOURCEW(12), owner(), modelessProc, 0);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner()));
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 21));
    EXPECT_EQ(SendMessageW(dialog, WM_USER, 0, 0), 77);
    EXPECT_TRUE(recorder.matches({{WM_ACTIVATE, kSent | kWParam, WA_INACTIVE}, {WM_KILLFOCUS, kSent}},
                                 "owner of a modeless dialog"));
    recorder.watch(dialog);
    pressKey(VK_ESCAPE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(recorder.messagesOf(WM_COMMAND).size() == 1);
    EXPECT_EQ(recorder.messagesOf(WM_COMMAND)[0].wParam,
              static_cast<WPARAM>(MAKEWPARAM(IDCANCEL, BN_CLICKED)));
}

TEST_F(DialogTest, ItemHelpersAndDialogUnits) {
    HWND dialog = CreateDialogParamW(module(), MAKEINTRESOURCEW(10), owner(), endWithCommand, 0);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(SetDlgItemInt(dialog, 1090, static_cast<UINT>(-25), TRUE));
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, 1090, &ok, TRUE)), -25);
    EXPECT_TRUE(ok);
    EXPECT_EQ(GetDlgItemInt(dialog, 1090, &ok, FALSE), 0u);
    EXPECT_FALSE(ok);
    SetDlgItemTextW(dialog, 1090, u" 120 ");
    EXPECT_EQ(GetDlgItemInt(dialog, 1090, &ok, FALSE), 120u);
    EXPECT_TRUE(ok);
    SetDlgItemTextW(dialog, 1090, u"12a");
    EXPECT_EQ(GetDlgItemInt(dialog, 1090, &ok, TRUE), 0u);
    EXPECT_FALSE(ok);
    WCHAR text[8];
    EXPECT_EQ(GetDlgItemTextW(dialog, 1090, text, 8), 3u);
    EXPECT_EQ(std::u16string(text), u"12a");
    EXPECT_EQ(GetDlgItemTextW(dialog, 4242, text, 8), 0u);
    EXPECT_TRUE(CheckDlgButton(dialog, 1005, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1005), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(CheckRadioButton(dialog, 1227, 1228, 1228));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1227), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1228), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(SendDlgItemMessageW(dialog, 1228, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(HIWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), DC_HASDEFID);
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK);
    RECT size{0, 0, 120, 90};
    ASSERT_TRUE(MapDialogRect(dialog, &size));
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    EXPECT_GT(size.right, 120);
    EXPECT_FALSE(MapDialogRect(owner(), &size));
}

}  // namespace

namespace {

TEST_F(DialogTest, CloseAsksForCancelAndDmSetDefIdMovesEnter) {
    IdleSteps steps;
    steps.then([](HWND dialog) {
        SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
        EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDCANCEL);
        pressKey(VK_RETURN);
    });
    EXPECT_EQ(DialogBoxParamW(module(), MAKEINTRESOURCEW(10), owner(), endWithCommand, 0), IDCANCEL);
    steps.then([](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); });
    EXPECT_EQ(DialogBoxParamW(module(), MAKEINTRESOURCEW(10), owner(), endWithCommand, 0), IDCANCEL);
    EXPECT_FALSE(EndDialog(owner(), 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

}  // namespace

namespace {

TEST_F(DialogTest, EveryTruncatedTemplateIsRefusedAsInvalidData) {
    HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(10), RT_DIALOG);
    ASSERT_TRUE(found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
    DWORD size = SizeofResource(module(), found);
    static const char kOther = 0;
    auto other = reinterpret_cast<HINSTANCE>(const_cast<char*>(&kOther));
    for (DWORD length = 1; length < size; ++length) {
        platform::ResourceEntry entry{{5, nullptr}, {10, nullptr}, bytes, length};
        ASSERT_TRUE(platform::registerModuleResources(other, platform::ResourceTable{&entry, 1}));
        SetLastError(0);
        EXPECT_EQ(CreateDialogParamW(other, MAKEINTRESOURCEW(10), owner(), endWithCommand, 0), nullptr)
            << length;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << length;
        platform::unregisterModuleResources(other);
    }
    EXPECT_EQ(FindWindowW(WC_DIALOG, nullptr), nullptr);
}

}  // namespace
