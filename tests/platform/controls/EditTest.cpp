// The "Edit" class, one line: typing Latin and Cyrillic, backspace and delete, caret keys with
// shift-selection, the stylus, EM_* messages, one EN_CHANGE per change, the limit, horizontal
// scrolling, input-filtering styles, colours, focus notifications and the caret's blink.

#include "ControlsTestSupport.h"

using namespace controlstest;
using platform::testing::MessageRecorder;
using platform::testing::WindowTestScope;

namespace {

constexpr int kId = 41;

struct EditTest : ::testing::Test {
    WindowTestScope scope;
    HWND parent = nullptr;

    void SetUp() override { parent = makeParent(); }
    // An edit at (20, 20), 150x24, focused, notifications cleared.
    HWND makeEdit(DWORD style = ES_AUTOHSCROLL, LPCWSTR text = u"", int width = 150) {
        HWND edit = makeControl(parent, WC_EDIT, text, style | WS_BORDER, 20, 20, width, 24, kId);
        SetFocus(edit);
        pumpMessages();
        parentLog().commands.clear();
        parentLog().colourRequests.clear();
        return edit;
    }
    std::pair<DWORD, DWORD> selection(HWND edit) {
        DWORD start = 99, end = 99;
        LRESULT packed =
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(LOWORD(packed), start);
        EXPECT_EQ(HIWORD(packed), end);
        return {start, end};
    }
};

TEST_F(EditTest, TypingLatinAndCyrillicWithBackspaceAndDelete) {
    HWND edit = makeEdit();
    platform::testing::pressKey('A');
    platform::testing::pressKey('7');
    pumpMessages();
    typeText(u" Сумма ёЖ");
    EXPECT_EQ(windowText(edit), u"a7 Сумма ёЖ");
    EXPECT_EQ(GetWindowTextLengthW(edit), 11);
    platform::testing::pressKey(VK_BACK);
    pumpMessages();
    EXPECT_EQ(windowText(edit), u"a7 Сумма ё");
    platform::testing::pressKey(VK_HOME);
    platform::testing::pressKey(VK_DELETE);
    platform::testing::pressKey(VK_RIGHT);
    pumpMessages();
    typeText(u"-");
    EXPECT_EQ(windowText(edit), u"7- Сумма ё");
    EXPECT_EQ(parentLog().count(EN_CHANGE, edit), 14) << "one per typed, erased or deleted character";
    EXPECT_EQ(parentLog().count(EN_UPDATE, edit), 14);
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
}

TEST_F(EditTest, SelectionBySetSelThenTypingReplacesItWithOneChange) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, u"Hello world");
    SendMessageW(edit, EM_SETSEL, 6, 11);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{6}, DWORD{11}));
    typeText(u"м");
    EXPECT_EQ(windowText(edit), u"Hello м");
    EXPECT_EQ(parentLog().count(EN_CHANGE), 1);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{0}, DWORD{7})) << "0, -1 selects everything";
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{7}, DWORD{7})) << "-1 drops the selection";
    SendMessageW(edit, EM_SETSEL, 5, 1);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{1}, DWORD{5}));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"ipp"));
    EXPECT_EQ(windowText(edit), u"Hipp м");
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{4}, DWORD{4}));
    EXPECT_EQ(parentLog().count(EN_CHANGE), 2);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    EXPECT_EQ(parentLog().count(EN_CHANGE), 2) << "selecting changes no text";
}

