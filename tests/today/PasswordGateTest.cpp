// The data password in front of the details: the digest, the stored digest on the reserved account's
// records, the dialog asked up to four times, the lock message, and when the item asks at all.
#include <gtest/gtest.h>

#include "FinanceStore.h"
#include "ItemFixture.h"
#include "ModalSteps.h"
#include "NotificationBlock.h"
#include "PasswordGate.h"
#include "TodayNames.h"
#include "platform/display.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using today::GateResult;
using today::passwordDigest;

// Types text into the password dialog's field as the input panel would, then presses OK.
ModalSteps::Step answer(const std::u16string& text) {
    return [text](HWND dialog) {
        SetFocus(GetDlgItem(dialog, today::kPasswordEdit));
        for (char16_t c : text)
            platform::injectChar(c);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
}

ModalSteps::Step cancel() {
    return [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); };
}

class PasswordGateTest : public ItemTest {
  protected:
    void seedPassword(const std::u16string& password) {
        StoreSeed seed;
        seed.password(dayFromToday(-3), passwordDigest(password));
    }
    GateResult gate(std::vector<ModalSteps::Step> steps) {
        ModalSteps driver(std::move(steps));
        const GateResult result = today::passDataPasswordGate(m_home);
        EXPECT_TRUE(driver.allRan()) << driver.ran() << " steps ran";
        EXPECT_EQ(driver.overruns(), 0);
        return result;
    }
};

TEST_F(PasswordGateTest, TheDigestWeighsEachCodeUnitByItsPlace) {
    EXPECT_EQ(passwordDigest(u""), 0);
    EXPECT_EQ(passwordDigest(u"abc"), 97 * 100 + 98 * 99 + 99 * 98);
    EXPECT_EQ(passwordDigest(u"Пароль"),
              0x41F * 100 + 0x430 * 99 + 0x440 * 98 + 0x43E * 97 + 0x43B * 96 + 0x44C * 95);
    // Past the hundredth unit the weights are negative.
    const std::u16string longer(150, u'x');
    int64_t expected = 0;
    for (int i = 0; i < 150; ++i)
        expected += int64_t{u'x'} * (100 - i);
    EXPECT_EQ(passwordDigest(longer), expected);
    EXPECT_NE(passwordDigest(u"ab"), passwordDigest(u"ba"));
}

TEST_F(PasswordGateTest, TheStoredDigestIsTheFirstNonZeroOneOfTheReservedAccount) {
    auto stored = [] {
        EXPECT_TRUE(dove::openFinanceStore());
        const int64_t digest = today::storedPasswordDigest();
        dove::closeFinanceStore();
        return digest;
    };
    EXPECT_EQ(stored(), 0) << "an empty store has no password";
    {
        StoreSeed seed;
        seed.account({200000000, u"Near", u"USD", 0});
        seed.transaction(200000000, dayFromToday(-9), 0, 0);  // an account whose identifiers sort close by
        seed.password(dayFromToday(-5), 0);
    }
    EXPECT_EQ(stored(), 0) << "a zero digest is no password";
    {
        StoreSeed seed;
        seed.password(dayFromToday(-4), passwordDigest(u"first"));
        seed.password(dayFromToday(-2), passwordDigest(u"second"));
    }
    EXPECT_EQ(stored(), passwordDigest(u"first"));
}

TEST_F(PasswordGateTest, WithoutAStoredDigestTheDetailsOpenAtOnce) {
    EXPECT_EQ(gate({}), GateResult::Open);
    EXPECT_TRUE(platform::takeMessageBoxes().empty());
}

TEST_F(PasswordGateTest, TheRightPasswordOpensTheDetailsAndAWrongOneAsksAgain) {
    seedPassword(u"1234");
    EXPECT_EQ(gate({answer(u"1234")}), GateResult::Open);
    EXPECT_EQ(gate({answer(u"4321"), answer(u""), answer(u"1234")}), GateResult::Open);
    EXPECT_TRUE(platform::takeMessageBoxes().empty());
}

