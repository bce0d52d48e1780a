// Window objects: binding at WM_CREATE, creating twice, subclassing a window of another class and
// giving it back, the handle cleared at destruction, and fitting to the desktop on activation.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "UserTesting.h"
#include "WindowObject.h"

using platform::testing::pumpMessages;
using platform::testing::WindowTestScope;

namespace {

constexpr UINT kQuery = WM_USER + 50;
constexpr LRESULT kClassAnswer = 7;
constexpr LRESULT kObjectAnswer = 99;

// Stands for a platform class: answers kQuery with kClassAnswer.
LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kQuery) return kClassAnswer;
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND makePlainWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = plainProc;
    cls.lpszClassName = u"PlainTestWnd";
    RegisterClassW(&cls);
    return CreateWindowExW(0, u"PlainTestWnd", u"plain", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                           nullptr, nullptr);
}

// Records what reaches its window procedure and answers kQuery itself.
class RecordingObject : public WindowObject {
  public:
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == kQuery) return kObjectAnswer;
        return WindowObject::windowProc(window, message, wParam, lParam);
    }
    void attached() override { attachedWith = m_window; }
    void fitToDesktop() override {
        ++fits;
        WindowObject::fitToDesktop();
    }

    std::vector<UINT> seen;
    HWND attachedWith = nullptr;
    int fits = 0;
};

int windowsOfClass(LPCWSTR className) {
    int count = 0;
    platform::forEachTopLevelWindow([&](HWND window) {
        WCHAR name[64] = {};
        GetClassNameW(window, name, 64);
        if (std::u16string_view(name) == className) ++count;
    });
    return count;
}

struct WindowObjectTest : ::testing::Test {
    WindowTestScope scope;
    RECT rect{10, 20, 110, 80};
};

TEST_F(WindowObjectTest, CreateBindsAtCreateAndAMessageBeforeItGoesToTheDefaultProcedure) {
    RecordingObject object;
    HWND window = object.create(0, u"first", WS_VISIBLE, rect, nullptr, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(object.window(), window);
    ASSERT_FALSE(object.seen.empty());
    // WM_NCCREATE comes first and must not reach the object, which is bound only by WM_CREATE.
    EXPECT_EQ(object.seen.front(), static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(SendMessageW(window, kQuery, 0, 0), kObjectAnswer);
    WCHAR className[32] = {};
    GetClassNameW(window, className, 32);
    EXPECT_EQ(std::u16string_view(className), std::u16string_view(kDefaultWindowClass));
}

TEST_F(WindowObjectTest, CreatingTwiceReturnsTheFirstWindow) {
    RecordingObject object;
    HWND first = object.create(0, u"first", WS_VISIBLE, rect, nullptr, 0);
    int before = windowsOfClass(kDefaultWindowClass);
    HWND second = object.create(0, u"second", WS_VISIBLE, rect, nullptr, 0);
    EXPECT_EQ(second, first);
    EXPECT_EQ(windowsOfClass(kDefaultWindowClass), before);
    WCHAR title[16] = {};
    GetWindowTextW(first, title, 16);
    EXPECT_EQ(std::u16string_view(title), u"first");
}

TEST_F(WindowObjectTest, OwnClassIsRegisteredOnceAndOnlyWithoutAWindow) {
    RecordingObject a;
    ASSERT_TRUE(a.registerClass(u"OwnTestCls", CS_DBLCLKS, nullptr, nullptr));
    HWND window = a.create(0, u"own", WS_VISIBLE, rect, nullptr, 0);
    ASSERT_NE(window, nullptr);
    WCHAR className[32] = {};
    GetClassNameW(window, className, 32);
    EXPECT_EQ(std::u16string_view(className), u"OwnTestCls");
    EXPECT_FALSE(a.registerClass(u"OtherTestCls", 0, nullptr, nullptr));
    // A second object of the same kind uses the class already registered.
    RecordingObject b;
    EXPECT_TRUE(b.registerClass(u"OwnTestCls", CS_DBLCLKS, nullptr, nullptr));
    EXPECT_NE(b.create(0, u"own2", WS_VISIBLE, rect, nullptr, 0), nullptr);
    // A class of that name with another procedure is not taken over.
    RecordingObject c;
    makePlainWindow();
    EXPECT_FALSE(c.registerClass(u"PlainTestWnd", 0, nullptr, nullptr));
}

TEST_F(WindowObjectTest, SubclassedThenDetachedBehavesAsItsClassAgain) {
    HWND window = makePlainWindow();
    auto original = GetWindowLongPtrW(window, GWL_WNDPROC);
    RecordingObject object;
    ASSERT_TRUE(object.attach(window));
    EXPECT_EQ(object.attachedWith, window);
    EXPECT_EQ(SendMessageW(window, kQuery, 0, 0), kObjectAnswer);
    // Messages the object leaves go to the class's procedure.
    EXPECT_EQ(SendMessageW(window, kQuery + 1, 0, 0), 0);
    object.detach();
    EXPECT_EQ(object.window(), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_WNDPROC), original);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_USERDATA), 0);
    object.seen.clear();
    EXPECT_EQ(SendMessageW(window, kQuery, 0, 0), kClassAnswer);
    EXPECT_TRUE(object.seen.empty());
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowObjectTest, APlatformClassWindowIsSubclassedAndGivenBack) {
    RecordingObject object;
    HWND edit = object.createWithClass(0, WC_EDIT, u"start", WS_VISIBLE, rect, nullptr, 7);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(object.createWithClass(0, WC_EDIT, u"again", WS_VISIBLE, rect, nullptr, 7), edit);
    SetWindowTextW(edit, u"typed");
    EXPECT_EQ(std::count(object.seen.begin(), object.seen.end(), static_cast<UINT>(WM_SETTEXT)), 1);
    WCHAR text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_EQ(std::u16string_view(text), u"typed") << "the class still handles what the object passes on";

    object.detach();
    WNDCLASSW cls{};
    ASSERT_TRUE(GetClassInfoW(nullptr, WC_EDIT, &cls));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWL_WNDPROC)), cls.lpfnWndProc);
    object.seen.clear();
    SetWindowTextW(edit, u"later");
    EXPECT_TRUE(object.seen.empty());
    GetWindowTextW(edit, text, 16);
    EXPECT_EQ(std::u16string_view(text), u"later");
    DestroyWindow(edit);
}

