// The item window's answers to the home screen's messages, kept as tables: the refresh query with its
// first-call height, selection and navigation over the three areas, the action of each area, the
// watermark and text colour asked for while painting, and the launch button under the stylus.
#include <cstdlib>

#include "ItemFixture.h"
#include "MessageRecorder.h"
#include "NotificationBlock.h"
#include "TodayNames.h"
#include "platform/windlg.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using namespace today;
using platform::testing::ExpectedMessage;
using platform::testing::kLParam;
using platform::testing::kOptional;
using platform::testing::kSent;
using platform::testing::kWParam;

constexpr COLORREF kSelection = RGB(0, 0, 128);

class ItemWindowTest : public ItemTest {
  protected:
    // What the item window and the home screen get while the item repaints itself whole.
    std::vector<ExpectedMessage> repaint(bool textSelected) const {
        std::vector<ExpectedMessage> expected{
            {WM_PAINT, 0, 0, 0, m_record.hwndCustom},
            {WM_ERASEBKGND, kSent, 0, 0, m_record.hwndCustom},
            {TODAYM_DRAWWATERMARK, kSent | kWParam, 0, 0, m_home},
        };
        if (!textSelected) expected.push_back({TODAYM_GETCOLOR, kSent | kWParam, TODAYCOLOR_TEXT, 0, m_home});
        return expected;
    }
    platform::testing::MessageRecorder& recorder() {
        if (!m_recorder) {
            m_recorder.emplace();
            m_recorder->watch(m_record.hwndCustom);
            m_recorder->watch(m_home);
            m_recorder->ignore(WM_NCPAINT);
        }
        return *m_recorder;
    }
    void TearDown() override {
        m_recorder.reset();
        dove::closeNotificationBlock();
        ItemTest::TearDown();
    }
    // The screen pixel at a point of the item's client area.
    COLORREF pixel(int x, int y) const {
        const RECT item = itemOnScreen();
        return platform::testing::screenPixel(item.left + x, item.top + y);
    }

    // Pixels of the item's client rectangle within 40 of the colour in each component (text is
    // anti-aliased: only the cores of its strokes have the colour itself).
    int countNear(const RECT& rect, COLORREF colour) const {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) {
                const COLORREF p = pixel(x, y);
                count += std::abs(GetRValue(p) - GetRValue(colour)) < 40 &&
                                 std::abs(GetGValue(p) - GetGValue(colour)) < 40 &&
                                 std::abs(GetBValue(p) - GetBValue(colour)) < 40
                             ? 1
                             : 0;
            }
        return count;
    }

    std::optional<platform::testing::MessageRecorder> m_recorder;
};

TEST_F(ItemWindowTest, TheFirstRefreshQueryGivesTheHeightLaterOnesReportChanges) {
    ASSERT_NE(initialize(), nullptr);
    platform::testing::pumpMessages();
    const ItemLayout& layout = item().layout();
    ASSERT_GT(layout.lineHeight(), 0);
    recorder();
    EXPECT_EQ(queryRefresh(), TRUE);
    EXPECT_EQ(m_record.cyp, static_cast<DWORD>(((2 * layout.lineHeight() + 8) * 96 + 48) / 96));
    EXPECT_TRUE(recorder().matches({{WM_TODAYCUSTOM_QUERYREFRESHCACHE, kSent | kLParam, 0,
                                     reinterpret_cast<LPARAM>(&m_record), m_record.hwndCustom}},
                                   "first query"));
    EXPECT_EQ(queryRefresh(), FALSE) << "nothing changed";
    EXPECT_TRUE(recorder().matches({{WM_TODAYCUSTOM_QUERYREFRESHCACHE, kSent}}, "idle query"));
    EXPECT_EQ(send(WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0), FALSE);
    EXPECT_EQ(SendMessageW(m_record.hwndCustom, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0, 0), FALSE)
        << "no record, no answer";
    // The home screen places the item with its height.
    SetWindowPos(m_record.hwndCustom, nullptr, 0, 20, 240, static_cast<int>(m_record.cyp), SWP_NOZORDER);
    platform::testing::pumpMessages();
    recorder().clear();

    ASSERT_TRUE(dove::createNotificationBlock());
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
    EXPECT_EQ(queryRefresh(), TRUE);
    platform::testing::pumpMessages();
    std::vector<ExpectedMessage> expected{{WM_TODAYCUSTOM_QUERYREFRESHCACHE, kSent}};
    for (const ExpectedMessage& m : repaint(false))
        expected.push_back(m);
    EXPECT_TRUE(recorder().matches(expected, "a change: reload and repaint"));
    EXPECT_EQ(queryRefresh(), FALSE) << "the flag was cleared";
    EXPECT_NE(itemLog().find("Load: 1\r\nLoad: 2\r\n"), std::string::npos) << itemLog();
}

