// The create dialog tests' steps and store readers.
#include "CreateDialogFixture.h"

#include "CreateItemDialog.h"
#include "ShellCommands.h"
#include "platform/windlg.h"

namespace shelltest {

DialogSteps::DialogSteps(std::vector<DialogStep> steps) : m_steps(std::move(steps)) {
    platform::setModalIdleHook([this](HWND modal) {
        if (m_next < m_steps.size()) {
            m_steps[m_next++](modal);
            // A step that posted nothing must not leave the loop waiting for input.
            if (IsWindow(modal)) PostMessageW(modal, WM_NULL, 0, 0);
            return;
        }
        ADD_FAILURE() << "the dialog waits with no step left";
        PostMessageW(modal, WM_COMMAND, IDCANCEL, 0);
    });
}

DialogSteps::~DialogSteps() {
    platform::setModalIdleHook({});
}

DialogStep typeText(const std::u16string& text) {
    return [text](HWND) {
        for (char16_t ch : text)
            SendMessageW(GetFocus(), WM_CHAR, ch, 0);
    };
}

DialogStep typeInto(int id, const std::u16string& text) {
    return [id, text](HWND dialog) {
        HWND field = GetDlgItem(dialog, id);
        ASSERT_NE(field, nullptr) << id;
        SetFocus(field);
        SendMessageW(field, EM_SETSEL, 0, -1);
        for (char16_t ch : text)
            SendMessageW(field, WM_CHAR, ch, 0);
    };
}

DialogStep tapControl(int id) {
    return [id](HWND dialog) {
        HWND control = GetDlgItem(dialog, id);
        ASSERT_NE(control, nullptr) << id;
        RECT rect{};
        GetWindowRect(control, &rect);
        platform::testing::tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    };
}

DialogStep expectRefused(int id, const std::string& context) {
    return [id, context](HWND dialog) {
        HWND field = GetDlgItem(dialog, id);
        EXPECT_EQ(GetFocus(), field) << context;
        DWORD start = 0, end = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << context;
        EXPECT_EQ(static_cast<int>(end), GetWindowTextLengthW(field)) << context;
    };
}

DialogStep expectTitle(const std::u16string& title) {
    return [title](HWND dialog) { EXPECT_TRUE(controlText(dialog, shell::kIdTitle) == title); };
}

std::u16string controlText(HWND dialog, int id) {
    WCHAR text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

void CreateDialogTest::SetUp() {
    ListTest::SetUp();
    seedLists();
}

void CreateDialogTest::TearDown() {
    platform::setModalIdleHook({});
    ListTest::TearDown();
}

bool CreateDialogTest::create(std::vector<DialogStep> steps) {
    DialogSteps driver(std::move(steps));
    tapStripButton(shell::kStripConfirmOrCreate, 1);
    return driver.finished();
}

int32_t CreateDialogTest::currentId(shell::ListKind kind) {
    const ListItem* item = list(kind).control().view().selectedItem();
    return item != nullptr ? static_cast<int32_t>(item->id) : 0;
}

int CreateDialogTest::recordsNamed(dove::Table table, const std::u16string& name) {
    dove::TableCursor& cursor = dove::tableCursor(table);
    int count = 0;
    for (int i = 0, n = cursor.recordCount(); i < n && cursor.moveTo(i); ++i)
        if (cursor.getString(110) == name) ++count;
    return count;
}

int CreateDialogTest::recordCount(dove::Table table) {
    return dove::tableCursor(table).recordCount();
}

int32_t CreateDialogTest::projectParent(int32_t number) {
    dove::TableCursor& projects = dove::tableCursor(dove::Table::Projects);
    dove::SortScope sorted(projects, 201, dove::SortKind::I4);
    return projects.seekFirstEqual(number) ? projects.getI4(203) : -1;
}

}  // namespace shelltest
