// FingerComboBox: a small field showing the current row's text and a drop key; a tap on either (or
// VK_UP / VK_DOWN) opens the finger drop list, and the row picked there becomes current. The
// calculator's currency field is one.
//
// Usage: create it in its owner, give it the owner's background colour and the rows, read
// currentItem() (and changed()) when the owner takes the choice:
//     combo.create(owner, x, y, resources);
//     combo.setBackgroundColor(ownerColour);
//     combo.setItems(rows);            // row 0 becomes current
//     combo.select(indexOfCurrency);
#pragma once

#include <vector>

#include "ControlBase.h"
#include "FingerDropList.h"
#include "ImageKey.h"
#include "TextLabel.h"

class FingerComboBox : public ControlBase {
  public:
    static constexpr UINT kDropKeyId = 3;
    // The design size in 96-dpi units.
    static constexpr int kWidthUnits = 53;
    static constexpr int kHeightUnits = 15;

    // Destroys the windows, then deletes the drop key's images and the label's font.
    ~FingerComboBox() override;

    // Creates the visible child window "FingerComboBox" at (x, y) in parent (53 x 15 units): the
    // label showing "XXX" until a row is current, the drop key, and the hidden drop list, with the
    // images of resources. False when an image is missing or a window cannot be created.
    bool create(HWND parent, int x, int y, HINSTANCE resources);
    // The background of the combo box and its label (the owner gives its own); repaints.
    void setBackgroundColor(COLORREF color);

    // Replaces the drop list's rows and makes row 0 current (none for no rows).
    void setItems(std::vector<ListItem> items);
    // Makes row index current: marks it in the drop list and shows its text. An index outside the
    // rows makes none current and shows an empty label.
    void select(int index);
    int currentIndex() const { return m_current; }
    // The current row, or null when none is.
    const ListItem* currentItem() const;
    // Set whenever the user picks a row in the drop list; cleared only by clearChanged().
    bool changed() const { return m_changed; }
    void clearChanged() { m_changed = false; }

    // Opens the drop list with the current row marked; the list takes the focus. Nothing happens
    // while it is open.
    void open();
    // Closes the drop list; the focus goes back to the window that had it before opening.
    void close();
    bool isOpen() const { return m_dropList.isShown(); }

    FingerDropList& dropList() { return m_dropList; }
    TextLabel& label() { return m_label; }
    ImageKey& dropKey() { return m_dropKey; }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    TextLabel m_label;
    ImageKey m_dropKey;
    FingerDropList m_dropList;
    HBITMAP m_keyNormal = nullptr;
    HBITMAP m_keyPressed = nullptr;
    HFONT m_font = nullptr;
    int m_current = -1;
    bool m_changed = false;
};
