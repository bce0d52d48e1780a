// Appending lines to the device's error log.
#include "ErrorLog.h"

#include <string>
#include <vector>

#include "platform/windows.h"

namespace dove {
namespace {

std::u16string formatted(int (*format)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int),
                         const SYSTEMTIME& when, const char16_t* picture) {
    WCHAR buffer[64] = {};
    int n = format(LOCALE_USER_DEFAULT, 0, &when, picture, buffer, 64);
    return n > 0 ? std::u16string(buffer) : std::u16string();
}

void appendPiece(HANDLE file, const std::u16string& piece) {
    if (piece.empty()) return;
    int length = static_cast<int>(piece.size());
    int bytes = WideCharToMultiByte(CP_ACP, 0, piece.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return;
    std::vector<char> converted(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, piece.data(), length, converted.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    SetFilePointer(file, 0, nullptr, FILE_END);
    WriteFile(file, converted.data(), static_cast<DWORD>(bytes), &written, nullptr);
}

}  // namespace

void writeErrorLog(const char16_t* message, const char16_t* sourceName, int lineNumber) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::u16string date = formatted(GetDateFormatW, now, u"yyyy.MM.dd ");
    std::u16string time = formatted(GetTimeFormatW, now, u"HH:mm:ss - ");
    HANDLE file = CreateFileW(u"\\error.log", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    appendPiece(file, date);
    appendPiece(file, time);
    appendPiece(file, message != nullptr ? message : u"");
    if (sourceName != nullptr) {
        std::string line = std::to_string(lineNumber);
        std::u16string location = u"\t\t" + std::u16string(sourceName) + u": " + u"" + u" (" +
                                  std::u16string(line.begin(), line.end()) + u")";
        appendPiece(file, location);
    }
    appendPiece(file, u"\r\n");
    CloseHandle(file);
}

}  // namespace dove
