// The device platform's API as one header, as the system's code expects it.
#pragma once

#include "platform/wintypes.h"
#include "platform/winerror.h"
#include "platform/handles.h"
#include "platform/device.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "platform/winnls.h"
#include "platform/winreg.h"
#include "platform/sync.h"
#include "platform/files.h"
#include "platform/heap.h"
#include "platform/resources.h"
#include "platform/cedb.h"
#include "platform/wingdi.h"
#include "platform/commctrl.h"
#include "platform/winuser.h"
