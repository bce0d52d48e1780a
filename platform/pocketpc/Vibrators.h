// The vibration motors the notification-LED calls drive: the machine's (force-feedback rumble or a
// "vibrator" LED class device) and a recording one for tests.
#pragma once

#include <memory>
#include <vector>

#include "platform/nled.h"

namespace platform::pocketpc {

class Vibrator {
  public:
    virtual ~Vibrator() = default;
    // Switches the motor; false when the device refused.
    virtual bool set(bool on) = 0;
};

// The machine's vibrator, or null when it has none that this process may use.
std::unique_ptr<Vibrator> probeMachineVibrator();

// Appends (on/off, tick) to the record it is given.
std::unique_ptr<Vibrator> makeRecordingVibrator(std::shared_ptr<std::vector<VibrationEvent>> record);

}  // namespace platform::pocketpc
