// Damaging store files for tests, file checksums, and giving up the override of file permissions.
#include "StoreDamage.h"

#include <linux/capability.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

namespace platform::testing {
namespace {

constexpr size_t kMiddleDamage = 8192;
constexpr size_t kHeaderBytes = 100;

std::vector<char> randomBytes(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<char> bytes(count);
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

bool overwrite(const std::string& path, size_t offset, const std::vector<char>& bytes) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return false;
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool writeDatabase(const std::string& path, const char* sql) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    return sqlite3_close(db) == SQLITE_OK && ok;
}

}  // namespace

const char* storeDamageName(StoreDamage damage) {
    switch (damage) {
        case StoreDamage::EmptyFile:
            return "EmptyFile";
        case StoreDamage::ForeignDatabase:
            return "ForeignDatabase";
        case StoreDamage::DatabaseWithoutTables:
            return "DatabaseWithoutTables";
        case StoreDamage::RandomMiddle:
            return "RandomMiddle";
        case StoreDamage::HeaderOverwritten:
            return "HeaderOverwritten";
        case StoreDamage::HalfCut:
            return "HalfCut";
    }
    return "?";
}

bool damageStore(const std::string& path, StoreDamage damage) {
    std::error_code error;
    for (const char* suffix : {"-wal", "-shm"})
        std::filesystem::remove(path + suffix, error);
    const auto size = static_cast<size_t>(std::filesystem::file_size(path, error));
    switch (damage) {
        case StoreDamage::EmptyFile:
            std::filesystem::resize_file(path, 0, error);
            return !error;
        case StoreDamage::ForeignDatabase:
            return writeDatabase(path,
                                 "CREATE TABLE notes(id INTEGER PRIMARY KEY, text TEXT);"
                                 "INSERT INTO notes(text) VALUES('shopping list'), ('call the bank')");
        case StoreDamage::DatabaseWithoutTables:
            return writeDatabase(path, "PRAGMA user_version = 7");
        case StoreDamage::RandomMiddle:
            return !error && size >= 2 * kMiddleDamage &&
                   overwrite(path, size / 2 - kMiddleDamage / 2, randomBytes(kMiddleDamage, 17));
        case StoreDamage::HeaderOverwritten:
            return !error && size > kHeaderBytes && overwrite(path, 0, randomBytes(kHeaderBytes, 23));
        case StoreDamage::HalfCut:
            std::filesystem::resize_file(path, size / 2, error);
            return !error && size > 0;
    }
    return false;
}

uint64_t fileChecksum(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return 0;
    uint64_t hash = 14695981039346656037ull;
    for (std::istreambuf_iterator<char> it(file), end; it != end; ++it) {
        hash ^= static_cast<unsigned char>(*it);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool giveUpPermissionOverride() {
    // Dropped from the bounding set, they stay gone across exec; dropped from this process's own sets,
    // they stop applying at once (access() looks at the permitted set).
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
        if (prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0 && geteuid() == 0) return false;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        const uint32_t bit = 1u << (capability % 32);
        __user_cap_data_struct& word = data[capability / 32];
        word.effective &= ~bit;
        word.permitted &= ~bit;
        word.inheritable &= ~bit;
    }
    return syscall(SYS_capset, &header, data) == 0;
}

}  // namespace platform::testing
