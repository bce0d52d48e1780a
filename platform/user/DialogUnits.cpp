// The dialog base units: the average character size of a dialog's font, which turns the dialog units
// of a template into pixels.
#include "DialogTemplate.h"

namespace platform::user {

SIZE fontBaseUnits(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    static const char16_t kAlphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{};
    GetTextExtentPoint32W(dc, kAlphabet, 52, &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SIZE units{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
    if (units.cx <= 0) units.cx = 1;
    if (units.cy <= 0) units.cy = 1;
    return units;
}

}  // namespace platform::user