TEST_F(ItemWindowTest, CrossingMidnightReloadsOnce) {
    ASSERT_NE(showItem(), nullptr);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const DWORD toMidnight = ((23 - now.wHour) * 3600 + (59 - now.wMinute) * 60 + (60 - now.wSecond)) * 1000;
    platform::testing::advanceAndPump(toMidnight - 1000);
    EXPECT_EQ(queryRefresh(), FALSE) << "still the same day";
    platform::testing::advanceAndPump(2000);
    EXPECT_EQ(queryRefresh(), TRUE) << "a new day";
    EXPECT_EQ(queryRefresh(), FALSE);
    EXPECT_NE(itemLog().find("Load: 2\r\n"), std::string::npos);
    EXPECT_EQ(itemLog().find("Load: 3"), std::string::npos);
}

TEST_F(ItemWindowTest, SelectionAndNavigationMoveOverTheThreeAreas) {
    ASSERT_NE(showItem(), nullptr);
    const struct {
        UINT message;
        WPARAM key;
        LRESULT result;
        Area area;
        bool repaints;
    } steps[] = {
        {WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN, TRUE, Area::Setup, true},
        {WM_TODAYCUSTOM_USERNAVIGATION, VK_LEFT, TRUE, Area::Setup, true},  // left from area 1 stays
        {WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT, TRUE, Area::Text, true},
        {WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT, TRUE, Area::Launch, true},
        {WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT, TRUE, Area::Launch, true},  // right from area 3 stays
        {WM_TODAYCUSTOM_USERNAVIGATION, VK_LEFT, TRUE, Area::Text, true},
        {WM_TODAYCUSTOM_USERNAVIGATION, 'A', TRUE, Area::Text, false},    // another key: stay
        {WM_TODAYCUSTOM_USERNAVIGATION, VK_UP, FALSE, Area::Text, true},  // up leaves the item
        {WM_TODAYCUSTOM_LOSTSELECTION, 0, TRUE, Area::None, true},
        {WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_UP, TRUE, Area::Setup, true},
        {WM_TODAYCUSTOM_USERNAVIGATION, VK_DOWN, FALSE, Area::Setup, true},  // down leaves it too
    };
    int index = 0;
    for (const auto& step : steps) {
        const std::string context = "step " + std::to_string(index++);
        recorder().clear();
        EXPECT_EQ(send(step.message, step.key), step.result) << context;
        EXPECT_EQ(item().selectedArea(), step.area) << context;
        platform::testing::pumpMessages();
        std::vector<ExpectedMessage> expected{
            {step.message, kSent | kWParam, step.key, 0, m_record.hwndCustom}};
        if (step.repaints)
            for (const ExpectedMessage& m : repaint(step.area == Area::Text))
                expected.push_back(m);
        EXPECT_TRUE(recorder().matches(expected, context));
    }
}