TEST_F(PasswordGateTest, TheFourthMismatchOrCancelShowsTheLockMessage) {
    seedPassword(u"1234");
    platform::queueScriptedAnswer(IDOK);
    EXPECT_EQ(gate({answer(u"1"), answer(u"2"), answer(u"3"), answer(u"4")}), GateResult::Locked);
    auto boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"Brimwell");
    EXPECT_EQ(boxes[0].text, u"Программа заблокирована. Нажмите кнопку Перезагрузки(Reset).");
    platform::queueScriptedAnswer(IDOK);
    EXPECT_EQ(gate({answer(u"1"), cancel()}), GateResult::Locked);
    EXPECT_EQ(platform::takeMessageBoxes().size(), 1u);
}

TEST_F(PasswordGateTest, TheFieldHidesWhatIsTyped) {
    seedPassword(u"1234");
    const DWORD style = [&] {
        DWORD seen = 0;
        gate({[&](HWND dialog) {
            seen = static_cast<DWORD>(GetWindowLongW(GetDlgItem(dialog, today::kPasswordEdit), GWL_STYLE));
            answer(u"1234")(dialog);
        }});
        return seen;
    }();
    EXPECT_NE(style & ES_PASSWORD, 0u);
}

// ---- When the item asks --------------------------------------------------------------------------

class ItemPasswordTest : public ItemTest {
  protected:
    void SetUp() override {
        ItemTest::SetUp();
        {
            StoreSeed seed;
            seed.account({1, u"Cash", u"USD", 100});
            seed.password(dayFromToday(-1), passwordDigest(u"pw"));
        }
        ASSERT_NE(showItem(), nullptr);
        ASSERT_TRUE(dove::createNotificationBlock());
    }
    void TearDown() override {
        if (m_brimwell != nullptr) DestroyWindow(m_brimwell);
        UnregisterClassW(today::kBrimwellClass, GetModuleHandleW(nullptr));
        dove::closeNotificationBlock();
        ItemTest::TearDown();
    }
    // Taps the item's text with the steps driving what opens; the item's log lines of the tap.
    std::string tapText(std::vector<ModalSteps::Step> steps) {
        ModalSteps driver(std::move(steps));
        const size_t before = itemLog().size();
        send(WM_TODAYCUSTOM_RECEIVEDSELECTION, VK_DOWN);
        send(WM_TODAYCUSTOM_USERNAVIGATION, VK_RIGHT);
        send(WM_TODAYCUSTOM_ACTION, VK_RETURN);
        EXPECT_TRUE(driver.allRan());
        EXPECT_EQ(driver.overruns(), 0);
        return itemLog().substr(before);
    }
    void runBrimwell() {
        WNDCLASSW cls{};
        cls.lpfnWndProc = DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = today::kBrimwellClass;
        RegisterClassW(&cls);
        m_brimwell = CreateWindowExW(0, today::kBrimwellClass, u"Brimwell", WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                     nullptr, cls.hInstance, nullptr);
    }
    static ModalSteps::Step closeDetails() {
        return [](HWND details) { PostMessageW(details, WM_COMMAND, today::kCommandClose, 0); };
    }

    HWND m_brimwell = nullptr;
};

TEST_F(ItemPasswordTest, WithoutBrimwellThePasswordIsAskedBeforeTheDetails) {
    EXPECT_EQ(tapText({answer(u"pw"), closeDetails()}),
              "Password asked again: 0\r\nPassword gate: 0\r\nDetails: 1\r\n");
    platform::queueScriptedAnswer(IDOK);
    EXPECT_EQ(tapText({answer(u"x"), answer(u"y"), answer(u"z"), answer(u"w")}),
              "Password asked again: 0\r\nPassword gate: 1\r\n")
        << "locked: the details stay closed";
}

TEST_F(ItemPasswordTest, ARunningBrimwellAsksOnlyWhenItRaisedTheFlag) {
    runBrimwell();
    EXPECT_EQ(tapText({closeDetails()}), "Password asked again: 0\r\nDetails: 1\r\n");
    ASSERT_TRUE(dove::setNotificationFlag(dove::kFlagPassword));
    EXPECT_EQ(tapText({answer(u"pw"), closeDetails()}),
              "Password asked again: 1\r\nPassword gate: 0\r\nDetails: 1\r\n");
}

}  // namespace
}  // namespace todaytest
