// The notification-LED calls over the process's vibrator: LED 0 is the vibration motor when there is
// one (cycle adjustment -1, nothing adjustable), and there are no LEDs otherwise.

#include <mutex>

#include "Vibrators.h"
#include "platform/handles.h"
#include "platform/winerror.h"

#ifndef ERROR_GEN_FAILURE
#define ERROR_GEN_FAILURE 31L
#endif

namespace platform::pocketpc {

namespace {

enum class Kind { Machine, Recording, None };

struct Leds {
    std::mutex mutex;
    Kind kind = Kind::Machine;
    bool probed = false;
    std::unique_ptr<Vibrator> vibrator;
    bool on = false;
    std::shared_ptr<std::vector<VibrationEvent>> record = std::make_shared<std::vector<VibrationEvent>>();
};

Leds& leds() {
    static auto* all = new Leds();  // kept for calls made while the process exits
    return *all;
}

// Under the lock: the vibrator of the chosen kind, probing the machine once.
Vibrator* vibrator(Leds& l) {
    if (!l.probed) {
        l.probed = true;
        l.on = false;
        if (l.kind == Kind::Machine)
            l.vibrator = probeMachineVibrator();
        else if (l.kind == Kind::Recording)
            l.vibrator = makeRecordingVibrator(l.record);
        else
            l.vibrator.reset();
    }
    return l.vibrator.get();
}

void choose(Kind kind) {
    Leds& l = leds();
    std::lock_guard lock(l.mutex);
    if (l.vibrator && l.on) l.vibrator->set(false);
    l.vibrator.reset();
    l.kind = kind;
    l.probed = false;
    l.record->clear();
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

}  // namespace platform::pocketpc

using namespace platform::pocketpc;

BOOL NLedGetDeviceInfo(UINT nInfoId, void* pOutput) {
    if (!pOutput) return fail(ERROR_INVALID_PARAMETER);
    Leds& l = leds();
    std::lock_guard lock(l.mutex);
    UINT count = vibrator(l) ? 1 : 0;
    switch (nInfoId) {
        case NLED_COUNT_INFO_ID:
            static_cast<NLED_COUNT_INFO*>(pOutput)->cLeds = count;
            return TRUE;
        case NLED_SUPPORTS_INFO_ID: {
            auto* info = static_cast<NLED_SUPPORTS_INFO*>(pOutput);
            if (info->LedNum >= count) return fail(ERROR_INVALID_PARAMETER);
            *info = NLED_SUPPORTS_INFO{info->LedNum, -1, FALSE, FALSE, FALSE, FALSE, FALSE};
            return TRUE;
        }
        case NLED_SETTINGS_INFO_ID: {
            auto* info = static_cast<NLED_SETTINGS_INFO*>(pOutput);
            if (info->LedNum >= count) return fail(ERROR_INVALID_PARAMETER);
            *info = NLED_SETTINGS_INFO{info->LedNum, l.on ? 1 : 0, 0, 0, 0, 0, 0};
            return TRUE;
        }
        default:
            return fail(ERROR_INVALID_PARAMETER);
    }
}

BOOL NLedSetDevice(UINT nDeviceId, void* pInput) {
    if (nDeviceId != NLED_SETTINGS_INFO_ID || !pInput) return fail(ERROR_INVALID_PARAMETER);
    const auto* settings = static_cast<const NLED_SETTINGS_INFO*>(pInput);
    Leds& l = leds();
    std::lock_guard lock(l.mutex);
    Vibrator* motor = vibrator(l);
    if (!motor || settings->LedNum != 0) return fail(ERROR_INVALID_PARAMETER);
    if (settings->OffOnBlink != 0 && settings->OffOnBlink != 1) return fail(ERROR_INVALID_PARAMETER);
    bool on = settings->OffOnBlink == 1;
    if (!motor->set(on)) return fail(ERROR_GEN_FAILURE);
    l.on = on;
    return TRUE;
}

namespace platform {

void useRecordingVibrator() {
    choose(pocketpc::Kind::Recording);
}

void useNoVibrator() {
    choose(pocketpc::Kind::None);
}

void useMachineVibrator() {
    choose(pocketpc::Kind::Machine);
}

std::vector<VibrationEvent> recordedVibration() {
    Leds& l = leds();
    std::lock_guard lock(l.mutex);
    return l.kind == pocketpc::Kind::Recording ? *l.record : std::vector<VibrationEvent>{};
}

}  // namespace platform
