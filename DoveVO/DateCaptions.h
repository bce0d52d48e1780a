// Dates as words in the user's locale: the full month name ("MMMM"), the four-digit year ("yyyy") and
// the two-digit day ("dd"), through the platform's date formatting, for list headers and memo texts.
#pragma once

#include <string>

#include "DateTime.h"

namespace dove {

// The date formatted with a picture of the platform's date formatting in the user's locale; empty
// when the date cannot be formatted (a year the platform does not cover).
std::u16string datePictureText(Date date, const char16_t* picture);

// "March" (or the locale's own name, "март" in a Russian locale).
std::u16string monthNameText(Date date);
// "2010".
std::u16string yearText(Date date);
// "05".
std::u16string dayText(Date date);

}  // namespace dove
