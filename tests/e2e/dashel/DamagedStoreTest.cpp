// A store file that is there but is not a sound store, of each kind, against every program that opens
// it: financestore's check, dump and add exit with 2 and say which file and why, Dashel shows its
// message that the store cannot be opened (never its empty program) and exits with 0, and the file's
// checksum is the same afterwards.
#include <algorithm>

#include "DashelFixture.h"
#include "StoreDamage.h"

namespace dashele2e {
namespace {

using platform::testing::StoreDamage;

constexpr ScreenProfile kPortraitScreen{240, 320, 96};
constexpr int kExitUsage = 2;

struct DamageCase {
    StoreDamage damage;
    const char* cause;  // what financestore says about the file
};

const DamageCase kCases[] = {
    {StoreDamage::EmptyFile, "the file is empty"},
    {StoreDamage::ForeignDatabase, "it is a database of another program"},
    {StoreDamage::DatabaseWithoutTables, "it is a database without the object store's tables"},
    {StoreDamage::RandomMiddle, "it is damaged"},
    {StoreDamage::HeaderOverwritten, "it is not a database file"},
    {StoreDamage::HalfCut, "it is damaged"},
};

class DamagedStoreTest : public DashelE2ETest, public ::testing::WithParamInterface<DamageCase> {
  protected:
    std::string store() const { return root() + "/store.cedb"; }
    std::string tool(const std::vector<std::string>& arguments, int& exitCode) {
        std::vector<std::string> words = {"--root", root()};
        words.insert(words.end(), arguments.begin(), arguments.end());
        exitCode = runProgram(programPath("financestore"), words, {}, root() + "/tool.out");
        return readFile(root() + "/tool.out");
    }
};

TEST_P(DamagedStoreTest, EveryProgramRefusesItSaysWhyAndLeavesItAsItWas) {
    const DamageCase& c = GetParam();
    ASSERT_TRUE(platform::testing::damageStore(store(), c.damage));
    const uint64_t before = platform::testing::fileChecksum(store());
    ASSERT_NE(before, 0u);
    const std::vector<std::vector<std::string>> commands = {
        {"check"}, {"dump", "Transactions"}, {"add", "--account", "1", "--amount", "-5"}};
    for (const auto& arguments : commands) {
        int exitCode = -1;
        const std::string said = tool(arguments, exitCode);
        EXPECT_EQ(exitCode, kExitUsage) << arguments[0] << ": " << said;
        EXPECT_EQ(said.rfind("financestore: cannot open the finance store: " + store() + ": " + c.cause, 0),
                  0u)
            << arguments[0] << ": " << said;
        EXPECT_NE(said.find("it was left as it is\n"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(platform::testing::fileChecksum(store()), before) << arguments[0];
    }
    const std::string shot = root() + "/message.png";
    ASSERT_EQ(runDashel(kPortraitScreen, Script().shot(shot).line("answer OK").line("quit").text()), 0)
        << output();
    EXPECT_EQ(platform::testing::fileChecksum(store()), before) << "dashel";
    // The box stands on a screen without the program's window: no header bar, no keyboard.
    Snapshot snapshot;
    ASSERT_TRUE(snapshot.load(shot)) << output();
    EXPECT_EQ(countOf(snapshot, RECT{0, 0, 240, 26}, kTitleColour), 0);
    EXPECT_LT(snapshot.share(0, 0, snapshot.width, snapshot.height, kKeyboardColour), 0.01);
    const std::string log = readFile(root() + "/error.log");
    EXPECT_NE(log.find("The finance store cannot be opened: " + store() + ": " + c.cause), std::string::npos)
        << log;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, DamagedStoreTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DamageCase>& info) {
                             return std::string(platform::testing::storeDamageName(info.param.damage));
                         });

}  // namespace
}  // namespace dashele2e
