// The hive's limits: a file beyond them is set aside with its message and costs bounded memory and
// stack; the API refuses changes beyond them, and a hive right at every limit is read back whole.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../../../../platform/kernel/RegistryTree.h"
#include "TempRoot.h"
#include "platform/device.h"
#include "platform/winerror.h"
#include "platform/winreg.h"

namespace {

using namespace platform::registry;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Kilobytes of a field ("VmRSS:", "VmHWM:") of /proc/self/status; -1 when it is missing.
long statusKb(const std::string& field) {
    std::istringstream status(readFile("/proc/self/status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
    return -1;
}

// A key path of depth parts, each "k".
std::string deepPath(size_t depth) {
    std::string path = "k";
    for (size_t i = 1; i < depth; ++i)
        path += "\\k";
    return path;
}

class RegistryLimits : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::registryReset();
        std::filesystem::create_directories(m_root.path() + "/registry");
    }
    void TearDown() override { platform::registryReset(); }

    std::string hivePath() const { return m_root.path() + "/registry/HKCU.hive"; }

    // Writes a hive file: a key "Options" with the value "Kept", then the text under test, which is
    // written by a writer so that texts of hundreds of megabytes need no memory of their own.
    void writeHive(const std::function<void(std::ostream&)>& rest) const {
        std::ofstream file(hivePath(), std::ios::binary | std::ios::trunc);
        file << "[Options]\n\"Kept\"=dword:00000007\n";
        rest(file);
    }

    // Reads "Kept" in a child process whose stderr goes to a file; returns the value read (0 when
    // it is missing, -1 when the child died) and sets the message and the child's peak memory growth.
    long readKeptInChild(std::string& message, long& peakGrowthKb) const {
        std::string messageFile = m_root.path() + "/stderr.txt";
        std::string growthFile = m_root.path() + "/growth.txt";
        int status = platform::testing::runInChild([&] {
            std::freopen(messageFile.c_str(), "w", stderr);
            // Resets the peak resident size to the present one, so the peak below is this read's own.
            std::ofstream("/proc/self/clear_refs") << "5";
            long before = statusKb("VmRSS:");
            DWORD value = 0, size = sizeof value;
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Options", 0, KEY_READ, &key) == ERROR_SUCCESS) {
                RegQueryValueExW(key, u"Kept", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
                RegCloseKey(key);
            }
            std::ofstream(growthFile) << statusKb("VmHWM:") - before;
            std::fflush(stderr);  // the child ends with _exit, which flushes nothing
            return static_cast<int>(value);
        });
        message = readFile(messageFile);
        std::istringstream(readFile(growthFile)) >> peakGrowthKb;
        return status;
    }

    platform::testing::TempRoot m_root;
};

struct OverLimit {
    const char* what;
    std::function<void(std::ostream&)> text;
    const char* reason;  // part of the message that names the limit
};

// Each hive is beyond one limit and otherwise well formed.
const std::vector<OverLimit>& overLimitHives() {
    static const std::vector<OverLimit> kHives = {
        {"a key nested 50,000 levels", [](std::ostream& out) { out << "[" << deepPath(50000) << "]\n"; },
         "nested deeper than 512 levels"},
        {"a key nested 513 levels", [](std::ostream& out) { out << "[" << deepPath(513) << "]\n"; },
         "nested deeper than 512 levels"},
        {"a 100 MB text value",
         [](std::ostream& out) {
             std::string block(1 << 20, 'a');
             out << "\"Big\"=sz:\"";
             for (int i = 0; i < 100; ++i)
                 out << block;
             out << "\"\n";
         },
         "larger than 16777216 bytes"},
        {"a binary value one byte over 1 MiB",
         [](std::ostream& out) {
             out << "\"Big\"=hex:00";
             for (size_t i = 1; i <= kMaxValueBytes; ++i)
                 out << ",00";
             out << "\n";
         },
         "a value larger than 1048576 bytes"},
        {"a line of 5 MiB", [](std::ostream& out) { out << ";" << std::string(5 << 20, 'x') << "\n"; },
         "longer than 4194304 bytes"},
        {"a key name of 256 characters",
         [](std::ostream& out) { out << "[" << std::string(256, 'n') << "]\n"; },
         "a key longer than 255 characters"},
        {"a value name of 16,384 characters",
         [](std::ostream& out) { out << "\"" << std::string(16384, 'n') << "\"=dword:00000001\n"; },
         "a value longer than 16383 characters"},
        {"100,001 values",
         [](std::ostream& out) {
             for (size_t i = 0; i < kMaxHiveEntries; ++i)
                 out << "\"v" << i << "\"=dword:00000001\n";
         },
         "more than 100000 keys and values"},
    };
    return kHives;
}

TEST_F(RegistryLimits, AHiveBeyondALimitIsSetAsideWithItsMessageInBoundedMemory) {
    for (const OverLimit& hive : overLimitHives()) {
        SCOPED_TRACE(hive.what);
        platform::registryReset();
        std::filesystem::remove(hivePath() + ".damaged-1");
        writeHive(hive.text);
        std::string message;
        long growthKb = -1;
        EXPECT_EQ(0, readKeptInChild(message, growthKb));  // the program carries on with defaults
        EXPECT_NE(std::string::npos, message.find(hive.reason)) << message;
        EXPECT_NE(std::string::npos, message.find("HKCU.hive.damaged-1")) << message;
        EXPECT_TRUE(std::filesystem::exists(hivePath() + ".damaged-1"));
        EXPECT_FALSE(std::filesystem::exists(hivePath()));
        // The largest hive read is cut off at the file limit: what it costs stays well below it
        // doubled, whatever the file's size.
        EXPECT_GE(growthKb, 0);
        EXPECT_LT(growthKb, 64 * 1024);
    }
}

TEST_F(RegistryLimits, AHiveRightAtEveryLimitIsReadWhole) {
    std::string nameOfMaxLength(kMaxValueNameLength, 'n');
    writeHive([&](std::ostream& out) {
        out << "[" << deepPath(kMaxKeyDepth) << "]\n\"" << nameOfMaxLength << "\"=hex:01";
        for (size_t i = 1; i < kMaxValueBytes; ++i)
            out << ",02";
        out << "\n[" << std::string(kMaxKeyNameLength, 'n') << "]\n";
    });
    HKEY deep = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, platform::fromUtf8(deepPath(kMaxKeyDepth)).c_str(), 0,
                            KEY_READ, &deep));
    DWORD size = 0;
    std::u16string name = platform::fromUtf8(nameOfMaxLength);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(deep, name.c_str(), nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(kMaxValueBytes, size);
    RegCloseKey(deep);
    EXPECT_TRUE(std::filesystem::exists(hivePath()));
}

