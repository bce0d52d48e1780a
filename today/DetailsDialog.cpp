// The details window.
#include "DetailsDialog.h"

#include "Launcher.h"
#include "ResourceText.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace today {

namespace {

template <typename Loaded, typename Id>
void addSection(DetailEntries& entries, SectionKind kind, const std::vector<Loaded>& loaded, Id id) {
    const auto index = static_cast<size_t>(kind);
    for (const Loaded& item : loaded) {
        entries.sections[index].push_back(ListEntry{item.markup, {}});
        entries.ids[index].push_back(id(item));
    }
}

}  // namespace

DetailEntries detailEntries(const TodayData& data) {
    DetailEntries entries;
    addSection(entries, SectionKind::Account, data.accounts(), [](const LoadedAccount& a) { return a.id; });
    addSection(entries, SectionKind::Group, data.groups(), [](const LoadedGroup& g) { return g.id; });
    addSection(entries, SectionKind::Budget, data.budgets(), [](const LoadedBudget& b) { return b.id; });
    auto& budgets = entries.sections[static_cast<size_t>(SectionKind::Budget)];
    for (size_t i = 0; i < budgets.size(); ++i)
        budgets[i].alert = data.budgets()[i].alert;
    addSection(entries, SectionKind::Scheduled, data.scheduled(),
               [](const LoadedScheduled& s) { return s.schedule; });
    return entries;
}

DetailsDialog::DetailsDialog(DetailEntries entries)
    : m_entries(std::move(entries)), m_title(dove::resourceString(kStringTitle)), m_list(m_entries.sections) {
    setTemplate(kDialogDetails);
}

DetailsDialog::~DetailsDialog() = default;

INT_PTR DetailsDialog::run(HWND parent) {
    return runModal(parent);
}

DetailsDialog* DetailsDialog::fromWindow(HWND window) {
    // Only the details window has the list among its children.
    bool hasList = false;
    for (HWND child = window != nullptr ? GetWindow(window, GW_CHILD) : nullptr; child != nullptr && !hasList;
         child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR name[16] = {};
        GetWindowTextW(child, name, 16);
        hasList = std::u16string(name) == kGroupListName;
    }
    if (!hasList) return nullptr;
    return static_cast<DetailsDialog*>(
        reinterpret_cast<DialogObject*>(GetWindowLongPtrW(window, GWL_USERDATA)));
}

// Over the screen's work area, between the task bar and the menu bar.
void DetailsDialog::fitScreen() {
    SHINITDLGINFO info{};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = m_dialog;
    info.dwFlags = SHIDIF_SIZEDLGFULLSCREEN;
    SHInitDialog(&info);
}

void DetailsDialog::initialize() {
    fitScreen();
    createMenuBar(kMenuDetails);
    RECT client{};
    GetClientRect(m_dialog, &client);
    m_title.create(m_dialog, client.right);
    m_list.create(m_dialog, RECT{0, m_title.height(), client.right, client.bottom});
    SetFocus(m_list.window());
}

void DetailsDialog::layoutChildren() {
    RECT client{};
    GetClientRect(m_dialog, &client);
    if (m_title.window() != nullptr) MoveWindow(m_title.window(), 0, 0, client.right, m_title.height(), TRUE);
    if (m_list.window() != nullptr)
        MoveWindow(m_list.window(), 0, m_title.height(), client.right, client.bottom - m_title.height(),
                   TRUE);
}

void DetailsDialog::showEntry(WPARAM kind, LPARAM index) {
    if (kind >= static_cast<WPARAM>(kSectionCount)) return;
    const std::vector<int64_t>& ids = m_entries.ids[kind];
    if (index < 0 || static_cast<size_t>(index) >= ids.size()) return;
    showInBrimwell(static_cast<ShowKind>(kind), ids[static_cast<size_t>(index)]);
}

bool DetailsDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG:
            initialize();
            // The list has the focus already.
            result = FALSE;
            return true;
        case WM_SIZE:
            layoutChildren();
            return true;
        case WM_SETTINGCHANGE:
            fitScreen();
            return false;
        case kMsgShowEntry:
            showEntry(wParam, lParam);
            result = TRUE;
            return true;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kCommandTodaySetup:
                    startBrimwell(true);
                    EndDialog(dialog, IDOK);
                    return true;
                case kCommandClose:
                    EndDialog(dialog, IDOK);
                    return true;
                default:
                    return DialogObject::dialogProc(dialog, message, wParam, lParam, result);
            }
        default:
            return false;
    }
}

}  // namespace today
