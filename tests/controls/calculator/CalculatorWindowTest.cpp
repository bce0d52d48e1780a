// The calculator's windows on the headless screen, on every screen profile: frame, display and
// keyboard geometry and colours, the nine keys by window name with their slices of the key images,
// taps and typed characters driving the display, the key feedback, the keys' messages, the currency
// field's place and drop list, VK_RETURN passed to the form, and creation failing without images.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../ControlWindows.h"
#include "Calculator.h"
#include "ScreenMetrics.h"
#include "UserTesting.h"
#include "WindowObject.h"
#include "platform/detail/Gdi.h"
#include "platform/resources.h"
#include "resources/DashelResources.h"

namespace {

using namespace platform::testing;

using controlstest::centreOf;
using controlstest::childNamed;
using controlstest::screenRect;

// The form stand-in: a black page that keeps the private messages and key messages it receives.
class Form : public WindowObject {
  public:
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN || (message >= WM_USER && message < WM_USER + 0x100)) {
            received.emplace_back(message, wParam);
            return 0;
        }
        return WindowObject::windowProc(window, message, wParam, lParam);
    }
    std::vector<std::pair<UINT, WPARAM>> received;
};

// A currency field that remembers where it was created and how often its list was opened.
class RecordingCurrencyField : public CalculatorCurrencyField {
  public:
    bool create(HWND parent, POINT origin, COLORREF background) override {
        this->origin = origin;
        this->background = background;
        m_control.setBackgroundColor(background);
        return m_control.create(parent, RECT{origin.x, origin.y, origin.x + 20, origin.y + 10}, u"Currency");
    }
    HWND window() const override { return m_control.window(); }
    void openDropList() override { ++opened; }

    POINT origin{};
    COLORREF background = 0;
    int opened = 0;

  private:
    ControlBase m_control;
};

std::string text(const WCHAR* wide) {
    return controlstest::narrow(wide);
}

COLORREF bitmapPixel(HBITMAP bitmap, int x, int y) {
    return platform::colorFromPixel(platform::surfaceOf(bitmap)->pixel(x, y));
}

class CalculatorWindow : public ::testing::TestWithParam<controlstest::Profile> {
  protected:
    CalculatorWindow() : m_scope(GetParam().width, GetParam().height, GetParam().dpi) {}
    void SetUp() override {
        initScreenMetrics();
        m_module = GetModuleHandleW(nullptr);
        ASSERT_TRUE(platform::registerModuleResources(m_module, dashelResourceTable()));
        RECT screen{0, 0, GetParam().width, GetParam().height};
        ASSERT_NE(form.create(0, u"form", WS_VISIBLE, screen, nullptr, 0), nullptr);
        calculator.setCurrencyField(&currency);
        calculator.setKeyFeedback([this] { ++feedbacks; });
        ASSERT_TRUE(calculator.create(form.window(), kLeft, kTop));
        pumpMessages();
    }
    void TearDown() override {
        calculator.destroy();
        form.destroy();
        releaseSharedFonts();
        platform::unregisterModuleResources(m_module);
    }
    HWND child(HWND parent, const WCHAR* name) { return childNamed(parent, name); }
    HWND key(const WCHAR* name) { return child(calculator.keyboard().window(), name); }
    void tapKey(const WCHAR* name) {
        POINT p = centreOf(key(name));
        tap(p.x, p.y);
        pumpMessages();
    }
    void type(const std::u16string& characters) {
        for (char16_t c : characters)
            SendMessageW(calculator.window(), WM_CHAR, c, 0);
        pumpMessages();
    }
    std::string shown() { return text(calculator.display().amountLabel().text()); }

    static constexpr int kLeft = 0;
    static constexpr int kTop = 20;
    WindowTestScope m_scope;
    HINSTANCE m_module = nullptr;
    Form form;
    RecordingCurrencyField currency;
    Calculator calculator;
    int feedbacks = 0;
};

