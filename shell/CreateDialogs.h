// The three create dialogs of the entry page's lists: a new payee (dialog 453), a new category with
// its type or parent (dialog 308) and a new project with its parent (dialog 313). Each finds an item
// of the name typed before it creates one, and stays open on a name or parent it cannot use.
#pragma once

#include <optional>
#include <string>

#include "CreateItemDialog.h"
#include "SelectionList.h"

namespace shell {

// Dialog templates.
inline constexpr UINT kDialogCreatePayee = 453;
inline constexpr UINT kDialogCreateCategory = 308;
inline constexpr UINT kDialogCreateProject = 313;
// The category dialog's type buttons.
inline constexpr int kIdIncome = 1227;
inline constexpr int kIdExpense = 1228;
inline constexpr int kIdSubcategory = 1229;

class CreatePayeeDialog : public CreateItemDialog {
  public:
    explicit CreatePayeeDialog(ButtonActions actions);

  protected:
    std::vector<Row> rows() const override;
    void initialise() override {}
    // The trimmed name must not be empty; the payee of that name, else a new one.
    std::optional<CreatedItem> accept() override;
};

class CreateCategoryDialog : public CreateItemDialog {
  public:
    // Opens with income chosen when income is set, else expense, and the parent field holding
    // parentFullName (editable only while "subcategory of" is chosen).
    CreateCategoryDialog(ButtonActions actions, bool income, std::u16string parentFullName);

  protected:
    std::vector<Row> rows() const override;
    void initialise() override;
    // A sub-category's parent must be a category's full name, and the name must be valid (see
    // isValidItemName); the category of that name under that parent (or the root), else a new one
    // of the chosen type (a sub-category takes its parent's).
    std::optional<CreatedItem> accept() override;
    void onControlCommand(int id, int code) override;

  private:
    void enableParentField();

    bool m_income;
    std::u16string m_parentFullName;
};

class CreateProjectDialog : public CreateItemDialog {
  public:
    // Opens with the parent field holding the name of project current (empty for 0).
    CreateProjectDialog(ButtonActions actions, int32_t current);

  protected:
    std::vector<Row> rows() const override;
    void initialise() override;
    // A parent, when given, must name a project; the name must be valid (see isValidItemName); the
    // project of that name under that parent (or the root project), else a new one.
    std::optional<CreatedItem> accept() override;

  private:
    int32_t m_current;
};

// What the create dialog of a list is opened with.
struct CreateRequest {
    ListKind kind = ListKind::Payees;
    int32_t current = 0;  // the list's current item (0 for none): a category's or project's parent
    bool income = false;  // the draft's amount is positive: a new category is an income one
};

// Runs the create dialog of the request's list over owner: the item found or created, or nothing
// when cancelled. The account list has no create dialog (nothing, at once).
std::optional<CreatedItem> runCreateDialog(HWND owner, const CreateRequest& request, ButtonActions actions);

}  // namespace shell
