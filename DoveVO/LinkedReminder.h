// The reminder a scheduled item may be linked to in the device's personal-information store: removed
// with the item, but only when the finance manager made it (its text carries "[" product name "]").
#pragma once

#include <cstdint>
#include <string>

namespace dove {

enum class ReminderOutcome : uint8_t {
    NoReminder,    // the object id is below 1
    Unavailable,   // the store could not be reached (runtime, application object or log-on failed)
    Missing,       // no item has the object id
    Kept,          // the item lacks the marker: it is the user's and stays
    Deleted,       // the item carried the marker and is gone
    DeleteFailed,  // the item carried the marker but the store refused to delete it
};

// The marker of the finance manager's reminders: "[" + resource string 10129 + "]" ("[Brimwell]"); empty
// when the resources lack the product name, and then no reminder counts as marked.
std::u16string reminderMarker();

// Deletes the reminder with that object id when its subject or notes carry the marker: initialises the
// component runtime of the thread, creates the store's application object, logs on, finds the item,
// reads its text, deletes it only with the marker, logs off and releases everything.
ReminderOutcome deleteLinkedReminder(int32_t objectId);

// The delete of a scheduled item calls this once the delete is durable: deleteLinkedReminder, with a
// line in the error log when the store could not be reached or refused the delete.
void dropReminderOfDeletedItem(int32_t objectId);

}  // namespace dove
