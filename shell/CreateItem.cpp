// Finding or creating payees, categories and projects by name for the create dialogs.
#include "CreateItem.h"

#include "Categories.h"
#include "DateTime.h"
#include "Payees.h"
#include "Projects.h"

namespace shell {
namespace {

constexpr std::u16string_view kForbiddenCharacters = u":|[]^";

CreatedItem found(int32_t id) {
    return CreatedItem{dove::StoreStatus::Ok, id, false};
}

CreatedItem written(dove::StoreStatus status, int32_t id) {
    if (status != dove::StoreStatus::Ok) return CreatedItem{status, 0, false};
    return CreatedItem{status, id, true};
}

}  // namespace

bool isValidItemName(std::u16string_view name) {
    return !name.empty() && name.find_first_of(kForbiddenCharacters) == std::u16string_view::npos;
}

bool isValidPayeeName(std::u16string_view name) {
    return !name.empty();
}

CreatedItem findOrCreatePayee(const std::u16string& name) {
    if (int32_t existing = dove::findPayeeByName(name)) {
        dove::Payee payee;
        if (!dove::readPayeeByNumber(existing, payee) || !payee.flag1003) return found(existing);
        payee.flag1003 = false;
        payee.stamp = dove::nowUtc();
        return written(dove::writePayee(payee), existing);
    }
    dove::Payee payee;
    payee.name = name;
    const dove::StoreStatus status = dove::createPayee(payee);
    return written(status, payee.number);
}

CreatedItem findOrCreateCategory(int32_t parent, const std::u16string& name, int32_t type) {
    if (int32_t existing = dove::findCategoryChild(parent, name)) return found(existing);
    int32_t number = 0;
    const dove::StoreStatus status = dove::createCategory(parent, name, type, &number);
    return written(status, number);
}

CreatedItem findOrCreateProject(int32_t parent, const std::u16string& name) {
    if (int32_t existing = dove::findProjectChild(parent, name)) return found(existing);
    int32_t number = 0;
    const dove::StoreStatus status = dove::createProject(parent, name, &number);
    return written(status, number);
}

int32_t projectNamed(const std::u16string& text, int32_t preferred) {
    if (preferred != 0 && dove::projectName(preferred) == text) return preferred;
    return dove::findProjectByName(text);
}

}  // namespace shell
