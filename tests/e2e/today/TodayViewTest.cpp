// What the item shows on the installed demo store, across processes: the summary in each state
// (nothing selected, all fine, needing attention) on every profile, and, on a store seeded to need
// attention, the details opened by a tap on the text, the pop-up of a long press on an entry and an
// account shown in Brimwell's starter, each checked in the home screen's text dump and its snapshot
// (kept for review). Where an entry lies on each profile comes from the item's code run here.
#include <filesystem>

#include "DetailsDialog.h"
#include "FinanceStore.h"
#include "ItemText.h"
#include "ModalSteps.h"
#include "OccurrenceEntry.h"
#include "PlannerItem.h"
#include "TextPopup.h"
#include "TodayFields.h"
#include "TodayFixture.h"
#include "TodayLibrary.h"
#include "TodayNames.h"
#include "TodaySeed.h"
#include "UserTesting.h"
#include "platform/cedb.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/windows.h"

namespace todaye2e {
namespace {

using dove::PropertyValue;
using todaytest::ModalSteps;

constexpr int kDemoChecking = 1;
constexpr const char16_t* kDemoRent = u"Oakwood Apartments";  // the payee of the demo's monthly rent
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kTitleBlue = 0x000080;
constexpr uint32_t kRuleGrey = 0x777777;
constexpr uint32_t kPopupFrame = 0x404040;
constexpr uint32_t kButtonFace = 0xECECEC;

// A shown text as the text dump writes it.
std::string quoted(const std::u16string& text) {
    return "\"text\": \"" + platform::toUtf8(text) + "\"";
}

// The start of a shown text (a line too long for its place ends in dots).
std::string quotedStart(const std::u16string& text, size_t characters) {
    return "\"text\": \"" + platform::toUtf8(text.substr(0, characters));
}

std::string stylusAt(const char* verb, POINT p) {
    return std::string(verb) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
}

POINT centreOf(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT inset(const RECT& r, int n) {
    return RECT{r.left + n, r.top + n, r.right - n, r.bottom - n};
}

// The state of the store the summary is shown for.
enum class State { Empty, Fine, Attention, Overspent };

class TodayViewTest : public TodayE2ETest {
  protected:
    void SetUp() override {
        TodayE2ETest::SetUp();
        today::libraryModule();  // the item's resources, registered when its code is loaded
    }

    // Seeds the copied demo store (this process's device root) for a state, then lets go of it
    // before a home screen opens it.
    void seed(State state) {
        platform::useRealClock();  // the probes leave the virtual clock of their screens
        ASSERT_TRUE(dove::openFinanceStore());
        markAccounts(state);
        if (state != State::Attention) deleteAll(dove::Table::Scheduled);
        setBudgetUse(state == State::Attention ? 85 : state == State::Overspent ? 105 : 40);
        if (state == State::Empty) deleteAll(dove::Table::Budgets);
        dove::closeFinanceStore();
        todaytest::showScheduledOnToday(state == State::Attention);
        if (state == State::Attention) {
            todaytest::StoreSeed store;
            store.group(1000, u"Everyday", u"#1@1#2@1#3@0");
            // The demo's rent falls due in nine days: listed ten days ahead, it is due beside the
            // electricity bill paid in part (and the furniture loan on the days its payment nears).
            dove::TableCursor& planner = dove::tableCursor(dove::Table::Planner);
            bool found = planner.moveTo(0);
            while (found && std::u16string(planner.getString(dove::tx::kPayeeName)) != kDemoRent)
                found = planner.moveNext();
            ASSERT_TRUE(found);
            ASSERT_TRUE(planner.writeProperties({PropertyValue::i4(dove::plan::kLeadDays, 10)}));
        }
        platform::cedbCloseStore();
    }
    // The demo's scheduled items whose next occurrence shows by today (its date less the item's lead
    // days) with something still due on it; none of them has a second occurrence due by then.
    static int dueDemoItems() {
        platform::useRealClock();
        EXPECT_TRUE(dove::openFinanceStore());
        std::vector<std::pair<uint32_t, int32_t>> items;  // schedule number, lead days
        dove::TableCursor& planner = dove::tableCursor(dove::Table::Planner);
        for (bool more = planner.moveTo(0); more; more = planner.moveNext())
            items.emplace_back(planner.getI4(dove::tx::kScheduleNumber),
                               planner.getI4(dove::plan::kLeadDays));
        const dove::Date today = dove::nowLocal();
        int due = 0;
        for (const auto& [schedule, lead] : items) {
            dove::OccurrenceDue next;
            if (dove::nextOccurrenceDue(schedule, next) != dove::DueState::Due || next.remaining() == 0)
                continue;
            const dove::Date lift = static_cast<dove::Date>(lead) * dove::kDateDay;
            if (dove::compareDates(next.date - lift, today, dove::kCompareDays) <= 0) ++due;
        }
        dove::closeFinanceStore();
        platform::cedbCloseStore();
        return due;
    }
    // Every open demo account shown on Today (none when empty); Checking below its limit when
    // attention is wanted.
    void markAccounts(State state) {
        dove::TableCursor& accounts = dove::tableCursor(dove::Table::Accounts);
        for (bool more = accounts.moveTo(0); more; more = accounts.moveNext()) {
            const int32_t number = accounts.getI4(104);
            const dove::Amount balance = accounts.get64(113);
            const bool attention = state != State::Fine && state != State::Empty && number == kDemoChecking;
            ASSERT_TRUE(accounts.writeProperties(
                {PropertyValue::i4(today::fields::kAccountShowOnToday,
                                   state != State::Empty && number <= 3 ? 1 : 0),
                 PropertyValue::date(today::fields::kAccountLimit,
                                     static_cast<uint64_t>(attention ? balance + 10000 : 0))}));
        }
    }
    // The demo budget's lines used to percent of their limits this month.
    void setBudgetUse(int percent) {
        dove::TableCursor& lines = dove::tableCursor(dove::Table::BudgetLists);
        for (bool more = lines.moveTo(0); more; more = lines.moveNext()) {
            const dove::Amount limit = lines.get64(today::fields::kLineLimit);
            ASSERT_TRUE(lines.writeProperties({PropertyValue::date(
                today::fields::kLineMonthTotal, static_cast<uint64_t>(limit * percent / 100))}));
        }
    }
    void deleteAll(dove::Table table) {
        dove::TableCursor& cursor = dove::tableCursor(table);
        while (cursor.recordCount() > 0)
            ASSERT_TRUE(cursor.deleteAt(0));
    }

    // The item's lines on the store as it is now (loaded here with the same code as the item's).
    static today::ItemLines lines() {
        platform::useRealClock();
        today::TodayData data;
        EXPECT_TRUE(data.reload());
        return today::itemLines(data);
    }

    // Where the details put their first entries, and the pop-up of a long press on the first account,
    // on a profile, in screen pixels.
    struct DetailsGeometry {
        RECT title{};
        RECT list{};
        RECT firstAccount{};
        RECT popup{};
        RECT popupButton{};
        POINT scrollTrackEnd{};  // on the list's scroll bar: the track's lowest point
        POINT scrollDownArrow{};
        int32_t secondAccountNumber = 0;
        std::u16string secondAccountName;
        std::u16string partPaidRemaining;  // the amount text of the bill paid in part
    };
    DetailsGeometry probeDetails(const Profile& profile) {
        platform::useRealClock();
        today::TodayData data;
        EXPECT_TRUE(data.reload());  // on the real clock, as the home screen's item loads
        DetailsGeometry geometry;
        if (data.accounts().size() > 1) {
            geometry.secondAccountNumber = data.accounts()[1].id;
            geometry.secondAccountName = data.accounts()[1].name;
        }
        for (const today::LoadedScheduled& entry : data.scheduled()) {
            if (entry.description != u"City Power") continue;
            EXPECT_EQ(entry.amount, -33000 + 15000) << "the demo's bill less the part paid";
            const std::u16string total = u"<b>Итого:</b> ";
            const size_t at = entry.markup.find(total);
            if (at != std::u16string::npos)
                geometry.partPaidRemaining =
                    entry.markup.substr(at + total.size(), entry.markup.find(u'\n', at) - at - total.size());
        }
        EXPECT_FALSE(geometry.partPaidRemaining.empty());
        platform::testing::WindowTestScope scope(profile.width, profile.height, profile.dpi);
        auto onScreen = [](HWND window, RECT r) {
            POINT origin{0, 0};
            ClientToScreen(window, &origin);
            OffsetRect(&r, origin.x, origin.y);
            return r;
        };
        ModalSteps driver(
            {[&](HWND details) {
                 today::DetailsDialog* d = today::DetailsDialog::fromWindow(details);
                 GetWindowRect(d->title().window(), &geometry.title);
                 GetWindowRect(d->list().window(), &geometry.list);
                 const int bar = GetSystemMetrics(SM_CXVSCROLL), arrow = GetSystemMetrics(SM_CYVSCROLL);
                 geometry.scrollTrackEnd =
                     POINT{geometry.list.right - bar / 2, geometry.list.bottom - arrow - 2};
                 geometry.scrollDownArrow =
                     POINT{geometry.list.right - bar / 2, geometry.list.bottom - arrow / 2};
                 geometry.firstAccount = onScreen(d->list().window(), d->list().entryRect({0, 0}));
                 const POINT press = centreOf(geometry.firstAccount);
                 platform::testing::stylusDown(press.x, press.y);
                 platform::testing::pumpMessages();
                 platform::testing::advanceAndPump(600);  // the pop-up runs in here
             },
             [&](HWND popup) {
                 ASSERT_NE(today::TextPopup::fromWindow(popup), nullptr);
                 GetWindowRect(popup, &geometry.popup);
                 geometry.popupButton = onScreen(popup, today::TextPopup::fromWindow(popup)->buttonRect(0));
                 platform::testing::pressKey(VK_RETURN);
             },
             [](HWND details) { PostMessageW(details, WM_COMMAND, today::kCommandClose, 0); }});
        today::DetailsDialog details(today::detailEntries(data));
        details.run(nullptr);
        EXPECT_TRUE(driver.allRan());
        return geometry;
    }
};

TEST_F(TodayViewTest, TheSummaryShowsEachStateOnEveryProfile) {
    const struct {
        State state;
        const char* name;
        const char16_t* first;
        const char16_t* second;
        bool bold;
    } states[] = {
        {State::Fine, "fine", u"Бюджеты и счета в порядке", u"Нет Запланированных", false},
        // The second line counts the demo's due items (see below).
        {State::Attention, "attention", u"1 Бюджет и 1 Счет Внимание", nullptr, true},
        // Nothing scheduled: the budget's name instead, red when it is overspent.
        {State::Overspent, "overspent", u"1 Бюджет и 1 Счет Внимание", u"", true},
        {State::Empty, "empty", u"Нет выбранных финансовых данных", u"Нажмите здесь для найстройки...",
         false},
    };
    const std::string folder = snapshotFolder();
    for (const auto& s : states) {
        SCOPED_TRACE(s.name);
        seed(s.state);
        std::u16string second = s.second != nullptr ? s.second : u"";
        if (s.state == State::Attention) {
            const int due = dueDemoItems();
            EXPECT_GE(due, 2) << "the rent and the electricity bill";
            second = platform::fromUtf8(std::to_string(due)) + u" Запланир.";
        }
        const today::ItemLines shown = lines();
        EXPECT_EQ(shown.first, s.first);
        EXPECT_EQ(shown.second, second);
        EXPECT_EQ(shown.firstBold, s.bold);
        if (s.state == State::Overspent) {
            ASSERT_EQ(shown.names.size(), 1u);
            EXPECT_EQ(shown.names[0].text, u"Monthly budget");
            EXPECT_TRUE(shown.names[0].red);
        }
        for (const Profile& profile : kProfiles) {
            SCOPED_TRACE(profile.name());
            const ItemGeometry item = probe(profile);
            const std::string plain = folder + "/" + profile.name() + "-summary-" + s.name + ".png";
            const std::string selected =
                folder + "/" + profile.name() + "-summary-" + s.name + "-selected.png";
            const std::string shownText = root() + "/summary.jsonl";
            ASSERT_EQ(runHome(profile, "wait 2500\ndump-text " + shownText + "\nshot " + plain +
                                           "\nkey DOWN\nkey RIGHT\nwait 100\nshot " + selected + "\nquit\n"),
                      0)
                << homeOutput();
            // The lines as the home screen shows them.
            const std::string dump = dashele2e::readFile(shownText);
            EXPECT_NE(dump.find(quotedStart(s.first, 24)), std::string::npos) << dump;
            EXPECT_NE(dump.find(quoted(!second.empty() ? second : u"Monthly budget")), std::string::npos)
                << dump;
            Snapshot shot;
            ASSERT_TRUE(shot.load(plain));
            const int unit = profile.dpi / 96;
            const RECT firstLine{item.text.left, item.text.top, item.text.right,
                                 (item.text.top + item.text.bottom) / 2};
            const RECT secondLine{item.text.left, firstLine.bottom, item.text.right, item.text.bottom};
            EXPECT_GT(countNear(shot, firstLine, 0x000000), 30 * unit) << "the first line";
            const uint32_t secondColour = s.state == State::Overspent ? 0xFA0A0A : 0x000000;
            EXPECT_GT(countNear(shot, secondLine, secondColour), 20 * unit) << "the second line";
            ASSERT_TRUE(shot.load(selected));
            EXPECT_GT(countNear(shot, item.text, kWhite), 30 * unit) << "white text on the selection";
        }
    }
}

TEST_F(TodayViewTest, ATapOnTheTextOpensTheDetailsAndALongPressShowsAnEntrysPopup) {
    seed(State::Attention);
    const std::string folder = snapshotFolder();
    for (const Profile& profile : kProfiles) {
        SCOPED_TRACE(profile.name());
        std::filesystem::remove(root() + "/starter.log");
        const ItemGeometry item = probe(profile);
        const DetailsGeometry details = probeDetails(profile);
        const std::string detailsShot = folder + "/" + profile.name() + "-details.png";
        const std::string popupShot = folder + "/" + profile.name() + "-details-popup.png";
        const POINT press = centreOf(details.firstAccount);
        const std::string scheduledShot = folder + "/" + profile.name() + "-details-scheduled.png";
        const std::string detailsText = root() + "/details.jsonl", popupText = root() + "/popup.jsonl";
        const std::string scheduledText = root() + "/scheduled.jsonl";
        // The stylus held on the scroll bar's track pages down until the thumb reaches it, then held
        // on the down arrow scrolls to the end, where the due scheduled transactions are.
        const std::string toTheEnd = stylusAt("down", details.scrollTrackEnd) + "wait 5000\n" +
                                     stylusAt("up", details.scrollTrackEnd) +
                                     stylusAt("down", details.scrollDownArrow) + "wait 5000\n" +
                                     stylusAt("up", details.scrollDownArrow);
        ASSERT_EQ(
            runHome(profile, "wait 2500\ntap-text 1 Бюджет и 1 Счет Внимание\nwait 1000\ndump-text " +
                                 detailsText + "\nshot " + detailsShot + "\n" + stylusAt("down", press) +
                                 "wait 700\ndump-text " + popupText + "\nshot " + popupShot + "\n" +
                                 stylusAt("up", press) + "tap-text OK\nwait 200\ntap-text " +
                                 platform::toUtf8(details.secondAccountName) + "\nwait 500\n" + toTheEnd +
                                 "dump-text " + scheduledText + "\nshot " + scheduledShot + "\nquit\n"),
            0)
            << homeOutput();
        const std::string shownDetails = dashele2e::readFile(detailsText);
        for (const char16_t* text :
             {u"Brimwell", u"Checking", u"Счет переполнен ", u"Итого:", u"Настройки", u"Закрыть"})
            EXPECT_NE(shownDetails.find(quoted(text)), std::string::npos)
                << platform::toUtf8(text) << shownDetails;
        const std::string shownScheduled = dashele2e::readFile(scheduledText);
        for (const char16_t* text : {u"City Power", u"Oakwood Apartments", u"Дата:"})
            EXPECT_NE(shownScheduled.find(quoted(text)), std::string::npos)
                << platform::toUtf8(text) << shownScheduled;
        EXPECT_NE(shownScheduled.find(quotedStart(u" " + details.partPaidRemaining, 99)), std::string::npos)
            << "what remains of the bill paid in part: " << platform::toUtf8(details.partPaidRemaining)
            << shownScheduled;
        const std::string shownPopup = dashele2e::readFile(popupText);
        EXPECT_NE(shownPopup.find(quoted(u"OK")), std::string::npos) << shownPopup;
        EXPECT_NE(shownPopup.find(quoted(u"Checking") + ", \"rect\""), std::string::npos) << shownPopup;
        EXPECT_NE(shownPopup.find("\"window\": \"PopupText\""), std::string::npos)
            << "the entry in the pop-up";
        EXPECT_NE(itemLog().find("Password gate: 0\r\n"), std::string::npos) << itemLog();
        const std::string shown =
            "starter /show_account_" + std::to_string(details.secondAccountNumber) + "\n";
        EXPECT_TRUE(waitForText(root() + "/starter.log", shown))
            << dashele2e::readFile(root() + "/starter.log");

        const int unit = profile.dpi / 96;
        Snapshot shot;
        ASSERT_TRUE(shot.load(detailsShot));
        EXPECT_GT(countNear(shot, details.title, kTitleBlue), 15 * unit) << "the title";
        EXPECT_GT(
            shot.share(details.list.left, details.list.top, details.list.right, details.list.bottom, kWhite),
            0.6)
            << "the list on white";
        EXPECT_GT(countNear(shot, details.firstAccount, 0x000000), 40 * unit) << "the entry's text";
        EXPECT_GT(countNear(shot, details.firstAccount, kRuleGrey), 20 * unit) << "the rule under its name";
        EXPECT_EQ(countNear(shot, item.button, 0x3A70C4), 0) << "the details cover the home screen";
        ASSERT_TRUE(shot.load(popupShot));
        const RECT frame = details.popup;
        EXPECT_GT(countNear(shot, RECT{frame.left, frame.top, frame.right, frame.top + 1}, kPopupFrame),
                  (frame.right - frame.left) / 2)
            << "the pop-up's frame";
        EXPECT_GT(
            shot.share(inset(details.popupButton, 3 * unit).left, inset(details.popupButton, 3 * unit).top,
                       inset(details.popupButton, 3 * unit).right,
                       inset(details.popupButton, 3 * unit).bottom, kButtonFace),
            0.5)
            << "its OK button";
        EXPECT_GT(shot.share(inset(frame, 2).left, inset(frame, 2).top, inset(frame, 2).right,
                             details.popupButton.top - 2, kWhite),
                  0.5)
            << "its text on white";
    }
}

}  // namespace
}  // namespace todaye2e
