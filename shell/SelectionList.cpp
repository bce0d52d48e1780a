// The selection lists: loading, refiltering with the current entry kept, the caption, the keys that
// narrow the list, and taking the chosen entry into the draft.
#include "SelectionList.h"

#include <unordered_map>

#include "ControlMessages.h"
#include "Str.h"
#include "platform/text.h"

namespace shell {
namespace {

struct KindInfo {
    UINT title;  // string id
    Strip strip;
    int32_t (EntryDraft::*current)() const;
    void (EntryDraft::*take)(int32_t);
};
constexpr KindInfo kKinds[] = {
    {5, kStripConfirm, &EntryDraft::account, &EntryDraft::setAccount},
    {6, kStripConfirmOrCreate, &EntryDraft::category, &EntryDraft::setCategory},
    {7, kStripConfirmOrCreate, &EntryDraft::project, &EntryDraft::setProject},
    {2, kStripConfirmOrCreate, &EntryDraft::payee, &EntryDraft::setPayee},
};
constexpr UINT kIncomeTag = 23;
constexpr UINT kExpenseTag = 24;
constexpr UINT kTransferTag = 25;
constexpr WCHAR kBackspace = 8;
constexpr WCHAR kFormFeed = 12;

const KindInfo& info(ListKind kind) {
    return kKinds[static_cast<int>(kind)];
}

std::u16string loadText(HINSTANCE resources, UINT id) {
    Str text;
    text.load(id, resources);
    return std::u16string(text.c_str());
}

}  // namespace

SelectionList::SelectionList(ListKind kind, const AbcSettings& abc) : m_kind(kind), m_abc(abc) {}

bool SelectionList::create(HWND parent, HINSTANCE resources) {
    m_title = loadText(resources, info(m_kind).title);
    if (m_kind == ListKind::Categories)
        m_tags = {loadText(resources, kIncomeTag), loadText(resources, kExpenseTag),
                  loadText(resources, kTransferTag)};
    if (!m_list.create(parent, 0, 0)) return false;
    ShowWindow(m_list.window(), SW_HIDE);
    return true;
}

Strip SelectionList::strip() const {
    return info(m_kind).strip;
}

void SelectionList::loadRecords() {
    switch (m_kind) {
        case ListKind::Accounts:
            m_records = loadAccountRecords();
            break;
        case ListKind::Categories:
            m_records = loadCategoryRecords(m_tags);
            break;
        case ListKind::Projects:
            m_records = loadProjectRecords();
            break;
        case ListKind::Payees:
            m_records = loadPayeeRecords();
            break;
    }
    m_loaded = true;
    ++m_loads;
}

void SelectionList::refilter() {
    if (!m_loaded) loadRecords();
    const ListItem* current = m_list.view().selectedItem();
    if (current != nullptr && !m_filter.empty()) m_rememberedId = static_cast<int32_t>(current->id);
    std::vector<ListItem> items;
    // Rows of a tree are indented under their parent only while the parent is shown too.
    const bool tree = m_kind == ListKind::Categories || m_kind == ListKind::Projects;
    std::unordered_map<int32_t, int32_t> shownIndexOf;
    int remembered = -1;
    for (const ListRecord& record : m_records) {
        if (!m_filter.matches(record.lowered)) continue;
        int32_t index = static_cast<int32_t>(items.size());
        ListItem item;
        item.text = record.text;
        item.rightText = record.rightText;
        item.rightColor = record.rightColor;
        item.id = static_cast<uint32_t>(record.id);
        if (tree) {
            auto parent = shownIndexOf.find(record.parent);
            if (record.parent != 0 && parent != shownIndexOf.end()) item.parent = parent->second;
            shownIndexOf.emplace(record.id, index);
        }
        if (record.id == m_rememberedId && remembered < 0) remembered = index;
        items.push_back(std::move(item));
    }
    bool any = !items.empty();
    m_list.setItems(std::move(items));
    if (any) m_list.select(remembered >= 0 ? remembered : 0);
    updateCaption();
}

void SelectionList::updateCaption() {
    std::u16string caption = platform::format(u"%s (%d) ", m_title.c_str(), m_list.view().count());
    caption.append(static_cast<size_t>(m_filter.size()), u'*');
    m_list.setCaption(caption.c_str());
}

void SelectionList::selectId(int32_t id) {
    m_rememberedId = id;
    const std::vector<ListItem>& items = m_list.view().items();
    for (size_t i = 0; i < items.size(); ++i) {
        if (static_cast<int32_t>(items[i].id) != id) continue;
        m_list.select(static_cast<int>(i));
        return;
    }
    if (!items.empty()) m_list.select(0);
}

void SelectionList::setShown(bool shown) {
    HWND window = m_list.window();
    if (window == nullptr) return;
    if (shown) {
        m_filter.clear();
        refilter();
    }
    ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
}

void SelectionList::loadFrom(const EntryDraft& draft) {
    m_rememberedId = (draft.*info(m_kind).current)();
}

bool SelectionList::takeInto(EntryDraft& draft) {
    const ListItem* current = m_list.view().selectedItem();
    if (current == nullptr) return false;
    m_rememberedId = static_cast<int32_t>(current->id);
    (draft.*info(m_kind).take)(m_rememberedId);
    return true;
}

bool SelectionList::takesMoreLetters() const {
    int shown = m_list.view().count();
    return m_kind == ListKind::Accounts ? shown != 0 : shown != 1;
}

void SelectionList::append(std::u16string_view letters) {
    if (letters.empty() || !takesMoreLetters()) return;
    m_filter.append(letters);
    refilter();
}

void SelectionList::keypadKey(WPARAM code) {
    if (code <= 9) {
        append(m_abc.keyLetters(static_cast<int>(code)));
    } else if (code == kKeypadBackspace) {
        if (m_filter.removeLast()) refilter();
    } else if (code == kKeypadClear) {
        if (m_filter.clear()) refilter();
    }
}

void SelectionList::typedCharacter(WCHAR character) {
    if (character == kBackspace)
        keypadKey(kKeypadBackspace);
    else if (character == kFormFeed)
        keypadKey(kKeypadClear);
    else if (iswalpha(character))
        append(std::u16string_view(&character, 1));
}

void SelectionList::discardRecords() {
    m_records.clear();
    m_records.shrink_to_fit();
    m_loaded = false;
}

}  // namespace shell
