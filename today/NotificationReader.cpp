// Holding the notification block and reading and clearing its flags.
#include "NotificationReader.h"

#include <atomic>
#include <cstdint>

#include "NotificationBlock.h"
#include "platform/windows.h"

namespace today {

namespace {

constexpr DWORD kFirstFlagOffset = 12;
constexpr int kLastFlag = 2;

}  // namespace

bool NotificationReader::open() {
    if (m_block != nullptr) return true;
    m_block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                 dove::kNotificationBlockSize, dove::kNotificationBlockName);
    return m_block != nullptr;
}

void NotificationReader::close() {
    if (m_block != nullptr) CloseHandle(m_block);
    m_block = nullptr;
}

bool NotificationReader::readAndClear(int flag) {
    if (m_block == nullptr || flag < 0 || flag > kLastFlag) return false;
    const DWORD offset = kFirstFlagOffset + 4 * static_cast<DWORD>(flag);
    void* view = MapViewOfFile(m_block, FILE_MAP_WRITE, 0, offset, sizeof(uint32_t));
    if (view == nullptr) return false;
    // One exchange reads and clears: a flag the writer raises at the same moment is never lost, it
    // is seen now or at the next read. The view lies 4-byte aligned (a page plus 12, 16 or 20).
    const uint32_t value = std::atomic_ref<uint32_t>(*static_cast<uint32_t*>(view)).exchange(0);
    UnmapViewOfFile(view);
    return value != 0;
}

}  // namespace today
