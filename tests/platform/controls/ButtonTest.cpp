// The "Button" class: BN_CLICKED only for a release inside, the pressed state while held, the
// message sequence of a tap, automatic radio groups and check boxes, BM_* messages, the space key,
// owner drawing and the dialog codes.

#include "ControlsTestSupport.h"

using namespace controlstest;
using platform::testing::MessageRecorder;
using platform::testing::WindowTestScope;

namespace {

struct ButtonTest : ::testing::Test {
    WindowTestScope scope;
    HWND parent = nullptr;

    void SetUp() override { parent = makeParent(); }
    HWND makeButton(DWORD style, int id, int y = 20, LPCWSTR text = u"OK") {
        HWND button = makeControl(parent, WC_BUTTON, text, style, 20, y, 100, 30, id);
        pumpMessages();
        return button;
    }
    LRESULT check(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0); }
};

TEST_F(ButtonTest, ClickedOnlyWhenReleasedInside) {
    HWND button = makeButton(BS_PUSHBUTTON, 10);
    platform::testing::stylusDown(50, 30);
    pumpMessages();
    EXPECT_EQ(GetCapture(), button);
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    platform::testing::stylusMove(200, 200);
    pumpMessages();
    EXPECT_FALSE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) << "dragged off: drawn released";
    platform::testing::stylusUp(200, 200);
    pumpMessages();
    EXPECT_EQ(parentLog().count(BN_CLICKED), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    platform::testing::stylusDown(50, 30);
    platform::testing::stylusMove(200, 200);
    platform::testing::stylusMove(60, 35);
    platform::testing::stylusUp(60, 35);
    pumpMessages();
    EXPECT_EQ(parentLog().count(BN_CLICKED, button), 1) << "back inside before the release";
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(ButtonTest, TapSequenceEndsWithBnClickedToTheParent) {
    HWND button = makeButton(BS_DEFPUSHBUTTON, 12);
    MessageRecorder recorder;
    recorder.watch(parent);
    recorder.watch(button);
    for (UINT noise : {UINT{WM_PAINT}, UINT{WM_ERASEBKGND}, UINT{WM_CTLCOLORBTN}, UINT{WM_NCPAINT}})
        recorder.ignore(noise);
    platform::testing::tap(40, 40);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kPosted | kLParam, 0, MAKELPARAM(20, 20), button},
                                  {WM_KILLFOCUS, kSent | kOptional, 0, 0, parent},
                                  {WM_SETFOCUS, kSent, 0, 0, button},
                                  {WM_LBUTTONUP, kPosted, 0, 0, button},
                                  {WM_CAPTURECHANGED, kSent | kLParam, 0, 0, button},
                                  {WM_COMMAND, kSent | kWParam | kLParam, MAKEWPARAM(12, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(button), parent}},
                                 "a tap on a default push button"));
}

TEST_F(ButtonTest, AutoRadioButtonsUncheckTheOthersOfTheirGroupOnly) {
    HWND a = makeButton(BS_AUTORADIOBUTTON | WS_GROUP, 1, 10);
    HWND b = makeButton(BS_AUTORADIOBUTTON, 2, 45);
    HWND c = makeButton(BS_AUTORADIOBUTTON, 3, 80);
    HWND d = makeButton(BS_AUTORADIOBUTTON | WS_GROUP, 4, 115);
    HWND e = makeButton(BS_AUTORADIOBUTTON, 5, 150);
    SendMessageW(d, BM_SETCHECK, BST_CHECKED, 0);
    platform::testing::tap(30, 60);  // b
    pumpMessages();
    EXPECT_EQ(check(b), BST_CHECKED);
    platform::testing::tap(30, 95);  // c
    pumpMessages();
    EXPECT_EQ(check(a), BST_UNCHECKED);
    EXPECT_EQ(check(b), BST_UNCHECKED);
    EXPECT_EQ(check(c), BST_CHECKED);
    EXPECT_EQ(check(d), BST_CHECKED) << "another group";
    platform::testing::tap(30, 165);  // e
    pumpMessages();
    EXPECT_EQ(check(d), BST_UNCHECKED);
    EXPECT_EQ(check(e), BST_CHECKED);
    EXPECT_EQ(check(c), BST_CHECKED);
    platform::testing::tap(30, 165);
    pumpMessages();
    EXPECT_EQ(check(e), BST_CHECKED) << "a checked radio button stays checked";
    EXPECT_EQ(parentLog().count(BN_CLICKED), 4);
}

