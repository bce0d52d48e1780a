// Dialog templates: the device's DLGTEMPLATE layout (header, menu, class, title, DS_SETFONT font,
// then DLGITEMTEMPLATE items on 4-byte boundaries) read into plain data, and the dialog base units.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windlg.h"

namespace platform::user {

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    WORD id = 0;
    std::u16string className;  // predefined atoms are turned into their names ("Button", ...)
    std::u16string text;
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::u16string className;            // empty: the dialog class
    std::u16string title;
    WORD pointSize = 0;  // with DS_SETFONT
    std::u16string face;
    // The template's menu (an ordinal, 0 for none or a named one) is read but not shown: dialogs of
    // the device take a menu bar from the shell instead.
    WORD menuId = 0;
    std::vector<DialogItem> items;
};

// Reads a template of size bytes. False (and out unspecified) when it is truncated, has an unknown
// class ordinal or is otherwise malformed.
bool parseDialogTemplate(const BYTE* bytes, size_t size, DialogTemplate* out);

// Average character width and height in pixels of the font (the dialog's base units).
SIZE fontBaseUnits(HFONT font);

}  // namespace platform::user
