// ButtonFeedback: the short vibration pulse that buttons, fields and keys give when the user has
// switched vibration on, and the moments it is held back (a confirmation that is carried out again).
#pragma once

#include "Vibrator.h"

namespace shell {

class ButtonFeedback {
  public:
    // Gives one 40 ms pulse when vibration is on and no suppression is active.
    void pulse();
    void setOn(bool on) { m_on = on; }
    bool on() const { return m_on; }
    Vibrator& vibrator() { return m_vibrator; }

    // While an object of this lives, pulse() gives nothing.
    class Suppressed {
      public:
        explicit Suppressed(ButtonFeedback& feedback) : m_feedback(feedback), m_was(feedback.m_suppressed) {
            feedback.m_suppressed = true;
        }
        ~Suppressed() { m_feedback.m_suppressed = m_was; }
        Suppressed(const Suppressed&) = delete;
        Suppressed& operator=(const Suppressed&) = delete;

      private:
        ButtonFeedback& m_feedback;
        bool m_was;
    };

  private:
    Vibrator m_vibrator;
    bool m_on = false;
    bool m_suppressed = false;
};

}  // namespace shell
