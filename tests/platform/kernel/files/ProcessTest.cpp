// Starting programs by device path: the command line as the one argument, the inherited device
// root, exit codes, waiting, termination, missing programs; the running program's own path.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempRoot.h"
#include "platform/windows.h"

namespace {

class Processes : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(m_root.path() + "/windows");
        // Writes its argument count and first argument into out.txt in the device root, exits 7.
        install("writer.sh", "printf '%s:%s' \"$#\" \"$1\" > \"$VARKEL_ROOT/out.txt\"\nexit 7\n");
        // Blocks until a line arrives through the fifo in the device root, then exits 0.
        install("waiter.sh", "read line < \"$VARKEL_ROOT/fifo\"\nexit 0\n");
    }
    void install(const std::string& name, const std::string& body) {
        const std::string path = m_root.path() + "/windows/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        ::chmod(path.c_str(), 0755);
    }
    std::string output() {
        std::ifstream in(m_root.path() + "/out.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static BOOL start(LPCWSTR program, const char16_t* commandLine, PROCESS_INFORMATION& info) {
        std::u16string line = commandLine != nullptr ? commandLine : u"";
        return CreateProcessW(program, commandLine != nullptr ? line.data() : nullptr, nullptr, nullptr,
                              FALSE, 0, nullptr, nullptr, nullptr, &info);
    }
    static DWORD finish(PROCESS_INFORMATION& info) {
        EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
        EXPECT_EQ(WaitForSingleObject(info.hThread, 0), WAIT_OBJECT_0);
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
        EXPECT_TRUE(CloseHandle(info.hThread));
        EXPECT_TRUE(CloseHandle(info.hProcess));
        return code;
    }

    platform::testing::TempRoot m_root;
};

TEST_F(Processes, CommandLineIsTheOneArgumentAndTheExitCodeComesBack) {
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(start(u"\\windows\\writer.sh", u"/show_account_42", info));
    EXPECT_NE(info.dwProcessId, 0u);
    EXPECT_EQ(finish(info), 7u);
    EXPECT_EQ(output(), "1:/show_account_42");

    ASSERT_TRUE(start(u"\\windows\\writer.sh", u"two words", info));
    EXPECT_EQ(finish(info), 7u);
    EXPECT_EQ(output(), "1:two words");
}

TEST_F(Processes, NoCommandLineGivesNoArgument) {
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(start(u"\\windows\\writer.sh", nullptr, info));
    EXPECT_EQ(finish(info), 7u);
    EXPECT_EQ(output(), "0:");
    ASSERT_TRUE(start(u"writer.sh", u"", info));  // a bare name is found in \windows
    EXPECT_EQ(finish(info), 7u);
    EXPECT_EQ(output(), "0:");
}

TEST_F(Processes, StillActiveUntilItEnds) {
    const std::string fifo = m_root.path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(start(u"\\windows\\waiter.sh", nullptr, info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_TIMEOUT);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    std::ofstream(fifo) << "go\n";  // opening blocks until the script reads
    EXPECT_EQ(finish(info), 0u);
}

TEST_F(Processes, TerminateEndsItWithTheGivenCode) {
    const std::string fifo = m_root.path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(start(u"\\windows\\waiter.sh", nullptr, info));
    EXPECT_TRUE(TerminateProcess(info.hProcess, 3));
    EXPECT_EQ(finish(info), 3u);
}

TEST_F(Processes, MissingOrNonExecutableProgramsFailAtOnce) {
    PROCESS_INFORMATION info{};
    SetLastError(0);
    EXPECT_FALSE(start(u"\\windows\\dashel.exe", nullptr, info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    std::ofstream(m_root.path() + "/windows/plain.txt") << "not a program";
    EXPECT_FALSE(start(u"\\windows\\plain.txt", nullptr, info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(start(u"\\windows", nullptr, info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(GetExitCodeProcess(INVALID_HANDLE_VALUE, nullptr));
}

TEST_F(Processes, ADeviceExeNameFindsTheProgramWithoutItsExtension) {
    install("plain", "printf '%s:%s' \"$#\" \"$1\" > \"$VARKEL_ROOT/out.txt\"\n");
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(start(u"\\windows\\plain.exe", u"x", info));
    EXPECT_EQ(finish(info), 0u);
    EXPECT_EQ(output(), "1:x");
    ASSERT_TRUE(start(u"plain.exe", nullptr, info)) << "a bare name is looked for in \\windows too";
    EXPECT_EQ(finish(info), 0u);
    EXPECT_FALSE(start(u"\\windows\\writer.exe", nullptr, info)) << "only the extension is dropped";
}

TEST_F(Processes, AStartedProgramRunsOnlyTheScriptGivenToIt) {
    install("scripted", "printf '[%s]' \"$VARKEL_SCRIPT\" > \"$VARKEL_ROOT/out.txt\"\n");
    setenv("VARKEL_SCRIPT", "/scripts/home.script", 1);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(start(u"\\windows\\scripted.exe", nullptr, info));
    EXPECT_EQ(finish(info), 0u);
    EXPECT_EQ(output(), "[]") << "this program's script is not the new one's";
    setenv("VARKEL_SCRIPT_SCRIPTED", "/scripts/own.script", 1);
    ASSERT_TRUE(start(u"\\windows\\scripted.exe", nullptr, info));
    EXPECT_EQ(finish(info), 0u);
    EXPECT_EQ(output(), "[/scripts/own.script]");
    unsetenv("VARKEL_SCRIPT_SCRIPTED");
    unsetenv("VARKEL_SCRIPT");
}

TEST_F(Processes, OwnIdentityAndProgramPath) {
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(::getpid()));
    WCHAR path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    ASSERT_GT(length, 0u);
    EXPECT_EQ(platform::toUtf8(path), self);  // the test program lies outside the device root
    WCHAR shortBuffer[4] = {};
    EXPECT_EQ(GetModuleFileNameW(nullptr, shortBuffer, 4), 4u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(shortBuffer[3], 0);
}

}  // namespace
