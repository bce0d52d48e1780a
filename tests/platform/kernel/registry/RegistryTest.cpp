// The registry API on hive files: value types, sizes, names, deletion, and sharing between processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempRoot.h"
#include "platform/device.h"
#include "platform/text.h"
#include "platform/winerror.h"
#include "platform/winreg.h"

namespace {

constexpr const WCHAR* kOptions = u"Software\\Varkel\\Brimwell\\Options";

class Registry : public ::testing::Test {
  protected:
    void SetUp() override { platform::registryReset(); }
    void TearDown() override {
        for (HKEY key : m_keys)
            RegCloseKey(key);
    }

    HKEY create(const WCHAR* path, HKEY root = HKEY_CURRENT_USER, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition));
        m_keys.push_back(key);
        return key;
    }
    static LONG setDword(HKEY key, const WCHAR* name, DWORD value) {
        return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    static LONG setText(HKEY key, const WCHAR* name, const std::u16string& text) {
        return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
    }
    static DWORD readDword(HKEY key, const WCHAR* name, DWORD fallback) {
        DWORD value = 0, type = 0, size = sizeof value;
        LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        return result == ERROR_SUCCESS && type == REG_DWORD ? value : fallback;
    }
    std::string hiveText() const {
        std::ifstream file(m_root.path() + "/registry/HKCU.hive");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    platform::testing::TempRoot m_root;
    std::vector<HKEY> m_keys;
};

TEST_F(Registry, EveryTypeSurvivesARereadOfTheFile) {
    HKEY key = create(kOptions);
    std::vector<BYTE> binary = {0, 1, 0xFF, 0x7F, 0x0A};
    std::vector<BYTE> oddText = {'a', 0, 'b'};  // a REG_SZ without terminator and of odd length
    ASSERT_EQ(ERROR_SUCCESS, setDword(key, u"TodayFailed", 0xDEADBEEF));
    ASSERT_EQ(ERROR_SUCCESS, setText(key, u"Default Currency", u"RUB"));
    ASSERT_EQ(ERROR_SUCCESS, setText(key, u"Quotes", u"a \"b\" \\ c\nd Ж"));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, u"AbcCustom", 0, REG_BINARY, binary.data(), 5));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, u"Empty", 0, REG_BINARY, nullptr, 0));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, u"Odd", 0, REG_SZ, oddText.data(), 3));
    ASSERT_EQ(ERROR_SUCCESS, setText(key, nullptr, u"default"));
    EXPECT_NE(std::string::npos, hiveText().find("\"Default Currency\"=sz:\"RUB\""));

    platform::registryReset();
    EXPECT_EQ(0xDEADBEEFu, readDword(key, u"TodayFailed", 0));
    struct Expect {
        const WCHAR* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    auto textBytes = [](const std::u16string& text) {
        const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
        return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * 2);
    };
    const Expect expected[] = {
        {u"Default Currency", REG_SZ, textBytes(u"RUB")},
        {u"Quotes", REG_SZ, textBytes(u"a \"b\" \\ c\nd Ж")},
        {u"AbcCustom", REG_BINARY, binary},
        {u"Empty", REG_BINARY, {}},
        {u"Odd", REG_SZ, oddText},
        {u"", REG_SZ, textBytes(u"default")},
    };
    for (const Expect& e : expected) {
        BYTE buffer[64] = {};
        DWORD type = 0, size = sizeof buffer;
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, e.name, nullptr, &type, buffer, &size));
        EXPECT_EQ(e.type, type);
        EXPECT_EQ(e.data, std::vector<BYTE>(buffer, buffer + size));
    }
}

TEST_F(Registry, MissingKeysAndValuesGiveFileNotFound) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CURRENT_USER, kOptions, 0, KEY_READ, &key));
    HKEY options = create(kOptions);
    EXPECT_EQ(7u, readDword(options, u"Scheduled Today Show", 7));
    DWORD size = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(options, u"Nope", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(options, u"Nope"));
    EXPECT_EQ(ERROR_INVALID_HANDLE,
              RegQueryValueExW(reinterpret_cast<HKEY>(0x1234), u"x", nullptr, nullptr, nullptr, &size));
}

TEST_F(Registry, SizeQueriesAndMoreData) {
    HKEY key = create(kOptions);
    ASSERT_EQ(ERROR_SUCCESS, setText(key, u"Default Currency", u"EUR"));
    DWORD type = 0, size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, u"Default Currency", nullptr, &type, nullptr, &size));
    EXPECT_EQ(8u, size);  // three characters and the NUL
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    WCHAR small[3] = {u'x', u'x', u'x'};
    size = sizeof small;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExW(key, u"Default Currency", nullptr, &type,
                                                reinterpret_cast<BYTE*>(small), &size));
    EXPECT_EQ(8u, size);
    EXPECT_EQ(u'x', small[0]);
    WCHAR exact[4];
    size = sizeof exact;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, u"Default Currency", nullptr, nullptr,
                                              reinterpret_cast<BYTE*>(exact), &size));
    EXPECT_EQ(u"EUR", std::u16string(exact));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExW(key, u"Default Currency", nullptr, nullptr,
                                                        reinterpret_cast<BYTE*>(exact), nullptr));
}