TEST_F(ItemWindowTest, EachAreaShowsTheSelectionColour) {
    seedAccounts({{1, u"Wallet", u"USD", 12345}, {2, u"Bank", u"EUR", -500}});
    ASSERT_NE(showItem(), nullptr);
    const RECT client{0, 0, itemOnScreen().right - itemOnScreen().left,
                      itemOnScreen().bottom - itemOnScreen().top};
    const ItemLayout& layout = item().layout();
    const RECT setup = layout.setupArea(client), text = layout.textArea(client);
    const RECT button = layout.launchButton(client);
    // Points of each area that no icon or letter covers.
    const POINT setupBlank{setup.left + 1, setup.bottom - 2}, textBlank{text.right - 2, text.bottom - 2};
    const POINT buttonMargin{button.left + 1, button.top + 1};
    EXPECT_EQ(pixel(setupBlank.x, setupBlank.y), kHomeWatermark);
    EXPECT_EQ(pixel(textBlank.x, textBlank.y), kHomeWatermark);
    EXPECT_EQ(pixel(buttonMargin.x, buttonMargin.y), kHomeWatermark);
    EXPECT_GT(countNear(text, kHomeTextColour), 20) << "the lines are drawn in the home screen's text colour";

    send(WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN);
    platform::testing::pumpMessages();
    EXPECT_EQ(pixel(setupBlank.x, setupBlank.y), kSelection);
    EXPECT_EQ(pixel(textBlank.x, textBlank.y), kHomeWatermark);
    send(WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT);
    platform::testing::pumpMessages();
    EXPECT_EQ(pixel(setupBlank.x, setupBlank.y), kHomeWatermark);
    EXPECT_EQ(pixel(textBlank.x, textBlank.y), kSelection);
    EXPECT_GT(countNear(text, RGB(255, 255, 255)), 20) << "selected text is white";
    EXPECT_EQ(countNear(text, kHomeTextColour), 0);
    send(WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT);
    platform::testing::pumpMessages();
    EXPECT_EQ(pixel(textBlank.x, textBlank.y), kHomeWatermark);
    EXPECT_EQ(pixel(buttonMargin.x, buttonMargin.y), kSelection);
}

TEST_F(ItemWindowTest, ActionsStartWhatEachAreaStands) {
    ASSERT_NE(showItem(), nullptr);
    // Nothing is installed: every start fails quietly and the log tells which was tried.
    const struct {
        int rights;
        const char* logged;
    } cases[] = {
        {0, "Start Brimwell: 0\r\n"},
        {1, "Start Brimwell set-up: 0\r\n"},  // nothing loaded: the Today set-up
        {2, "Start Dashel: 2\r\n"},           // not installed
    };
    for (const auto& c : cases) {
        send(WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN);
        for (int i = 0; i < c.rights; ++i)
            send(WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT);
        const size_t before = itemLog().size();
        EXPECT_EQ(send(WM_TODAYCUSTOM_ACTION, VK_RETURN), TRUE);
        EXPECT_EQ(itemLog().substr(before), c.logged);
        send(WM_TODAYCUSTOM_LOSTSELECTION);
    }
    const size_t before = itemLog().size();
    send(WM_TODAYCUSTOM_ACTION, VK_RETURN);
    EXPECT_EQ(itemLog().substr(before), "") << "no area selected: no action";
}

TEST_F(ItemWindowTest, WithDataLoadedTheTextReadsThePasswordFlagBeforeTheDetails) {
    seedAccounts({{1, u"Wallet", u"USD", 100}, {2, u"Bank", u"USD", 200}});
    ASSERT_NE(showItem(), nullptr);
    ASSERT_TRUE(dove::createNotificationBlock());
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagPassword));
    send(WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN);
    send(WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT);
    // The details open modally; they are closed from their menu bar as soon as they wait.
    platform::setModalIdleHook([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, kCommandClose, 0); });
    size_t before = itemLog().size();
    send(WM_TODAYCUSTOM_ACTION, VK_RETURN);
    // Brimwell does not run: the gate looks for a password (none is set) and the details open.
    EXPECT_EQ(itemLog().substr(before), "Password asked again: 1\r\nPassword gate: 0\r\nDetails: 1\r\n");
    before = itemLog().size();
    send(WM_TODAYCUSTOM_ACTION, VK_RETURN);
    EXPECT_EQ(itemLog().substr(before), "Password asked again: 0\r\nPassword gate: 0\r\nDetails: 1\r\n")
        << "the flag was cleared";
    platform::setModalIdleHook(nullptr);
    EXPECT_EQ(queryRefresh(), FALSE) << "the password flag is no data change";
}

