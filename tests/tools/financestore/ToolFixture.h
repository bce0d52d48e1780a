// The fixture of the financestore program's tests: a device root of its own, the built program run on
// it (alone or in a shell pipe), the store's records read from its dumps and changed behind the
// program's back.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TempRoot.h"
#include "ToolRunner.h"
#include "platform/windows.h"

namespace financestore::testing {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

class FinanceStoreToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (access(toolPath().c_str(), X_OK) != 0)
            FAIL() << "the financestore program is not built at '" << toolPath()
                   << "' (ctest sets VARKEL_BINARY_DIR; build the financestore target first)";
    }
    void TearDown() override { platform::cedbCloseStore(); }

    ToolResult run(const std::vector<std::string>& arguments) { return runTool(m_root.path(), arguments); }
    void seedDemo() {
        ToolResult seeded = run({"init", "--demo"});
        ASSERT_EQ(seeded.exitCode, kOk) << seeded.err;
    }
    // The dump lines of a table that contain text.
    std::vector<std::string> dumpLinesWith(const std::string& table, const std::string& text) {
        std::vector<std::string> found;
        for (const std::string& line : run({"dump", table, "--raw"}).outLines())
            if (line.find(text) != std::string::npos) found.push_back(line);
        return found;
    }
    // Overwrites one property of the record that the seek value finds in the database (sorted by the
    // seek value's property), through the store API behind the finance code's back.
    void changeRecord(const char16_t* database, CEPROPVAL key, CEPROPVAL value) {
        CEOID oid = 0;
        HANDLE db = CeOpenDatabase(&oid, const_cast<LPWSTR>(database), key.propid, 0, nullptr);
        ASSERT_NE(db, INVALID_HANDLE_VALUE);
        CEOID record =
            CeSeekDatabase(db, CEDB_SEEK_VALUEFIRSTEQUAL, reinterpret_cast<DWORD_PTR>(&key), nullptr);
        ASSERT_NE(record, 0u);
        ASSERT_NE(CeWriteRecordProps(db, record, 1, &value), 0u);
        CloseHandle(db);
        platform::cedbCloseStore();
    }
    void changeTransaction(const std::u16string& id, CEPROPVAL value) {
        CEPROPVAL key{};
        key.propid = PropIdFromType(101, CEVT_LPWSTR);
        std::u16string text = id;
        key.val.lpwstr = text.data();
        changeRecord(u"Brimwell Transaction", key, value);
    }
    void changeAccount(int32_t number, CEPROPVAL value) {
        CEPROPVAL key{};
        key.propid = PropIdFromType(104, CEVT_I4);
        key.val.lVal = number;
        changeRecord(u"Brimwell Account", key, value);
    }
    std::string add(const std::vector<std::string>& options) {
        std::vector<std::string> arguments = {"add"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ToolResult added = run(arguments);
        EXPECT_EQ(added.exitCode, kOk) << added.err;
        std::vector<std::string> lines = added.outLines();
        return lines.empty() ? std::string() : lines.front();
    }

    // Runs a shell command line (pipes allowed) with its output captured beside the root.
    ToolResult shell(const std::string& command) const {
        const std::string capture = m_root.path() + ".shell";
        ToolResult result;
        const int status = std::system((command + " >'" + capture + ".out' 2>'" + capture + ".err'").c_str());
        if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        result.out = readAll(capture + ".out");
        result.err = readAll(capture + ".err");
        std::remove((capture + ".out").c_str());
        std::remove((capture + ".err").c_str());
        return result;
    }
    // The command line that runs the tool on this test's root with the arguments (each quoted).
    std::string toolCommand(const std::vector<std::string>& arguments) const {
        std::string command = quoted(toolPath()) + " --root " + quoted(m_root.path());
        for (const std::string& argument : arguments)
            command += " " + quoted(argument);
        return command;
    }

    platform::testing::TempRoot m_root;
};

// The value of "number" (or of a named field) in a dump line, as its JSON text.
inline std::string field(const std::string& line, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    size_t at = line.find(key);
    if (at == std::string::npos) return {};
    at += key.size();
    size_t end = at;
    if (line[at] == '"') {
        end = line.find('"', at + 1) + 1;
    } else {
        while (end < line.size() && line[end] != ',' && line[end] != '}')
            ++end;
    }
    return line.substr(at, end - at);
}
inline std::string field(const std::string& line, int number) {
    return field(line, std::to_string(number));
}

}  // namespace financestore::testing
