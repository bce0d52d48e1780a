// LoadLibraryW, GetProcAddress and FreeLibrary on the dynamic loader: "coredll.dll" is this
// platform library; other libraries are found in the device root (device paths, windows/ folder)
// or at host paths, with "X.dll" standing for "libX.so".

#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/handles.h"
#include "platform/library.h"
#include "platform/nled.h"
#include "platform/resources.h"
#include "platform/winerror.h"
#include "platform/winuser.h"

namespace platform::pocketpc {

namespace {

namespace fs = std::filesystem;

struct Loaded {
    void* handle;
    int loads;
};

struct Libraries {
    std::mutex mutex;
    std::map<HMODULE, Loaded> loaded;
};

Libraries& libraries() {
    static auto* all = new Libraries();
    return *all;
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

HMODULE platformModule() {
    return moduleOf(reinterpret_cast<const void*>(&NLedSetDevice));
}

// The folder and file name a requested name stands for.
fs::path requestedPath(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    if (name.find('\\') != std::string::npos) return hostPath(fromUtf8(name).c_str());
    return fs::path(deviceRoot()) / "windows" / name;
}

// The folder, its names matched without regard to case as on the device's file system.
fs::path resolveFolder(const fs::path& folder) {
    std::error_code failed;
    if (fs::is_directory(folder, failed)) return folder;
    fs::path resolved = folder.root_path();
    for (const fs::path& part : folder.relative_path()) {
        fs::path next = resolved / part;
        if (!fs::is_directory(next, failed)) {
            for (const auto& item : fs::directory_iterator(resolved, failed))
                if (lower(item.path().filename().string()) == lower(part.string())) next = item.path();
        }
        resolved = next;
    }
    return resolved;
}

// The file to load: the name itself, or for "X.dll" the Linux "libX.so" / "X.so", in any case.
std::string findFile(const fs::path& path) {
    std::string file = path.filename().string();
    std::vector<std::string> wanted{lower(file)};
    std::string lowered = lower(file);
    if (lowered.size() > 4 && lowered.compare(lowered.size() - 4, 4, ".dll") == 0) {
        std::string stem = lowered.substr(0, lowered.size() - 4);
        wanted.push_back("lib" + stem + ".so");
        wanted.push_back(stem + ".so");
    }
    std::error_code failed;
    for (const std::string& candidate : wanted)
        for (const auto& item : fs::directory_iterator(resolveFolder(path.parent_path()), failed))
            if (lower(item.path().filename().string()) == candidate && item.is_regular_file(failed))
                return item.path().string();
    return {};
}

// The load address of a dlopen handle: the module handle the rest of the platform uses.
HMODULE moduleOfHandle(void* handle) {
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
    return moduleOf(reinterpret_cast<const void*>(map->l_ld));
}

FARPROC fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// Looks a symbol up in a module that is loaded, whether or not LoadLibraryW loaded it.
FARPROC lookUp(HMODULE module, const std::string& symbol) {
    if (!module) return fail(ERROR_INVALID_HANDLE);
    Dl_info info{};
    if (!dladdr(module, &info) || info.dli_fbase != module) return fail(ERROR_INVALID_HANDLE);
    bool mainProgram = module == GetModuleHandleW(nullptr);
    void* handle = dlopen(mainProgram ? nullptr : info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle) return fail(ERROR_INVALID_HANDLE);
    void* address = dlsym(handle, symbol.c_str());
    dlclose(handle);
    if (!address) return fail(ERROR_PROC_NOT_FOUND);
    return reinterpret_cast<FARPROC>(address);
}

std::string symbolName(const void* name, bool wide) {
    if (IS_INTRESOURCE(name)) return "Ordinal" + std::to_string(reinterpret_cast<uintptr_t>(name));
    return wide ? toUtf8(static_cast<const char16_t*>(name)) : std::string(static_cast<const char*>(name));
}

// After a library is unloaded: its resource table lay in its memory and goes with it. A window class
// whose procedure lay there can no longer be used; the library should have unregistered it, and the
// leftover is reported so that the fault shows where it is made rather than at the next window.
void forgetUnloaded(HMODULE module) {
    unregisterModuleResources(module);
    forEachWindowClass([&](LPCWSTR name, WNDPROC proc, HINSTANCE classModule) {
        Dl_info info{};
        if (classModule == module || dladdr(reinterpret_cast<void*>(proc), &info) == 0)
            std::fprintf(stderr,
                         "FreeLibrary: the window class \"%s\" still points into the unloaded library\n",
                         toUtf8(name).c_str());
    });
}

}  // namespace

}  // namespace platform::pocketpc

using namespace platform::pocketpc;

HMODULE LoadLibraryW(LPCWSTR fileName) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string name = platform::toUtf8(fileName);
    fs::path path = requestedPath(name);
    std::string base = lower(path.filename().string());
    if (base == "coredll.dll" || base == "coredll") return platformModule();
    std::string file = findFile(path);
    if (file.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "LoadLibraryW(%s): %s\n", name.c_str(), dlerror());
        SetLastError(ERROR_BAD_FORMAT);
        return nullptr;
    }
    HMODULE module = moduleOfHandle(handle);
    Libraries& libs = libraries();
    std::lock_guard lock(libs.mutex);
    auto [it, added] = libs.loaded.try_emplace(module, Loaded{handle, 0});
    if (!added) dlclose(handle);  // the loader counts per dlopen; one reference per module here
    ++it->second.loads;
    return module;
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName) {
    if (!procName) return fail(ERROR_INVALID_PARAMETER);
    return lookUp(module, symbolName(procName, true));
}

FARPROC GetProcAddressA(HMODULE module, LPCSTR procName) {
    if (!procName) return fail(ERROR_INVALID_PARAMETER);
    return lookUp(module, symbolName(procName, false));
}

BOOL FreeLibrary(HMODULE module) {
    if (module && module == platformModule()) return TRUE;
    void* unload = nullptr;
    {
        Libraries& libs = libraries();
        std::lock_guard lock(libs.mutex);
        auto it = libs.loaded.find(module);
        if (it == libs.loaded.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (--it->second.loads == 0) {
            unload = it->second.handle;
            libs.loaded.erase(it);
        }
    }
    // Unloaded outside the lock: the library's static destructors may load or free libraries too.
    if (unload != nullptr) {
        dlclose(unload);
        forgetUnloaded(module);
    }
    return TRUE;
}
