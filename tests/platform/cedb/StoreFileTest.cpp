// The store file itself: damaged and foreign files are refused and left as they were, a new store is
// built beside the path and put in place whole, a store that may only be read is read and never
// written, and a writer that waits too long for another process's lock fails as busy.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "CedbTestSupport.h"
#include "StoreDamage.h"

using namespace cedbtest;
using platform::testing::runInChild;
using platform::testing::StoreDamage;

namespace {

namespace fs = std::filesystem;

class StoreFile : public CedbTest {
  protected:
    void TearDown() override {
        platform::cedbSetReadOnly(FALSE);
        platform::cedbSetBusyTimeout(10000);
        CedbTest::TearDown();
    }
    std::string storePath() const { return m_root.path() + "/store.cedb"; }
    // A closed store of a few dozen pages: one database of records with long names.
    void buildStore() {
        ASSERT_NE(createDb(u"Notes", {{kNumber, 0}}), 0u);
        HANDLE db = openDb(u"Notes", kNumber);
        const std::u16string name(300, u'n');
        for (LONG i = 0; i < 200; ++i)
            ASSERT_NE(add(db, {i4(kNumber, i), text(kName, name.c_str())}), 0u);
        CloseHandle(db);
        platform::cedbCloseStore();
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_root.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(StoreFile, EveryDamagedOrForeignFileIsRefusedAndLeftByteForByte) {
    buildStore();
    const fs::path sound = m_root.path() + "/sound.cedb";
    fs::copy_file(storePath(), sound);
    for (StoreDamage damage : platform::testing::kEveryStoreDamage) {
        SCOPED_TRACE(platform::testing::storeDamageName(damage));
        fs::copy_file(sound, storePath(), fs::copy_options::overwrite_existing);
        ASSERT_TRUE(platform::testing::damageStore(storePath(), damage));
        const uint64_t before = platform::testing::fileChecksum(storePath());
        const auto sizeBefore = fs::file_size(storePath());
        for (BOOL readOnly : {FALSE, TRUE}) {
            platform::cedbSetReadOnly(readOnly);
            EXPECT_EQ(openDb(u"Notes", kNumber), INVALID_HANDLE_VALUE);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BADDB));
            EXPECT_EQ(createDb(u"Other", {}), 0u);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BADDB));
            EXPECT_FALSE(platform::cedbOpenStore(nullptr));
            EXPECT_FALSE(platform::cedbBeginTransaction());
            const std::string problem = platform::cedbStoreProblem();
            EXPECT_EQ(problem.rfind(storePath() + ": ", 0), 0u) << problem;
            EXPECT_GT(problem.size(), storePath().size() + 10) << problem;
        }
        platform::cedbSetReadOnly(FALSE);
        EXPECT_EQ(platform::testing::fileChecksum(storePath()), before);
        EXPECT_EQ(fs::file_size(storePath()), sizeBefore);
    }
}

TEST_F(StoreFile, EachKindOfFileGetsItsOwnCause) {
    struct Case {
        StoreDamage damage;
        const char* cause;
    };
    const Case cases[] = {
        {StoreDamage::EmptyFile, "the file is empty"},
        {StoreDamage::ForeignDatabase, "it is a database of another program"},
        {StoreDamage::DatabaseWithoutTables, "it is a database without the object store's tables"},
        {StoreDamage::RandomMiddle, "it is damaged"},
        {StoreDamage::HeaderOverwritten, "it is not a database file"},
        {StoreDamage::HalfCut, "it is damaged"},
    };
    buildStore();
    const fs::path sound = m_root.path() + "/sound.cedb";
    fs::copy_file(storePath(), sound);
    for (const Case& c : cases) {
        fs::copy_file(sound, storePath(), fs::copy_options::overwrite_existing);
        ASSERT_TRUE(platform::testing::damageStore(storePath(), c.damage));
        EXPECT_FALSE(platform::cedbOpenStore(nullptr));
        EXPECT_NE(platform::cedbStoreProblem().find(c.cause), std::string::npos)
            << platform::testing::storeDamageName(c.damage) << ": " << platform::cedbStoreProblem();
    }
    fs::remove(storePath());
    fs::create_directory(storePath());
    EXPECT_FALSE(platform::cedbOpenStore(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANTOPEN));
    EXPECT_NE(platform::cedbStoreProblem().find("not a regular file"), std::string::npos);
}

TEST_F(StoreFile, ANewStoreIsPutInPlaceWholeAndNothingIsLeftBeside) {
    // A leftover of a process that died while building its store under the same process id.
    const std::string leftover = storePath() + ".new-" + std::to_string(getpid());
    std::ofstream(leftover) << "half a store";
    BOOL readOnly = TRUE;
    ASSERT_TRUE(platform::cedbOpenStore(&readOnly));
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(platform::cedbStoreProblem(), "");
    ASSERT_NE(createDb(u"Notes", {}), 0u);
    platform::cedbCloseStore();
    const std::vector<std::string> expected = {"store.cedb", "store.cedb-changes"};
    EXPECT_EQ(folderEntries(), expected);
    // The file alone is the whole store: its log was emptied into it before it was put in place.
    EXPECT_NE(openDb(u"Notes", 0), INVALID_HANDLE_VALUE);
}

// Processes that find no store at the same moment each build one; only the first is put in place,
// and every process then works on that one: none replaces a store another has already written to.
TEST_F(StoreFile, ProcessesCreatingTheStoreAtOnceShareOneStore) {
    constexpr int kProcesses = 4;
    std::vector<pid_t> children;
    for (int i = 0; i < kProcesses; ++i) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::u16string name = u"Process ";
            name += static_cast<char16_t>(u'0' + i);
            _exit(createDb(name.c_str(), {}) != 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int i = 0; i < kProcesses; ++i) {
        std::u16string name = u"Process ";
        name += static_cast<char16_t>(u'0' + i);
        HANDLE db = openDb(name.c_str(), 0);
        EXPECT_NE(db, INVALID_HANDLE_VALUE) << i;
        CloseHandle(db);
    }
}

