// Month, year and day texts through GetDateFormatW.
#include "DateCaptions.h"

#include "platform/windows.h"

namespace dove {

std::u16string datePictureText(Date date, const char16_t* picture) {
    const SYSTEMTIME fields = dateFields(date);
    WCHAR buffer[80] = {};
    const int written = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &fields, picture, buffer, 80);
    if (written <= 1) return {};
    return std::u16string(buffer, static_cast<size_t>(written - 1));
}

std::u16string monthNameText(Date date) {
    return datePictureText(date, u"MMMM");
}

std::u16string yearText(Date date) {
    return datePictureText(date, u"yyyy");
}

std::u16string dayText(Date date) {
    return datePictureText(date, u"dd");
}

}  // namespace dove