TEST_F(ItemWindowTest, TheLaunchButtonIsHeldUnderTheStylusAndStartsDashelOnRelease) {
    ASSERT_NE(showItem(), nullptr);
    const RECT screen = itemOnScreen();
    const RECT button =
        item().layout().launchButton(RECT{0, 0, screen.right - screen.left, screen.bottom - screen.top});
    // The icon's left edge lies 3 pixels inside the button; held, it moves one pixel right and down.
    const POINT edge{button.left + 3, button.top + 10};
    const COLORREF resting = pixel(edge.x, edge.y);
    EXPECT_NE(resting, kHomeWatermark);
    platform::testing::stylusDown(screen.left + (button.left + button.right) / 2,
                                  screen.top + (button.top + button.bottom) / 2);
    platform::testing::pumpMessages();
    EXPECT_EQ(GetCapture(), m_record.hwndCustom);
    EXPECT_EQ(item().buttonState(), ButtonState::Held);
    EXPECT_EQ(pixel(edge.x, edge.y), kHomeWatermark);
    EXPECT_EQ(pixel(edge.x + 1, edge.y + 1), resting);
    // Released anywhere, the held button starts Dashel.
    platform::testing::stylusUp(screen.left + 5, screen.top + 5);
    platform::testing::pumpMessages();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(item().buttonState(), ButtonState::None) << "the released look was painted once";
    EXPECT_EQ(pixel(edge.x, edge.y), resting);
    EXPECT_NE(itemLog().find("Start Dashel: 2\r\n"), std::string::npos);
    EXPECT_EQ(itemLog().find("Start Brimwell"), std::string::npos) << "the release is the button's alone";
}

TEST_F(ItemWindowTest, TapsOnTheIconColumnAndTheTextStartBrimwell) {
    ASSERT_NE(showItem(), nullptr);
    const RECT screen = itemOnScreen();
    platform::testing::tap(screen.left + 10, screen.bottom - 3);
    platform::testing::pumpMessages();
    EXPECT_NE(itemLog().find("Start Brimwell: 0\r\n"), std::string::npos) << itemLog();
    EXPECT_EQ(GetCapture(), nullptr) << "only the button takes the capture";
    platform::testing::tap(screen.left + 100, screen.top + 5);
    platform::testing::pumpMessages();
    EXPECT_NE(itemLog().find("Start Brimwell set-up: 0\r\n"), std::string::npos) << itemLog();
}

TEST_F(ItemWindowTest, ANewSizeMovesTheLaunchButtonAtTheNextPaint) {
    ASSERT_NE(showItem(), nullptr);
    const RECT before = itemOnScreen();
    const int height = before.bottom - before.top;
    SetWindowPos(m_record.hwndCustom, nullptr, 0, 20, 160, height, SWP_NOZORDER);
    platform::testing::pumpMessages();
    const RECT button = item().layout().launchButton(RECT{0, 0, 160, height});
    EXPECT_EQ(button.right, 160);
    EXPECT_NE(pixel(button.left + 3, button.top + 10), kHomeWatermark) << "drawn at the new right edge";
    EXPECT_EQ(platform::testing::screenPixel(before.right - 20, before.top + button.top + 10),
              RGB(255, 255, 255))
        << "the old place is the home screen's again";
}

}  // namespace
}  // namespace todaytest
