// Window creation and destruction sequences, classes, window longs, subclassing, relations and text.

#include <gtest/gtest.h>

#include "TestWindows.h"

using namespace usertest;
using platform::testing::MessageRecorder;
using platform::testing::WindowTestScope;

namespace {

const std::vector<ExpectedMessage> kCreateChildVisible = {
    {WM_NCCREATE, kSent},
    {WM_CREATE, kSent},
    {WM_SIZE, kSent | kWParam | kLParam, SIZE_RESTORED, MAKELPARAM(50, 40)},
    {WM_MOVE, kSent | kLParam, 0, MAKELPARAM(10, 20)},
    {WM_SHOWWINDOW, kSent | kWParam, TRUE},
    {WM_WINDOWPOSCHANGING, kSent},
    {WM_WINDOWPOSCHANGED, kSent},
};

const std::vector<ExpectedMessage> kCreateTopLevelVisible = {
    {WM_NCCREATE, kSent},
    {WM_CREATE, kSent},
    {WM_SIZE, kSent | kWParam | kLParam, SIZE_RESTORED, MAKELPARAM(100, 80)},
    {WM_MOVE, kSent | kLParam, 0, MAKELPARAM(0, 26)},
    {WM_SHOWWINDOW, kSent | kWParam, TRUE},
    {WM_WINDOWPOSCHANGING, kSent},
    {WM_WINDOWPOSCHANGED, kSent},
    {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE},
    {WM_SETFOCUS, kSent},
};

TEST(WindowLifetime, CreationSequencesOfTopLevelAndChildWindows) {
    WindowTestScope scope;
    registerTestClass(u"TestWnd");
    MessageRecorder recorder;
    HWND top = CreateWindowExW(0, u"TestWnd", u"Top", WS_VISIBLE, 0, 26, 100, 80, nullptr, nullptr, nullptr,
                               nullptr);
    ASSERT_TRUE(top);
    EXPECT_TRUE(recorder.matches(kCreateTopLevelVisible, "visible top-level window"));
    HWND child = CreateWindowExW(0, u"testwnd", u"", WS_CHILD | WS_VISIBLE, 10, 20, 50, 40, top,
                                 reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_TRUE(child);
    EXPECT_TRUE(recorder.matches(kCreateChildVisible, "visible child window"));
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetDlgItem(top, 7), child);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(GetFocus(), top);
}

TEST(WindowLifetime, CreateParamsReachWmCreateAndMinusOneFailsCreation) {
    WindowTestScope scope;
    HookGuard guard;
    registerTestClass(u"TestWnd");
    int token = 0;
    LPVOID seen = nullptr;
    hook() = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message != WM_CREATE) return false;
        seen = reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams;
        result = token ? -1 : 0;
        return true;
    };
    HWND ok = CreateWindowExW(0, u"TestWnd", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, &token);
    EXPECT_TRUE(ok);
    EXPECT_EQ(seen, &token);
    token = 1;
    MessageRecorder recorder;
    HWND failed = CreateWindowExW(0, u"TestWnd", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, &token);
    EXPECT_EQ(failed, nullptr);
    EXPECT_TRUE(recorder.matches(
        {{WM_NCCREATE, kSent}, {WM_CREATE, kSent}, {WM_DESTROY, kSent}, {WM_NCDESTROY, kSent}},
        "creation refused by WM_CREATE"));
    EXPECT_EQ(FindWindowW(u"TestWnd", nullptr), ok);
}

