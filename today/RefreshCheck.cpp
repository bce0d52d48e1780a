// The refresh check of the item.
#include "RefreshCheck.h"

#include "NotificationBlock.h"

namespace today {

void RefreshCheck::loaded(dove::Date now) {
    m_lastLoad = now;
}

RefreshChanges RefreshCheck::changed(dove::Date now) {
    // Both tests always run: each reads its own flag, so none is left standing for a later query.
    RefreshChanges changes;
    if (newDay(now, dove::kFlagScheduled, &changes.scheduled)) changes.newDay = true;
    if (newDay(now, dove::kFlagTransactions, &changes.transactions)) changes.newDay = true;
    return changes;
}

bool RefreshCheck::newDay(dove::Date now, int flag, bool* flagSet) {
    if (dove::compareDates(now, m_lastLoad, dove::kCompareDays) != 0) {
        m_lastLoad = now;
        return true;
    }
    *flagSet = m_flags.readAndClear(flag);
    return false;
}

}  // namespace today
