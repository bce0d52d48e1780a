// ButtonStrip: a row of skinned buttons side by side from the left, painted from slices of a normal
// and a pressed bitmap with centred labels; a button released under the stylus sends its command.
#pragma once

#include <string>
#include <vector>

#include "PressableItems.h"

namespace shell {

struct StripButton {
    UINT command;
    UINT label;  // string id
    int width;   // 96-dpi units
    COLORREF textColour;
};

struct StripSkin {
    UINT normal;
    UINT pressed;
    UINT normalHigh;
    UINT pressedHigh;
    std::vector<StripButton> buttons;
};

// The three strips of the entry page.
const StripSkin& formStripSkin();
const StripSkin& confirmStripSkin();
const StripSkin& confirmOrCreateStripSkin();

class ButtonStrip : public PressableItems {
  public:
    ~ButtonStrip() override;

    // Creates the strip as a hidden child of parent with the size of its normal bitmap (the
    // high-resolution one on such screens); the bitmaps and labels come from resources. False when a
    // bitmap is missing or the window cannot be created.
    bool create(HWND parent, HINSTANCE resources, const StripSkin& skin);
    // The button's rectangle in client coordinates (its width scaled with scaleX, full height); an
    // empty rectangle for an index the strip does not have.
    RECT buttonRect(int index) const;
    int buttonCount() const { return static_cast<int>(m_skin.buttons.size()); }
    // The held button while the stylus is down on the strip (-1 when none).
    int heldButton() const { return heldItem(); }
    // The label button index shows; empty for an index the strip does not have.
    std::u16string label(int index) const;

  protected:
    int itemCount() const override { return buttonCount(); }
    RECT itemRect(int index) const override { return buttonRect(index); }
    UINT itemCommand(int index) const override;
    void paint(HDC hdc) override;

  private:
    // Copies the button slice [left, left + width) of the bitmap selected in source over the strip's
    // height, stretching only its middle rows.
    void drawSlice(HDC hdc, HDC source, int left, int width, int height) const;

    StripSkin m_skin;
    std::vector<std::u16string> m_labels;
    HBITMAP m_normal = nullptr;
    HBITMAP m_pressed = nullptr;
    SIZE m_bitmapSize{0, 0};
};

}  // namespace shell