TEST_P(CalculatorWindow, FrameDisplayAndKeyboardGeometryAndColours) {
    EXPECT_EQ(screenRect(calculator.window()), (RECT{kLeft, kTop, kLeft + scaleX(240), kTop + scaleY(159)}));
    HWND display = child(calculator.window(), u"CalculatorDisplay");
    HWND keyboard = child(calculator.window(), u"CalculatorKeyboard");
    ASSERT_TRUE(display && keyboard);
    EXPECT_EQ(screenRect(display), (RECT{kLeft + scaleX(1), kTop + scaleY(1), kLeft + scaleX(240) - scaleX(1),
                                         kTop + scaleY(56)}));
    EXPECT_EQ(screenRect(keyboard),
              (RECT{kLeft + scaleX(1), kTop + scaleY(57), kLeft + scaleX(239), kTop + scaleY(158)}));
    // The frame shows as a black border and separator, the display and keyboard in their colours.
    EXPECT_EQ(screenPixel(kLeft, kTop), RGB(0, 0, 0));
    EXPECT_EQ(screenPixel(kLeft + scaleX(120), kTop + scaleY(56)), RGB(0, 0, 0));
    EXPECT_EQ(screenPixel(kLeft + scaleX(100), kTop + scaleY(3)), CalculatorDisplay::kBackground);
    EXPECT_EQ(screenPixel(kLeft + scaleX(1) + scaleX(78), kTop + scaleY(57) + scaleY(10)),
              CalculatorKeyboard::kBackground)
        << "the gap between the first two columns";
    // The caption and the red amount.
    HWND caption = child(display, u"Amount");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(screenRect(caption).right - screenRect(caption).left, scaleX(53) - scaleX(3));
    RECT amount = screenRect(calculator.display().amountLabel().window());
    EXPECT_EQ(amount, (RECT{kLeft + scaleX(1) + scaleX(5), kTop + scaleY(1) + scaleY(19),
                            kLeft + scaleX(1) + scaleX(181), kTop + scaleY(1) + scaleY(37)}));
    int red = 0;
    for (int y = amount.top; y < amount.bottom; ++y)
        for (int x = amount.left; x < amount.right; ++x)
            red += screenPixel(x, y) == CalculatorDisplay::kAmountColor ? 1 : 0;
    EXPECT_GT(red, 0) << "the amount is drawn in red";
    EXPECT_EQ(shown(), "0");
}

TEST_P(CalculatorWindow, NineKeysShowTheirSlicesOfTheTwoLooks) {
    const WCHAR* names[] = {u"Plus",    u"Minus", u"Comma",      u"Asterisk", u"Divide",
                            u"Percent", u"Clear", u"ChangeSign", u"Equals"};
    const int columns[] = {0, 79, 158, 237}, widths[] = {78, 78, 80};
    bool high = screenMetrics().highResolution;
    HBITMAP normal = LoadBitmapW(m_module, MAKEINTRESOURCEW(high ? 171 : 162));
    HBITMAP pressed = LoadBitmapW(m_module, MAKEINTRESOURCEW(high ? 172 : 161));
    ASSERT_TRUE(normal && pressed);
    RECT keyboard = screenRect(calculator.keyboard().window());
    for (int i = 0; i < 9; ++i) {
        HWND k = key(names[i]);
        ASSERT_NE(k, nullptr) << text(names[i]);
        int row = i / 3, column = i % 3;
        RECT expected{scaleX(columns[column]), scaleY(row * 34), scaleX(columns[column] + widths[column]),
                      scaleY(row * 34 + 33)};
        RECT actual = screenRect(k);
        OffsetRect(&actual, -keyboard.left, -keyboard.top);
        EXPECT_EQ(actual, expected) << text(names[i]);
        int x = (expected.left + expected.right) / 2, y = expected.top + 3;
        EXPECT_EQ(screenPixel(keyboard.left + x, keyboard.top + y), bitmapPixel(normal, x, y))
            << text(names[i]);
        stylusDown(keyboard.left + x, keyboard.top + y);
        pumpMessages();
        EXPECT_EQ(screenPixel(keyboard.left + x, keyboard.top + y), bitmapPixel(pressed, x, y))
            << text(names[i]);
        EXPECT_NE(bitmapPixel(pressed, x, y), bitmapPixel(normal, x, y));
        stylusUp(keyboard.left + x, keyboard.top + y);
        pumpMessages();
        EXPECT_EQ(screenPixel(keyboard.left + x, keyboard.top + y), bitmapPixel(normal, x, y))
            << text(names[i]);
    }
    DeleteObject(normal);
    DeleteObject(pressed);
}

