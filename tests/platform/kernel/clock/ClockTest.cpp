// The virtual clock and its timer queue: due order, ties, callbacks that schedule and cancel, Sleep,
// tick wrap-around, and local versus UTC time.
#include <gtest/gtest.h>

#include <time.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/windows.h"

namespace {

SYSTEMTIME localStart() {
    SYSTEMTIME t{};
    t.wYear = 2010, t.wMonth = 3, t.wDay = 5, t.wHour = 23, t.wMinute = 59, t.wSecond = 58;
    return t;
}

// Each test runs on a fresh virtual clock with no timers left from another test.
class VirtualClock : public ::testing::Test {
  protected:
    void SetUp() override { platform::useVirtualClock(localStart(), 120, 1000); }
    void TearDown() override {
        for (platform::ClockTimerId id : m_ids)
            platform::cancelTimer(id);
        platform::useRealClock();
    }
    platform::ClockTimerId schedule(DWORD due, std::function<void()> callback) {
        m_ids.push_back(platform::scheduleTimer(due, std::move(callback)));
        return m_ids.back();
    }
    // Schedules a timer that records its name and the tick it saw.
    platform::ClockTimerId record(DWORD due, const std::string& name) {
        return schedule(due,
                        [this, name] { m_fired.push_back(name + "@" + std::to_string(GetTickCount())); });
    }

