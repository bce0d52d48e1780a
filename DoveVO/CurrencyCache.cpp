// The currency cache, the default currency, the catalogue fallback and exchange rates.
#include "CurrencyCache.h"

#include <cmath>

#include "FinanceStore.h"
#include "Options.h"
#include "ResourceText.h"
#include "platform/windows.h"

namespace dove {
namespace {

constexpr PropertyNumber kCode = 301;
constexpr PropertyNumber kId = 302;
constexpr PropertyNumber kSymbol = 303;
constexpr PropertyNumber kName = 304;
constexpr PropertyNumber kHidden = 305;
constexpr PropertyNumber kDecimals = 306;
constexpr PropertyNumber kKey = 135;
constexpr PropertyNumber kRateKey = 601;
constexpr PropertyNumber kSecondNumber = 602;
constexpr PropertyNumber kRate = 1000;
constexpr unsigned kCatalogueCodeLimit = 20999;

CurrencyEntry readEntry(const TableCursor& cursor) {
    CurrencyEntry e;
    e.id = static_cast<uint32_t>(cursor.getI4(kId));
    e.code = cursor.getString(kCode);
    e.recordKey = cursor.getString(kKey);
    e.name = cursor.getString(kName);
    e.symbol = cursor.getString(kSymbol);
    e.hidden = static_cast<uint32_t>(cursor.getI4(kHidden));
    int32_t stored = cursor.getI4(kDecimals);
    e.decimals = stored == 0 ? 2 : stored - 1;
    return e;
}

bool startsWith(const char16_t* text, const std::u16string& prefix) {
    return std::u16string_view(text).substr(0, prefix.size()) == prefix;
}

}  // namespace

CurrencyCache& currencyCache() {
    static CurrencyCache cache;
    return cache;
}

int catalogueIndexOf(const std::u16string& code) {
    if (code.empty()) return -1;
    for (unsigned id = kCatalogueCodeBase; id <= kCatalogueCodeLimit; ++id) {
        if (resourceString(id) == code) return static_cast<int>(id - kCatalogueCodeBase);
    }
    return -1;
}

std::u16string catalogueSymbol(const std::u16string& code) {
    int i = catalogueIndexOf(code);
    return i < 0 ? std::u16string() : resourceString(kCatalogueSymbolBase + static_cast<unsigned>(i));
}

std::u16string catalogueName(const std::u16string& code) {
    int i = catalogueIndexOf(code);
    return i < 0 ? std::u16string() : resourceString(kCatalogueNameBase + static_cast<unsigned>(i));
}

void CurrencyCache::load() {
    if (!m_entries.empty()) return;
    ++m_loadCounter;
    TableCursor& currencies = tableCursor(Table::Currencies);
    const int count = currencies.recordCount();
    m_entries.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count && currencies.moveTo(i); ++i)
        m_entries.push_back(readEntry(currencies));
    readDefaultCurrency();
}

void CurrencyCache::free() {
    m_entries.clear();
    m_entries.shrink_to_fit();
}

void CurrencyCache::readDefaultCurrency() {
    std::optional<std::u16string> code = readOptionString(kOptionDefaultCurrency, true);
    if (code) m_defaultCode = code->substr(0, 3);
}

int CurrencyCache::indexOfCode(const std::u16string& code) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].code == code) return static_cast<int>(i);
    return -1;
}

int CurrencyCache::indexOfId(uint32_t id) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].id == id) return static_cast<int>(i);
    return -1;
}

uint32_t CurrencyCache::idOfCode(const std::u16string& code) const {
    int i = indexOfCode(code);
    return i < 0 ? 0 : m_entries[static_cast<size_t>(i)].id;
}

std::u16string CurrencyCache::codeOfId(uint32_t id) const {
    int i = indexOfId(id);
    return i < 0 ? std::u16string() : m_entries[static_cast<size_t>(i)].code;
}

std::u16string CurrencyCache::codeAt(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size()) return {};
    return m_entries[static_cast<size_t>(index)].code;
}

