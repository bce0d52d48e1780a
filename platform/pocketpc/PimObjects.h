// The objects of the personal-information store's component class: the application object and the
// appointment and task items it hands out (internal to the platform).
#pragma once

#include "platform/pimstore.h"

namespace platform::pim {

// A new application object holding one reference, answering iid; E_NOINTERFACE (and *object null)
// when it has no such interface.
HRESULT createApplication(REFIID iid, void** object);

}  // namespace platform::pim
