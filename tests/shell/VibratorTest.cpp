// The vibration worker on the recording vibrator and the virtual clock: pulse lengths, pauses, the
// fall-back for oversized requests, and the buttons' 40 ms pulse with "BtnVibro" on and off.
#include <vector>

#include "SettingsStore.h"
#include "ShellCommands.h"
#include "ShellFixture.h"
#include "Vibrator.h"
#include "platform/nled.h"
#include "platform/windows.h"

namespace shelltest {
namespace {

using namespace shell;

// The recorded switches as (on, ms since the first switch) pairs.
std::vector<std::pair<bool, DWORD>> switches() {
    std::vector<std::pair<bool, DWORD>> result;
    std::vector<platform::VibrationEvent> events = platform::recordedVibration();
    for (const platform::VibrationEvent& event : events)
        result.emplace_back(event.on, event.tick - events.front().tick);
    return result;
}

class VibratorTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        platform::useRecordingVibrator();
    }
    void TearDown() override {
        ShellTest::TearDown();
        platform::useMachineVibrator();
    }
};

TEST_F(VibratorTest, RequestsPlayTheirPulsesWithPausesBetween) {
    struct Case {
        DWORD duration, pause, count;
        std::vector<std::pair<bool, DWORD>> expected;
    };
    const Case kCases[] = {
        {40, 0, 1, {{true, 0}, {false, 40}}},
        {30, 20, 3, {{true, 0}, {false, 30}, {true, 50}, {false, 80}, {true, 100}, {false, 130}}},
        {25, 0, 0, {{true, 0}, {false, 25}}},     // at least one pulse
        {60000, 0, 1, {{true, 0}, {false, 50}}},  // too long: one 50 ms pulse
        {50000, 0, 1, {{true, 0}, {false, 50000}}},
        {10, 10, 101, {{true, 0}, {false, 50}}},  // too many: one 50 ms pulse
    };
    for (const Case& c : kCases) {
        platform::useRecordingVibrator();
        Vibrator vibrator;
        ASSERT_TRUE(vibrator.pulse(c.duration, c.pause, c.count));
        vibrator.stop();
        EXPECT_EQ(switches(), c.expected) << c.duration << " ms x " << c.count;
    }
}

TEST_F(VibratorTest, AStoppedWorkerStartsAgainOnTheNextRequest) {
    Vibrator vibrator;
    vibrator.stop();  // nothing runs yet
    ASSERT_TRUE(vibrator.pulse(40, 0, 1));
    vibrator.stop();
    ASSERT_TRUE(vibrator.pulse(40, 0, 1));
    vibrator.stop();
    EXPECT_EQ(platform::recordedVibration().size(), 4u);
}

TEST_F(VibratorTest, WithoutVibrationDevicesNothingIsPlayed) {
    platform::useNoVibrator();
    Vibrator vibrator;
    ASSERT_TRUE(vibrator.pulse(40, 0, 1));
    vibrator.stop();
    EXPECT_TRUE(platform::recordedVibration().empty());
}

class ButtonPulseTest : public VibratorTest {
  protected:
    // Opens the program with "BtnVibro" as given; the stored value is read when the settings page
    // is first built, so the page is visited once and left again.
    void openWithVibration(DWORD setting) {
        ASSERT_TRUE(writeSettingNumber(kSettingVibration, setting));
        open();
        SendMessageW(mainWindow(), WM_COMMAND, kCmdSettings,
                     reinterpret_cast<LPARAM>(m_window->headerBar().window()));
        SendMessageW(mainWindow(), WM_COMMAND, kCmdClose,
                     reinterpret_cast<LPARAM>(m_window->settingsPage().window()));
        m_window->vibrator().stop();
        platform::useRecordingVibrator();
    }
    // Two presses: the strip's close, then a field.
    void pressTwice() {
        tapStripButton(kStripConfirmOrCreate, 2);
        tapField(1);
        m_window->vibrator().stop();
    }
};

TEST_F(ButtonPulseTest, EachPressGivesOne40MsPulseWithVibrationOn) {
    openWithVibration(1);
    EXPECT_TRUE(m_window->vibrationOn());
    pressTwice();
    std::vector<platform::VibrationEvent> events = platform::recordedVibration();
    ASSERT_EQ(events.size(), 4u);
    for (size_t i = 0; i < events.size(); i += 2) {
        EXPECT_TRUE(events[i].on);
        EXPECT_FALSE(events[i + 1].on);
        EXPECT_EQ(events[i + 1].tick - events[i].tick, 40u);
    }
}

TEST_F(ButtonPulseTest, PressesGiveNoPulseWithVibrationOff) {
    openWithVibration(0);
    EXPECT_FALSE(m_window->vibrationOn());
    pressTwice();
    EXPECT_TRUE(platform::recordedVibration().empty());
}

TEST_F(ButtonPulseTest, AReplayedConfirmationPulsesOnce) {
    openWithVibration(1);
    PostMessageW(mainWindow(), kMsgPanelConfirmed, 0, 0);
    platform::testing::pumpMessages();
    m_window->vibrator().stop();
    EXPECT_EQ(platform::recordedVibration().size(), 2u);
}

TEST_F(ButtonPulseTest, EachKeypadKeyGivesAPulseBeforeItIsReported) {
    openWithVibration(1);
    for (UINT key : {5u, 12u}) {
        RECT rect{};
        GetWindowRect(m_window->keyboard().key(key)->window(), &rect);
        tapAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    }
    m_window->vibrator().stop();
    EXPECT_EQ(platform::recordedVibration().size(), 4u) << "on and off for each of two keys";
}

}  // namespace
}  // namespace shelltest