TEST_F(WindowObjectTest, AttachRefusesMissingWindowsAndWindowsOfOtherObjects) {
    RecordingObject object;
    EXPECT_FALSE(object.attach(nullptr));
    HWND window = makePlainWindow();
    DestroyWindow(window);
    EXPECT_FALSE(object.attach(window));
    EXPECT_EQ(object.window(), nullptr);

    RecordingObject owner;
    HWND owned = owner.create(0, u"owned", WS_VISIBLE, rect, nullptr, 0);
    EXPECT_FALSE(object.attach(owned));
    EXPECT_EQ(SendMessageW(owned, kQuery, 0, 0), kObjectAnswer);
    HWND plain = makePlainWindow();
    ASSERT_TRUE(object.attach(plain));
    EXPECT_FALSE(object.attach(makePlainWindow()));
    EXPECT_EQ(object.window(), plain);
}

TEST_F(WindowObjectTest, AttachToADialogItemFindsTheChildById) {
    HWND parent = makePlainWindow();
    HWND child = CreateWindowExW(0, u"PlainTestWnd", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(42)), nullptr, nullptr);
    RecordingObject object;
    EXPECT_FALSE(object.attachDialogItem(parent, 43));
    ASSERT_TRUE(object.attachDialogItem(parent, 42));
    EXPECT_EQ(object.window(), child);
}

TEST_F(WindowObjectTest, DestroyingTheWindowClearsTheHandleAndTheObjectDestroysItsWindow) {
    HWND window = nullptr;
    {
        RecordingObject object;
        window = object.create(0, u"gone", WS_VISIBLE, rect, nullptr, 0);
        DestroyWindow(window);
        EXPECT_EQ(object.window(), nullptr);
        EXPECT_EQ(object.create(0, u"again", WS_VISIBLE, rect, nullptr, 0) != nullptr, true);
        window = object.window();
    }
    EXPECT_FALSE(IsWindow(window));

    // A subclassed window outlives its object as a window of its class.
    HWND plain = makePlainWindow();
    {
        RecordingObject object;
        ASSERT_TRUE(object.attach(plain));
        object.detach();
    }
    EXPECT_EQ(SendMessageW(plain, kQuery, 0, 0), kClassAnswer);
}

TEST_F(WindowObjectTest, ActivationAndInputPanelChangesFitTheWindowToTheDesktop) {
    RecordingObject object;
    HWND window = object.create(0, u"fit", WS_VISIBLE, rect, nullptr, 0);
    EXPECT_EQ(object.fits, 1) << "a new visible top-level window is activated";
    object.fits = 0;
    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(object.fits, 0);
    SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(object.fits, 1);
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, rect.left) << "the flag is off: the window stays";

    object.setFitToDesktop(true);
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
    EXPECT_EQ(object.fits, 2);
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    ASSERT_EQ(info.fdwFlags & SIPF_ON, 0u);
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, info.rcVisibleDesktop.left);
    EXPECT_EQ(placed.top, info.rcVisibleDesktop.top);
    EXPECT_EQ(placed.right, info.rcVisibleDesktop.right);
    EXPECT_EQ(placed.bottom, info.rcVisibleDesktop.bottom - 100);

    ASSERT_TRUE(SHSipPreference(window, SIP_UP));
    pumpMessages();
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    SendMessageW(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.bottom, info.rcVisibleDesktop.bottom) << "with the input panel up: its full height";
    SHSipPreference(window, SIP_DOWN);
}

}  // namespace

namespace {

TEST_F(WindowObjectTest, TheModulesClassesAreRemovedOnceTheirWindowsAreGone) {
    RecordingObject own;
    ASSERT_TRUE(own.registerClass(u"LibraryTestCls", 0, nullptr, nullptr));
    HWND window = own.create(0, u"own", WS_VISIBLE, rect, nullptr, 0);
    RecordingObject plain;
    ASSERT_NE(plain.create(0, u"default", WS_VISIBLE, rect, nullptr, 0), nullptr);
    WNDCLASSW cls{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"LibraryTestCls", &cls));
    EXPECT_EQ(cls.hInstance, platform::moduleOf(reinterpret_cast<const void*>(&WindowObject::dispatcher)))
        << "the class belongs to the module of the window-object code";
    EXPECT_FALSE(WindowObject::unregisterClasses()) << "both classes still have windows";
    EXPECT_TRUE(GetClassInfoW(nullptr, u"LibraryTestCls", &cls));
    DestroyWindow(window);
    plain.destroy();
    EXPECT_TRUE(WindowObject::unregisterClasses());
    EXPECT_FALSE(GetClassInfoW(nullptr, u"LibraryTestCls", &cls));
    EXPECT_FALSE(GetClassInfoW(nullptr, kDefaultWindowClass, &cls));
    // Registered again afterwards as the first time.
    RecordingObject again;
    EXPECT_NE(again.create(0, u"again", WS_VISIBLE, rect, nullptr, 0), nullptr);
    EXPECT_TRUE(GetClassInfoW(nullptr, kDefaultWindowClass, &cls));
}

}  // namespace
