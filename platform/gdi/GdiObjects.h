// The drawing objects behind HGDIOBJ handles (bitmaps, brushes, pens, fonts, regions), their handle
// registry and the stock objects.
#pragma once

#include <memory>
#include <vector>

#include "platform/detail/Region.h"
#include "platform/detail/Surface.h"
#include "platform/wingdi.h"

namespace platform::gdi {

class DeviceContext;
class FontInstance;

class GdiObject {
  public:
    explicit GdiObject(DWORD type) : m_type(type) {}
    virtual ~GdiObject() = default;
    DWORD type() const { return m_type; }
    // Stock objects are never deleted and may be selected into any number of DCs.
    bool stock() const { return m_stock; }
    void markStock() { m_stock = true; }
    HGDIOBJ handle() { return this; }

  private:
    DWORD m_type;
    bool m_stock = false;
};

class BrushObject : public GdiObject {
  public:
    BrushObject(bool hollow, COLORREF color) : GdiObject(OBJ_BRUSH), hollow(hollow), color(color) {}
    bool hollow;
    COLORREF color;
};

class PenObject : public GdiObject {
  public:
    PenObject(int style, int width, COLORREF color)
        : GdiObject(OBJ_PEN), style(style), width(width < 1 ? 1 : width), color(color) {}
    bool visible() const { return style != PS_NULL; }
    int style;
    int width;
    COLORREF color;
};

class BitmapObject : public GdiObject {
  public:
    BitmapObject(std::shared_ptr<Surface> surface, int bitsPixel)
        : GdiObject(OBJ_BITMAP), surface(std::move(surface)), bitsPixel(bitsPixel) {}
    std::shared_ptr<Surface> surface;
    int bitsPixel;
    // The pixel memory of a DIB section (the surface points into it); empty for other bitmaps.
    std::vector<uint32_t> dibBits;
    // The memory DC the bitmap is selected into; a bitmap is in at most one DC at a time.
    DeviceContext* selectedInto = nullptr;
};

class FontObject : public GdiObject {
  public:
    explicit FontObject(const LOGFONTW& logFont) : GdiObject(OBJ_FONT), m_logFont(logFont) {}
    // A stock font whose height follows the screen's resolution: -(dpi x points / 72 + 0.5).
    FontObject(const LOGFONTW& logFont, int points)
        : GdiObject(OBJ_FONT), m_logFont(logFont), m_points(points) {}
    LOGFONTW logFont() const;
    // The sized face that draws this font at the current screen resolution, resolved on first use;
    // null when no face is available. Call with the font lock held.
    FontInstance* instance();

  private:
    LOGFONTW m_logFont;
    int m_points = 0;
    std::shared_ptr<FontInstance> m_instance;
    int m_instanceDpi = 0;
};

class RegionObject : public GdiObject {
  public:
    explicit RegionObject(const Region& region) : GdiObject(OBJ_REGION), region(region) {}
    Region region;
};

// Registers the object; its address is its handle.
HGDIOBJ registerObject(std::shared_ptr<GdiObject> object);
// The live object behind the handle (stock objects included), or null with ERROR_INVALID_HANDLE.
std::shared_ptr<GdiObject> objectOf(HGDIOBJ handle);
template <class T>
std::shared_ptr<T> objectAs(HGDIOBJ handle) {
    return std::dynamic_pointer_cast<T>(objectOf(handle));
}
// Removes the handle; the object lives on while a DC still holds it. False for stock or unknown ones.
bool unregisterObject(HGDIOBJ handle);

std::shared_ptr<GdiObject> stockObject(int index);
// The 1x1 monochrome bitmap every memory DC starts with.
std::shared_ptr<BitmapObject> defaultBitmap();
// A bitmap of width x height (black), monochrome or colour; null when out of memory or for a
// non-positive size.
std::shared_ptr<BitmapObject> makeBitmap(int width, int height, bool monochrome);

}  // namespace platform::gdi
