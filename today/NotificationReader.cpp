// Holding the notification block and reading and clearing its flags.
#include "NotificationReader.h"

#include <atomic>

#include "NotificationBlock.h"
#include "platform/windows.h"

namespace today {

namespace {

// The flags are the words after three reserved ones.
constexpr int kFirstFlagWord = 3;
constexpr int kLastFlag = 2;

}  // namespace

bool NotificationReader::open() {
    if (m_block != nullptr) return true;
    m_block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                 dove::kNotificationBlockSize, dove::kNotificationBlockName);
    if (m_block == nullptr) return false;
    m_words =
        static_cast<uint32_t*>(MapViewOfFile(m_block, FILE_MAP_WRITE, 0, 0, dove::kNotificationBlockSize));
    return true;
}

void NotificationReader::close() {
    if (m_words != nullptr) UnmapViewOfFile(m_words);
    m_words = nullptr;
    if (m_block != nullptr) CloseHandle(m_block);
    m_block = nullptr;
}

bool NotificationReader::readAndClear(int flag) {
    if (m_words == nullptr || flag < 0 || flag > kLastFlag) return false;
    // One exchange reads and clears: a flag the writer raises at the same moment is never lost, it is
    // seen now or at the next read. Each flag is an aligned word of the page-aligned view.
    return std::atomic_ref<uint32_t>(m_words[kFirstFlagWord + flag]).exchange(0) != 0;
}

}  // namespace today
