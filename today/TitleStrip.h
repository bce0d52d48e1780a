// The details' title strip "TodayTitle": the product's title in bold over a thin line, across the top
// of the details window.
#pragma once

#include <string>

#include "ScreenScale.h"
#include "WindowObject.h"

namespace today {

inline constexpr const WCHAR* kTitleStripName = u"TodayTitle";

class TitleStrip : public WindowObject {
  public:
    explicit TitleStrip(std::u16string title);
    ~TitleStrip() override;

    // Creates the strip as a child of owner, as wide as width, at the top.
    HWND create(HWND owner, int width);
    // The strip's height on this screen.
    int height() const;
    const std::u16string& title() const { return m_title; }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void paint();

    std::u16string m_title;
    ScreenScale m_scale;
    HFONT m_font = nullptr;
};

}  // namespace today
