// The refresh check of the item.
#include "RefreshCheck.h"

#include "NotificationBlock.h"

namespace today {

void RefreshCheck::loaded(dove::Date now) {
    m_lastLoad = now;
}

bool RefreshCheck::changed(dove::Date now) {
    // Both tests always run: each reads its own flag, so none is left standing for a later query.
    const bool scheduled = test(now, dove::kFlagScheduled);
    const bool transactions = test(now, dove::kFlagTransactions);
    return scheduled || transactions;
}

bool RefreshCheck::test(dove::Date now, int flag) {
    if (dove::compareDates(now, m_lastLoad, dove::kCompareDays) != 0) {
        m_lastLoad = now;
        return true;
    }
    return m_flags.readAndClear(flag);
}

}  // namespace today
