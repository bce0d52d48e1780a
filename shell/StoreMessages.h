// The messages the user sees for failures of the data code, which itself holds no text: the store alerts
// (an exhausted record heap, a null handle from an open) and the failed saves whose status has a
// message of its own.
#pragma once

#include <optional>
#include <string>

#include "StoreAlert.h"
#include "StoreStatus.h"
#include "platform/windows.h"

namespace shell {

struct StoreMessage {
    std::u16string text;
    std::u16string caption;
    UINT type;  // the MessageBoxW type: buttons and icon
};

// "Empty Memory" (caption "Brimwell", OK and Cancel) for an exhausted heap; "Open FALSE" with the error
// number in decimal as its caption for a null handle.
StoreMessage storeAlertMessage(dove::StoreAlert alert, uint32_t errorNumber);

// The message of a failed save whose status has one: "Error 1154..." when the record must be reindexed,
// "Error 1154-1" when the field writer cannot reach it (caption "Brimwell Dashel"). None for the other
// statuses: those saves fail without a message of their own.
std::optional<StoreMessage> saveFailureMessage(dove::StoreStatus status);

// Shows the alert's message box; the program installs it as the data code's alert hook.
void showStoreAlert(dove::StoreAlert alert, uint32_t errorNumber);

}  // namespace shell