    std::vector<platform::ClockTimerId> m_ids;
    std::vector<std::string> m_fired;
};

TEST_F(VirtualClock, AdvanceFiresInDueOrderThenSchedulingOrder) {
    EXPECT_TRUE(platform::isVirtualClock());
    EXPECT_EQ(GetTickCount(), 1000u);
    record(1300, "c");
    record(1100, "a");
    record(1300, "d");
    record(1200, "b");
    record(1301, "late");
    EXPECT_EQ(platform::nextTimerDue(), std::optional<DWORD>(1100));
    platform::advanceClock(300);
    EXPECT_EQ(m_fired, (std::vector<std::string>{"a@1100", "b@1200", "c@1300", "d@1300"}));
    EXPECT_EQ(GetTickCount(), 1300u);
    EXPECT_EQ(platform::nextTimerDue(), std::optional<DWORD>(1301));
}

TEST_F(VirtualClock, CallbacksRescheduleAndCancelInsideOneAdvance) {
    platform::ClockTimerId doomed = 0;
    schedule(1010, [&] {
        m_fired.push_back("first@" + std::to_string(GetTickCount()));
        record(GetTickCount() + 5, "rescheduled");  // due inside the same advance
        platform::cancelTimer(doomed);
    });
    doomed = record(1020, "doomed");
    record(1030, "kept");
    platform::advanceClock(100);
    EXPECT_EQ(m_fired, (std::vector<std::string>{"first@1010", "rescheduled@1015", "kept@1030"}));
    EXPECT_EQ(GetTickCount(), 1100u);
    EXPECT_FALSE(platform::cancelTimer(doomed));
    EXPECT_FALSE(platform::nextTimerDue().has_value());
}

TEST_F(VirtualClock, RepeatingTimerFiresOncePerPeriod) {
    int count = 0;
    std::function<void()> tick = [&] {
        ++count;
        schedule(GetTickCount() + 10, tick);
    };
    schedule(1010, tick);
    platform::advanceClock(95);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(platform::nextTimerDue(), std::optional<DWORD>(1100));
}

TEST_F(VirtualClock, SleepAdvancesAtOnceAndFiresDueTimers) {
    record(1500, "half");
    const auto before = std::chrono::steady_clock::now();
    Sleep(60'000);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(30));
    EXPECT_EQ(GetTickCount(), 61'000u);
    EXPECT_EQ(m_fired, (std::vector<std::string>{"half@1500"}));
}

TEST_F(VirtualClock, RunDueTimersFiresOnlyWhatIsDueNow) {
    record(900, "overdue");
    record(1000, "now");
    record(1001, "later");
    schedule(1000, [this] { record(1000, "added"); });
    EXPECT_EQ(platform::runDueTimers(), 3u);
    EXPECT_EQ(m_fired, (std::vector<std::string>{"overdue@1000", "now@1000"}));
    EXPECT_EQ(platform::runDueTimers(), 1u);  // the timer added by a callback waits for the next run
    EXPECT_EQ(m_fired.back(), "added@1000");
    EXPECT_EQ(GetTickCount(), 1000u);
}

TEST_F(VirtualClock, TicksWrapAroundWithUnsignedArithmetic) {
    platform::useVirtualClock(localStart(), 0, 0xFFFFFF00u);
    record(0xFFFFFFF0u, "before");
    record(0x00000010u, "after");
    EXPECT_EQ(platform::nextTimerDue(), std::optional<DWORD>(0xFFFFFFF0u));
    const DWORD start = GetTickCount();
    platform::advanceClock(0x200);
    EXPECT_EQ(m_fired, (std::vector<std::string>{"before@4294967280", "after@16"}));
    EXPECT_EQ(GetTickCount(), 0x100u);
    EXPECT_EQ(GetTickCount() - start, 0x200u);
}

TEST_F(VirtualClock, LocalTimeRunsWithTheClockAndUtcLagsByTheOffset) {
    SYSTEMTIME local{}, utc{};
    GetLocalTime(&local);
    EXPECT_EQ(local.wDay, 5);
    EXPECT_EQ(local.wHour, 23);
    EXPECT_EQ(local.wSecond, 58);
    EXPECT_EQ(local.wDayOfWeek, 5);  // a Friday
    Sleep(2500);
    GetLocalTime(&local);
    GetSystemTime(&utc);
    EXPECT_EQ(local.wDay, 6);  // past midnight
    EXPECT_EQ(local.wHour, 0);
    EXPECT_EQ(local.wSecond, 0);
    EXPECT_EQ(local.wMilliseconds, 500);
    EXPECT_EQ(local.wDayOfWeek, 6);
    EXPECT_EQ(utc.wDay, 5);  // two hours behind
    EXPECT_EQ(utc.wHour, 22);
    EXPECT_EQ(utc.wMilliseconds, 500);
    FILETIME utcFile{};
    GetSystemTimeAsFileTime(&utcFile);
    SYSTEMTIME split{};
    ASSERT_TRUE(FileTimeToSystemTime(&utcFile, &split));
    EXPECT_EQ(split.wHour, 22);
}

TEST_F(VirtualClock, SwitchingClocksKeepsTheRemainingDelay) {
    record(1250, "pending");
    platform::useRealClock();
    const DWORD realStart = GetTickCount();
    EXPECT_FALSE(platform::isVirtualClock());
    const auto due = platform::nextTimerDue();
    ASSERT_TRUE(due.has_value());
    EXPECT_LE(static_cast<DWORD>(*due - GetTickCount()), 250u);
    // The real clock ran on while it was in use: the delay left is 250 ms less that time (a
    // millisecond either side, as the ticks are read around the switches).
    const DWORD realSpent = GetTickCount() - realStart;
    platform::useVirtualClock(localStart(), 0, 5000);
    const auto left = platform::nextTimerDue();
    ASSERT_TRUE(left.has_value());
    EXPECT_LE(*left, 5250u);
    EXPECT_GE(*left + realSpent + 2, 5250u);
}

TEST_F(VirtualClock, TimersScheduledFromAnotherThreadFireOnTheAdvancingThread) {
    std::thread other([this] { record(1040, "posted"); });
    other.join();
    platform::advanceClock(50);
    EXPECT_EQ(m_fired, (std::vector<std::string>{"posted@1040"}));
}

// The real clock reads the monotonic clock for ticks and the system clock for the wall-clock time.
TEST(RealClock, TicksAndWallClockFollowTheSystemClocks) {
    platform::useRealClock();
    auto monotonicMs = [] {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<DWORD>(static_cast<uint64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000);
    };
    const DWORD before = monotonicMs();
    const DWORD tick = GetTickCount();
    const DWORD after = monotonicMs();
    EXPECT_LE(tick - before, after - before);

    const time_t unixBefore = time(nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const uint64_t units = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    const uint64_t unixSeconds = (units - 116'444'736'000'000'000ull) / 10'000'000ull;
    EXPECT_GE(unixSeconds, static_cast<uint64_t>(unixBefore));
    EXPECT_LE(unixSeconds, static_cast<uint64_t>(time(nullptr)));
}

}  // namespace
