// The currencies: an in-memory copy of the Currencies table, the default currency from the option key,
// the built-in catalogue of world currencies (string resources) that supplies symbols and names for codes
// the table lacks, exchange rates from the Currency History table, and the currency text of an amount.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Amount.h"
#include "DateTime.h"

namespace dove {

struct CurrencyEntry {
    uint32_t id = 0;           // 302
    std::u16string code;       // 301
    std::u16string recordKey;  // 135
    std::u16string name;       // 304
    std::u16string symbol;     // 303
    uint32_t hidden = 0;       // 305
    int32_t decimals = 2;      // 306 minus 1; a stored 0 means 2
};

// Catalogue string ids: code 20000 + i, symbol 21000 + i, English name 22000 + i.
inline constexpr unsigned kCatalogueCodeBase = 20000;
inline constexpr unsigned kCatalogueSymbolBase = 21000;
inline constexpr unsigned kCatalogueNameBase = 22000;
inline constexpr int kCatalogueSize = 177;

class CurrencyCache {
  public:
    // Does nothing when entries are held; otherwise reads every Currencies record in the table's current
    // order (stopping at the first that cannot be reached), then the default currency.
    void load();
    // Drops the entries; the default code stays.
    void free();
    void reload() { free(), load(); }
    bool loaded() const { return !m_entries.empty(); }
    uint32_t loadCounter() const { return m_loadCounter; }
    const std::vector<CurrencyEntry>& entries() const { return m_entries; }

    // Re-reads "Default Currency" (at most 3 characters); a missing value keeps the previous code.
    void readDefaultCurrency();
    const std::u16string& defaultCode() const { return m_defaultCode; }
    std::u16string defaultSymbol() const { return symbolOf(m_defaultCode); }

    // Linear lookups, exact and case-sensitive; the "not found" results are -1, 0 or empty.
    int indexOfCode(const std::u16string& code) const;
    int indexOfId(uint32_t id) const;
    uint32_t idOfCode(const std::u16string& code) const;
    std::u16string codeOfId(uint32_t id) const;
    std::u16string codeAt(int index) const;
    std::u16string symbolOfId(uint32_t id) const;
    std::u16string nameOfId(uint32_t id) const;
    std::u16string codeOfIdentifier(const std::u16string& recordKey) const;
    std::u16string identifierOfCode(const std::u16string& code) const;
    int32_t decimalsOf(const std::u16string& code) const;  // 2 when unknown
    // The entry's symbol or name, else the catalogue's, else empty.
    std::u16string symbolOf(const std::u16string& code) const;
    std::u16string nameOf(const std::u16string& code) const;
    int shownCount() const;
    // Clears the hidden flag of the first Currencies record with the code and of its cache entry.
    bool showCurrency(const std::u16string& code);

    // The rate that converts an amount in currency from into currency to on the date (1.0 for equal codes
    // or when no rate is known). secondNumber, when given, receives property 602 of the record used
    // (0 on an exact date match, 1.0 when no record of the pair exists).
    double getRate(const std::u16string& from, const std::u16string& to, Date date,
                   double* secondNumber = nullptr) const;
    double getRateOfIds(uint32_t fromId, uint32_t toId, Date date) const;

  private:
    std::vector<CurrencyEntry> m_entries;
    uint32_t m_loadCounter = 0;
    std::u16string m_defaultCode;
};

// The process-wide cache.
CurrencyCache& currencyCache();

// The catalogue row of a code (-1 when none), and its symbol and name (empty when none).
int catalogueIndexOf(const std::u16string& code);
std::u16string catalogueSymbol(const std::u16string& code);
std::u16string catalogueName(const std::u16string& code);

// The amount with its currency symbol in the regional currency patterns. An empty code means no symbol
// (and omitZeroHundredths is the caller's); a known code gives its symbol and omits the hundredths exactly
// when it has 0 decimals; an unknown code is its own symbol. negativeLook forces the negative pattern.
std::u16string currencyText(Amount amount, const std::u16string& code, bool omitZeroHundredths,
                            bool negativeLook);

}  // namespace dove
