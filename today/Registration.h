// The item's registration with the home screen and its guarded initialisation: the entries behind
// the library's exports RegisterTodayItem, UnRegisterTodayItem and ordinal 240.
#pragma once

#include "platform/todaycmn.h"

namespace today {

// Creates or opens the registration key "Software\Microsoft\Today\Items\"Brimwell"" (machine hive)
// and writes "DLL", "Type" 4, "Enabled" 1, "Options" 0 and "Selectability" 2 in that order. On the
// first failure the key is closed and the result is 0 (values written before stay); on success the
// key is closed, the current-user hive flushed and the result is 1.
BOOL registerTodayItem();

// Deletes the registration key; 1 when it was deleted, 0 when it was missing or could not be.
BOOL unregisterTodayItem();

// The home screen's initialisation of the item (ordinal 240), guarded against a start-up that never
// finished: when the option "TodayFailed" is 1, it is set to 0, the registration is deleted and the
// result is NULL. Otherwise "TodayFailed" is 1 while the item window is created (so that a process
// dying inside leaves it at 1) and 0 afterwards; the result is the item window (NULL when it could
// not be made).
HWND initializeItem(TODAYLISTITEM* record, HWND parent);

}  // namespace today
