// TextKey: an image key with a text drawn over it in white, one line centred or, split at "^", two
// lines in the upper and lower halves. Its fonts shrink until the text fits the text rectangle.
#pragma once

#include "ImageKey.h"
#include "Str.h"

class TextKey : public ImageKey {
  public:
    // Creates the key's window named windowName, showing text, with the creator's font variables: the key
    // draws with *normalFont, or *pressedFont while pressed, and when it shrinks them to fit its text it
    // replaces the fonts in those variables (keys sharing the variables shrink together to fit the widest
    // text). A variable that holds NULL gets a created "Times new roman" font of height 19, weight 400
    // (normal) or 700 (pressed); the creator owns and deletes the fonts. The variables must outlive the key.
    // False when the window cannot be created or a font variable is missing.
    bool create(HWND parent, const RECT& rect, LPCWSTR windowName, LPCWSTR text, UINT keyId,
                HFONT* normalFont, HFONT* pressedFont);

    // Replaces the text, fits the fonts to it and repaints.
    void setText(LPCWSTR text);
    const Str& text() const { return m_text; }
    // The rectangle the text is drawn in (client coordinates; the client rectangle until set); the
    // fonts are fitted to it.
    void setTextRect(const RECT& rect);
    const RECT& textRect() const { return m_textRect; }

    // Draws the image key, then the text.
    void draw(HDC hdc) override;

    // Shrinks the normal font one unit at a time while the text (its wider part when split at "^")
    // is wider than the text rectangle and the font is at least 9 high, then gives the pressed font
    // the same height. Done whenever the text or the rectangle changes; keys that share fonts call it
    // again after the shared font was replaced.
    void fitFonts();

  private:
    int textWidth(HFONT font) const;

    Str m_text;
    RECT m_textRect{};
    HFONT* m_normalFont = nullptr;
    HFONT* m_pressedFont = nullptr;
};