TEST_F(Registry, NamesIgnoreCaseAndKeepTheFirstSpelling) {
    DWORD disposition = 0;
    HKEY key = create(u"Software\\Varkel\\Счета\\", HKEY_CURRENT_USER, &disposition);
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
    create(u"SOFTWARE\\varkel\\СЧЕТА", HKEY_CURRENT_USER, &disposition);
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
    ASSERT_EQ(ERROR_SUCCESS, setDword(key, u"Ёмкость", 1));
    ASSERT_EQ(ERROR_SUCCESS, setDword(key, u"ёМКОСТЬ", 2));
    ASSERT_EQ(ERROR_SUCCESS, setDword(key, u"BtnAlign", 3));
    EXPECT_EQ(2u, readDword(key, u"ЁМКОСТЬ", 0));
    EXPECT_EQ(3u, readDword(key, u"btnalign", 0));
    WCHAR name[32];
    DWORD length = 32;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueW(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(u"Ёмкость", std::u16string(name));
    length = 32;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueW(key, 2, name, &length, nullptr, nullptr, nullptr, nullptr));
    HKEY varkel = create(u"software\\VARKEL");
    length = 32;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExW(varkel, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(u"Счета", std::u16string(name));
    length = 3;
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumKeyExW(varkel, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(Registry, DeletingAKeyTakesItsSubkeys) {
    HKEY brimwell = create(u"Software\\Varkel\\Brimwell");
    HKEY options = create(kOptions);
    ASSERT_EQ(ERROR_SUCCESS, setDword(options, u"TodayFailed", 1));
    create(u"Software\\Varkel\\Brimwell\\AccountCenter\\Deep");
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueW(options, u"todayfailed"));
    EXPECT_EQ(9u, readDword(options, u"TodayFailed", 9));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegDeleteKeyW(HKEY_CURRENT_USER, u""));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, u"software\\varkel\\brimwell"));
    HKEY gone = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CURRENT_USER, kOptions, 0, KEY_READ, &gone));
    EXPECT_EQ(ERROR_KEY_DELETED, setDword(options, u"x", 1));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Varkel\\Brimwell"));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(brimwell));
    m_keys.erase(m_keys.begin());
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(brimwell));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_CURRENT_USER));
}

TEST_F(Registry, HivesAreSeparateFiles) {
    HKEY item = create(u"Software\\Microsoft\\Today\\Items\\\"Brimwell\"", HKEY_LOCAL_MACHINE);
    ASSERT_EQ(ERROR_SUCCESS, setDword(item, u"Type", 4));
    ASSERT_EQ(ERROR_SUCCESS, RegFlushKey(item));
    HKEY user = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Microsoft", 0, KEY_READ, &user));
    std::ifstream machine(m_root.path() + "/registry/HKLM.hive");
    EXPECT_TRUE(machine.good());
}

TEST_F(Registry, AValueWrittenByAnotherProcessIsSeen) {
    HKEY key = create(kOptions);
    EXPECT_EQ(0u, readDword(key, u"Scheduled Today Show", 0));
    int status = platform::testing::runInChild([] {
        HKEY child = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kOptions, 0, KEY_WRITE, &child) != ERROR_SUCCESS) return 1;
        DWORD value = 1;
        LONG result = RegSetValueExW(child, u"Scheduled Today Show", 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&value), sizeof value);
        return result == ERROR_SUCCESS ? 0 : 2;
    });
    ASSERT_EQ(0, status);
    EXPECT_EQ(1u, readDword(key, u"Scheduled Today Show", 0));
}

TEST_F(Registry, ConcurrentWritersKeepEachOthersValues) {
    HKEY key = create(kOptions);
    constexpr int kValuesEach = 40;
    auto writer = [](char16_t prefix) {
        return [prefix] {
            HKEY mine = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, kOptions, 0, KEY_WRITE, &mine) != ERROR_SUCCESS) return 1;
            for (int i = 0; i < kValuesEach; ++i) {
                std::u16string name = std::u16string(1, prefix) + static_cast<char16_t>(u'0' + i / 10) +
                                      static_cast<char16_t>(u'0' + i % 10);
                DWORD value = static_cast<DWORD>(i);
                if (RegSetValueExW(mine, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                   sizeof value) != ERROR_SUCCESS) {
                    return 2;
                }
            }
            return 0;
        };
    };
    // The second writer runs in a grandchild so both write at the same time.
    int status = platform::testing::runInChild([&] {
        pid_t other = fork();
        if (other == 0) _exit(writer(u'b')());
        int mine = writer(u'a')();
        int otherStatus = 0;
        waitpid(other, &otherStatus, 0);
        return mine != 0 ? mine : (WIFEXITED(otherStatus) ? WEXITSTATUS(otherStatus) : 3);
    });
    ASSERT_EQ(0, status);
    for (char16_t prefix : {u'a', u'b'}) {
        for (int i = 0; i < kValuesEach; ++i) {
            std::u16string name = std::u16string(1, prefix) + static_cast<char16_t>(u'0' + i / 10) +
                                  static_cast<char16_t>(u'0' + i % 10);
            EXPECT_EQ(static_cast<DWORD>(i), readDword(key, name.c_str(), 999)) << platform::toUtf8(name);
        }
    }
}

