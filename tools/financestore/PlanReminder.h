// The reminder the finance manager links to a scheduled item: an appointment in the device's
// personal-information store whose notes carry the product's marker, so that deleting the item also
// deletes it.
#pragma once

#include <cstdint>
#include <string>

namespace financestore {

// Saves an appointment with the subject and the marker in its notes; its object id, 0 when the store
// could not be reached or written.
int32_t createReminder(const std::u16string& subject);

// Deletes the reminder again (a scheduled item that could not be saved leaves nothing behind).
void discardReminder(int32_t objectId);

}  // namespace financestore
