// The item's test, at each refresh query of the home screen, whether its data must be loaded again:
// a new day since the last load, or a change flag that the store of another process raised.
#pragma once

#include "DateTime.h"
#include "NotificationReader.h"

namespace today {

// What one refresh check found.
struct RefreshChanges {
    bool newDay = false;        // the day is not the last load's
    bool scheduled = false;     // flag 0: scheduled items or the payments toward them changed
    bool transactions = false;  // flag 1: other transactions changed

    bool any() const { return newDay || scheduled || transactions; }
};

class RefreshCheck {
  public:
    explicit RefreshCheck(NotificationReader& flags) : m_flags(flags) {}

    // The data was loaded at now; its day is the last load's day.
    void loaded(dove::Date now);
    dove::Date lastLoad() const { return m_lastLoad; }

    // Two tests, for change flag 0 and then flag 1: when now's day differs from the last load's, the
    // day is stored and the test finds a new day; otherwise the test reads and clears its flag. A new
    // day thus leaves flag 0 for the next query, which reads it then: a flag is reported only when it
    // was read, so that the caller can tell which data changed.
    RefreshChanges changed(dove::Date now);

  private:
    // True when the day changed (the new day stored); else *flagSet receives the flag's value.
    bool newDay(dove::Date now, int flag, bool* flagSet);

    NotificationReader& m_flags;
    dove::Date m_lastLoad = 0;
};

}  // namespace today
