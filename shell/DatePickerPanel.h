// DatePickerPanel: the date picker shown in the entry form's place (entry mode 5), with the confirm
// strip; the keypad's digits and backspace type into its fields. It shows the draft's date (today for
// a draft without one) and hands back the date chosen.
#pragma once

#include "DatePicker.h"
#include "Panel.h"

namespace shell {

class DatePickerPanel : public Panel {
  public:
    // Creates the picker hidden at rect (the form's place) in parent, its images from resources.
    // False when it cannot be created.
    bool create(HWND parent, const RECT& rect, HINSTANCE resources);

    DatePicker& picker() { return m_picker; }

    HWND window() const override { return m_picker.window(); }
    Strip strip() const override { return kStripConfirm; }
    // Shown, the picker takes the focus (its day field gets it), so that device keys type into it.
    void setShown(bool shown) override;
    // The draft's date in the fields; today when the draft has none.
    void loadFrom(const EntryDraft& draft) override;
    // The picker's date (a real calendar date at 00:00) into the draft. False without a picker.
    bool takeInto(EntryDraft& draft) override;
    // Digits 0-9 and backspace (10) reach the focused field as typed characters.
    void keypadKey(WPARAM code) override;
    void typedCharacter(WCHAR character) override;

  private:
    DatePicker m_picker;
};

}  // namespace shell
