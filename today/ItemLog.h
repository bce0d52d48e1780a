// The item's diagnostic log "\My Documents\BrimwellLog.txt": one line per event worth tracing (a data
// load, a refresh that found a change, a tap, a program start), so that a user or a test can follow
// what the item did. Nothing in the item's behaviour depends on it.
#pragma once

#include <string>

namespace today {

class ItemLog {
  public:
    // Lines are appended to the file, which the first line of this log object creates anew.
    ItemLog() = default;

    // Appends "<event>: <value>" and CR LF.
    void value(const char16_t* event, int value);
    // Appends "<event>\tx: <x>\ty: <y>" and CR LF.
    void point(const char16_t* event, int x, int y);

  private:
    void append(const std::u16string& line);

    bool m_started = false;
};

}  // namespace today
