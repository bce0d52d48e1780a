// The notification-LED calls reached as the program reaches them (LoadLibraryW("coredll.dll") and
// GetProcAddress), on the recording vibrator and on none; LoadLibraryW of libraries in the root.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

#include "TempRoot.h"
#include "UserTesting.h"
#include "platform/windows.h"

namespace {

using GetInfo = BOOL (*)(UINT, void*);
using SetDevice = BOOL (*)(UINT, void*);

struct Leds {
    GetInfo getInfo = nullptr;
    SetDevice setDevice = nullptr;
};

Leds lookUpLeds() {
    HMODULE core = LoadLibraryW(u"coredll.dll");
    EXPECT_NE(core, nullptr);
    Leds leds;
    leds.getInfo = reinterpret_cast<GetInfo>(GetProcAddress(core, u"NLedGetDeviceInfo"));
    leds.setDevice = reinterpret_cast<SetDevice>(GetProcAddress(core, "NLedSetDevice"));
    EXPECT_TRUE(FreeLibrary(core));
    return leds;
}

// The program's way to find the vibration motor: the highest LED whose cycle adjustment is -1.
int vibratorIndex(const Leds& leds) {
    NLED_COUNT_INFO count{};
    if (!leds.getInfo(NLED_COUNT_INFO_ID, &count)) return -2;
    for (int i = static_cast<int>(count.cLeds) - 1; i >= 0; --i) {
        NLED_SUPPORTS_INFO supports{};
        supports.LedNum = static_cast<UINT>(i);
        if (leds.getInfo(NLED_SUPPORTS_INFO_ID, &supports) && supports.lCycleAdjust == -1) return i;
    }
    return -1;
}

BOOL switchLed(const Leds& leds, UINT index, int state) {
    NLED_SETTINGS_INFO settings{};
    settings.LedNum = index;
    settings.OffOnBlink = state;
    return leds.setDevice(NLED_SETTINGS_INFO_ID, &settings);
}

TEST(NotificationLeds, OnePulseIsRecordedWithItsTicks) {
    platform::testing::WindowTestScope scope;
    platform::useRecordingVibrator();
    Leds leds = lookUpLeds();
    ASSERT_EQ(leds.getInfo, reinterpret_cast<GetInfo>(&NLedGetDeviceInfo));
    ASSERT_EQ(leds.setDevice, reinterpret_cast<SetDevice>(&NLedSetDevice));
    int index = vibratorIndex(leds);
    ASSERT_EQ(index, 0);
    DWORD start = GetTickCount();
    EXPECT_TRUE(switchLed(leds, 0, 1));
    NLED_SETTINGS_INFO state{};
    EXPECT_TRUE(leds.getInfo(NLED_SETTINGS_INFO_ID, &state));
    EXPECT_EQ(state.OffOnBlink, 1);
    Sleep(40);
    EXPECT_TRUE(switchLed(leds, 0, 0));
    auto events = platform::recordedVibration();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].on);
    EXPECT_EQ(events[0].tick, start);
    EXPECT_FALSE(events[1].on);
    EXPECT_EQ(events[1].tick - events[0].tick, 40u) << "one 40 ms pulse";
    platform::useMachineVibrator();
}

TEST(NotificationLeds, BadRequestsFailAndRecordNothing) {
    platform::useRecordingVibrator();
    Leds leds = lookUpLeds();
    EXPECT_FALSE(switchLed(leds, 1, 1)) << "no second LED";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(switchLed(leds, 0, 2)) << "the motor cannot blink";
    EXPECT_FALSE(leds.setDevice(NLED_COUNT_INFO_ID, nullptr));
    EXPECT_FALSE(leds.getInfo(7, &leds));
    NLED_SUPPORTS_INFO beyond{};
    beyond.LedNum = 1;
    EXPECT_FALSE(leds.getInfo(NLED_SUPPORTS_INFO_ID, &beyond));
    EXPECT_TRUE(platform::recordedVibration().empty());
    platform::useMachineVibrator();
}

TEST(NotificationLeds, WithoutVibratorThereAreNoLeds) {
    platform::useNoVibrator();
    Leds leds = lookUpLeds();
    EXPECT_EQ(vibratorIndex(leds), -1);
    EXPECT_FALSE(switchLed(leds, 1, 1)) << "the program's fallback index 1 gives nothing";
    EXPECT_FALSE(switchLed(leds, 0, 1));
    platform::useMachineVibrator();
}

TEST(RuntimeLibraries, DeviceNamesMapToLinuxLibrariesInTheRoot) {
    platform::testing::TempRoot root;
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&png_access_version_number), &info), 0);
    std::filesystem::create_directories(root.path() + "/windows");
    std::filesystem::copy_file(info.dli_fname, root.path() + "/windows/libPngCopy.so");

    HMODULE module = LoadLibraryW(u"\\Windows\\PNGCOPY.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(LoadLibraryW(u"PngCopy.dll"), module) << "a bare name looks in windows/";
    EXPECT_EQ(GetModuleHandleW(u"PngCopy.dll"), module);
    using Version = png_uint_32 (*)();
    auto version = reinterpret_cast<Version>(GetProcAddress(module, u"png_access_version_number"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), png_access_version_number());
    EXPECT_EQ(GetProcAddress(module, "no_such_export"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEW(240)), nullptr) << "no export Ordinal240";
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module)) << "both loads are dropped";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(RuntimeLibraries, MissingAndDamagedLibrariesFail) {
    platform::testing::TempRoot root;
    EXPECT_EQ(LoadLibraryW(u"\\windows\\Missing.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    std::filesystem::create_directories(root.path() + "/windows");
    FILE* junk = std::fopen((root.path() + "/windows/libJunk.so").c_str(), "w");
    ASSERT_NE(junk, nullptr);
    std::fputs("not a library", junk);
    std::fclose(junk);
    EXPECT_EQ(LoadLibraryW(u"Junk.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
    EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "NLedSetDevice"), nullptr);
}

}  // namespace
