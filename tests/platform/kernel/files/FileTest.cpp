// Files on device paths: creation dispositions, appending, seeking, reading, two handles on one
// file, missing folders, truncation, folder operations, move and copy.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "TempRoot.h"
#include "platform/windows.h"

namespace {

class DeviceFiles : public ::testing::Test {
  protected:
    std::string hostText(const std::string& relative) {
        std::ifstream in(m_root.path() + "/" + relative, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static BOOL write(HANDLE h, const std::string& text) {
        DWORD written = 0;
        const BOOL ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return ok && written == text.size();
    }
    static std::string read(HANDLE h, DWORD bytes) {
        std::string text(bytes, '\0');
        DWORD got = 0;
        if (!ReadFile(h, text.data(), bytes, &got, nullptr)) return "<failed>";
        text.resize(got);
        return text;
    }
    static HANDLE open(LPCWSTR path, DWORD disposition, DWORD access = GENERIC_READ | GENERIC_WRITE) {
        return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    platform::testing::TempRoot m_root;
};

TEST_F(DeviceFiles, DispositionsOnMissingAndExistingFiles) {
    struct Case {
        DWORD disposition;
        bool exists;
        bool succeeds;
        DWORD error;
        const char* contentAfter;
    };
    const Case cases[] = {
        {CREATE_NEW, false, true, 0, ""},
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
        {CREATE_ALWAYS, false, true, 0, ""},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {OPEN_EXISTING, true, true, 0, "old"},
        {OPEN_ALWAYS, false, true, 0, ""},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {TRUNCATE_EXISTING, true, true, 0, ""},
    };
    for (const Case& c : cases) {
        const std::string where =
            "disposition " + std::to_string(c.disposition) + (c.exists ? " existing" : " missing");
        DeleteFileW(u"\\case.txt");
        if (c.exists) std::ofstream(m_root.path() + "/case.txt") << "old";
        SetLastError(12345);
        HANDLE h = open(u"\\case.txt", c.disposition);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.succeeds) << where;
        EXPECT_EQ(GetLastError(), c.error) << where;
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (c.contentAfter != nullptr) {
            EXPECT_EQ(hostText("case.txt"), c.contentAfter) << where;
        } else {
            EXPECT_EQ(GetFileAttributesW(u"\\case.txt"), INVALID_FILE_ATTRIBUTES) << where;
        }
    }
}

TEST_F(DeviceFiles, AppendSeekAndRead) {
    HANDLE h = open(u"\\error.log", OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(write(h, "first\r\n"));
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), 7u);
    EXPECT_TRUE(write(h, "second\r\n"));
    EXPECT_EQ(GetFileSize(h, nullptr), 15u);
    EXPECT_EQ(SetFilePointer(h, 2, nullptr, FILE_BEGIN), 2u);
    EXPECT_EQ(read(h, 3), "rst");
    EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_CURRENT), 2u);
    EXPECT_EQ(SetFilePointer(h, -8, nullptr, FILE_END), 7u);
    EXPECT_EQ(read(h, 100), "second\r\n");
    EXPECT_EQ(read(h, 100), "");  // at the end: success with nothing read
    SetLastError(0);
    EXPECT_EQ(SetFilePointer(h, -100, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 15u);  // unchanged by the failed move
    LONG high = 1;
    EXPECT_EQ(SetFilePointer(h, 5, &high, FILE_BEGIN), 5u);  // 4 GiB + 5: sparse, beyond 32 bits
    EXPECT_EQ(high, 1);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
    CloseHandle(h);
    EXPECT_EQ(hostText("error.log"), "first\r\nsecond\r\n");
}

TEST_F(DeviceFiles, TwoSharingHandlesBothAppendAtTheEnd) {
    HANDLE a = open(u"\\error.log", OPEN_ALWAYS);
    HANDLE b = open(u"\\error.log", OPEN_ALWAYS);
    ASSERT_NE(a, INVALID_HANDLE_VALUE);
    ASSERT_NE(b, INVALID_HANDLE_VALUE);
    for (int round = 0; round < 3; ++round) {
        SetFilePointer(a, 0, nullptr, FILE_END);
        EXPECT_TRUE(write(a, "A" + std::to_string(round)));
        SetFilePointer(b, 0, nullptr, FILE_END);
        EXPECT_TRUE(write(b, "B" + std::to_string(round)));
    }
    CloseHandle(a);
    CloseHandle(b);
    EXPECT_EQ(hostText("error.log"), "A0B0A1B1A2B2");
}

TEST_F(DeviceFiles, MissingFoldersAndFolderPaths) {
    SetLastError(0);
    EXPECT_EQ(open(u"\\My Documents\\x.txt", CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\x.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(CreateDirectoryW(u"\\a\\b", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    ASSERT_TRUE(CreateDirectoryW(u"\\My Documents", nullptr));
    EXPECT_FALSE(CreateDirectoryW(u"\\My Documents", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(open(u"\\My Documents", OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    HANDLE h = open(u"\\My Documents\\x.txt", CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\x.txt"), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(DeleteFileW(u"\\My Documents"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(RemoveDirectoryW(u"\\My Documents"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_TRUE(DeleteFileW(u"\\My Documents\\x.txt"));
    EXPECT_FALSE(DeleteFileW(u"\\My Documents\\x.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(RemoveDirectoryW(u"\\My Documents"));
}

TEST_F(DeviceFiles, AccessRightsAndTruncation) {
    HANDLE h = open(u"\\data.bin", CREATE_NEW);
    EXPECT_TRUE(write(h, "0123456789"));
    EXPECT_EQ(SetFilePointer(h, 4, nullptr, FILE_BEGIN), 4u);
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, nullptr), 4u);
    EXPECT_TRUE(FlushFileBuffers(h));
    CloseHandle(h);
    HANDLE reader = open(u"\\data.bin", OPEN_EXISTING, GENERIC_READ);
    DWORD written = 7;
    EXPECT_FALSE(WriteFile(reader, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(read(reader, 10), "0123");
    CloseHandle(reader);
    HANDLE writer = open(u"\\data.bin", OPEN_EXISTING, GENERIC_WRITE);
    EXPECT_EQ(read(writer, 1), "<failed>");
    CloseHandle(writer);
    EXPECT_EQ(open(u"\\data.bin", TRUNCATE_EXISTING, GENERIC_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(open(u"\\data.bin", 0), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFile(INVALID_HANDLE_VALUE, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE, nullptr), INVALID_FILE_SIZE);
}

TEST_F(DeviceFiles, MoveAndCopyNeverOverwriteUnasked) {
    HANDLE h = open(u"\\a.txt", CREATE_NEW);
    write(h, "alpha");
    CloseHandle(h);
    h = open(u"\\b.txt", CREATE_NEW);
    write(h, "beta");
    CloseHandle(h);
    EXPECT_FALSE(MoveFileW(u"\\a.txt", u"\\b.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CopyFileW(u"\\a.txt", u"\\b.txt", TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(hostText("b.txt"), "beta");
    EXPECT_TRUE(CopyFileW(u"\\a.txt", u"\\b.txt", FALSE));
    EXPECT_EQ(hostText("b.txt"), "alpha");
    EXPECT_TRUE(CopyFileW(u"\\a.txt", u"\\c.txt", TRUE));
    EXPECT_EQ(hostText("c.txt"), "alpha");
    EXPECT_TRUE(MoveFileW(u"\\c.txt", u"\\d.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\c.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(hostText("d.txt"), "alpha");
    EXPECT_FALSE(MoveFileW(u"\\missing.txt", u"\\e.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(CopyFileW(u"\\missing.txt", u"\\e.txt", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
