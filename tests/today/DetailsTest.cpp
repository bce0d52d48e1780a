// The details window: over the screen with its title strip, menu bar and list; the sections one below
// the other; scrolling by line, page and thumb; the long press and its pop-up; a tap opening an entry
// in Brimwell or showing a budget's alert; the menu's two commands.
#include <gtest/gtest.h>

#include "DetailsDialog.h"
#include "ItemFixture.h"
#include "ModalSteps.h"
#include "NotificationBlock.h"
#include "TextPopup.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using today::DetailsDialog;
using today::GroupList;
using today::TextPopup;

constexpr int kGap = 5;  // between sections, at 96 dpi

class DetailsTest : public ItemTest {
  protected:
    void seedAll(int accounts = 3) {
        StoreSeed seed;
        for (int a = 1; a <= accounts; ++a)
            seed.account({a, u"Account " + number(a), u"USD", 1000 * a});
        seed.group(1000, u"Family", u"#1@1#2@1");
        seed.budget(4, u"Food", true, {{-1000, -1200}});  // over its plan: an alert
        seed.budget(5, u"Fun", true, {{-1000, -100}});
        seed.plannerItem({9, u"Rent", dayFromToday(0), -50000});
    }
    static std::u16string number(int n) {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    }
    // Opens the details on what the store holds, runs the steps and returns the end code.
    INT_PTR openDetails(std::vector<ModalSteps::Step> steps) {
        showScheduledOnToday(true);
        today::TodayData data;
        EXPECT_TRUE(data.reload());
        m_data = data;
        ModalSteps driver(std::move(steps));
        DetailsDialog details(today::detailEntries(data));
        const INT_PTR result = details.run(m_home);
        EXPECT_TRUE(driver.allRan()) << driver.ran() << " steps ran";
        EXPECT_EQ(driver.overruns(), 0);
        return result;
    }
    static GroupList& list(HWND details) { return DetailsDialog::fromWindow(details)->list(); }
    // The screen point at the middle of an entry, scrolled into view first when it is not.
    static POINT entryPoint(HWND details, int section, int entry) {
        GroupList& l = list(details);
        RECT r = l.entryRect({section, entry});
        RECT client{};
        GetClientRect(l.window(), &client);
        if (r.top < 0 || r.bottom > client.bottom) {
            l.scrollTo(l.scrollPosition() + r.top);
            r = l.entryRect({section, entry});
        }
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(l.window(), &p);
        return p;
    }
    static ModalSteps::Step close() {
        return [](HWND details) { PostMessageW(details, WM_COMMAND, today::kCommandClose, 0); };
    }

    today::TodayData m_data;
};

TEST_F(DetailsTest, TheWindowCoversTheScreenWithTitleMenuBarAndList) {
    seedAll();
    EXPECT_EQ(openDetails({[](HWND details) {
                               RECT r{};
                               GetWindowRect(details, &r);
                               EXPECT_EQ(r.left, 0);
                               EXPECT_EQ(r.top, 26) << "below the task bar";
                               EXPECT_EQ(r.right, 240);
                               EXPECT_EQ(r.bottom, 320 - 26) << "above the menu bar";
                               DetailsDialog* d = DetailsDialog::fromWindow(details);
                               ASSERT_NE(d, nullptr);
                               EXPECT_EQ(d->title().title(), u"Brimwell");
                               EXPECT_NE(findDescendant(details, today::kTitleStripName), nullptr);
                               ASSERT_NE(d->menuBar(), nullptr);
                               EXPECT_TRUE(IsWindowVisible(d->menuBar()));
                               RECT list{}, title{};
                               GetWindowRect(d->list().window(), &list);
                               GetWindowRect(d->title().window(), &title);
                               EXPECT_EQ(list.top, title.bottom);
                               EXPECT_EQ(list.bottom, r.bottom);
                               EXPECT_EQ(GetFocus(), d->list().window());
                               EXPECT_FALSE(GetUpdateRect(d->list().window(), nullptr, FALSE)) << "painted";
                           },
                           close()}),
              IDOK);
}

TEST_F(DetailsTest, ATurnedScreenLaysTheDetailsOutAgain) {
    seedAll();
    openDetails({[](HWND) { platform::testing::rotateScreen(); },
                 [](HWND details) {
                     RECT r{};
                     GetWindowRect(details, &r);
                     EXPECT_EQ(r.right, 320);
                     EXPECT_EQ(r.bottom, 240 - 26);
                     RECT shown{};
                     GetWindowRect(list(details).window(), &shown);
                     EXPECT_EQ(shown.right, 320);
                     EXPECT_EQ(shown.bottom, r.bottom);
                     close()(details);
                 }});
}

