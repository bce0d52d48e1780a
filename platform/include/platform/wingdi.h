// The device's drawing API: colours, rectangles, device contexts, bitmaps, brushes, pens, fonts,
// text output and layout, blits and clipping. Coordinates are logical pixels of the device context.
#pragma once

#include "platform/wintypes.h"

typedef INT* LPINT;
typedef DWORD COLORREF;
typedef DWORD* LPCOLORREF;
typedef void* HGDIOBJ;
typedef struct HDC__* HDC;
typedef struct HBITMAP__* HBITMAP;
typedef struct HFONT__* HFONT;
typedef struct HBRUSH__* HBRUSH;
typedef struct HPEN__* HPEN;
typedef struct HRGN__* HRGN;
typedef struct HPALETTE__* HPALETTE;

// Colours are 0x00BBGGRR.
#define RGB(r, g, b)                                                                               \
    (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(c) (static_cast<BYTE>(c))
#define GetGValue(c) (static_cast<BYTE>((static_cast<WORD>(c)) >> 8))
#define GetBValue(c) (static_cast<BYTE>((c) >> 16))
#define CLR_INVALID 0xFFFFFFFFu

struct POINT {
    LONG x;
    LONG y;
};
typedef POINT* LPPOINT;
typedef POINT* PPOINT;
struct SIZE {
    LONG cx;
    LONG cy;
};
typedef SIZE* LPSIZE;
// A rectangle whose right and bottom edges are exclusive.
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;
typedef RECT* PRECT;
typedef const RECT* LPCRECT;

// Rectangle helpers. Each returns FALSE for a NULL pointer. An empty rectangle has right <= left or
// bottom <= top; IntersectRect and UnionRect leave an empty result as (0, 0, 0, 0).
BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL CopyRect(LPRECT dest, const RECT* src);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
BOOL InflateRect(LPRECT rect, int dx, int dy);
// TRUE when the rectangles overlap (dest receives the overlap), else FALSE with dest emptied.
BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b);
// The smallest rectangle holding both; an empty operand is ignored. FALSE when both are empty.
BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b);
BOOL SubtractRect(LPRECT dest, const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL IsRectEmpty(const RECT* rect);
BOOL EqualRect(const RECT* a, const RECT* b);

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// Object types (GetCurrentObject, GetObjectType).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Text alignment of ExtTextOutW.
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// DrawTextW formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_END_ELLIPSIS 0x00008000

// Raster operations.
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// Binary raster operations of pens (SetROP2).
#define R2_BLACK 1
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_COPYPEN 13
#define R2_WHITE 16

// Pen styles.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_NULL 5

// Font weights, character sets and other LOGFONT values.
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define RUSSIAN_CHARSET 204
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0
#define LF_FACESIZE 32

// GetDeviceCaps indexes.
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// Clip and region results, region combinations.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// Bitmap formats.
#define BI_RGB 0
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0

// System colours.
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_STATIC 25
#define COLOR_STATICTEXT 26
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT

// LoadImageW.
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_DEFAULTSIZE 0x0040
#define LR_LOADFROMFILE 0x0010
#define LR_CREATEDIBSECTION 0x2000

struct LOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTW LOGFONT;
typedef LOGFONTW* LPLOGFONTW;

struct TEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef TEXTMETRICW TEXTMETRIC;
typedef TEXTMETRICW* LPTEXTMETRICW;

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    LONG lbHatch;
};
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
typedef BITMAP* LPBITMAP;

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;  // positive: bottom-up rows; negative: top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;

// ---- Device contexts ------------------------------------------------------------------------------

// A memory device context compatible with the given one (NULL: the screen). It starts with a 1x1
// monochrome bitmap selected, the white brush, the black pen, the system font, black text on a white
// opaque background. NULL when out of memory.
HDC CreateCompatibleDC(HDC hdc);
// Destroys a memory or surface device context; selected objects are released (not deleted).
BOOL DeleteDC(HDC hdc);
// Selects a bitmap, brush, pen, font or region into the DC; returns the previously selected object of
// that kind (for a region: the clip result, as SelectClipRgn). NULL for an invalid handle, a bitmap
// selected into another DC, or a bitmap in a DC that is not a memory DC.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC hdc, UINT objectType);
// Saves the DC's selected objects, colours, modes, position and clip; returns the save level (>0)
// or 0 on failure. RestoreDC(hdc, -1) restores the last save; a positive level restores that one and
// discards later saves.
int SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, int savedLevel);
int GetDeviceCaps(HDC hdc, int index);

COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT align);
UINT GetTextAlign(HDC hdc);
int SetROP2(HDC hdc, int mode);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin);

