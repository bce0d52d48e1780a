// The writer side of the shared notification block "Brimwell_Today_Share": 24 bytes of named shared
// memory in which the store raises flags that tell the Today item what changed.
#pragma once

#include "platform/wintypes.h"

namespace dove {

inline constexpr const char16_t* kNotificationBlockName = u"Brimwell_Today_Share";
inline constexpr DWORD kNotificationBlockSize = 24;

// Flags: 0 scheduled data changed, 1 transactions changed, 2 ask for the data password again.
enum NotificationFlag : int { kFlagScheduled = 0, kFlagTransactions = 1, kFlagPassword = 2 };

// Creates or opens the block and keeps its handle for the process (until closeNotificationBlock).
// False when the mapping cannot be made.
bool createNotificationBlock();
void closeNotificationBlock();
bool notificationBlockInUse();

// Sets flag k: maps the 4 bytes at offset 12 + 4k, stores 1 and unmaps. Nothing happens (false) when
// the block is not in use or the mapping fails.
bool setNotificationFlag(int flag);

}  // namespace dove
