// The two failures below the save path that the user must hear of at once (an exhausted record heap, a
// store that hands back a null handle) go through one replaceable hook: the data code knows nothing of
// windows or texts, so the program installs the hook that shows its message box, tests a recorder.
#pragma once

#include <cstdint>
#include <functional>

namespace dove {

enum class StoreAlert : uint8_t {
    // A record could not be read because the private record heap is exhausted.
    RecordHeapExhausted,
    // The store handed back a null handle for an open; errorNumber is the platform's last error.
    NullOpenHandle,
};

using StoreAlertHook = std::function<void(StoreAlert alert, uint32_t errorNumber)>;

// Installs the hook; an empty hook restores the default, which appends a line to the error log.
void setStoreAlertHook(StoreAlertHook hook);

// Tells the installed hook (or the default) of the alert.
void raiseStoreAlert(StoreAlert alert, uint32_t errorNumber = 0);

}  // namespace dove
