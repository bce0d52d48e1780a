// Module handles (load addresses found through the dynamic loader) and the registry of each module's
// resource table.
#include "ResourceModules.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/auxv.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "platform/device.h"
#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform {
namespace {

struct ModuleTables {
    std::shared_mutex lock;
    std::map<HINSTANCE, std::shared_ptr<const ResourceIndex>> tables;
};

ModuleTables& moduleTables() {
    static ModuleTables* instance = new ModuleTables;  // never destroyed: modules may look up during exit
    return *instance;
}

HINSTANCE mainProgram() {
    static const HINSTANCE base = moduleOf(reinterpret_cast<const void*>(getauxval(AT_ENTRY)));
    return base;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string baseName(const std::string& path, char separator) {
    size_t slash = path.rfind(separator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "libX.so.1" -> "x", "X.dll" -> "x", "X" -> "x": the stem by which device and Linux names meet.
std::string moduleStem(std::string name) {
    name = lowerAscii(name);
    size_t so = name.find(".so");
    if (so != std::string::npos && (so + 3 == name.size() || name[so + 3] == '.')) {
        name.erase(so);
        if (name.rfind("lib", 0) == 0) name.erase(0, 3);
        return name;
    }
    for (const char* extension : {".dll", ".exe"}) {
        size_t at = name.size() >= 4 ? name.size() - 4 : std::string::npos;
        if (at != std::string::npos && name.compare(at, 4, extension) == 0) return name.erase(at);
    }
    return name;
}

struct NameSearch {
    std::string wanted;
    std::string wantedStem;
    HINSTANCE found = nullptr;
};

int matchLoadedModule(dl_phdr_info* info, size_t, void* data) {
    auto* search = static_cast<NameSearch*>(data);
    std::string path = info->dlpi_name != nullptr ? info->dlpi_name : "";
    if (path.empty()) path = program_invocation_name;  // the main program has no name here
    std::string file = lowerAscii(baseName(path, '/'));
    if (file.empty() || (file != search->wanted && moduleStem(file) != search->wantedStem)) return 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type != PT_LOAD) continue;
        search->found = moduleOf(reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr));
        return search->found != nullptr ? 1 : 0;
    }
    return 0;
}

}  // namespace

HINSTANCE moduleOf(const void* addressInModule) {
    Dl_info info{};
    if (addressInModule == nullptr || dladdr(addressInModule, &info) == 0) return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

bool registerModuleResources(HINSTANCE module, const ResourceTable& table) {
    if (module == nullptr) return false;
    auto index = ResourceIndex::build(table);
    if (!index) return false;
    ModuleTables& t = moduleTables();
    std::unique_lock guard(t.lock);
    t.tables[module] = std::make_shared<const ResourceIndex>(std::move(*index));
    return true;
}

void unregisterModuleResources(HINSTANCE module) {
    ModuleTables& t = moduleTables();
    std::unique_lock guard(t.lock);
    t.tables.erase(module);
}

std::shared_ptr<const ResourceIndex> resourceIndexOf(HINSTANCE module) {
    if (module == nullptr) module = mainProgram();
    ModuleTables& t = moduleTables();
    std::shared_lock guard(t.lock);
    auto it = t.tables.find(module);
    return it == t.tables.end() ? nullptr : it->second;
}

}  // namespace platform

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    using namespace platform;
    if (moduleName == nullptr) return mainProgram();
    NameSearch search;
    search.wanted = lowerAscii(baseName(toUtf8(moduleName), '\\'));
    search.wantedStem = moduleStem(search.wanted);
    if (!search.wanted.empty()) dl_iterate_phdr(matchLoadedModule, &search);
    if (search.found == nullptr) SetLastError(ERROR_MOD_NOT_FOUND);
    return search.found;
}
