// Category names, the hierarchy and creation.
#include "Categories.h"

#include "Accounts.h"
#include "DateTime.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "TextUtil.h"

namespace dove {
namespace {

constexpr PropertyNumber kNumber = 401;
constexpr PropertyNumber kParent = 203;
constexpr PropertyNumber kName = 110;
constexpr PropertyNumber kType = 430;
// A damaged table could make the parent chain loop; no real hierarchy is this deep.
constexpr int kMaxDepth = 64;

struct CategoryRow {
    bool found = false;
    int32_t parent = 0;
    int32_t type = 0;
    std::u16string name;
};

CategoryRow readCategory(int32_t number) {
    TableCursor& categories = tableCursor(Table::Categories);
    SortScope sorted(categories, kNumber, SortKind::I4);
    CategoryRow row;
    if (!categories.seekFirstEqual(number)) return row;
    row.found = true;
    row.parent = categories.getI4(kParent);
    row.type = categories.getI4(kType);
    row.name = categories.getString(kName);
    return row;
}

}  // namespace

int32_t findCategoryChild(int32_t parent, const std::u16string& name) {
    TableCursor& categories = tableCursor(Table::Categories);
    SortScope sorted(categories, kParent, SortKind::I4);
    if (!categories.seekFirstEqual(parent)) return 0;
    do {
        // A record that names itself as its parent is not its own child.
        const int32_t number = categories.getI4(kNumber);
        if (number != parent && categories.getString(kName) == name) return number;
    } while (categories.moveNext() && categories.getI4(kParent) == parent);
    return 0;
}

std::u16string categoryName(int32_t number) {
    if (number < 0) return accountExists(-number) ? u"[" + accountName(-number) + u"]" : std::u16string();
    if (number == 0) return {};
    return readCategory(number).name;
}

std::u16string categoryFullName(int32_t number) {
    if (number <= 0) return categoryName(number);
    CategoryRow current = readCategory(number);
    std::u16string full = current.name;
    int32_t self = number;
    for (int depth = 0; current.found && current.parent != self && depth < kMaxDepth; ++depth) {
        CategoryRow parent = readCategory(current.parent);
        if (!parent.found || parent.parent == 0) break;
        full = parent.name + u":" + full;
        self = current.parent;
        current = parent;
    }
    return full;
}

int32_t categoryParent(int32_t number) {
    CategoryRow row = readCategory(number);
    return row.found ? row.parent : -1;
}

int32_t categoryType(int32_t number) {
    return readCategory(number).type;
}

StoreStatus createCategory(int32_t parent, const std::u16string& name, int32_t type, int32_t* number) {
    TableCursor& categories = tableCursor(Table::Categories);
    SortScope sorted(categories, kNumber, SortKind::I4);
    int32_t& counter = numberCounters().category;
    const int count = categories.recordCount();
    if (counter == 0 && count > 0 && categories.moveTo(count - 1)) counter = categories.getI4(kNumber);
    if (parent > 1) type = categories.seekFirstEqual(parent) ? categories.getI4(kType) : category::kExpense;
    const std::u16string key = newRecordKeyText();
    const int32_t created = ++counter;
    if (categories.addRecord({PropertyValue::i4(kNumber, created), PropertyValue::i4(kParent, parent),
                              PropertyValue::i4(129, -1), PropertyValue::date(128, nowUtc()),
                              PropertyValue::i4(kType, type), PropertyValue::string(135, key),
                              PropertyValue::string(kName, trimmed(name))}) == 0)
        return categories.writeFailure();
    *number = created;
    return StoreStatus::Ok;
}

int32_t findCategoryByFullName(const std::u16string& fullName) {
    int32_t parent = category::kRoot;
    size_t start = 0;
    for (;;) {
        size_t colon = fullName.find(u':', start);
        std::u16string level =
            trimmed(fullName.substr(start, colon == std::u16string::npos ? colon : colon - start));
        parent = findCategoryChild(parent, level);
        if (parent == 0 || colon == std::u16string::npos) return parent;
        start = colon + 1;
    }
}

namespace {

StoreStatus createPathLevels(const std::u16string& fullName, int32_t type, int32_t* number) {
    *number = findCategoryByFullName(fullName);
    if (*number != 0) return StoreStatus::Ok;
    size_t colon = fullName.rfind(u':');
    if (colon == std::u16string::npos) return createCategory(category::kRoot, fullName, type, number);
    int32_t parent = 0;
    const StoreStatus status = createPathLevels(fullName.substr(0, colon), type, &parent);
    if (status != StoreStatus::Ok) return status;
    return createCategory(parent, fullName.substr(colon + 1), type, number);
}

}  // namespace

StoreStatus createCategoryPath(const std::u16string& fullName, int32_t type, int32_t* number) {
    return inStoreTransaction([&] { return createPathLevels(fullName, type, number); });
}

}  // namespace dove
