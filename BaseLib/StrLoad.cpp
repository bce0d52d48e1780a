// Str's loading of string-table resources: a 256-character first read, longer strings read again in
// steps of 256 characters, and the error-log line for a missing string.
#include <cstdint>

#include "ErrorLog.h"
#include "Str.h"
#include "StrBlock.h"
#include "platform/windows.h"

namespace {

constexpr int kFirstReadLength = 256;
constexpr int kReadStep = 256;
// Fewer free characters than this after a read means the text may have been cut.
constexpr int kMinimumFree = 2;
constexpr int kMissingStringLine = 208;

// Set once at start-up by the program; read by every load without a module. When unset, loads read the
// module this code is built into.
HINSTANCE g_resourceModule = nullptr;

void reportMissingString(UINT id, HINSTANCE module) {
    WCHAR message[96];
    swprintf(message, 96, u"Resource loading fail (id: %d hInst: %x)", static_cast<int>(id),
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(module)));
    dove::writeErrorLog(message, strblock::kSourceName, kMissingStringLine);
}

}  // namespace

void Str::setResourceModule(HINSTANCE module) {
    g_resourceModule = module;
}

HINSTANCE Str::resourceModule() {
    if (g_resourceModule != nullptr) return g_resourceModule;
    return platform::moduleOf(reinterpret_cast<const void*>(&Str::resourceModule));
}

bool Str::load(UINT id, HINSTANCE module) {
    if (module == nullptr) module = resourceModule();
    WCHAR buffer[kFirstReadLength];
    int length = LoadStringW(module, id, buffer, kFirstReadLength);
    if (length <= 0) {
        release();
        reportMissingString(id, module);
        return false;
    }
    if (kFirstReadLength - length < kMinimumFree) return loadLong(module, id);
    Str text(buffer, length);
    if (text.isEmpty()) return false;
    std::swap(m_text, text.m_text);
    return true;
}

// Reads a string that filled the first buffer again, with room for 512, 768, ... characters, until
// the read leaves at least two characters free. The text is read into a buffer of its own so that a
// failed allocation leaves this string as it was.
bool Str::loadLong(HINSTANCE module, UINT id) {
    Str text;
    for (int room = kFirstReadLength + kReadStep;; room += kReadStep) {
        WCHAR* own = text.getBuffer(room - 1);
        if (own == nullptr) return false;
        int length = LoadStringW(module, id, own, room);
        if (room - length >= kMinimumFree) {
            text.releaseBuffer(length);
            break;
        }
    }
    std::swap(m_text, text.m_text);
    return !isEmpty();
}
