// The item's test, at each refresh query of the home screen, whether its data must be loaded again:
// a new day since the last load, or a change flag that the store of another process raised.
#pragma once

#include "DateTime.h"
#include "NotificationReader.h"

namespace today {

class RefreshCheck {
  public:
    explicit RefreshCheck(NotificationReader& flags) : m_flags(flags) {}

    // The data was loaded at now; its day is the last load's day.
    void loaded(dove::Date now);
    dove::Date lastLoad() const { return m_lastLoad; }

    // Two tests, for change flag 0 and then flag 1: when now's day differs from the last load's, the
    // day is stored and the test finds a change; otherwise the test reads and clears its flag. True
    // when either test found a change. A new day thus leaves flag 0 for the next query, which reads
    // it then.
    bool changed(dove::Date now);

  private:
    bool test(dove::Date now, int flag);

    NotificationReader& m_flags;
    dove::Date m_lastLoad = 0;
};

}  // namespace today
