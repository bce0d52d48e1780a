// Keyboard: the on-screen numeric keypad of twelve large keys (digits, backspace, decimal point) in a
// portrait or a landscape arrangement. It only reports which key was struck (WM_KEYPAD_KEY to its
// parent); holding backspace reports a clear instead. The digit keys can carry letter labels.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "ControlBase.h"
#include "TextKey.h"

class Keyboard : public ControlBase {
  public:
    static constexpr int kKeyCount = 12;
    static constexpr int kPortrait = 0;
    static constexpr int kLandscape = 1;
    static constexpr COLORREF kBackground = RGB(74, 73, 74);
    static constexpr UINT_PTR kLongPressTimer = 1;
    static constexpr UINT kLongPressMs = 400;
    // The key ids in creation order (digits, then backspace 10 and the decimal point 12).
    static constexpr std::array<UINT, kKeyCount> kKeyIds{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};

    // Destroys the windows, then deletes the key images and the label fonts.
    ~Keyboard() override;

    // Creates the visible child window "Keyboard" at (x, y) in parent (240 x 106 units until the
    // layout sizes it), its label fonts and its twelve keys, and applies layout mode (kPortrait or
    // kLandscape) with the images of resources. False when a window cannot be created or the mode's
    // images are missing.
    bool create(HWND parent, int x, int y, int mode, HINSTANCE resources);
    // Arranges the keys for mode when it differs from the current one: loads the mode's key images
    // for the screen (the 400/800 and high-resolution flags), places the keys, gives each its own
    // rectangle of the images and its label area, and takes the images' size, keeping the
    // keyboard's position. False when the images are missing (the keys stay as they were).
    bool setLayout(int mode);
    int layout() const { return m_mode; }
    // The size of the current arrangement's images: the keys' area. The window may be made larger; the
    // rest shows the keyboard's background.
    SIZE keysSize() const { return m_keysSize; }

    // Gives the first min(count, 12) keys the texts in creation order ("^" splits a label in two
    // lines); the label font starts again at its full height and shrinks until the widest label
    // fits its key. Repaints the keys.
    void setLabels(int count, const std::u16string* texts);
    // The label of the key with id keyId; empty for an unknown id.
    std::u16string label(UINT keyId) const;
    TextKey* key(UINT keyId);
    // The label font's height (pixels) after the last fitting.
    int labelFontHeight() const;

    // Called before every key is reported (the shell gives the vibration pulse there).
    void setKeyFeedback(std::function<void()> feedback) { m_feedback = std::move(feedback); }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void onKeyPressed(UINT keyId);
    void onKeyReleased(UINT keyId);
    void onKeyClicked(UINT keyId);
    void onLongPress();
    void report(WPARAM code);
    void placeKeys(int mode, HBITMAP normal, HBITMAP pressed);
    void recreateLabelFont();
    int indexOf(UINT keyId) const;

    std::array<TextKey, kKeyCount> m_keys;
    HFONT m_normalFont = nullptr;
    HFONT m_pressedFont = nullptr;
    HBITMAP m_normal = nullptr;
    HBITMAP m_pressed = nullptr;
    HINSTANCE m_resources = nullptr;
    static constexpr int kNoLayout = 2;  // neither arrangement, so that the first setLayout lays out
    int m_mode = kNoLayout;
    SIZE m_keysSize{0, 0};
    std::function<void()> m_feedback;
};
