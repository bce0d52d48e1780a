// A device context: the surface it draws on, its origin and clip region, the selected objects and the
// drawing state (colours, modes, current position), with the registry of live DCs.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "GdiObjects.h"

namespace platform::gdi {

class DeviceContext {
  public:
    enum class Kind { Memory, Surface };

    // The state that SaveDC keeps and RestoreDC brings back.
    struct State {
        std::shared_ptr<BitmapObject> bitmap;
        std::shared_ptr<BrushObject> brush;
        std::shared_ptr<PenObject> pen;
        std::shared_ptr<FontObject> font;
        COLORREF textColor = RGB(0, 0, 0);
        COLORREF bkColor = RGB(255, 255, 255);
        int bkMode = OPAQUE;
        UINT textAlign = TA_LEFT | TA_TOP;
        int rop2 = R2_COPYPEN;
        POINT position{0, 0};
        POINT viewport{0, 0};
        std::optional<Region> appClip;  // the program's clipping, surface coordinates
    };

    // A memory DC holding the default 1x1 monochrome bitmap.
    DeviceContext();
    // A DC on a surface at the given origin, visible only in the given region.
    DeviceContext(std::shared_ptr<Surface> surface, POINT origin, const Region& visible);
    ~DeviceContext();

    Kind kind() const { return m_kind; }
    Surface& surface() { return *m_surface; }
    const std::shared_ptr<Surface>& surfacePtr() const { return m_surface; }
    // Where drawing may happen, in surface coordinates; always inside the surface.
    const Region& clip() const { return m_clip; }
    State& state() { return m_state; }

    // Device (window) origin on the surface; logical coordinates add the viewport origin to it.
    POINT origin() const { return m_origin; }
    // Logical -> surface coordinates.
    int offsetX() const { return m_origin.x + m_state.viewport.x; }
    int offsetY() const { return m_origin.y + m_state.viewport.y; }
    RECT toSurface(const RECT& r) const;

    // The surface pixel for a colour (black or white on a monochrome surface).
    uint32_t pixelOf(COLORREF color) const;

    // Selects a bitmap into a memory DC; false when it is selected elsewhere or this is a surface DC.
    bool selectBitmap(const std::shared_ptr<BitmapObject>& bitmap);
    void setArea(POINT origin, const Region& visible);
    void setAppClip(std::optional<Region> clip);
    const std::optional<Region>& appClip() const { return m_state.appClip; }
    // The program's clip or, when it has none, the visible region.
    Region currentClipOrVisible() const { return m_state.appClip ? *m_state.appClip : m_visible; }

    int save();
    bool restore(int level);

  private:
    void updateClip();

    Kind m_kind;
    std::shared_ptr<Surface> m_surface;
    POINT m_origin{0, 0};
    Region m_visible;
    Region m_clip;
    State m_state;
    std::vector<State> m_saved;
};

// The live DC behind the handle, or null with ERROR_INVALID_HANDLE.
DeviceContext* dcOf(HDC hdc);
// True when the handle is a live DC (no error is set otherwise).
bool isDc(HANDLE handle);

}  // namespace platform::gdi