TEST_F(EditTest, ShiftWithCaretKeysSelectsAndPlainKeysCollapse) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, u"abcdef");
    SendMessageW(edit, EM_SETSEL, 4, 4);
    platform::injectKey(VK_SHIFT, true);
    platform::testing::pressKey(VK_LEFT);
    platform::testing::pressKey(VK_LEFT);
    pumpMessages();
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{2}, DWORD{4}));
    platform::testing::pressKey(VK_END);
    pumpMessages();
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{4}, DWORD{6})) << "the anchor stays at 4";
    platform::injectKey(VK_SHIFT, false);
    platform::testing::pressKey(VK_LEFT);
    pumpMessages();
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{4}, DWORD{4}));
    platform::testing::pressKey(VK_HOME);
    pumpMessages();
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(EditTest, StylusPlacesTheCaretAndDraggingSelects) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, u"one two three");
    SetFocus(parent);
    auto xOf = [&](int index) {
        return 20 + 1 + static_cast<int>(LOWORD(SendMessageW(edit, EM_POSFROMCHAR, index, 0)));
    };
    platform::testing::tap(xOf(4), 30);
    pumpMessages();
    EXPECT_EQ(GetFocus(), edit) << "a tap focuses the edit";
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{4}, DWORD{4}));
    platform::testing::stylusDown(xOf(8), 30);
    platform::testing::stylusMove(xOf(2), 30);
    platform::testing::stylusUp(xOf(2), 30);
    pumpMessages();
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{2}, DWORD{8}));
    EXPECT_EQ(GetCapture(), nullptr);
    typeText(u"X");
    EXPECT_EQ(windowText(edit), u"onXthree");
}

TEST_F(EditTest, LimitRefusesTypingWithABeepAndMaxText) {
    HWND edit = makeEdit();
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    typeText(u"12");
    platform::takeLastBeep();
    typeText(u"34");
    EXPECT_EQ(windowText(edit), u"123");
    EXPECT_EQ(platform::takeLastBeep(), static_cast<int>(MB_OK));
    EXPECT_EQ(parentLog().count(EN_MAXTEXT), 1);
    EXPECT_EQ(parentLog().count(EN_CHANGE), 3);
    SetWindowTextW(edit, u"longer than three");
    EXPECT_EQ(windowText(edit), u"longer than three") << "the limit is for input, not WM_SETTEXT";
}

TEST_F(EditTest, SetTextSendsUpdateAndChangeOnceAndResetsTheCaret) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, u"old");
    SendMessageW(edit, EM_SETSEL, 3, 3);
    MessageRecorder recorder;
    recorder.watch(parent);
    recorder.ignore(WM_CTLCOLOREDIT);
    SetWindowTextW(edit, u"новый");
    WPARAM update = MAKEWPARAM(kId, EN_UPDATE);
    WPARAM change = MAKEWPARAM(kId, EN_CHANGE);
    auto control = reinterpret_cast<LPARAM>(edit);
    EXPECT_TRUE(recorder.matches({{WM_COMMAND, kSent | kWParam | kLParam, update, control},
                                  {WM_COMMAND, kSent | kWParam | kLParam, change, control}},
                                 "WM_SETTEXT on a one-line edit"));
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    WCHAR small[4];
    EXPECT_EQ(GetWindowTextW(edit, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"нов");
}

TEST_F(EditTest, LongTextScrollsSoTheCaretStaysVisible) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, u"", 80);
    RECT client;
    GetClientRect(edit, &client);
    std::u16string text = u"0123456789abcdefghijklmnopqrstuvwxyz";
    typeText(text);
    EXPECT_EQ(windowText(edit), text);
    EXPECT_GT(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the start scrolled out";
    LRESULT last = SendMessageW(edit, EM_POSFROMCHAR, text.size() - 1, 0);
    int lastX = static_cast<SHORT>(LOWORD(last));
    EXPECT_GT(lastX, client.right / 2);
    EXPECT_LT(lastX, client.right) << "the last character is in view";
    LRESULT first = SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
    EXPECT_LT(static_cast<SHORT>(LOWORD(first)), 0);
    RECT right{20 + 1 + client.right / 2, 21, 20 + 1 + client.right, 21 + client.bottom};
    EXPECT_FALSE(IsRectEmpty(&(const RECT&)inkBounds(right, RGB(255, 255, 255)))) << "ink at the text's end";
    platform::testing::pressKey(VK_HOME);
    pumpMessages();
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "home scrolls back";
}