std::u16string CurrencyCache::symbolOfId(uint32_t id) const {
    int i = indexOfId(id);
    return i < 0 ? std::u16string() : m_entries[static_cast<size_t>(i)].symbol;
}

std::u16string CurrencyCache::nameOfId(uint32_t id) const {
    int i = indexOfId(id);
    return i < 0 ? std::u16string() : m_entries[static_cast<size_t>(i)].name;
}

std::u16string CurrencyCache::codeOfIdentifier(const std::u16string& recordKey) const {
    for (const CurrencyEntry& e : m_entries)
        if (e.recordKey == recordKey) return e.code;
    return {};
}

std::u16string CurrencyCache::identifierOfCode(const std::u16string& code) const {
    int i = indexOfCode(code);
    return i < 0 ? std::u16string() : m_entries[static_cast<size_t>(i)].recordKey;
}

int32_t CurrencyCache::decimalsOf(const std::u16string& code) const {
    int i = indexOfCode(code);
    return i < 0 ? 2 : m_entries[static_cast<size_t>(i)].decimals;
}

std::u16string CurrencyCache::symbolOf(const std::u16string& code) const {
    int i = indexOfCode(code);
    return i < 0 ? catalogueSymbol(code) : m_entries[static_cast<size_t>(i)].symbol;
}

std::u16string CurrencyCache::nameOf(const std::u16string& code) const {
    int i = indexOfCode(code);
    return i < 0 ? catalogueName(code) : m_entries[static_cast<size_t>(i)].name;
}

int CurrencyCache::shownCount() const {
    int shown = 0;
    for (const CurrencyEntry& e : m_entries)
        if (e.hidden == 0) ++shown;
    return shown;
}

bool CurrencyCache::showCurrency(const std::u16string& code) {
    int i = indexOfCode(code);
    if (i >= 0) m_entries[static_cast<size_t>(i)].hidden = 0;
    TableCursor& currencies = tableCursor(Table::Currencies);
    const int count = currencies.recordCount();
    for (int r = 0; r < count && currencies.moveTo(r); ++r) {
        if (currencies.getString(kCode) == code) return currencies.setI4(kHidden, 0, true);
    }
    return false;
}

double CurrencyCache::getRate(const std::u16string& from, const std::u16string& to, Date date,
                              double* secondNumber) const {
    if (secondNumber != nullptr) *secondNumber = 1.0;
    const int order = from.compare(to);
    if (order == 0) return 1.0;
    const bool direct = order > 0;
    const SYSTEMTIME t = dateFields(date);
    const std::u16string prefix = direct ? from + to : to + from;
    const std::u16string key = prefix + platform::format(u"%04d%02d%02d", t.wYear, t.wMonth, t.wDay);
    TableCursor& history = tableCursor(Table::CurrencyHistory);
    if (!history.ensureSort(kRateKey, SortKind::String) || history.recordCount() == 0) return 1.0;
    bool exact = history.seekFirstEqual(key);
    bool found = exact || (history.seekLastSmaller(key) && startsWith(history.getString(kRateKey), prefix)) ||
                 (history.seekFirstGreater(key) && startsWith(history.getString(kRateKey), prefix));
    if (!found) {
        const std::u16string& base = m_defaultCode;
        if (base.empty() || from == base || to == base) return 1.0;
        return getRate(from, base, date) * getRate(base, to, date);
    }
    const double rate = wcstod(history.getString(kRate), nullptr);
    if (secondNumber != nullptr)
        *secondNumber = exact ? 0.0 : wcstod(history.getString(kSecondNumber), nullptr);
    // A stored rate of zero, a negative one or text that is no number would turn every converted amount
    // into nonsense (or a division by zero); such a record converts one to one.
    if (!std::isfinite(rate) || rate <= 0) return 1.0;
    return direct ? rate : 1.0 / rate;
}

double CurrencyCache::getRateOfIds(uint32_t fromId, uint32_t toId, Date date) const {
    return getRate(codeOfId(fromId), codeOfId(toId), date);
}

}  // namespace dove
