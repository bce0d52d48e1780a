// ListItem: one row of a finger list: its text, a right-aligned second text in its own colour, its
// place in a tree of rows, and values the owner attaches. The list keeps a copy of each row.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windows.h"

struct ListItem {
    std::u16string text;
    // Drawn right-aligned in the row, in the small font and rightColor; may be empty.
    std::u16string rightText;
    COLORREF rightColor = RGB(0, 0, 0);
    // Index of the parent row in the same list, -1 for a top-level row. A row is indented by its
    // number of ancestors; an index outside the list counts as no parent.
    int32_t parent = -1;
    // What the row stands for (an account, a currency...); the list never interprets it.
    uint32_t id = 0;
    // Two more values the list carries along with the row without using them.
    uint32_t data = 0;
    uint32_t extra = 0;
};
