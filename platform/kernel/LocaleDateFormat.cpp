// GetDateFormatW and GetTimeFormatW: the platform's date and time pictures (dd, MMMM, yyyy, HH, tt,
// 'quoted text') filled from a SYSTEMTIME with the names and markers of the chosen locale.
#include <string>
#include <vector>

#include "LocaleInfo.h"
#include "LocaleUser.h"
#include "platform/clock.h"
#include "platform/handles.h"
#include "platform/text.h"
#include "platform/winerror.h"
#include "platform/winnls.h"

namespace platform::locale {
namespace {

// One piece of a picture: literal text, or a run of one field letter ("dd" is letter d, count 2).
struct PictureToken {
    char16_t letter = 0;  // 0 for literal text
    int count = 0;
    std::u16string literal;
};

bool isFieldLetter(char16_t ch, const char16_t* letters) {
    return ch != 0 && wcschr(letters, ch) != nullptr;
}

// Splits a picture into tokens; letters outside `letters` and quoted text become literals. An unclosed
// quote runs to the end; "''" inside or outside quotes is one apostrophe.
std::vector<PictureToken> tokenize(const char16_t* picture, const char16_t* letters) {
    std::vector<PictureToken> tokens;
    auto addLiteral = [&tokens](char16_t ch) {
        if (tokens.empty() || tokens.back().letter != 0) tokens.push_back({});
        tokens.back().literal += ch;
    };
    for (const char16_t* p = picture; *p != 0;) {
        if (*p == u'\'') {
            ++p;
            for (; *p != 0; ++p) {
                if (*p == u'\'' && p[1] == u'\'')
                    addLiteral(u'\''), ++p;
                else if (*p == u'\'')
                    break;
                else
                    addLiteral(*p);
            }
            if (*p == u'\'') ++p;
        } else if (isFieldLetter(*p, letters)) {
            PictureToken token{*p, 0, {}};
            while (*p == token.letter)
                ++p, ++token.count;
            tokens.push_back(token);
        } else {
            addLiteral(*p++);
        }
    }
    return tokens;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool isValidDate(const SYSTEMTIME& date) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.wYear < 1601 || date.wYear > 30827 || date.wMonth < 1 || date.wMonth > 12 || date.wDay < 1)
        return false;
    int days = kDays[date.wMonth - 1] + (date.wMonth == 2 && isLeapYear(date.wYear) ? 1 : 0);
    return date.wDay <= days;
}

// 0 Sunday ... 6 Saturday, from the date itself (the caller's day of week is not trusted).
int dayOfWeek(int year, int month, int day) {
    static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

std::u16string dayName(locale_t locale, int sunday0, bool abbreviated) {
    int monday0 = (sunday0 + 6) % 7;
    std::u16string text;
    localeItem(locale, (abbreviated ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1) + monday0, text);
    return text;
}

std::u16string dateField(locale_t locale, const PictureToken& token, const SYSTEMTIME& date, bool genitive) {
    int count = token.count > 4 ? 4 : token.count;
    switch (token.letter) {
        case u'd':
            if (count <= 2) return platform::format(count == 1 ? u"%d" : u"%02d", date.wDay);
            return dayName(locale, dayOfWeek(date.wYear, date.wMonth, date.wDay), count == 3);
        case u'M':
            if (count <= 2) return platform::format(count == 1 ? u"%d" : u"%02d", date.wMonth);
            return monthName(locale, date.wMonth, count == 3, genitive);
        case u'y':
            if (count <= 2) return platform::format(count == 1 ? u"%d" : u"%02d", date.wYear % 100);
            return platform::format(u"%d", date.wYear);
        default:
            return {};
    }
}

std::u16string formatDate(locale_t locale, const SYSTEMTIME& date, const char16_t* picture) {
    std::vector<PictureToken> tokens = tokenize(picture, u"dMy");
    bool genitive = false;
    for (const PictureToken& token : tokens)
        genitive = genitive || (token.letter == u'd' && token.count <= 2);
    std::u16string out;
    for (const PictureToken& token : tokens) {
        out += token.letter == 0 ? token.literal : dateField(locale, token, date, genitive);
    }
    return out;
}

bool dropsField(char16_t letter, DWORD flags) {
    if ((flags & TIME_NOMINUTESORSECONDS) && (letter == u'm' || letter == u's')) return true;
    if ((flags & TIME_NOSECONDS) && letter == u's') return true;
    return (flags & TIME_NOTIMEMARKER) && letter == u't';
}

std::u16string timeField(locale_t locale, const PictureToken& token, const SYSTEMTIME& time, DWORD flags) {
    bool twoDigits = token.count >= 2;
    char16_t letter = token.letter == u'h' && (flags & TIME_FORCE24HOURFORMAT) ? u'H' : token.letter;
    int hour12 = time.wHour % 12 == 0 ? 12 : time.wHour % 12;
    switch (letter) {
        case u'h':
            return platform::format(twoDigits ? u"%02d" : u"%d", hour12);
        case u'H':
            return platform::format(twoDigits ? u"%02d" : u"%d", time.wHour);
        case u'm':
            return platform::format(twoDigits ? u"%02d" : u"%d", time.wMinute);
        case u's':
            return platform::format(twoDigits ? u"%02d" : u"%d", time.wSecond);
        case u't': {
            std::u16string marker;
            localeItem(locale, time.wHour < 12 ? LOCALE_S1159 : LOCALE_S2359, marker);
            return twoDigits ? marker : marker.substr(0, 1);
        }
        default:
            return {};
    }
}

std::u16string formatTime(locale_t locale, const SYSTEMTIME& time, const char16_t* picture, DWORD flags) {
    std::vector<PictureToken> tokens = tokenize(picture, u"hHmst");
    std::u16string out;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const PictureToken& token = tokens[i];
        if (token.letter == 0) {
            // The separator before a dropped field goes with it.
            bool nextDropped = i + 1 < tokens.size() && dropsField(tokens[i + 1].letter, flags);
            if (!nextDropped || i == 0) out += token.literal;
        } else if (!dropsField(token.letter, flags)) {
            out += timeField(locale, token, time, flags);
        }
    }
    return out;
}

int failWith(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace
}  // namespace platform::locale

int GetDateFormatW(LCID lcid, DWORD flags, const SYSTEMTIME* date, LPCWSTR picture, LPWSTR buffer, int size) {
    using namespace platform::locale;
    locale_t locale = localeForLcid(lcid);
    if (locale == nullptr) return failWith(ERROR_INVALID_PARAMETER);
    DWORD known = DATE_SHORTDATE | DATE_LONGDATE | LOCALE_NOUSEROVERRIDE;
    if ((flags & ~known) != 0 || (picture != nullptr && (flags & (DATE_SHORTDATE | DATE_LONGDATE)) != 0) ||
        (flags & DATE_SHORTDATE && flags & DATE_LONGDATE)) {
        return failWith(ERROR_INVALID_FLAGS);
    }
    SYSTEMTIME when{};
    if (date != nullptr)
        when = *date;
    else
        GetLocalTime(&when);
    if (!isValidDate(when)) return failWith(ERROR_INVALID_PARAMETER);
    std::u16string localePicture;
    if (picture == nullptr) {
        localeItem(locale, (flags & DATE_LONGDATE) ? LOCALE_SLONGDATE : LOCALE_SSHORTDATE, localePicture);
        picture = localePicture.c_str();
    }
    return writeLocaleResult(formatDate(locale, when, picture), buffer, size);
}

int GetTimeFormatW(LCID lcid, DWORD flags, const SYSTEMTIME* time, LPCWSTR picture, LPWSTR buffer, int size) {
    using namespace platform::locale;
    locale_t locale = localeForLcid(lcid);
    if (locale == nullptr) return failWith(ERROR_INVALID_PARAMETER);
    DWORD known = TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT |
                  LOCALE_NOUSEROVERRIDE;
    if ((flags & ~known) != 0) return failWith(ERROR_INVALID_FLAGS);
    SYSTEMTIME when{};
    if (time != nullptr)
        when = *time;
    else
        GetLocalTime(&when);
    if (when.wHour > 23 || when.wMinute > 59 || when.wSecond > 59 || when.wMilliseconds > 999) {
        return failWith(ERROR_INVALID_PARAMETER);
    }
    std::u16string localePicture;
    if (picture == nullptr) {
        localeItem(locale, LOCALE_STIMEFORMAT, localePicture);
        picture = localePicture.c_str();
    }
    return writeLocaleResult(formatTime(locale, when, picture, flags), buffer, size);
}
