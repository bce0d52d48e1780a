// Dumping a table through its cursor as JSON lines.
#include "TableDump.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <map>
#include <vector>

#include "FinanceStore.h"
#include "PropertyNames.h"
#include "platform/windows.h"

namespace financestore {
namespace {

struct ShortName {
    const char* name;
    dove::Table table;
};

constexpr ShortName kShortNames[] = {
    {"transactions", dove::Table::Transactions},
    {"accounts", dove::Table::Accounts},
    {"categories", dove::Table::Categories},
    {"projects", dove::Table::Projects},
    {"currencies", dove::Table::Currencies},
    {"planner", dove::Table::Planner},
    {"scheduled", dove::Table::Scheduled},
    {"currencyhistory", dove::Table::CurrencyHistory},
    {"budgets", dove::Table::Budgets},
    {"budgetlists", dove::Table::BudgetLists},
    {"deleteditems", dove::Table::DeletedItems},
    {"customize", dove::Table::Customize},
    {"plannerfolders", dove::Table::PlannerFolders},
    {"memorized", dove::Table::Memorized},
    {"memorizedsplits", dove::Table::MemorizedSplits},
};

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string valueJson(const dove::PropertyValue& value) {
    switch (value.type()) {
        case CEVT_I4:
            return std::to_string(value.i4Value());
        case CEVT_FILETIME:
            return std::to_string(static_cast<int64_t>(value.dateValue()));
        case CEVT_LPWSTR:
            return jsonString(value.text());
        default:
            return "null";  // a type the finance tables never use
    }
}

}  // namespace

std::optional<dove::Table> tableByName(const std::string& name) {
    const std::string wanted = lowered(name);
    for (const ShortName& entry : kShortNames)
        if (wanted == entry.name) return entry.table;
    for (const dove::TableInfo& info : dove::catalogue())
        if (wanted == lowered(platform::toUtf8(info.databaseName))) return info.table;
    return std::nullopt;
}

std::string jsonString(const std::u16string& text) {
    const std::string utf8 = platform::toUtf8(text);
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

int dumpTable(dove::Table table, DumpForm form, std::FILE* out) {
    dove::TableCursor& cursor = dove::tableCursor(table);
    const int count = cursor.recordCount();
    for (int i = 0; i < count; ++i) {
        if (!cursor.moveTo(i)) return -1;
        // Named properties in their table's order, then unknown ones by number.
        std::map<std::pair<int, dove::PropertyNumber>, std::string> fields;
        for (const dove::PropertyValue& value : cursor.values()) {
            const auto named = form == DumpForm::Named ? propertyName(table, value.number()) : std::nullopt;
            if (named)
                fields[{named->rank, value.number()}] =
                    "\"" + std::string(named->name) + "\":" + readableValue(value, named->kind);
            else
                fields[{INT_MAX, value.number()}] =
                    "\"" + std::to_string(value.number()) + "\":" + valueJson(value);
        }
        std::string line = "{";
        for (const auto& [number, field] : fields) {
            if (line.size() > 1) line += ",";
            line += field;
        }
        std::fprintf(out, "%s}\n", line.c_str());
    }
    return count;
}

}  // namespace financestore