TEST_F(DetailsTest, SectionsFollowEachOtherSeparatedByTheirGap) {
    seedAll();
    openDetails({[&](HWND details) {
                     GroupList& l = list(details);
                     const int counts[] = {3, 1, 2, 1};
                     int top = 0;
                     for (int s = 0; s < today::kSectionCount; ++s) {
                         ASSERT_EQ(l.section(s).entryCount(), counts[s]);
                         EXPECT_EQ(l.entryRect({s, 0}).top, top) << "section " << s;
                         top += l.section(s).height() + kGap;
                         for (int e = 0; e < counts[s]; ++e)
                             EXPECT_EQ(l.entryAt(POINT{10, l.entryRect({s, e}).top + 1}),
                                       (GroupList::EntryRef{s, e}));
                     }
                     EXPECT_EQ(l.contentHeight(), top - kGap);
                     EXPECT_EQ(l.section(0).entry(0).markup, m_data.accounts()[0].markup);
                     EXPECT_EQ(l.section(2).entry(0).alert, m_data.budgets()[0].alert)
                         << "budgets in number order";
                     EXPECT_NE(l.section(2).entry(0).alert, u"");
                     EXPECT_EQ(l.section(2).entry(1).alert, u"");
                 },
                 close()});
}

TEST_F(DetailsTest, TheListScrollsByLinePageAndThumb) {
    seedAll(30);
    openDetails({[&](HWND details) {
                     GroupList& l = list(details);
                     HWND w = l.window();
                     ASSERT_GT(l.maxScrollPosition(), 100);
                     const struct {
                         WORD code;
                         int position;
                         int expected;
                     } steps[] = {{SB_LINEDOWN, 0, 5},
                                  {SB_LINEDOWN, 0, 10},
                                  {SB_PAGEDOWN, 0, 60},
                                  {SB_LINEUP, 0, 55},
                                  {SB_PAGEUP, 0, 5},
                                  {SB_PAGEUP, 0, 0},
                                  {SB_THUMBTRACK, 77, 77},
                                  {SB_THUMBPOSITION, 99, 99},
                                  {SB_BOTTOM, 0, l.maxScrollPosition()},
                                  {SB_LINEDOWN, 0, l.maxScrollPosition()},
                                  {SB_TOP, 0, 0}};
                     for (const auto& s : steps) {
                         SendMessageW(w, WM_VSCROLL, MAKEWPARAM(s.code, s.position), 0);
                         EXPECT_EQ(l.scrollPosition(), s.expected) << s.code;
                         EXPECT_EQ(GetScrollPos(w, SB_VERT), s.expected);
                     }
                     // Scrolled, the entries move up with the content.
                     const int top = l.entryRect({0, 1}).top;
                     SendMessageW(w, WM_VSCROLL, SB_PAGEDOWN, 0);
                     EXPECT_EQ(l.entryRect({0, 1}).top, top - 50);
                     // The stylus on the bar's track, low: a page down.
                     RECT bar{};
                     GetWindowRect(w, &bar);
                     const int x = bar.right - GetSystemMetrics(SM_CXVSCROLL) / 2;
                     platform::testing::tap(x, bar.bottom - GetSystemMetrics(SM_CYVSCROLL) - 3);
                 },
                 [&](HWND details) {
                     EXPECT_EQ(list(details).scrollPosition(), 100);
                     PostMessageW(details, WM_COMMAND, today::kCommandClose, 0);
                 }});
}

