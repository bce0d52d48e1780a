// FieldPanel: the entry form's four rows of skinned fields (payee, date, amount, account, category,
// project) and the cleared toggle, showing the draft's values; a field released under the stylus
// and the toggle touched send their commands to the parent. Digits typed while it shows are the
// draft's amount.
#pragma once

#include <array>
#include <string>

#include "EntryDraft.h"
#include "FieldText.h"
#include "Panel.h"
#include "PressableItems.h"

namespace shell {

inline constexpr UINT kBitmapField = 138;
inline constexpr UINT kBitmapFieldHigh = 179;
inline constexpr UINT kBitmapToggleOff = 141;
inline constexpr UINT kBitmapToggleOffHigh = 177;
inline constexpr UINT kBitmapToggleOn = 140;
inline constexpr UINT kBitmapToggleOnHigh = 178;
inline constexpr COLORREF kFieldLabelColour = RGB(202, 202, 202);
inline constexpr COLORREF kFieldPressedColour = RGB(72, 113, 168);
inline constexpr int kFieldRows = 4;
inline constexpr int kFieldCount = 6;

class FieldPanel : public PressableItems, public Panel {
  public:
    ~FieldPanel() override;

    // Creates the panel as a hidden child of parent: as wide as the field bitmap, four rows of its
    // height separated by lines of scaleY(1); the field labels are strings of resources. draft
    // supplies the values, takes the typed amount and must outlive the panel. False when a bitmap is
    // missing or the window cannot be created.
    bool create(HWND parent, HINSTANCE resources, EntryDraft& draft);

    HWND window() const override { return m_window; }
    Strip strip() const override { return kStripForm; }
    // Shown, the panel takes the focus, so that characters typed on the device reach the amount.
    void setShown(bool shown) override;
    // Shows the draft's values (see showDraft()).
    void loadFrom(const EntryDraft& /*draft*/) override { showDraft(); }
    // Amount typing: keys 0-9 are digits, 10 backspace, 11 clear, 12 the decimal point; characters
    // are digits, backspace (8), form feed (12, clear), "." and ",". The amount field repaints when
    // the amount changed.
    void keypadKey(WPARAM code) override;
    void typedCharacter(WCHAR character) override;
    // The panel's size in device pixels.
    SIZE size() const { return m_size; }
    int rowHeight() const { return m_rowHeight; }
    // Field i (0..5: payee, date, amount, account, category, project) in client coordinates, and
    // its command id.
    RECT fieldRect(int index) const;
    static UINT fieldCommand(int index);
    // The toggle in the top-right corner of the first row.
    RECT toggleRect() const;
    // The field held by the stylus (-1 when none).
    int heldField() const { return heldItem(); }
    // Reads the draft's current values (the store is read here, never while painting) and repaints
    // every field with them.
    void showDraft();
    // The text field i shows (0..5) and its label.
    const std::u16string& fieldText(int index) const { return m_values[static_cast<size_t>(index)]; }
    const std::u16string& fieldLabel(int index) const { return m_labels[static_cast<size_t>(index)]; }
    // How field i's value is drawn (its font and lines, in client coordinates), measured on hdc.
    FieldTextLayout valueLayout(HDC hdc, int index) const;

    // Typed characters reach the main window, which routes them to the panel shown.
    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    int itemCount() const override { return kFieldCount; }
    RECT itemRect(int index) const override { return fieldRect(index); }
    UINT itemCommand(int index) const override { return fieldCommand(index); }
    void paint(HDC hdc) override;
    bool takeStylusDown(POINT point) override;

  private:
    std::u16string draftValue(int index) const;
    void paintField(HDC hdc, HDC source, int index);
    // The room of field i's value: below its label, inset at both sides, left of the toggle for the
    // payee field.
    RECT valueBox(HDC hdc, int index) const;

    EntryDraft* m_draft = nullptr;
    std::array<std::u16string, kFieldCount> m_labels;
    std::array<std::u16string, kFieldCount> m_values;
    HBITMAP m_field = nullptr;
    HBITMAP m_toggleOff = nullptr;
    HBITMAP m_toggleOn = nullptr;
    SIZE m_size{0, 0};
    SIZE m_toggleSize{0, 0};
    int m_rowHeight = 0;
};

}  // namespace shell
