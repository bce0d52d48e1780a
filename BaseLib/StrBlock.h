// Internal to Str: the size classes of its buffers, the limits, and the error-log report shared by
// Str's source files.
#pragma once

#include <cstdint>

namespace strblock {

inline constexpr int32_t kEmptyReferenceCount = 100;
// The longest string whose block size still fits the 32-bit capacity field.
inline constexpr int kMaxLength = INT32_MAX / 2 - 8;
inline constexpr const char16_t* kSourceName = u"BaseLib/Str";

// Block size in bytes for length characters: need = (length + 7) * 2 (header and terminator
// included), then 64, 128 or 256 when need is below that, otherwise the larger of need and 512.
int32_t sizeClass(int64_t length);
// The characters (without terminator) a block of that size class can hold.
int roomOf(int32_t capacity);
// Writes "Memory allocation failed" to the error log.
void reportAllocationFailure();

}  // namespace strblock
