// Linux vibrators: an evdev device with FF_RUMBLE (an uploaded rumble effect played and stopped),
// or an LED class device named "*vibrator*" (brightness to its maximum and back to 0).

#include "Vibrators.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/clock.h"

namespace platform::pocketpc {

namespace {

namespace fs = std::filesystem;

constexpr uint16_t kRumbleStrength = 0xC000;
constexpr uint16_t kLongestRumbleMs = 0xFFFF;  // stopped explicitly long before

class RumbleVibrator : public Vibrator {
  public:
    RumbleVibrator(int fd, int16_t effect) : m_fd(fd), m_effect(effect) {}
    ~RumbleVibrator() override {
        set(false);
        ioctl(m_fd, EVIOCRMFF, m_effect);
        close(m_fd);
    }
    bool set(bool on) override {
        input_event event{};
        event.type = EV_FF;
        event.code = static_cast<uint16_t>(m_effect);
        event.value = on ? 1 : 0;
        return write(m_fd, &event, sizeof event) == static_cast<ssize_t>(sizeof event);
    }

  private:
    int m_fd;
    int16_t m_effect;
};

class LedVibrator : public Vibrator {
  public:
    LedVibrator(std::string brightness, int maximum)
        : m_brightness(std::move(brightness)), m_maximum(maximum) {}
    ~LedVibrator() override { set(false); }
    bool set(bool on) override {
        std::ofstream out(m_brightness);
        out << (on ? m_maximum : 0) << '\n';
        out.flush();
        return static_cast<bool>(out);
    }

  private:
    std::string m_brightness;
    int m_maximum;
};

class RecordingVibrator : public Vibrator {
  public:
    explicit RecordingVibrator(std::shared_ptr<std::vector<VibrationEvent>> record)
        : m_record(std::move(record)) {}
    bool set(bool on) override {
        m_record->push_back({on, GetTickCount()});
        return true;
    }

  private:
    std::shared_ptr<std::vector<VibrationEvent>> m_record;
};

bool canRumble(int fd) {
    unsigned long bits[FF_MAX / (8 * sizeof(unsigned long)) + 1] = {};
    if (ioctl(fd, EVIOCGBIT(EV_FF, sizeof bits), bits) < 0) return false;
    constexpr size_t kBitsPerWord = 8 * sizeof(unsigned long);
    return (bits[FF_RUMBLE / kBitsPerWord] >> (FF_RUMBLE % kBitsPerWord)) & 1;
}

std::unique_ptr<Vibrator> probeRumble() {
    std::error_code failed;
    std::vector<fs::path> devices;
    for (const auto& item : fs::directory_iterator("/dev/input", failed))
        if (item.path().filename().string().rfind("event", 0) == 0) devices.push_back(item.path());
    std::sort(devices.begin(), devices.end());
    for (const fs::path& device : devices) {
        int fd = open(device.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) continue;
        if (canRumble(fd)) {
            ff_effect effect{};
            effect.type = FF_RUMBLE;
            effect.id = -1;
            effect.u.rumble.strong_magnitude = kRumbleStrength;
            effect.replay.length = kLongestRumbleMs;
            if (ioctl(fd, EVIOCSFF, &effect) >= 0) return std::make_unique<RumbleVibrator>(fd, effect.id);
        }
        close(fd);
    }
    return nullptr;
}

std::unique_ptr<Vibrator> probeLed() {
    std::error_code failed;
    for (const auto& item : fs::directory_iterator("/sys/class/leds", failed)) {
        if (item.path().filename().string().find("vibrator") == std::string::npos) continue;
        std::string brightness = (item.path() / "brightness").string();
        if (access(brightness.c_str(), W_OK) != 0) continue;
        int maximum = 1;
        std::ifstream((item.path() / "max_brightness").string()) >> maximum;
        return std::make_unique<LedVibrator>(brightness, std::max(maximum, 1));
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<Vibrator> probeMachineVibrator() {
    if (auto rumble = probeRumble()) return rumble;
    return probeLed();
}

std::unique_ptr<Vibrator> makeRecordingVibrator(std::shared_ptr<std::vector<VibrationEvent>> record) {
    return std::make_unique<RecordingVibrator>(std::move(record));
}

}  // namespace platform::pocketpc