TEST_F(StoreFile, AProcessThatOnlyReadsNeverCreatesOrWritesTheStore) {
    platform::cedbSetReadOnly(TRUE);
    EXPECT_EQ(createDb(u"Notes", {}), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANTOPEN));
    EXPECT_FALSE(fs::exists(storePath()));
    platform::cedbSetReadOnly(FALSE);
    buildStore();
    const uint64_t before = platform::testing::fileChecksum(storePath());
    platform::cedbSetReadOnly(TRUE);
    BOOL readOnly = FALSE;
    ASSERT_TRUE(platform::cedbOpenStore(&readOnly));
    EXPECT_TRUE(readOnly);
    HANDLE db = openDb(u"Notes", kNumber);
    ASSERT_NE(db, INVALID_HANDLE_VALUE);
    EXPECT_EQ(walk(db, kNumber).size(), 200u);
    EXPECT_EQ(add(db, {i4(kNumber, 1000)}), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ASSERT_TRUE(CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr));
    EXPECT_FALSE(CeDeleteRecord(db, readCurrent(db).oid));
    EXPECT_EQ(createDb(u"Other", {}), 0u);
    EXPECT_FALSE(platform::cedbBeginTransaction());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_NE(platform::cedbStoreProblem().find("read-only"), std::string::npos);
    CloseHandle(db);
    platform::cedbCloseStore();
    EXPECT_EQ(platform::testing::fileChecksum(storePath()), before);
    platform::cedbSetReadOnly(FALSE);
    db = openDb(u"Notes", kNumber);
    EXPECT_NE(add(db, {i4(kNumber, 1000)}), 0u);
    CloseHandle(db);
}

// A process that only reads sees the store as it was when it opened it, until it lets go of it.
TEST_F(StoreFile, AProcessThatOnlyReadsReadsOneStateOfTheStore) {
    buildStore();
    platform::cedbSetReadOnly(TRUE);
    HANDLE db = openDb(u"Notes", kNumber);
    ASSERT_NE(db, INVALID_HANDLE_VALUE);
    EXPECT_EQ(walk(db, kNumber).size(), 200u);
    ASSERT_EQ(runInChild([] {
                  platform::cedbSetReadOnly(FALSE);
                  HANDLE other = openDb(u"Notes", kNumber);
                  for (LONG i = 0; i < 3; ++i)
                      if (add(other, {i4(kNumber, 1000 + i)}) == 0) return 1;
                  if (CeSeekDatabase(other, CEDB_SEEK_BEGINNING, 0, nullptr) == 0) return 2;
                  return CeDeleteRecord(other, readCurrent(other).oid) ? 0 : 3;
              }),
              0);
    EXPECT_EQ(walk(db, kNumber).size(), 200u);
    CloseHandle(db);
    platform::cedbCloseStore();
    db = openDb(u"Notes", kNumber);
    EXPECT_EQ(walk(db, kNumber).size(), 202u);
    CloseHandle(db);
}

// A file and a folder that the process may not write: the store is read as it is. Run in a child that
// has given up the override of file permissions, so that this holds when the tests run as root too.
TEST_F(StoreFile, AStoreInAFolderThatCannotBeWrittenIsRead) {
    buildStore();
    const uint64_t before = platform::testing::fileChecksum(storePath());
    chmod(storePath().c_str(), 0444);
    chmod(m_root.path().c_str(), 0555);
    const int child = runInChild([] {
        if (!platform::testing::giveUpPermissionOverride()) return 20;
        BOOL readOnly = FALSE;
        if (!platform::cedbOpenStore(&readOnly) || !readOnly) return 1;
        HANDLE db = openDb(u"Notes", kNumber);
        if (db == INVALID_HANDLE_VALUE || walk(db, kNumber).size() != 200) return 2;
        if (add(db, {i4(kNumber, 1000)}) != 0 || GetLastError() != ERROR_ACCESS_DENIED) return 3;
        return 0;
    });
    chmod(m_root.path().c_str(), 0755);
    chmod(storePath().c_str(), 0644);
    if (child == 20) GTEST_SKIP() << "this process cannot give up the override of file permissions";
    EXPECT_EQ(child, 0);
    EXPECT_EQ(platform::testing::fileChecksum(storePath()), before);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"store.cedb", "store.cedb-changes"}));
}

// Another process holds the write lock (its bracket) while this one writes with no time to wait.
TEST_F(StoreFile, AWriterThatWaitsTooLongForTheLockFailsAsBusy) {
    buildStore();
    int toChild[2], fromChild[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(fromChild), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        char go = platform::cedbBeginTransaction() ? 'y' : 'n';
        (void)!write(fromChild[1], &go, 1);
        (void)!read(toChild[0], &go, 1);
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(fromChild[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    platform::cedbSetBusyTimeout(0);
    HANDLE db = openDb(u"Notes", kNumber);
    ASSERT_NE(db, INVALID_HANDLE_VALUE) << "reading waits for no writer";
    EXPECT_EQ(walk(db, kNumber).size(), 200u);
    EXPECT_EQ(add(db, {i4(kNumber, 1000)}), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    EXPECT_NE(platform::cedbStoreProblem().find("busy"), std::string::npos);
    EXPECT_FALSE(platform::cedbBeginTransaction());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    char done = 'x';
    ASSERT_EQ(write(toChild[1], &done, 1), 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_NE(add(db, {i4(kNumber, 1000)}), 0u);
    CloseHandle(db);
    for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
        close(fd);
}

}  // namespace
