// The library's exports: registration with the home screen and its initialisation entry, ordinal
// 240 (an export named "Ordinal240", which GetProcAddress finds for MAKEINTRESOURCEW(240)).
#include "Registration.h"

#define TODAY_EXPORT extern "C" __attribute__((visibility("default")))

TODAY_EXPORT BOOL RegisterTodayItem() {
    return today::registerTodayItem();
}

TODAY_EXPORT BOOL UnRegisterTodayItem() {
    return today::unregisterTodayItem();
}

TODAY_EXPORT HWND Ordinal240(TODAYLISTITEM* record, HWND parent) {
    return today::initializeItem(record, parent);
}
