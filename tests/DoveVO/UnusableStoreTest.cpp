// A finance store that cannot be used as it stands: a damaged or foreign file fails the open with its
// cause and is left as it was, a store that can only be read opens for reading and refuses writes, and
// a store busy with another process's write fails a save as busy. Nothing is created in any of them.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "StoreDamage.h"
#include "StoreFixture.h"
#include "TransactionStore.h"
#include "platform/windows.h"

namespace dove::testing {
namespace {

namespace fs = std::filesystem;

class UnusableStoreTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        addAccount({7});
        for (int day = 1; day <= 20; ++day)
            pay(7, -100 * day, march(day, 9));
        closeFinanceStore();
        platform::cedbCloseStore();
    }
    void TearDown() override {
        platform::cedbSetReadOnly(FALSE);
        platform::cedbSetBusyTimeout(10000);
        StoreTest::TearDown();
    }
    std::string storePath() const { return m_root.path() + "/store.cedb"; }
    static std::string errorLog() {
        std::ifstream in(platform::hostPath(u"\\error.log"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(UnusableStoreTest, ADamagedOrForeignStoreFailsTheOpenWithItsCauseAndIsLeftAsItWas) {
    const fs::path sound = m_root.path() + "/sound.cedb";
    fs::copy_file(storePath(), sound);
    for (platform::testing::StoreDamage damage : platform::testing::kEveryStoreDamage) {
        SCOPED_TRACE(platform::testing::storeDamageName(damage));
        fs::copy_file(sound, storePath(), fs::copy_options::overwrite_existing);
        ASSERT_TRUE(platform::testing::damageStore(storePath(), damage));
        const uint64_t before = platform::testing::fileChecksum(storePath());
        EXPECT_FALSE(openFinanceStore());
        EXPECT_EQ(financeStoreOpenStatus(), StoreStatus::Damaged);
        EXPECT_EQ(financeStoreProblem().rfind(storePath() + ": ", 0), 0u) << financeStoreProblem();
        closeFinanceStore();
        EXPECT_EQ(platform::testing::fileChecksum(storePath()), before);
        EXPECT_EQ(errorLog(), "") << "the data code itself logs nothing: the program decides";
    }
    logFinanceStoreOpenFailure();
    EXPECT_NE(errorLog().find(" - The finance store cannot be opened: " + storePath() + ": "),
              std::string::npos)
        << errorLog();
    EXPECT_NE(errorLog().find("\t\tDoveVO/DataBases:  (0)\r\n"), std::string::npos);
}

TEST_F(UnusableStoreTest, AStoreThatCanOnlyBeReadOpensForReadingAndRefusesWrites) {
    const uint64_t before = platform::testing::fileChecksum(storePath());
    platform::cedbSetReadOnly(TRUE);
    ASSERT_TRUE(openFinanceStore());
    EXPECT_EQ(transactionRows().size(), 20u);
    TransactionRecord r;
    r.setAccount(7);
    r.setAmount(-5);
    r.setDate(march(21));
    EXPECT_EQ(addNewTransaction(r), StoreStatus::ReadOnly);
    ASSERT_TRUE(loadTransactionByIdentifier(r, transactionRows()[0].id));
    EXPECT_EQ(deleteTransaction(r), StoreStatus::ReadOnly);
    closeFinanceStore();
    platform::cedbCloseStore();
    EXPECT_EQ(platform::testing::fileChecksum(storePath()), before);
}

// A table missing from a store that can only be read is not made: the open fails, and says so.
TEST_F(UnusableStoreTest, AMissingTableOfAStoreThatCanOnlyBeReadFailsTheOpen) {
    CEOID oid = 0;
    HANDLE budget = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"Brimwell Budget"), 0, 0, nullptr);
    ASSERT_NE(budget, INVALID_HANDLE_VALUE);
    CloseHandle(budget);
    ASSERT_TRUE(CeDeleteDatabase(oid));
    platform::cedbCloseStore();
    const uint64_t before = platform::testing::fileChecksum(storePath());
    platform::cedbSetReadOnly(TRUE);
    EXPECT_FALSE(openFinanceStore());
    EXPECT_EQ(financeStoreOpenStatus(), StoreStatus::ReadOnly);
    EXPECT_NE(financeStoreProblem().find("missing"), std::string::npos) << financeStoreProblem();
    closeFinanceStore();
    platform::cedbCloseStore();
    EXPECT_EQ(platform::testing::fileChecksum(storePath()), before);
    EXPECT_EQ(errorLog(), "");
}

// Another process holds the store's write lock; with no time to wait the save fails as busy, and
// succeeds once the lock is let go of.
TEST_F(UnusableStoreTest, ASaveThatCannotGetTheWriteLockFailsAsBusy) {
    ASSERT_TRUE(openFinanceStore());
    int toChild[2], fromChild[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(fromChild), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        platform::cedbCloseStore();
        char held = platform::cedbBeginTransaction() ? 'y' : 'n';
        (void)!write(fromChild[1], &held, 1);
        (void)!read(toChild[0], &held, 1);
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(fromChild[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    platform::cedbSetBusyTimeout(0);
    const std::string before = dumpStore();
    TransactionRecord r;
    r.setAccount(7);
    r.setAmount(-5);
    r.setDate(march(21));
    EXPECT_EQ(addNewTransaction(r), StoreStatus::Busy);
    EXPECT_EQ(dumpStore(), before);
    ASSERT_EQ(write(toChild[1], &held, 1), 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(addNewTransaction(r), StoreStatus::Ok);
    for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
        close(fd);
}

}  // namespace
}  // namespace dove::testing
