// What the create dialogs do with the store: the rule a new name must follow, the parents they name,
// and finding an item of the given name before creating one, so that a name is never stored twice.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "StoreStatus.h"

namespace shell {

// The most characters a name field takes.
inline constexpr int kMaxNameLength = 100;

// The item a create request came to.
struct CreatedItem {
    // Ok, or why the store refused the write (id is then 0).
    dove::StoreStatus status = dove::StoreStatus::Ok;
    int32_t id = 0;
    // A record was written: a new item, or a hidden payee shown again. The lists read their records
    // again and the finance manager is told at exit.
    bool written = false;
};

// A category or project name (already trimmed) can be stored: it is not empty and holds none of
// ":", "|", "[", "]" and "^" (":" separates the levels of a full name, "[...]" names a transfer).
bool isValidItemName(std::u16string_view name);
// A payee name (already trimmed) can be stored: it is not empty.
bool isValidPayeeName(std::u16string_view name);

// The payee whose display name matches name (see dove::findPayeeByName); a hidden one is shown
// again (its hidden flag cleared, its stamp renewed) so that the payee list can offer it. Without
// one, a payee of that name is created with an empty memorized entry.
CreatedItem findOrCreatePayee(const std::u16string& name);
// The category named name under parent (the root, 1, for a top-level one); without one, it is
// created with type (a sub-category takes its parent's type instead).
CreatedItem findOrCreateCategory(int32_t parent, const std::u16string& name, int32_t type);
// The project named name under parent (the root project, 1, for a top-level one); without one, it is
// created.
CreatedItem findOrCreateProject(int32_t parent, const std::u16string& name);

// The project a parent field names: preferred when its name is text (the list's current item at
// opening, so that a name that several projects share means the one the user was on), else the first
// project of that name; 0 when none has it.
int32_t projectNamed(const std::u16string& text, int32_t preferred);

}  // namespace shell