TEST_F(ButtonTest, CheckBoxesToggleOnlyWhenAutomatic) {
    HWND autoBox = makeButton(BS_AUTOCHECKBOX, 1, 10, u"Вибро");
    HWND plainBox = makeButton(BS_CHECKBOX, 2, 60);
    platform::testing::tap(30, 25);
    pumpMessages();
    EXPECT_EQ(check(autoBox), BST_CHECKED);
    platform::testing::tap(30, 25);
    pumpMessages();
    EXPECT_EQ(check(autoBox), BST_UNCHECKED);
    platform::testing::tap(30, 75);
    pumpMessages();
    EXPECT_EQ(check(plainBox), BST_UNCHECKED) << "the program checks a plain check box";
    EXPECT_EQ(parentLog().count(BN_CLICKED, plainBox), 1);
    SendMessageW(plainBox, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(check(plainBox), BST_CHECKED);
    EXPECT_EQ(SendMessageW(plainBox, BM_GETSTATE, 0, 0) & BST_CHECKED, BST_CHECKED);
    HWND push = makeButton(BS_PUSHBUTTON, 3, 110);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(check(push), 0) << "push buttons have no check";
}

TEST_F(ButtonTest, CheckBoxDrawsItsMarkAndAsksForStaticColours) {
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    parentLog().brush = green;
    HWND box = makeButton(BS_AUTOCHECKBOX, 1, 20, u"");
    EXPECT_EQ(parentLog().colourRequests.back(), static_cast<UINT>(WM_CTLCOLORSTATIC));
    EXPECT_EQ(platform::testing::screenPixel(110, 45), RGB(0, 255, 0));
    RECT boxArea{20, 20, 40, 50};
    int darkBefore = 0, darkAfter = 0;
    for (int y = boxArea.top; y < boxArea.bottom; ++y)
        for (int x = boxArea.left; x < boxArea.right; ++x)
            darkBefore += GetGValue(platform::testing::screenPixel(x, y)) < 100;
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    pumpMessages();
    for (int y = boxArea.top; y < boxArea.bottom; ++y)
        for (int x = boxArea.left; x < boxArea.right; ++x)
            darkAfter += GetGValue(platform::testing::screenPixel(x, y)) < 100;
    EXPECT_GT(darkAfter, darkBefore + 5) << "the check mark";
    DestroyWindow(box);
    DeleteObject(green);
}

TEST_F(ButtonTest, ClickMessageAndSpaceKeyClick) {
    HWND button = makeButton(BS_PUSHBUTTON, 7);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(parentLog().count(BN_CLICKED, button), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    SetFocus(button);
    platform::injectKey(VK_SPACE, true);
    pumpMessages();
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(parentLog().count(BN_CLICKED, button), 1) << "the click comes with the release";
    platform::injectKey(VK_SPACE, false);
    pumpMessages();
    EXPECT_EQ(parentLog().count(BN_CLICKED, button), 2);
    EnableWindow(button, FALSE);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(parentLog().count(BN_CLICKED, button), 2) << "a disabled button does not click";
}

TEST_F(ButtonTest, SetStateDrawsThePressedLookWithoutClicking) {
    HWND button = makeButton(BS_PUSHBUTTON, 3, 20, u"");
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(platform::testing::screenPixel(70, 35), face);
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    pumpMessages();
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    EXPECT_EQ(platform::testing::screenPixel(70, 35), shadow);
    SendMessageW(button, BM_SETSTATE, FALSE, 0);
    pumpMessages();
    EXPECT_EQ(platform::testing::screenPixel(70, 35), face);
    EXPECT_EQ(parentLog().count(BN_CLICKED), 0);
    EXPECT_EQ(parentLog().colourRequests.back(), static_cast<UINT>(WM_CTLCOLORBTN));
}

TEST_F(ButtonTest, OwnerDrawnButtonAsksTheParentToDraw) {
    HWND button = makeButton(BS_OWNERDRAW, 9);
    ASSERT_FALSE(parentLog().drawItems.empty());
    const DRAWITEMSTRUCT& first = parentLog().drawItems.back();
    EXPECT_EQ(first.CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(first.CtlID, 9u);
    EXPECT_EQ(first.hwndItem, button);
    EXPECT_EQ(first.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(first.rcItem.right, 100);
    platform::testing::stylusDown(30, 30);
    pumpMessages();
    const DRAWITEMSTRUCT& pressed = parentLog().drawItems.back();
    EXPECT_TRUE(pressed.itemState & ODS_SELECTED);
    EXPECT_EQ(pressed.itemAction, static_cast<UINT>(ODA_SELECT));
    platform::testing::stylusUp(30, 30);
    pumpMessages();
    EXPECT_FALSE(parentLog().drawItems.back().itemState & ODS_SELECTED);
    EXPECT_EQ(parentLog().count(BN_CLICKED, button), 1);
}

TEST_F(ButtonTest, DialogCodesByKind) {
    struct Case {
        DWORD style;
        LRESULT code;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_CHECKBOX, DLGC_BUTTON},
        {BS_AUTOCHECKBOX, DLGC_BUTTON},
        {BS_OWNERDRAW, DLGC_BUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
    };
    for (const Case& c : cases) {
        HWND button = makeButton(c.style, 1);
        EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), c.code) << "style " << c.style;
        DestroyWindow(button);
    }
    HWND button = makeButton(BS_PUSHBUTTON | BS_CENTER, 1);
    SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_CENTER, BS_CENTER) << "other styles are kept";
}

}  // namespace
