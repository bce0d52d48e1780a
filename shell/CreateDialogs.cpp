// The payee, category and project dialogs: their rows, what they open with, and what OK takes.
#include "CreateDialogs.h"

#include "Categories.h"
#include "Projects.h"

namespace shell {

CreatePayeeDialog::CreatePayeeDialog(ButtonActions actions)
    : CreateItemDialog(kDialogCreatePayee, std::move(actions)) {}

std::vector<CreateItemDialog::Row> CreatePayeeDialog::rows() const {
    return {{kIdNameLabel, kIdNameField}};
}

std::optional<CreatedItem> CreatePayeeDialog::accept() {
    std::optional<std::u16string> name = acceptedName(isValidPayeeName);
    if (!name) return std::nullopt;
    return storedOrRefused(findOrCreatePayee(*name));
}

CreateCategoryDialog::CreateCategoryDialog(ButtonActions actions, bool income, std::u16string parentFullName)
    : CreateItemDialog(kDialogCreateCategory, std::move(actions)),
      m_income(income),
      m_parentFullName(std::move(parentFullName)) {}

std::vector<CreateItemDialog::Row> CreateCategoryDialog::rows() const {
    return {{kIdNameLabel, kIdNameField}, {kIdIncome, kIdExpense}, {kIdSubcategory, kIdParentField}};
}

void CreateCategoryDialog::initialise() {
    CheckRadioButton(m_dialog, kIdIncome, kIdSubcategory, m_income ? kIdIncome : kIdExpense);
    setFieldText(kIdParentField, m_parentFullName);
    enableParentField();
}

void CreateCategoryDialog::enableParentField() {
    EnableWindow(GetDlgItem(m_dialog, kIdParentField), firstChecked(kIdSubcategory, kIdSubcategory) != 0);
}

void CreateCategoryDialog::onControlCommand(int id, int code) {
    if (code == BN_CLICKED && id >= kIdIncome && id <= kIdSubcategory) enableParentField();
}

std::optional<CreatedItem> CreateCategoryDialog::accept() {
    const int chosen = firstChecked(kIdIncome, kIdSubcategory);
    int32_t parent = dove::category::kRoot;
    if (chosen == kIdSubcategory) {
        const std::u16string parentName = fieldText(kIdParentField);
        parent = parentName.empty() ? 0 : dove::findCategoryByFullName(parentName);
        if (parent == 0) {
            refuse(kIdParentField);
            return std::nullopt;
        }
    }
    std::optional<std::u16string> name = acceptedName(isValidItemName);
    if (!name) return std::nullopt;
    const int32_t type = chosen == kIdIncome ? dove::category::kIncome : dove::category::kExpense;
    return storedOrRefused(findOrCreateCategory(parent, *name, type));
}

CreateProjectDialog::CreateProjectDialog(ButtonActions actions, int32_t current)
    : CreateItemDialog(kDialogCreateProject, std::move(actions)), m_current(current) {}

std::vector<CreateItemDialog::Row> CreateProjectDialog::rows() const {
    return {{kIdNameLabel, kIdNameField}, {kIdParentLabel, kIdParentField}};
}

void CreateProjectDialog::initialise() {
    setFieldText(kIdParentField, m_current != 0 ? dove::projectName(m_current) : std::u16string());
}

std::optional<CreatedItem> CreateProjectDialog::accept() {
    int32_t parent = dove::project::kRoot;
    const std::u16string parentName = fieldText(kIdParentField);
    if (!parentName.empty()) {
        parent = projectNamed(parentName, m_current);
        if (parent == 0) {
            refuse(kIdParentField);
            return std::nullopt;
        }
    }
    std::optional<std::u16string> name = acceptedName(isValidItemName);
    if (!name) return std::nullopt;
    return storedOrRefused(findOrCreateProject(parent, *name));
}

std::optional<CreatedItem> runCreateDialog(HWND owner, const CreateRequest& request, ButtonActions actions) {
    switch (request.kind) {
        case ListKind::Payees:
            return CreatePayeeDialog(std::move(actions)).run(owner);
        case ListKind::Categories: {
            std::u16string parent = request.current != 0 ? dove::categoryFullName(request.current) : u"";
            return CreateCategoryDialog(std::move(actions), request.income, std::move(parent)).run(owner);
        }
        case ListKind::Projects:
            return CreateProjectDialog(std::move(actions), request.current).run(owner);
        default:
            return std::nullopt;
    }
}

}  // namespace shell