TEST_F(RegistryLimits, TheApiRefusesWhatTheReaderWouldRefuseAndKeepsTheHive) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, u"Options", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    std::vector<BYTE> data(kMaxValueBytes + 1, 0x5A);
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegSetValueExW(key, u"Big", 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, u"Big", 0, REG_BINARY, data.data(), static_cast<DWORD>(kMaxValueBytes)));

    // Keys nest 512 levels below the hive's root, counted from the root through an open key too.
    HKEY deep = nullptr;
    std::u16string path = platform::fromUtf8(deepPath(kMaxKeyDepth - 1));
    EXPECT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(key, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deep, nullptr));
    HKEY deeper = nullptr;
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegCreateKeyExW(deep, u"k", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deeper, nullptr));
    RegCloseKey(deep);

    // What was written is read back from the file; the refused changes left no trace.
    platform::registryReset();
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, u"Big", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(kMaxValueBytes, size);
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(key, path.c_str(), 0, KEY_READ, &deep));
    RegCloseKey(deep);
    RegCloseKey(key);
}

TEST_F(RegistryLimits, AChangeThatWouldOverfillTheHiveIsRefusedAndTheFileKept) {
    writeHive([](std::ostream& out) {
        for (size_t i = 1; i < kMaxHiveEntries - 1; ++i)  // with Options and Kept: the limit
            out << "\"v" << i << "\"=dword:00000001\n";
    });
    std::string before = readFile(hivePath());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, u"Options", 0, KEY_ALL_ACCESS, &key));
    DWORD one = 1;
    EXPECT_EQ(ERROR_OUTOFMEMORY,
              RegSetValueExW(key, u"extra", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one));
    HKEY sub = nullptr;
    EXPECT_EQ(ERROR_OUTOFMEMORY,
              RegCreateKeyExW(key, u"Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr));
    EXPECT_EQ(before, readFile(hivePath()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(key, u"extra", nullptr, nullptr, nullptr, nullptr));
    // Changing a value that exists adds nothing and is still allowed.
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, u"v1", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one));
    RegCloseKey(key);
}

TEST_F(RegistryLimits, AValueThatWouldMakeTheFileTooLargeIsRefusedAndTheFileKept) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, u"Options", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    // Each value of 1 MiB takes 3 MiB of hex in the file: five fit in 16 MiB, the sixth does not.
    std::vector<BYTE> data(kMaxValueBytes, 0xA5);
    std::u16string name = u"v0";
    for (char16_t n = u'1'; n <= u'5'; ++n) {
        name[1] = n;
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name.c_str(), 0, REG_BINARY, data.data(),
                                                static_cast<DWORD>(data.size())));
    }
    std::string before = readFile(hivePath());
    EXPECT_EQ(ERROR_OUTOFMEMORY,
              RegSetValueExW(key, u"v6", 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())));
    EXPECT_EQ(before, readFile(hivePath()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(key, u"v6", nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(key);
}

}  // namespace