TEST_P(CalculatorWindow, TypedCharactersAndTappedKeysDriveTheDisplay) {
    struct Step {
        const char16_t* typed;  // characters sent as WM_CHAR, or null
        const WCHAR* key;       // a key tapped, or null
        const char* display;
    } steps[] = {
        {u"12", nullptr, "12"},
        {nullptr, u"Comma", "12."},
        {u"5", nullptr, "12.5"},
        {nullptr, u"Plus", "12.5"},
        {u"7.5", nullptr, "7.5"},
        {nullptr, u"Equals", "20.00"},
        {nullptr, u"Equals", "27.50"},
        {nullptr, u"ChangeSign", "-27.50"},
        {nullptr, u"Asterisk", "-27.50"},
        {u"2", nullptr, "2"},
        {nullptr, u"Percent", "-0.55"},
        {nullptr, u"Clear", "0"},
        {u"9", nullptr, "9"},
        {nullptr, u"Divide", "9"},
        {u"0", nullptr, "0"},
        {nullptr, u"Equals", "Error"},
        {u"\b", nullptr, "0"},
        {u"4", nullptr, "4"},
        {nullptr, u"Minus", "4"},
        {u"6", nullptr, "6"},
        {nullptr, u"Equals", "-2.00"},
    };
    int taps = 0;
    for (const Step& step : steps) {
        if (step.typed != nullptr) type(step.typed);
        if (step.key != nullptr) {
            tapKey(step.key);
            ++taps;
        }
        EXPECT_EQ(shown(), step.display) << (step.key ? text(step.key) : text(step.typed));
    }
    EXPECT_EQ(feedbacks, taps) << "every key click gives the feedback once";
    EXPECT_EQ(calculator.getAmount(), -200);
}

TEST_P(CalculatorWindow, PrivateMessagesAndAmounts) {
    SendMessageW(calculator.window(), WM_CALCULATOR_CHAR, u'3', 0);
    SendMessageW(calculator.window(), WM_CALCULATOR_CHANGE_SIGN, 0, 0);
    EXPECT_EQ(shown(), "-3");
    SendMessageW(calculator.window(), WM_CALCULATOR_CLEAR, 0, 0);
    EXPECT_EQ(shown(), "0");
    calculator.setAmount(-12345);
    EXPECT_EQ(shown(), "-123.45") << "the label follows at once";
    EXPECT_EQ(calculator.getAmount(), -12345);
    type(u"+1=");
    EXPECT_EQ(shown(), "-122.45");
    calculator.reset();
    EXPECT_EQ(shown(), "0");
    EXPECT_EQ(calculator.getAmount(), 0);
}

