// Scanning a memo for placeholders and formatting each one.
#include "MemoExpansion.h"

#include <iterator>
#include <optional>

#include "CivilCalendar.h"
#include "DateCaptions.h"
#include "Frequencies.h"
#include "RegionalSettings.h"
#include "ResourceText.h"
#include "WeekNumbering.h"
#include "platform/windows.h"

namespace dove {
namespace {

enum class Field { Year, Month, Week, Day, Date };

struct FieldName {
    Field field;
    const char16_t* english;
    unsigned resourceId;
};

constexpr FieldName kFieldNames[] = {
    {Field::Year, u"year", 1170}, {Field::Month, u"month", 1171}, {Field::Week, u"week", 1172},
    {Field::Day, u"day", 1173},   {Field::Date, u"date", 1174},
};

// More digits than this cannot be a sensible offset; such a placeholder stays as written.
constexpr size_t kMaxOffsetDigits = 6;

struct Placeholder {
    Field field = Field::Year;
    int offset = 0;
    size_t end = 0;  // index after the closing "}"
};

bool sameWord(const std::u16string& text, size_t at, size_t length, const std::u16string& word) {
    return !word.empty() && word.size() == length && _wcsnicmp(text.c_str() + at, word.c_str(), length) == 0;
}

// The names in the current resources, read again when the resource module changes or had no names.
const std::u16string* resourceNames() {
    static HINSTANCE module = nullptr;
    static std::u16string names[std::size(kFieldNames)];
    if (module != resourceModule() || names[0].empty()) {
        module = resourceModule();
        for (size_t i = 0; i < std::size(kFieldNames); ++i)
            names[i] = resourceString(kFieldNames[i].resourceId);
    }
    return names;
}

std::optional<Field> fieldNamed(const std::u16string& text, size_t at, size_t length) {
    for (const FieldName& name : kFieldNames)
        if (sameWord(text, at, length, name.english)) return name.field;
    const std::u16string* names = resourceNames();
    for (size_t i = 0; i < std::size(kFieldNames); ++i)
        if (sameWord(text, at, length, names[i])) return kFieldNames[i].field;
    return std::nullopt;
}

size_t skipSpaces(const std::u16string& text, size_t at) {
    while (at < text.size() && text[at] == u' ')
        ++at;
    return at;
}

// The placeholder whose "{" stands at open; nullopt when the text there is not one.
std::optional<Placeholder> placeholderAt(const std::u16string& text, size_t open) {
    size_t at = skipSpaces(text, open + 1);
    const size_t nameStart = at;
    while (at < text.size() && text[at] != u' ' && text[at] != u'}' && text[at] != u'+' && text[at] != u'-')
        ++at;
    auto field = fieldNamed(text, nameStart, at - nameStart);
    if (!field) return std::nullopt;
    Placeholder p;
    p.field = *field;
    at = skipSpaces(text, at);
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        const bool negative = text[at] == u'-';
        const size_t digitsStart = ++at;
        while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
            p.offset = p.offset * 10 + (text[at++] - u'0');
        const size_t digits = at - digitsStart;
        if (digits == 0 || digits > kMaxOffsetDigits) return std::nullopt;
        if (negative) p.offset = -p.offset;
        at = skipSpaces(text, at);
    }
    if (at >= text.size() || text[at] != u'}') return std::nullopt;
    p.end = at + 1;
    return p;
}

Date shifted(Field field, Date date, int offset) {
    switch (field) {
        case Field::Year:
            return addPeriods(kAnnually, date, offset, 0);
        case Field::Month:
            return addPeriods(kMonthly, date, offset, 0);
        case Field::Week:
            return addPeriods(kWeekly, date, offset, 0);
        default:
            return addPeriods(kEveryDay, date, offset, 0);
    }
}

std::u16string fieldText(Field field, Date date) {
    switch (field) {
        case Field::Year:
            return yearText(date);
        case Field::Month:
            return monthNameText(date);
        case Field::Week: {
            const RegionalSettings& rs = regionalSettings();
            return platform::format(u"%d", weekOfYear(date, rs.firstDayOfWeek, rs.firstWeekOfYear));
        }
        case Field::Day:
            return dayText(date);
        default:
            return shortDateText(date);
    }
}

}  // namespace

std::u16string expandMemo(const std::u16string& text, Date date) {
    if (text.find(u'{') == std::u16string::npos) return text;
    std::u16string out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find(u'{', at);
        if (open == std::u16string::npos) break;
        out.append(text, at, open - at);
        auto placeholder = placeholderAt(text, open);
        const Date moved =
            placeholder ? shifted(placeholder->field, date, placeholder->offset) : calendar::kNoDate;
        const std::u16string replacement =
            moved != calendar::kNoDate ? fieldText(placeholder->field, moved) : u"";
        if (replacement.empty()) {
            out += u'{';
            at = open + 1;
            continue;
        }
        out += replacement;
        at = placeholder->end;
    }
    out.append(text, at, std::u16string::npos);
    return out;
}

}  // namespace dove
