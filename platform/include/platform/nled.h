// Notification LEDs, of which the vibration motor is one (the LED whose cycle adjustment is -1).
// The calls are plain C exports so that GetProcAddress finds them in "coredll.dll".
#pragma once

#include <vector>

#include "platform/wintypes.h"

#define NLED_COUNT_INFO_ID 0
#define NLED_SUPPORTS_INFO_ID 1
#define NLED_SETTINGS_INFO_ID 2

struct NLED_COUNT_INFO {
    UINT cLeds;
};

struct NLED_SUPPORTS_INFO {
    UINT LedNum;
    LONG lCycleAdjust;  // -1 marks the vibration motor
    BOOL fAdjustTotalCycleTime;
    BOOL fAdjustOnTime;
    BOOL fAdjustOffTime;
    BOOL fMetaCycleOn;
    BOOL fMetaCycleOff;
};

struct NLED_SETTINGS_INFO {
    UINT LedNum;
    INT OffOnBlink;  // 0 off, 1 on, 2 blink
    LONG TotalCycleTime;
    LONG OnTime;
    LONG OffTime;
    INT MetaCycleOn;
    INT MetaCycleOff;
};

extern "C" {
// NLED_COUNT_INFO_ID fills an NLED_COUNT_INFO; NLED_SUPPORTS_INFO_ID and NLED_SETTINGS_INFO_ID fill
// the record whose LedNum the caller set. FALSE with ERROR_INVALID_PARAMETER for an unknown id, a
// NULL output or an LED number beyond the count.
BOOL NLedGetDeviceInfo(UINT nInfoId, void* pOutput);
// NLED_SETTINGS_INFO_ID with an NLED_SETTINGS_INFO: switches the LED off (0) or on (1). The
// vibration motor cannot blink (2 fails). FALSE with ERROR_INVALID_PARAMETER for another id, a NULL
// input, an unknown LED or state; FALSE with ERROR_GEN_FAILURE when the device refused.
BOOL NLedSetDevice(UINT nDeviceId, void* pInput);
}

namespace platform {

// The machine's vibrator is found on first use: a force-feedback input device that can rumble
// (/dev/input/event*), else an LED class device whose name contains "vibrator" (/sys/class/leds).
// Without either there are no LEDs, so programs give no vibration.

// One switch of the vibrator, with the tick count at which it happened.
struct VibrationEvent {
    bool on;
    DWORD tick;
};

// Replaces the vibrator by one that only records its switches (for tests); clears the record.
void useRecordingVibrator();
// Replaces the vibrator by none: the LED count becomes 0.
void useNoVibrator();
// Goes back to the machine's vibrator (probed again).
void useMachineVibrator();
// The recording vibrator's switches so far (empty for the other kinds).
std::vector<VibrationEvent> recordedVibration();

}  // namespace platform
