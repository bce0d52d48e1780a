// CreateItemDialog: the frame the create dialogs share. A modal dialog from a template of the program's
// resources, over the whole screen: its title drawn as a label in font 7 at the top, its labels in
// font 6, its OK and Cancel buttons replaced by dialog buttons with the template's texts, its
// controls laid out in rows for the screen, the input panel raised while a text field has the focus,
// and OK and Cancel giving the button pulse and the click debounce.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CreateItem.h"
#include "DialogButton.h"
#include "DialogLabel.h"
#include "DialogObject.h"

namespace shell {

// Control ids the create dialogs share: the name field, the parent field and their labels.
inline constexpr int kIdNameField = 1090;
inline constexpr int kIdParentField = 1004;
inline constexpr int kIdNameLabel = 1100;
inline constexpr int kIdParentLabel = 1101;
// The title label and the rule below it, made by the dialog.
inline constexpr int kIdTitle = 1102;
inline constexpr int kIdTitleRule = 1103;

// What the dialog's OK and Cancel do besides their own work.
struct ButtonActions {
    std::function<void()> pulse;     // the vibration pulse (when vibration is on)
    std::function<void()> debounce;  // the click debounce
};

class CreateItemDialog : public DialogObject {
  public:
    // Runs the dialog over owner until OK settles on an item or Cancel. Returns the item, or nothing
    // when the user cancelled or the dialog could not be shown.
    std::optional<CreatedItem> run(HWND owner);

    bool dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    DialogButton& okButton() { return m_ok; }
    DialogButton& cancelButton() { return m_cancel; }

  protected:
    CreateItemDialog(UINT templateId, ButtonActions actions);

    // One row of the layout: the ids of its controls, left to right. A row that ends in a text field
    // puts the control before it in the label column and stretches the field to the right margin;
    // the controls of any other row stand side by side at their own widths.
    using Row = std::vector<int>;
    virtual std::vector<Row> rows() const = 0;
    // Fills the fields and buttons as the dialog opens.
    virtual void initialise() = 0;
    // OK: the item found or created, or nothing when the dialog stays open, after the field at fault
    // was selected and given the focus.
    virtual std::optional<CreatedItem> accept() = 0;
    // A command from one of the template's controls (a radio button clicked).
    virtual void onControlCommand(int /*id*/, int /*code*/) {}

    // The field's whole text without blanks at either end.
    std::u16string fieldText(int id) const;
    void setFieldText(int id, const std::u16string& text);
    // Selects the field's whole text and gives it the focus: the dialog stays for a correction.
    void refuse(int id);
    // The name field's text when rule accepts it; otherwise the field is refused.
    std::optional<std::u16string> acceptedName(bool (*rule)(std::u16string_view));
    // The item when the store took it; otherwise the name field is refused, ready for another try.
    std::optional<CreatedItem> storedOrRefused(const CreatedItem& item);

  private:
    void onInitDialog();
    void takeOverControls();
    void replaceButton(DialogButton& button, int id);
    void fillScreen();
    void layout();
    int preferredWidth(int id) const;
    void finish(int code);
    void onCommand(int id, int code);

    ButtonActions m_actions;
    DialogLabel m_title;
    DialogLabel m_rule;
    std::vector<std::unique_ptr<DialogLabel>> m_labels;
    DialogButton m_ok;
    DialogButton m_cancel;
    std::optional<CreatedItem> m_result;
};

}  // namespace shell
