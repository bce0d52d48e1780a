// Image lists of the device's common controls: strips of equal-sized images drawn with or without a
// mask (transparent colour).
#pragma once

#include "platform/wingdi.h"

typedef struct IMAGELIST__* HIMAGELIST;

#define CLR_NONE 0xFFFFFFFFu
#define CLR_DEFAULT 0xFF000000u

#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLORDDB 0x00FE
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

#define ILD_NORMAL 0x0000
#define ILD_TRANSPARENT 0x0001
#define ILD_MASK 0x0010

// An empty list of cx x cy images; flags may ask for a mask (ILC_MASK). NULL for a non-positive size.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Appends the images of a strip bitmap (its width / cx images); a mask bitmap (white = transparent)
// is used when the list has a mask. Returns the index of the first new image, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add, the pixels of colour mask becoming transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
// Loads a strip bitmap resource of images cx wide; mask is the transparent colour, or CLR_NONE for
// no mask. Only IMAGE_BITMAP is supported. NULL when the resource is missing or not a bitmap.
HIMAGELIST ImageList_LoadImageW(HINSTANCE module, LPCWSTR name, int cx, int grow, COLORREF mask, UINT type,
                                UINT flags);
// Draws image i at (x, y): the masked pixels are left untouched, or filled with the list's
// background colour when one is set and the style is ILD_NORMAL.
BOOL ImageList_Draw(HIMAGELIST list, int i, HDC hdc, int x, int y, UINT style);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);

#define ImageList_LoadImage ImageList_LoadImageW
#define ImageList_LoadBitmap(module, name, cx, grow, mask) \
    ImageList_LoadImageW(module, name, cx, grow, mask, IMAGE_BITMAP, 0)
