// CalculatorKeyboard: the calculator's nine operation keys in a 3 x 3 grid of image keys cut from one
// normal-look and one pressed-look bitmap. A click gives the key feedback (the owner's vibration
// pulse) and posts the key's message to the parent, the "Calculator".
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "ControlBase.h"
#include "ImageKey.h"

class CalculatorKeyboard : public ControlBase {
  public:
    static constexpr int kKeyCount = 9;
    static constexpr COLORREF kBackground = RGB(74, 73, 74);
    // Bitmap ids of the two looks, normal and high resolution.
    static constexpr UINT kNormalImage = 162, kPressedImage = 161;
    static constexpr UINT kNormalImageHigh = 171, kPressedImageHigh = 172;

    CalculatorKeyboard() = default;
    // Destroys the keys and releases the key images.
    ~CalculatorKeyboard() override;

    // Creates the window "CalculatorKeyboard" at rect in parent, loads the two looks from resources
    // (the large ones on a high-resolution screen) and creates the nine keys. False when the window,
    // an image or a key cannot be created.
    bool create(HWND parent, const RECT& rect, HINSTANCE resources);
    // Called on every key click before the key's message is posted; empty for none.
    void setKeyFeedback(std::function<void()> feedback) { m_feedback = std::move(feedback); }

    // The key of a window name ("Plus", "Equals", ...); null for any other name.
    ImageKey* key(const WCHAR* windowName);

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool loadImages(HINSTANCE resources);
    void keyClicked(UINT keyId);

    std::array<std::unique_ptr<ImageKey>, kKeyCount> m_keys;
    HBITMAP m_normal = nullptr;
    HBITMAP m_pressed = nullptr;
    std::function<void()> m_feedback;
};