TEST_F(Registry, AWriterKilledMidWriteLeavesAWholeHive) {
    int ready[2];
    ASSERT_EQ(0, pipe(ready));
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        close(ready[0]);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kOptions, 0, nullptr, 0, 0, nullptr, &key, nullptr) != 0)
            _exit(1);
        for (DWORD i = 0;; ++i) {
            std::u16string name = u"v" + platform::format(u"%05u", i);
            if (setDword(key, name.c_str(), i) != ERROR_SUCCESS) _exit(2);
            char done = 1;
            if (i < 20 && write(ready[1], &done, 1) != 1) _exit(3);
        }
    }
    close(ready[1]);
    char buffer[20];
    size_t got = 0;
    while (got < sizeof buffer) {
        ssize_t n = read(ready[0], buffer + got, sizeof buffer - got);
        ASSERT_GT(n, 0);
        got += static_cast<size_t>(n);
    }
    kill(writer, SIGKILL);  // lands somewhere inside a later write
    waitpid(writer, nullptr, 0);
    close(ready[0]);

    ::testing::internal::CaptureStderr();
    HKEY key = create(kOptions);
    DWORD count = 0;
    while (readDword(key, (u"v" + platform::format(u"%05u", count)).c_str(), 999999) == count)
        ++count;
    EXPECT_EQ("", ::testing::internal::GetCapturedStderr());
    EXPECT_GE(count, 20u);
    // The values form an unbroken run: every write is whole or absent.
    EXPECT_EQ(999999u, readDword(key, (u"v" + platform::format(u"%05u", count + 1)).c_str(), 999999));
    // The next write clears the dead writer's temporary file.
    EXPECT_EQ(ERROR_SUCCESS, setDword(key, u"after", 1));
    for (const auto& entry : std::filesystem::directory_iterator(m_root.path() + "/registry")) {
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp-")) << entry.path();
    }
}

// Names that differ only in unpaired surrogates stay apart, and a key name read with an escaped
// backslash stays one name, when the hive is written and read again.
TEST_F(Registry, EveryNameAndTextSurvivesTheFileUnitForUnit) {
    {
        std::filesystem::create_directories(m_root.path() + "/registry");
        std::ofstream hive(m_root.path() + "/registry/HKCU.hive");
        hive << "[a%5Cb]\n\"x\"=dword:00000001\n";
    }
    HKEY key = create(kOptions);
    const std::u16string high(1, u'\xD800'), low(1, u'\xDC01'),
        text =
            u"a\xDBFF"
            u"b";
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(ERROR_SUCCESS, setDword(key, high.c_str(), 1));
    ASSERT_EQ(ERROR_SUCCESS, setDword(key, low.c_str(), 2));
    ASSERT_EQ(ERROR_SUCCESS, setText(key, u"Text", text));

    platform::registryReset();
    EXPECT_EQ(1u, readDword(key, high.c_str(), 0));
    EXPECT_EQ(2u, readDword(key, low.c_str(), 0));
    WCHAR read[8] = {};
    DWORD size = sizeof read;
    ASSERT_EQ(ERROR_SUCCESS,
              RegQueryValueExW(key, u"Text", nullptr, nullptr, reinterpret_cast<BYTE*>(read), &size));
    EXPECT_EQ(text, std::u16string(read));
    WCHAR name[8] = {};
    DWORD length = 8;
    ASSERT_EQ(ERROR_SUCCESS,
              RegEnumKeyExW(HKEY_CURRENT_USER, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(std::u16string(u"a\\b"), std::u16string(name));
    EXPECT_EQ("", ::testing::internal::GetCapturedStderr());  // nothing was set aside
}

TEST_F(Registry, ADamagedHiveIsSetAsideAndDefaultsApply) {
    HKEY key = create(kOptions);
    ASSERT_EQ(ERROR_SUCCESS, setDword(key, u"TodayFailed", 1));
    {
        std::ofstream damage(m_root.path() + "/registry/HKCU.hive", std::ios::trunc);
        damage << "[Software]\n\"broken=dword:zz\n";
    }
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(0u, readDword(key, u"TodayFailed", 0));
    std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, message.find("damaged"));
    EXPECT_NE(std::string::npos, message.find("HKCU.hive.damaged-1"));
    std::ifstream aside(m_root.path() + "/registry/HKCU.hive.damaged-1");
    EXPECT_TRUE(aside.good());
    // The program carries on: new values are written to a fresh hive, and no second report appears.
    ::testing::internal::CaptureStderr();
    HKEY fresh = create(kOptions);
    EXPECT_EQ(ERROR_SUCCESS, setDword(fresh, u"TodayFailed", 0));
    EXPECT_EQ(0u, readDword(fresh, u"TodayFailed", 5));
    EXPECT_EQ("", ::testing::internal::GetCapturedStderr());
}

}  // namespace
