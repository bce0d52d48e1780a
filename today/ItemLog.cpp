// Writing the diagnostic log in the device's default code page.
#include "ItemLog.h"

#include <vector>

#include "platform/windows.h"

namespace today {

namespace {

constexpr const WCHAR* kLogFolder = u"\\My Documents";
constexpr const WCHAR* kLogFile = u"\\My Documents\\BrimwellLog.txt";

std::u16string decimal(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

void ItemLog::value(const char16_t* event, int value) {
    append(std::u16string(event) + u": " + decimal(value));
}

void ItemLog::point(const char16_t* event, int x, int y) {
    append(std::u16string(event) + u"\tx: " + decimal(x) + u"\ty: " + decimal(y));
}

void ItemLog::append(const std::u16string& line) {
    if (!m_started) CreateDirectoryW(kLogFolder, nullptr);
    HANDLE file = CreateFileW(kLogFile, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              m_started ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    m_started = true;
    const std::u16string text = line + u"\r\n";
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
        std::vector<char> converted(static_cast<size_t>(bytes));
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, converted.data(), bytes, nullptr, nullptr);
        DWORD written = 0;
        SetFilePointer(file, 0, nullptr, FILE_END);
        WriteFile(file, converted.data(), static_cast<DWORD>(bytes), &written, nullptr);
    }
    CloseHandle(file);
}

}  // namespace today
