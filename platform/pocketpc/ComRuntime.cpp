// The component runtime: per-thread initialisation, in-process creation of the platform's own classes,
// and counted strings.
#include <cstdlib>
#include <cstring>

#include "PimObjects.h"
#include "platform/objbase.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

// How often the calling thread was initialised, and in which model.
struct ThreadRuntime {
    int initialisations = 0;
    DWORD model = COINIT_MULTITHREADED;
};

ThreadRuntime& threadRuntime() {
    thread_local ThreadRuntime runtime;
    return runtime;
}

// The classes the platform provides.
struct ClassEntry {
    const CLSID* clsid;
    HRESULT (*create)(REFIID iid, void** object);
};

const ClassEntry kClasses[] = {
    {&CLSID_Application, platform::pim::createApplication},
};

}  // namespace

bool IsEqualGUID(const GUID& a, const GUID& b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit) {
    if (reserved != nullptr || (coInit != COINIT_MULTITHREADED && coInit != COINIT_APARTMENTTHREADED))
        return E_INVALIDARG;
    ThreadRuntime& runtime = threadRuntime();
    if (runtime.initialisations > 0 && runtime.model != coInit) return RPC_E_CHANGED_MODE;
    runtime.model = coInit;
    return runtime.initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    ThreadRuntime& runtime = threadRuntime();
    if (runtime.initialisations > 0) --runtime.initialisations;
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (threadRuntime().initialisations == 0) return CO_E_NOTINITIALIZED;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    if ((context & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
    for (const ClassEntry& entry : kClasses)
        if (IsEqualCLSID(*entry.clsid, clsid)) return entry.create(iid, object);
    return REGDB_E_CLASSNOTREG;
}

BSTR SysAllocStringLen(const WCHAR* text, UINT length) {
    // The byte length precedes the characters; a terminator follows them.
    auto* block =
        static_cast<BYTE*>(std::malloc(sizeof(UINT) + (static_cast<size_t>(length) + 1) * sizeof(WCHAR)));
    if (block == nullptr) return nullptr;
    const UINT bytes = length * static_cast<UINT>(sizeof(WCHAR));
    std::memcpy(block, &bytes, sizeof bytes);
    auto* characters = reinterpret_cast<WCHAR*>(block + sizeof(UINT));
    if (text != nullptr)
        std::memcpy(characters, text, length * sizeof(WCHAR));
    else
        std::memset(characters, 0, length * sizeof(WCHAR));
    characters[length] = 0;
    return characters;
}

BSTR SysAllocString(const WCHAR* text) {
    if (text == nullptr) return nullptr;
    UINT length = 0;
    while (text[length] != 0)
        ++length;
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
    if (text != nullptr) std::free(reinterpret_cast<BYTE*>(text) - sizeof(UINT));
}

UINT SysStringLen(BSTR text) {
    if (text == nullptr) return 0;
    UINT bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<BYTE*>(text) - sizeof(UINT), sizeof bytes);
    return bytes / static_cast<UINT>(sizeof(WCHAR));
}