// ---- Objects ----------------------------------------------------------------------------------------

HGDIOBJ GetStockObject(int index);
// Deletes a brush, pen, font, bitmap or region. Stock objects are left alone (TRUE). An object still
// selected into a DC stays usable there until it is deselected; its handle is invalid at once.
BOOL DeleteObject(HGDIOBJ object);
// Copies the object's description (BITMAP, LOGFONTW, LOGBRUSH, LOGPEN) into buffer; returns the
// number of bytes written, or the size needed when buffer is NULL; 0 for an invalid handle.
int GetObjectW(HGDIOBJ object, int bufferSize, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// ---- Bitmaps ----------------------------------------------------------------------------------------

// A colour bitmap of the DC's format (monochrome when the DC holds a monochrome bitmap), cleared to
// black. NULL for a non-positive size or when out of memory.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// A bitmap with 1 (monochrome) or 16/24/32 bits per pixel, initialised from bits when given
// (rows of the given depth, each padded to 16 bits, top row first).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// A 32-bit DIB section whose pixels the caller reaches through *bits (B, G, R, unused bytes;
// bottom-up unless biHeight is negative). Other depths fail with ERROR_INVALID_PARAMETER.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
// Loads an RT_BITMAP resource (a DIB: BITMAPINFOHEADER, colour table, rows) of the module.
HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name);
HANDLE LoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int width, int height, UINT flags);

// ---- Fonts and text ---------------------------------------------------------------------------------

// A font from its description. Height < 0: character (em) height in pixels; > 0: cell height
// (ascent + descent); 0: the system font's height. Weight >= 600 selects a bold face (emboldened
// when the family has none). The face is found by name through the platform's font configuration.
HFONT CreateFontIndirectW(const LOGFONTW* font);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName);
BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics);
int GetTextFaceW(HDC hdc, int count, LPWSTR faceName);
// Width and height (the font's cell height) of count characters in the DC's font.
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size);
// As GetTextExtentPoint32W; fit receives how many characters fit in maxExtent (when fit is given),
// partial the cumulative width after each character (when given).
BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT partial,
                           LPSIZE size);
// Draws count characters at (x, y) as the text alignment says; ETO_OPAQUE fills rect with the
// background colour first, ETO_CLIPPED clips the text to rect; dx (optional) gives each advance.
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx);
// Formats text in rect (count -1: NUL-terminated). Returns the height of the text drawn (with
// DT_VCENTER or DT_BOTTOM: the offset from rect->top to the bottom of the text), 0 on failure.
// DT_CALCRECT draws nothing and sets rect's right and bottom to the text's extent.
int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format);

// ---- Drawing ----------------------------------------------------------------------------------------

// Fills the rectangle (right and bottom exclusive) with the brush; no pen. A brush handle may also be
// a system colour index + 1, as on the device.
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
BOOL Polygon(HDC hdc, const POINT* points, int count);
BOOL Polyline(HDC hdc, const POINT* points, int count);
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous);
// Draws from the current position to (x, y) without its last pixel; (x, y) becomes the position.
BOOL LineTo(HDC hdc, int x, int y);
// Inverts (XOR) a dotted frame: calling it twice restores the pixels.
BOOL DrawFocusRect(HDC hdc, const RECT* rect);
// Sets a pixel; returns the colour set, or CLR_INVALID outside the clip or surface.
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);
BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
// Copies with nearest-neighbour scaling; negative sizes mirror.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int widthSrc,
                int heightSrc, DWORD rop);
// Copies (stretching) every source pixel except those of the transparent colour. The source is a DC
// or a bitmap handle.
BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE src, int xSrc, int ySrc,
                      int widthSrc, int heightSrc, COLORREF transparent);

// ---- Clipping and regions ---------------------------------------------------------------------------

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
// The bounding box of the clip region in logical coordinates; returns its kind or ERROR.
int GetClipBox(HDC hdc, LPRECT rect);
// Clips to the region (logical coordinates at selection time; a copy is taken); NULL removes the
// clipping set by the program.
int SelectClipRgn(HDC hdc, HRGN region);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
int GetRgnBox(HRGN region, LPRECT rect);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);

#define GetObject GetObjectW
#define CreateFontIndirect CreateFontIndirectW
#define CreateFont CreateFontW
#define GetTextMetrics GetTextMetricsW
#define GetTextFace GetTextFaceW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define GetTextExtentExPoint GetTextExtentExPointW
#define ExtTextOut ExtTextOutW
#define DrawText DrawTextW
#define LoadBitmap LoadBitmapW
#define LoadImage LoadImageW
