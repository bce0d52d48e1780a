// Narrowing the lists of the built program by the keypad's letter keys, on every screen profile: the
// payee list narrowed with the English layout, a payee picked by its text, the category list opened and
// narrowed; then the Russian layout chosen on the settings page narrows Cyrillic payees (Ё included).
// The texts dumped show the captions with their counts and marks, the rows and the keys' labels;
// snapshots of each step are kept in <build>/snapshots/<profile>/.
#include <algorithm>

#include "DashelFixture.h"
#include "FinanceStore.h"
#include "Payees.h"
#include "platform/cedb.h"

namespace dashele2e {
namespace {

const ScreenProfile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};

const char* const kCyrillicPayees[] = {"Магнит", "Пятёрочка", "Перекрёсток", "Ёлки-палки", "Азбука вкуса"};

// The caption and the rows a list shows in a dump (its rows' right texts left out).
struct ListShown {
    std::string caption;
    std::vector<std::string> rows;
};

ListShown listIn(const std::vector<TextRun>& runs) {
    ListShown shown;
    for (const TextRun& run : runs) {
        if (run.window == "FingerList/FingerList" && run.rect.left < 30)
            shown.rows.push_back(run.text);
        else if (run.window.rfind("FingerList/", 0) == 0 && run.window != "FingerList/FingerList")
            shown.caption = run.text;
    }
    return shown;
}

std::string labelOf(const std::vector<TextRun>& runs, const std::string& key) {
    for (const TextRun& run : runs)
        if (run.window == "Keyboard/" + key) return run.text;
    return {};
}

class ListFilterTest : public DashelE2ETest, public ::testing::WithParamInterface<ScreenProfile> {
  protected:
    void addCyrillicPayees() {
        ASSERT_TRUE(dove::openFinanceStore());
        for (const char* name : kCyrillicPayees) {
            dove::Payee payee;
            payee.name = platform::fromUtf8(name);
            ASSERT_EQ(dove::createPayee(payee), dove::StoreStatus::Ok);
        }
        dove::closeFinanceStore();
        platform::cedbCloseStore();
    }
};

// What one run types and expects: on a square screen, where the keypad is hidden, letters are typed on
// the device's keys instead of the keypad's letter groups.
struct Typing {
    const char* payees[2];
    const char* payeeCaption;
    std::vector<std::string> payeeRows;
    const char* categories[2];
    const char* russian[2];
    const char* yo;
    const char* back;
};

const Typing kKeypadTyping{{"tap-window Keyboard/3", "tap-window Keyboard/7"},
                           "Получатель (3) **",
                           {"Air France", "Dr. Smith", "Fresh Market"},
                           {"tap-window Keyboard/4", "tap-window Keyboard/7"},
                           {"tap-window Keyboard/5", "tap-window Keyboard/3"},
                           "tap-window Keyboard/3",
                           "tap-window Keyboard/Backspace"};
const Typing kDeviceTyping{{"char f", "char R"}, "Получатель (2) **",  {"Air France", "Fresh Market"},
                           {"char g", "char r"}, {"char П", "char е"}, "char ё",
                           "key BACKSPACE"};

TEST_P(ListFilterTest, LetterKeysNarrowThePayeeAndCategoryListsInEnglishAndRussian) {
    const ScreenProfile profile = GetParam();
    const bool keypad = profile.width != profile.height;
    const Typing& typing = keypad ? kKeypadTyping : kDeviceTyping;
    const std::string folder = snapshotFolder(profile);
    addCyrillicPayees();
    auto dump = [&](const std::string& name) { return folder + "/" + name; };
    Script script;
    script.line("wait 300")
        .line(typing.payees[0])
        .line(typing.payees[1])
        .line("dump-text " + dump("filter-1.json"))
        .shot(dump("filter-1-payees.png"))
        .line("tap-text Fresh Market")
        .line("wait 100")
        .line("dump-text " + dump("filter-2.json"))
        .line("tap-text Категория")
        .line(typing.categories[0])
        .line(typing.categories[1])
        .line("dump-text " + dump("filter-3.json"))
        .shot(dump("filter-3-categories.png"))
        .line("tap-text Закрыть")
        .line("tap-text Настройки")
        .line("wait 100")
        .line("tap-window SettingsPage/Английский")
        .shot(dump("filter-4-format-menu.png"))
        .line("tap-text Русский")
        .shot(dump("filter-5-settings-russian.png"))
        .line("tap-text OK")
        .line("wait 100")
        .line("tap-text Получатель")
        .line(typing.russian[0])
        .line(typing.russian[1])
        .line("dump-text " + dump("filter-6.json"))
        .shot(dump("filter-6-payees-russian.png"))
        .line(typing.back)
        .line(typing.back)
        .line(typing.yo)
        .line("dump-text " + dump("filter-7.json"))
        .line("quit");
    ASSERT_EQ(runDashel(profile, script.text()), 0) << output();

    ListShown payees = listIn(readTextDump(dump("filter-1.json")));
    EXPECT_EQ(payees.caption, typing.payeeCaption);
    EXPECT_EQ(payees.rows, typing.payeeRows);

    // The picked payee's memorized entry fills the form.
    std::vector<TextRun> form = readTextDump(dump("filter-2.json"));
    auto shows = [&](const std::string& text) {
        return std::any_of(form.begin(), form.end(), [&](const TextRun& run) {
            return run.text == text && run.window == "FieldPanel";
        });
    };
    EXPECT_TRUE(shows("Fresh Market"));
    EXPECT_TRUE(shows("Groceries"));
    EXPECT_TRUE(shows("Checking (USD)"));

    ListShown categories = listIn(readTextDump(dump("filter-3.json")));
    EXPECT_EQ(categories.caption, "Категория (1) **");
    EXPECT_EQ(categories.rows, std::vector<std::string>{"Groceries"});

    std::vector<TextRun> russian = readTextDump(dump("filter-6.json"));
    if (keypad) {
        EXPECT_EQ(labelOf(russian, "2"), "абвг");
        EXPECT_EQ(labelOf(russian, "9"), "ьэюя");
    }
    ListShown narrowed = listIn(russian);
    EXPECT_EQ(narrowed.caption, "Получатель (1) **");
    EXPECT_EQ(narrowed.rows, std::vector<std::string>{"Перекрёсток"});

    ListShown yo = listIn(readTextDump(dump("filter-7.json")));
    EXPECT_EQ(yo.caption, "Получатель (1) *");
    EXPECT_EQ(yo.rows, std::vector<std::string>{"Ёлки-палки"});
}

INSTANTIATE_TEST_SUITE_P(Profiles, ListFilterTest, ::testing::ValuesIn(kProfiles), [](const auto& info) {
    return "w" + std::to_string(info.param.width) + "h" + std::to_string(info.param.height);
});

}  // namespace
}  // namespace dashele2e