TEST_F(EditTest, WithoutAutoScrollTypingStopsAtTheRightEdge) {
    HWND edit = makeEdit(0, u"", 60);
    platform::takeLastBeep();
    typeText(u"WWWWWWWWWWWWWWWWWWWW");
    std::u16string kept = windowText(edit);
    EXPECT_GT(kept.size(), 2u);
    EXPECT_LT(kept.size(), 20u);
    EXPECT_EQ(platform::takeLastBeep(), static_cast<int>(MB_OK));
    EXPECT_EQ(parentLog().count(EN_CHANGE), static_cast<int>(kept.size()));
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(EditTest, FilteringStylesAndPassword) {
    HWND number = makeEdit(ES_NUMBER);
    platform::takeLastBeep();
    typeText(u"1a2-3");
    EXPECT_EQ(windowText(number), u"123");
    EXPECT_EQ(platform::takeLastBeep(), static_cast<int>(MB_OK));
    HWND upper = makeEdit(ES_UPPERCASE);
    typeText(u"abc где");
    EXPECT_EQ(windowText(upper), u"ABC ГДЕ");
    HWND lower = makeEdit(ES_LOWERCASE);
    typeText(u"XyЖ");
    EXPECT_EQ(windowText(lower), u"xyж");
    HWND readOnly = makeEdit(ES_READONLY, u"fixed");
    typeText(u"z");
    platform::testing::pressKey(VK_BACK);
    pumpMessages();
    EXPECT_EQ(windowText(readOnly), u"fixed");
    EXPECT_EQ(parentLog().count(EN_CHANGE), 0);
    HWND secret = makeEdit(ES_PASSWORD);
    typeText(u"пароль");
    EXPECT_EQ(windowText(secret), u"пароль");
    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), u'*');
    EXPECT_EQ(SendMessageW(number, EM_GETPASSWORDCHAR, 0, 0), 0);
}

TEST_F(EditTest, ColoursComeFromTheParentAndReadOnlyUsesStatic) {
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    parentLog().brush = yellow;
    HWND edit = makeControl(parent, WC_EDIT, u"", 0, 20, 20, 100, 24, kId);
    HWND fixed = makeControl(parent, WC_EDIT, u"", ES_READONLY, 20, 60, 100, 24, kId + 1);
    pumpMessages();
    EXPECT_EQ(parentLog().colourRequests, (std::vector<UINT>{WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC}));
    EXPECT_EQ(platform::testing::screenPixel(110, 40), RGB(255, 255, 0));
    EXPECT_EQ(platform::testing::screenPixel(110, 80), RGB(255, 255, 0));
    DestroyWindow(edit);
    DestroyWindow(fixed);
    DeleteObject(yellow);
}

TEST_F(EditTest, AlignmentStylesPlaceAShortText) {
    RECT area{21, 21, 169, 43};
    HWND left = makeEdit(ES_LEFT, u"abc");
    SetFocus(parent);
    pumpMessages();
    RECT leftInk = inkBounds(area, RGB(255, 255, 255));
    DestroyWindow(left);
    HWND centre = makeEdit(ES_CENTER, u"abc");
    SetFocus(parent);
    pumpMessages();
    RECT centreInk = inkBounds(area, RGB(255, 255, 255));
    DestroyWindow(centre);
    HWND right = makeEdit(ES_RIGHT, u"abc");
    SetFocus(parent);
    pumpMessages();
    RECT rightInk = inkBounds(area, RGB(255, 255, 255));
    EXPECT_LE(leftInk.left, 25);
    EXPECT_NEAR((centreInk.left + centreInk.right) / 2, 95, 2);
    EXPECT_GE(rightInk.right, 165);
    EXPECT_NEAR(leftInk.right - leftInk.left, rightInk.right - rightInk.left, 1);
    EXPECT_TRUE(IsWindow(right));
}

