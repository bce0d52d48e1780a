// The item window's geometry at the screen's resolution: its three areas (set-up column, text,
// launch button), the height it asks the home screen for, and the size of its font.
#pragma once

#include "platform/wingdi.h"

namespace today {

// The areas of the item a selection or a tap can be on.
enum class Area { None = 0, Setup = 1, Text = 2, Launch = 3 };

class ItemLayout {
  public:
    // Resolutions in dots per inch; lineHeight is the item font's character height plus its external
    // leading, in pixels.
    ItemLayout(int dpiX = 96, int dpiY = 96, int lineHeight = 0);

    int dpiX() const { return m_dpiX; }
    int dpiY() const { return m_dpiY; }
    int lineHeight() const { return m_lineHeight; }
    // Above 131 dots per inch the item uses its high-resolution bitmaps.
    bool highResolution() const { return m_dpiX > 131; }
    // Pixels for a size in 96-dpi units.
    int scaleX(int units) const { return units * m_dpiX / 96; }
    int scaleY(int units) const { return units * m_dpiY / 96; }

    // The height in pixels the item asks for at the first refresh query: room for two lines and a
    // margin, ((2L + 8) x dpiY + 48) / 96, or ((L + 4) x dpiY + 48) / 96 at high resolution.
    int itemHeight() const;
    // The font's height for its LOGFONT: 8 points, -(dpiY / 9 + 0.5) truncated.
    int fontHeight() const;

    // The set-up area: the icon column, 30 units wide, the client's full height.
    RECT setupArea(const RECT& client) const;
    // The launch button: 32 by 32 units at the right edge, vertically centred.
    RECT launchButton(const RECT& client) const;
    // The text: from 30 units to the launch button, the client's full height.
    RECT textArea(const RECT& client) const;
    // The top of the first of two lines centred vertically in the client.
    int firstLineTop(const RECT& client) const;
    // The area under a point of the client (Area::None outside it).
    Area areaAt(const RECT& client, POINT point) const;

  private:
    int m_dpiX;
    int m_dpiY;
    int m_lineHeight;
};

}  // namespace today
