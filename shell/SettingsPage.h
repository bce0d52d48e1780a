// SettingsPage: page 123 of the main window, on white: the alphabet-key format chosen by name from a
// menu or typed as text, vibration on or off, and OK (check and store) or Cancel (leave everything as
// it was). It tells the main window with WM_COMMAND(122) or WM_COMMAND(121) from the page.
#pragma once

#include "ButtonFeedback.h"
#include "ControlBase.h"
#include "DialogButton.h"
#include "DialogLabel.h"
#include "FormatChoices.h"
#include "Panel.h"

namespace shell {

// Control ids of the page.
inline constexpr UINT kIdFormatText = 1000;
inline constexpr UINT kIdVibration = 1005;

class SettingsPage : public ControlBase, public Panel {
  public:
    // feedback carries the vibration flag the page shows and sets; it must outlive the page.
    explicit SettingsPage(ButtonFeedback& feedback) : m_feedback(feedback) {}

    // Creates the page "SettingsPage" hidden in parent with its labels, format text, name key, check
    // box and buttons (texts from resources). The check box takes the stored "BtnVibro", which also
    // becomes the vibration flag. False when a control cannot be created.
    bool create(HWND parent, HINSTANCE resources);

    HWND window() const override { return m_window; }
    Strip strip() const override { return kStripNone; }
    // Shown: the formats are read again, the current type is chosen, its text and name shown, and the
    // check box shows whether vibration is on.
    void setShown(bool shown) override;

    const FormatChoices& choices() const { return m_choices; }
    HWND formatText() const { return m_edit; }
    HWND vibrationBox() const { return m_check; }
    DialogButton& nameKey() { return m_nameKey; }
    DialogButton& okButton() { return m_ok; }
    DialogButton& cancelButton() { return m_cancel; }

    // OK: the vibration flag becomes the check box's state (with a pulse when on). With the personal
    // format chosen its text must parse: otherwise message 30 shows, the text is selected and focused,
    // and nothing is stored; a valid one is stored as "AbcCustom". Then "AbcType" and "BtnVibro" are
    // stored and the main window hears WM_COMMAND(122).
    void accept();
    // Cancel: a pulse, then WM_COMMAND(121) to the main window; nothing is stored.
    void cancel();
    // The name key's menu of format names, the chosen one checked, placed below the key.
    void chooseFormat();

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool createControls();
    void layoutControls();
    void onFormatTextCommand(UINT code);
    std::u16string editText() const;
    void showChosen();
    void notifyMainWindow(UINT command);

    ButtonFeedback& m_feedback;
    HINSTANCE m_resources = nullptr;
    FormatChoices m_choices;
    DialogLabel m_formatLabel;
    DialogLabel m_languageLabel;
    DialogLabel m_vibrationLabel;
    DialogButton m_nameKey;
    DialogButton m_ok;
    DialogButton m_cancel;
    HWND m_edit = nullptr;
    HWND m_check = nullptr;
};

}  // namespace shell
