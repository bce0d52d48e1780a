// The button pulse, given only when vibration is on and not held back.
#include "ButtonFeedback.h"

namespace shell {

void ButtonFeedback::pulse() {
    if (m_on && !m_suppressed) m_vibrator.pulse(kButtonPulseMs, 0, 1);
}

}  // namespace shell
