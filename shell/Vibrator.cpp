// The vibration worker's thread, its message loop and the pulses it plays through "NLedSetDevice"
// and "NLedGetDeviceInfo" looked up in "coredll.dll" at run time.
#include "Vibrator.h"

#include "platform/library.h"
#include "platform/nled.h"
#include "platform/windows.h"

namespace shell {
namespace {

using SetDeviceFn = BOOL (*)(UINT, void*);
using GetDeviceInfoFn = BOOL (*)(UINT, void*);

}  // namespace

Vibrator::~Vibrator() {
    stop();
    if (m_library != nullptr) FreeLibrary(m_library);
}

bool Vibrator::start() {
    if (m_thread.joinable()) return true;
    std::promise<void> ready;
    std::future<void> started = ready.get_future();
    DWORD threadId = 0;
    m_thread = std::thread([this, &threadId, &ready] { run(&threadId, &ready); });
    started.wait();
    m_threadId = threadId;
    return m_threadId != 0;
}

bool Vibrator::pulse(DWORD durationMs, DWORD pauseMs, DWORD count) {
    if (!start()) return false;
    WPARAM packed = (durationMs & 0xFFFF) | ((pauseMs & 0xFFFF) << 16);
    return PostThreadMessageW(m_threadId, kMsgVibratePulse, packed, static_cast<LPARAM>(count)) != FALSE;
}

void Vibrator::stop() {
    if (!m_thread.joinable()) return;
    PostThreadMessageW(m_threadId, kMsgVibrateStop, 0, 0);
    m_thread.join();
    m_threadId = 0;
}

void Vibrator::run(DWORD* threadId, std::promise<void>* ready) {
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // creates this thread's queue
    *threadId = GetCurrentThreadId();
    ready->set_value();
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == kMsgVibrateStop) break;
        if (message.message != kMsgVibratePulse) continue;
        DWORD duration = static_cast<DWORD>(message.wParam & 0xFFFF);
        DWORD pause = static_cast<DWORD>((message.wParam >> 16) & 0xFFFF);
        play(duration, pause, static_cast<DWORD>(message.lParam));
    }
}

void Vibrator::play(DWORD durationMs, DWORD pauseMs, DWORD count) {
    if (!findDevice()) return;
    if (durationMs > kMaxPulseMs || count > kMaxPulseCount) {
        durationMs = kFallbackPulseMs;
        count = 1;
    }
    if (count == 0) count = 1;
    for (DWORD i = 0; i < count; ++i) {
        if (i > 0) Sleep(pauseMs);
        switchDevice(true);
        Sleep(durationMs);
        switchDevice(false);
    }
}

bool Vibrator::findDevice() {
    if (m_deviceSearched) return !m_disabled;
    m_deviceSearched = true;
    m_library = LoadLibraryW(u"coredll.dll");
    m_setDevice = m_library != nullptr ? GetProcAddress(m_library, "NLedSetDevice") : nullptr;
    if (m_setDevice == nullptr) {
        m_disabled = true;
        return false;
    }
    auto getInfo = reinterpret_cast<GetDeviceInfoFn>(GetProcAddress(m_library, "NLedGetDeviceInfo"));
    NLED_COUNT_INFO countInfo{};
    if (getInfo != nullptr && getInfo(NLED_COUNT_INFO_ID, &countInfo)) {
        // The vibration motor is the LED whose cycle adjustment is -1; the highest index is tried first.
        for (UINT index = countInfo.cLeds; index-- > 0;) {
            NLED_SUPPORTS_INFO supports{};
            supports.LedNum = index;
            if (getInfo(NLED_SUPPORTS_INFO_ID, &supports) && supports.lCycleAdjust == -1) {
                m_deviceIndex = index;
                return true;
            }
        }
    }
    m_deviceIndex = 1;
    return true;
}

bool Vibrator::switchDevice(bool on) {
    NLED_SETTINGS_INFO settings{};
    settings.LedNum = m_deviceIndex;
    settings.OffOnBlink = on ? 1 : 0;
    return reinterpret_cast<SetDeviceFn>(m_setDevice)(NLED_SETTINGS_INFO_ID, &settings) != FALSE;
}

}  // namespace shell