TEST_F(EditTest, SelectionIsHighlightedWhileFocused) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, u"выделить");
    RECT area{21, 21, 169, 43};
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(countPixels(area, highlight), 0);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    pumpMessages();
    EXPECT_GT(countPixels(area, highlight), 50);
    SetFocus(parent);
    pumpMessages();
    EXPECT_EQ(countPixels(area, highlight), 0) << "hidden without the focus (no ES_NOHIDESEL)";
    DestroyWindow(edit);
    HWND kept = makeEdit(ES_NOHIDESEL, u"kept", 60);
    SendMessageW(kept, EM_SETSEL, 0, -1);
    SetFocus(parent);
    pumpMessages();
    EXPECT_GT(countPixels(RECT{21, 21, 79, 43}, highlight), 20);
}

TEST_F(EditTest, FocusMovingInAndOutNotifiesTheParent) {
    HWND edit = makeControl(parent, WC_EDIT, u"", 0, 20, 20, 100, 24, kId);
    HWND other = makeControl(parent, WC_EDIT, u"", 0, 20, 60, 100, 24, kId + 1);
    SetFocus(parent);
    pumpMessages();
    MessageRecorder recorder;
    recorder.watch(parent);
    recorder.watch(edit);
    recorder.watch(other);
    recorder.ignore(WM_PAINT);
    recorder.ignore(WM_ERASEBKGND);
    recorder.ignore(WM_CTLCOLOREDIT);
    auto notify = [](WORD id, WORD code) { return MAKEWPARAM(id, code); };
    SetFocus(edit);
    EXPECT_TRUE(recorder.matches({{WM_KILLFOCUS, kSent, 0, 0, parent},
                                  {WM_SETFOCUS, kSent, 0, 0, edit},
                                  {WM_COMMAND, kSent | kWParam, notify(kId, EN_SETFOCUS), 0, parent}},
                                 "focus moving into an edit"));
    platform::testing::tap(30, 70);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kPosted, 0, 0, other},
                                  {WM_KILLFOCUS, kSent | kWParam, reinterpret_cast<WPARAM>(other), 0, edit},
                                  {WM_COMMAND, kSent | kWParam, notify(kId, EN_KILLFOCUS), 0, parent},
                                  {WM_SETFOCUS, kSent | kWParam, reinterpret_cast<WPARAM>(edit), 0, other},
                                  {WM_COMMAND, kSent | kWParam, notify(kId + 1, EN_SETFOCUS), 0, parent},
                                  {WM_LBUTTONUP, kPosted, 0, 0, other},
                                  {WM_CAPTURECHANGED, kSent, 0, 0, other}},
                                 "a tap moves the focus to the other edit"));
    EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
}

// The caret column of an empty left-aligned edit at (20, 20) with a border: dark when shown.
bool caretShown() {
    COLORREF pixel = platform::testing::screenPixel(20 + 1 + 2, 20 + 1 + 6);
    return GetRValue(pixel) < 128;
}

TEST_F(EditTest, CaretBlinksOnTheClockWhileFocusedThenStaysShown) {
    HWND edit = makeEdit(0);
    EXPECT_TRUE(caretShown());
    platform::testing::advanceAndPump(500);
    EXPECT_FALSE(caretShown());
    platform::testing::advanceAndPump(500);
    EXPECT_TRUE(caretShown());
    typeText(u"");
    platform::testing::advanceAndPump(12000);
    EXPECT_TRUE(caretShown()) << "blinking stops after a while without input";
    platform::testing::advanceAndPump(500);
    EXPECT_TRUE(caretShown());
    SetFocus(parent);
    pumpMessages();
    EXPECT_FALSE(caretShown()) << "no caret without the focus";
    EXPECT_TRUE(IsWindow(edit));
}

}  // namespace
