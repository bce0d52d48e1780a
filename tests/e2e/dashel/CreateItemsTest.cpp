// Creating a payee, categories and a project in the built program as a user would: "Нов." on each
// list, names typed on the device's keys, a name refused for a forbidden character and typed over, a
// sub-category, and each name created a second time. The store then holds each item once under the
// parent chosen, the form shows what was created, and the finance manager's stand-in hears of the
// change once, at exit. Snapshots of each step are kept in <build>/snapshots/<profile>/.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "DashelFixture.h"
#include "ManagerStandIn.h"

namespace dashele2e {
namespace {

const ScreenProfile kProfiles[] = {{240, 320, 96}, {640, 480, 192}};

// The records `financestore dump TABLE` prints, one JSON object a line.
std::vector<std::string> dumpTable(const std::string& root, const std::string& table) {
    const std::string out = root + "/dump-" + table + ".out";
    EXPECT_EQ(runProgram(programPath("financestore"), {"--root", root, "dump", table}, {}, out), 0)
        << readFile(out);
    std::vector<std::string> lines;
    std::istringstream in(readFile(out));
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line.front() == '{') lines.push_back(line);
    return lines;
}

std::vector<std::string> recordsNamed(const std::vector<std::string>& records, const std::string& name) {
    std::vector<std::string> named;
    std::copy_if(records.begin(), records.end(), std::back_inserter(named), [&](const std::string& record) {
        return record.find("\"name\":\"" + name + "\"") != std::string::npos;
    });
    return named;
}

// The number a dumped record holds under key, -1 when it has none.
int numberOf(const std::string& record, const std::string& key) {
    const std::string field = "\"" + key + "\":";
    size_t at = record.find(field);
    return at == std::string::npos ? -1 : std::atoi(record.c_str() + at + field.size());
}

bool showsText(const std::vector<TextRun>& runs, const std::string& text, const std::string& window) {
    return std::any_of(runs.begin(), runs.end(), [&](const TextRun& run) {
        return run.text == text && run.window.rfind(window, 0) == 0;
    });
}

std::string payeeCaption(const std::vector<TextRun>& runs) {
    for (const TextRun& run : runs)
        if (run.window.rfind("FingerList/", 0) == 0 && run.window != "FingerList/FingerList") return run.text;
    return {};
}

class CreateItemsTest : public DashelE2ETest, public ::testing::WithParamInterface<ScreenProfile> {};

TEST_P(CreateItemsTest, ItemsCreatedTwiceAreStoredOnceAndTheManagerIsToldOnce) {
    const ScreenProfile profile = GetParam();
    const std::string folder = snapshotFolder(profile);
    auto file = [&](const std::string& name) { return folder + "/create-" + name; };
    ManagerStandIn manager(root());
    ASSERT_TRUE(manager.started()) << manager.output();
    const size_t payees = dumpTable(root(), "Memorized").size();
    const size_t categories = dumpTable(root(), "Categories").size();
    const size_t projects = dumpTable(root(), "Projects").size();

    Script script;
    script
        .line("wait 300")
        // The payee list narrowed to P, Q, R and S; the new payee shows with the filter cleared.
        .line("tap-window Keyboard/7")
        .line("dump-text " + file("1-filtered.json"))
        .line("tap-text Нов.")
        .line("dump-text " + file("2-payee-dialog.json"))
        .shot(file("2-payee-dialog.png"))
        .line("char   Coffee Shop")
        .line("tap-text OK")
        .line("wait 200")
        .line("dump-text " + file("3-payee-created.json"))
        .shot(file("3-payee-created.png"))
        .line("tap-text Нов.")
        .line("char Coffee Shop")
        .line("tap-text OK")
        .line("wait 200")
        .line("tap-text OK")
        .line("wait 200")
        // A category: ":" is refused and the selected name typed over; then a sub-category of it,
        // and the same name once more.
        .line("tap-text Категория")
        .line("wait 200")
        .line("tap-text Нов.")
        .line("char Pets:Dogs")
        .line("tap-text OK")
        .line("wait 200")
        .shot(file("4-category-refused.png"))
        .line("char Pets")
        .line("tap-text OK")
        .line("wait 200")
        .line("tap-text Нов.")
        .line("tap-text Подкатегория в:")
        .line("tap-window Создать Категорию/#1090")
        .line("char Vet")
        .shot(file("5-subcategory.png"))
        .line("tap-text OK")
        .line("wait 200")
        .line("tap-text Нов.")
        .line("char Pets")
        .line("tap-text OK")
        .line("wait 200")
        .line("tap-text OK")
        .line("wait 200")
        // A project under Vacation, chosen first; then the same name again from the same place.
        .line("tap-text Проект")
        .line("wait 200")
        .line("tap-text Vacation")
        .line("wait 200")
        .line("tap-text Проект")
        .line("wait 200")
        .line("tap-text Нов.")
        .shot(file("6-project-dialog.png"))
        .line("char Garden")
        .line("tap-text OK")
        .line("wait 200")
        .line("tap-text Закрыть")
        .line("wait 200")
        .line("tap-text Проект")
        .line("wait 200")
        .line("tap-text Нов.")
        .line("char Garden")
        .line("tap-text OK")
        .line("wait 200")
        .line("tap-text OK")
        .line("wait 200")
        .line("dump-text " + file("7-form.json"))
        .shot(file("7-form.png"))
        .line("tap-text Выход");
    ASSERT_EQ(runDashel(profile, script.text()), 0) << output();

    const std::vector<TextRun> filtered = readTextDump(file("1-filtered.json"));
    EXPECT_NE(payeeCaption(filtered).find('*'), std::string::npos) << payeeCaption(filtered);
    const std::vector<TextRun> dialog = readTextDump(file("2-payee-dialog.json"));
    EXPECT_TRUE(showsText(dialog, "Create Payee", "Create Payee")) << "the title";
    EXPECT_TRUE(showsText(dialog, "OK", "OK"));
    EXPECT_TRUE(showsText(dialog, "Cancel", "Cancel"));
    const std::vector<TextRun> created = readTextDump(file("3-payee-created.json"));
    EXPECT_EQ(payeeCaption(created).find('*'), std::string::npos) << "the filter cleared";
    EXPECT_TRUE(showsText(created, "Coffee Shop", "FingerList/FingerList"));
    const std::vector<TextRun> form = readTextDump(file("7-form.json"));
    for (const char* text : {"Coffee Shop", "Pets", "Garden"})
        EXPECT_TRUE(showsText(form, text, "FieldPanel")) << text << " taken into the entry";

    const std::vector<std::string> payeeRecords = dumpTable(root(), "Memorized");
    EXPECT_EQ(payeeRecords.size(), payees + 1);
    EXPECT_EQ(recordsNamed(payeeRecords, "Coffee Shop").size(), 1u);

    const std::vector<std::string> categoryRecords = dumpTable(root(), "Categories");
    EXPECT_EQ(categoryRecords.size(), categories + 2);
    const std::vector<std::string> pets = recordsNamed(categoryRecords, "Pets");
    const std::vector<std::string> vet = recordsNamed(categoryRecords, "Vet");
    ASSERT_EQ(pets.size(), 1u);
    ASSERT_EQ(vet.size(), 1u);
    EXPECT_EQ(numberOf(pets[0], "parent"), 1);
    EXPECT_EQ(numberOf(pets[0], "type"), 2) << "expense, as the entry's amount is not positive";
    EXPECT_EQ(numberOf(vet[0], "parent"), numberOf(pets[0], "number"));
    EXPECT_EQ(numberOf(vet[0], "type"), 2) << "a sub-category takes its parent's type";

    const std::vector<std::string> projectRecords = dumpTable(root(), "Projects");
    EXPECT_EQ(projectRecords.size(), projects + 1);
    const std::vector<std::string> garden = recordsNamed(projectRecords, "Garden");
    const std::vector<std::string> vacation = recordsNamed(projectRecords, "Vacation");
    ASSERT_EQ(garden.size(), 1u);
    ASSERT_EQ(vacation.size(), 1u);
    EXPECT_EQ(numberOf(garden[0], "parent"), numberOf(vacation[0], "number"));

    const std::string check = root() + "/check.out";
    EXPECT_EQ(runProgram(programPath("financestore"), {"--root", root(), "check"}, {}, check), 0)
        << readFile(check);
    const std::string log = manager.stop();
    EXPECT_EQ(countOccurrences(log, "message 1129 wParam 0 lParam 0\n"), 1) << log;
    EXPECT_EQ(countOccurrences(log, "message 1129 "), 1) << log;
}

INSTANTIATE_TEST_SUITE_P(Profiles, CreateItemsTest, ::testing::ValuesIn(kProfiles), [](const auto& info) {
    return "w" + std::to_string(info.param.width) + "h" + std::to_string(info.param.height);
});

}  // namespace
}  // namespace dashele2e