TEST(WindowLifetime, DestroyGoesParentFirstThenChildrenAndNcDestroyChildrenFirst) {
    WindowTestScope scope;
    HWND top = makeWindow(nullptr, 0, 0, 100, 100);
    HWND a = makeWindow(top, 0, 0, 10, 10);
    HWND a1 = makeWindow(a, 0, 0, 5, 5);
    HWND b = makeWindow(top, 20, 0, 10, 10);
    SetFocus(a1);
    SetCapture(b);
    MessageRecorder recorder;
    recorder.ignore(WM_ACTIVATE);
    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_TRUE(recorder.matches({{WM_CAPTURECHANGED, kSent, 0, 0, b},
                                  {WM_DESTROY, kSent, 0, 0, top},
                                  {WM_DESTROY, kSent, 0, 0, a},
                                  {WM_DESTROY, kSent, 0, 0, a1},
                                  {WM_DESTROY, kSent, 0, 0, b},
                                  {WM_NCDESTROY, kSent, 0, 0, a1},
                                  {WM_NCDESTROY, kSent, 0, 0, a},
                                  {WM_NCDESTROY, kSent, 0, 0, b},
                                  {WM_NCDESTROY, kSent, 0, 0, top}},
                                 "destroying a window tree"));
    for (HWND gone : {top, a, a1, b})
        EXPECT_FALSE(IsWindow(gone));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST(WindowLifetime, ClassRegistrationRules) {
    WindowTestScope scope;
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.lpszClassName = u"OnceOnly";
    EXPECT_NE(RegisterClassW(&cls), 0);
    EXPECT_EQ(RegisterClassW(&cls), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    HWND w = CreateWindowExW(0, u"ONCEONLY", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(w);
    EXPECT_FALSE(UnregisterClassW(u"OnceOnly", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassW(u"OnceOnly", nullptr));
    EXPECT_EQ(CreateWindowExW(0, u"OnceOnly", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
    EXPECT_EQ(CreateWindowExW(0, u"TestWnd", u"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

WNDPROC g_previous = nullptr;

LRESULT CALLBACK upperCaseText(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = g_previous;
    if (message == WM_SETTEXT)
        return CallWindowProcW(previous, window, message, wParam, reinterpret_cast<LPARAM>(u"SUB"));
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

TEST(WindowLifetime, SubclassingReplacesAndRestoresTheProcedure) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 0, 0, 10, 10);
    LONG_PTR original = GetWindowLongPtrW(w, GWL_WNDPROC);
    EXPECT_EQ(original, reinterpret_cast<LONG_PTR>(&testProc));
    g_previous = reinterpret_cast<WNDPROC>(original);
    EXPECT_EQ(SetWindowLongPtrW(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&upperCaseText)), original);
    SetWindowTextW(w, u"plain");
    WCHAR text[16];
    EXPECT_EQ(GetWindowTextW(w, text, 16), 3);
    EXPECT_EQ(std::u16string(text), u"SUB");
    SetWindowLongPtrW(w, GWL_WNDPROC, original);
    SetWindowTextW(w, u"plain");
    EXPECT_EQ(GetWindowTextLengthW(w), 5);
    EXPECT_EQ(GetWindowTextW(w, text, 3), 2);
    EXPECT_EQ(std::u16string(text), u"pl");
}

TEST(WindowLifetime, WindowLongsHoldFullPointersAndStyles) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 0, 0, 10, 10, 0, WS_VISIBLE | WS_POPUP);
    int object = 0;
    SetWindowLongPtrW(w, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&object));
    EXPECT_EQ(reinterpret_cast<int*>(GetWindowLongPtrW(w, GWL_USERDATA)), &object);
    EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_POPUP);
    EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetWindowLongW(w, 400), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

TEST(WindowLifetime, RelationsAndFindWindow) {
    WindowTestScope scope;
    HWND top = makeWindow(nullptr, 0, 0, 100, 100);
    SetWindowTextW(top, u"Main");
    HWND first = makeWindow(top, 0, 0, 10, 10);
    HWND second = makeWindow(top, 0, 0, 10, 10);
    EXPECT_EQ(GetWindow(top, GW_CHILD), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDPREV), first);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), nullptr);
    EXPECT_TRUE(IsChild(top, second));
    EXPECT_FALSE(IsChild(second, top));
    EXPECT_EQ(FindWindowW(u"testwnd", u"Main"), top);
    EXPECT_EQ(FindWindowW(nullptr, u"Main"), top);
    EXPECT_EQ(FindWindowW(u"TestWnd", u"Other"), nullptr);
    EXPECT_EQ(FindWindowW(u"NoSuchClass", nullptr), nullptr);
    EXPECT_EQ(GetParent(top), nullptr);
    EXPECT_TRUE(IsWindow(GetDesktopWindow()));
}

}  // namespace

namespace {

TEST(WindowLifetime, BorderedWindowsHaveAOnePixelFrame) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 10, 30, 50, 40, RGB(255, 255, 255), WS_VISIBLE | WS_BORDER);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 48);
    EXPECT_EQ(client.bottom, 38);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x, 11);
    EXPECT_EQ(origin.y, 31);
    platform::testing::pumpMessages();
    EXPECT_EQ(platform::testing::screenPixel(10, 30), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(platform::testing::screenPixel(59, 69), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(platform::testing::screenPixel(11, 31), RGB(255, 255, 255));
}

TEST(WindowLifetime, ZOrderFollowsSetWindowPos) {
    WindowTestScope scope;
    HWND top = makeWindow(nullptr, 0, 0, 100, 100);
    HWND a = makeWindow(top, 0, 0, 10, 10);
    HWND b = makeWindow(top, 0, 0, 10, 10);
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), b);
    SetWindowPos(b, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), a);
}

}  // namespace

namespace {

TEST(WindowLifetime, PopupsCreatedWithAParentAreOwnedAndDieFirst) {
    WindowTestScope scope;
    HWND owner = makeWindow(nullptr, 0, 0, 100, 100);
    HWND child = makeWindow(owner, 0, 0, 10, 10);
    registerTestClass(u"TestWnd");
    HWND popup = CreateWindowExW(0, u"TestWnd", u"", WS_POPUP | WS_VISIBLE, 30, 40, 20, 20, child, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(popup);
    EXPECT_EQ(GetParent(popup), owner) << "a pop-up's owner is its parent's top-level window";
    EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
    EXPECT_FALSE(IsChild(owner, popup));
    RECT r;
    GetWindowRect(popup, &r);
    EXPECT_EQ(r.left, 30) << "pop-ups are placed in screen coordinates";
    MessageRecorder recorder;
    recorder.ignore(WM_ACTIVATE);
    recorder.ignore(WM_KILLFOCUS);
    recorder.ignore(WM_SETFOCUS);
    DestroyWindow(owner);
    EXPECT_TRUE(recorder.matches({{WM_DESTROY, kSent, 0, 0, popup},
                                  {WM_NCDESTROY, kSent, 0, 0, popup},
                                  {WM_DESTROY, kSent, 0, 0, owner},
                                  {WM_DESTROY, kSent, 0, 0, child},
                                  {WM_NCDESTROY, kSent, 0, 0, child},
                                  {WM_NCDESTROY, kSent, 0, 0, owner}},
                                 "owner destroyed"));
}

}  // namespace