TEST_P(CalculatorWindow, CurrencyFieldSitsAtItsPlaceAndOpensOnUpAndDown) {
    EXPECT_EQ(currency.origin.x, scaleX(184));
    EXPECT_EQ(currency.origin.y, scaleY(21));
    EXPECT_EQ(currency.background, CalculatorDisplay::kBackground);
    EXPECT_EQ(GetParent(currency.window()), calculator.display().window());
    form.received.clear();
    struct Case {
        WPARAM key;
        int opened;
        bool returnPosted;
    } cases[] = {{VK_UP, 1, false}, {VK_DOWN, 1, false}, {VK_RETURN, 0, true}, {VK_LEFT, 0, false}};
    for (const Case& c : cases) {
        int before = currency.opened;
        SendMessageW(calculator.window(), WM_KEYDOWN, c.key, 0);
        pumpMessages();
        EXPECT_EQ(currency.opened - before, c.opened) << c.key;
        bool posted = !form.received.empty() &&
                      form.received.back() == std::make_pair(UINT{WM_KEYDOWN}, WPARAM{VK_RETURN});
        EXPECT_EQ(posted, c.returnPosted) << c.key;
        form.received.clear();
    }
    // Hidden, the calculator leaves these keys alone.
    ShowWindow(calculator.window(), SW_HIDE);
    SendMessageW(calculator.window(), WM_KEYDOWN, VK_UP, 0);
    SendMessageW(calculator.window(), WM_KEYDOWN, VK_RETURN, 0);
    pumpMessages();
    EXPECT_EQ(currency.opened, 2);
    EXPECT_TRUE(form.received.empty());
}

INSTANTIATE_TEST_SUITE_P(Profiles, CalculatorWindow, ::testing::ValuesIn(controlstest::kProfiles),
                         controlstest::profileName);

struct Posted {
    const WCHAR* key;
    UINT message;
    WPARAM wParam;
};

TEST(CalculatorKeyboardMessages, EachKeyPostsItsMessageToTheCalculator) {
    WindowTestScope scope;
    setScreenMetrics(96, 96, 240, 320);
    HINSTANCE module = GetModuleHandleW(nullptr);
    ASSERT_TRUE(platform::registerModuleResources(module, dashelResourceTable()));
    Form parent;
    ASSERT_NE(parent.create(0, u"parent", WS_VISIBLE, RECT{0, 0, 240, 320}, nullptr, 0), nullptr);
    CalculatorKeyboard keyboard;
    ASSERT_TRUE(keyboard.create(parent.window(), RECT{1, 57, 239, 158}, module));
    pumpMessages();
    const Posted table[] = {
        {u"Plus", WM_USER + 1, u'+'},     {u"Minus", WM_USER + 1, u'-'},   {u"Comma", WM_USER + 1, u','},
        {u"Asterisk", WM_USER + 1, u'*'}, {u"Divide", WM_USER + 1, u'/'},  {u"Percent", WM_USER + 1, u'%'},
        {u"Clear", WM_USER + 3, 0},       {u"ChangeSign", WM_USER + 2, 0}, {u"Equals", WM_USER + 1, u'='},
    };
    for (const Posted& p : table) {
        parent.received.clear();
        POINT at = centreOf(keyboard.key(p.key)->window());
        tap(at.x, at.y);
        pumpMessages();
        ASSERT_FALSE(parent.received.empty()) << text(p.key);
        EXPECT_EQ(parent.received.back(), std::make_pair(p.message, p.wParam)) << text(p.key);
    }
    // A stylus that leaves the key before it lifts posts nothing.
    parent.received.clear();
    POINT at = centreOf(keyboard.key(u"Plus")->window());
    stylusDown(at.x, at.y);
    stylusMove(at.x, 300);
    stylusUp(at.x, 300);
    pumpMessages();
    EXPECT_TRUE(parent.received.empty());
    EXPECT_EQ(keyboard.key(u"Nothing"), nullptr);
    keyboard.destroy();
    parent.destroy();
    platform::unregisterModuleResources(module);
}

TEST(CalculatorCreation, FailsWithoutItsKeyImages) {
    WindowTestScope scope;
    setScreenMetrics(96, 96, 240, 320);
    Form parent;
    ASSERT_NE(parent.create(0, u"parent", WS_VISIBLE, RECT{0, 0, 240, 320}, nullptr, 0), nullptr);
    // A module without resources: the key images cannot be loaded.
    Calculator calculator;
    EXPECT_FALSE(calculator.create(parent.window(), 0, 0, reinterpret_cast<HINSTANCE>(0x5150)));
    parent.destroy();
}

}  // namespace