TEST_F(DetailsTest, ALongPressShowsTheWholeEntryInThePopup) {
    seedAll();
    openDetails({[&](HWND details) {
                     const POINT p = entryPoint(details, 0, 1);
                     platform::testing::stylusDown(p.x, p.y);
                     platform::testing::pumpMessages();
                     EXPECT_EQ(list(details).pressed(), (GroupList::EntryRef{0, 1}));
                     EXPECT_EQ(GetCapture(), list(details).window());
                     platform::testing::advanceAndPump(499);
                     EXPECT_EQ(list(details).pressed(), (GroupList::EntryRef{0, 1})) << "not yet";
                     platform::testing::advanceAndPump(1);  // the pop-up runs in here
                 },
                 [&](HWND popup) {
                     TextPopup* p = TextPopup::fromWindow(popup);
                     ASSERT_NE(p, nullptr);
                     EXPECT_EQ(p->markup(), m_data.accounts()[1].markup);
                     ASSERT_EQ(p->buttonCount(), 1);
                     RECT ok = p->buttonRect(0);
                     POINT c{(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2};
                     ClientToScreen(popup, &c);
                     platform::testing::tap(c.x, c.y);
                 },
                 [&](HWND details) {
                     EXPECT_EQ(list(details).pressed().section, -1);
                     EXPECT_EQ(readText(starterLog()), "") << "a long press opens nothing";
                     close()(details);
                 }});
}

TEST_F(DetailsTest, MovingTheStylusCancelsThePress) {
    seedAll();
    openDetails(
        {[&](HWND details) {
             const POINT p = entryPoint(details, 0, 0);
             platform::testing::stylusDown(p.x, p.y);
             platform::testing::stylusMove(p.x + 4, p.y - 4);
             platform::testing::pumpMessages();
             EXPECT_EQ(list(details).pressed(), (GroupList::EntryRef{0, 0})) << "4 pixels: still a press";
             platform::testing::stylusMove(p.x, p.y + 5);
             platform::testing::pumpMessages();
             EXPECT_EQ(list(details).pressed().section, -1);
             EXPECT_EQ(GetCapture(), nullptr);
             platform::testing::advanceAndPump(600);  // no pop-up comes
             platform::testing::stylusUp(p.x, p.y);
         },
         close()});
    EXPECT_EQ(readText(starterLog()), "");
}

TEST_F(DetailsTest, ATapOpensTheEntryInBrimwellOrShowsABudgetsAlert) {
    seedAll();
    installStarter();
    auto tapEntry = [](int section, int entry) -> ModalSteps::Step {
        return [section, entry](HWND details) {
            const POINT p = entryPoint(details, section, entry);
            platform::testing::tap(p.x, p.y);
        };
    };
    openDetails({tapEntry(0, 2), tapEntry(1, 0), tapEntry(2, 1), tapEntry(3, 0),
                 [&](HWND details) {
                     // Budget 4 is over its plan: its tap shows the alert instead.
                     const POINT food = entryPoint(details, 2, 0);
                     platform::testing::tap(food.x, food.y);
                 },
                 [&](HWND popup) {
                     TextPopup* p = TextPopup::fromWindow(popup);
                     ASSERT_NE(p, nullptr);
                     EXPECT_EQ(p->markup(), m_data.budgets()[0].alert);
                     platform::testing::pressKey(VK_RETURN);
                 },
                 close()});
    // Each tap started its own starter; they write their lines in whatever order they run.
    for (const char* line : {"starter /show_account_3\n", "starter /show_accountgroup_1000\n",
                             "starter /show_budget_5\n", "starter /show_future_9\n"})
        EXPECT_TRUE(waitForText(starterLog(), line)) << line << readText(starterLog());
    const std::string log = readText(starterLog());
    EXPECT_EQ(log.find("show_budget_4"), std::string::npos);
}

TEST_F(DetailsTest, SettingsStartsTheTodaySetUpAndClosesTheDetails) {
    seedAll();
    installStarter();
    EXPECT_EQ(
        openDetails({[](HWND details) { PostMessageW(details, WM_COMMAND, today::kCommandTodaySetup, 0); }}),
        IDOK);
    EXPECT_TRUE(waitForText(starterLog(), "starter /show_today_setup\n"));
}

TEST_F(DetailsTest, ARefreshThatReloadsWhileTheDetailsAreOpenChangesNothingUnderThem) {
    seedAll();
    ASSERT_NE(showItem(), nullptr);
    ASSERT_TRUE(dove::createNotificationBlock());
    ModalSteps driver({[&](HWND details) {
        {
            StoreSeed seed;
            seed.account({40, u"New", u"USD", 5});
        }
        ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagTransactions));
        EXPECT_EQ(queryRefresh(), TRUE);
        EXPECT_EQ(item().data().accounts().size(), 4u) << "the item reloaded";
        EXPECT_EQ(list(details).section(0).entryCount(), 3) << "the details kept theirs";
        close()(details);
    }});
    send(WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN);
    send(WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT);
    send(WM_TODAYCUSTOM_ACTION, VK_RETURN);
    EXPECT_TRUE(driver.allRan());
    dove::closeNotificationBlock();
}

}  // namespace
}  // namespace todaytest
