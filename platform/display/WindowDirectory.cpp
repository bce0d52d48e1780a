// The window directory: entry files in run/windows/, the per-process receiver socket (an abstract
// Unix datagram socket named after the pid and start time, so it vanishes with its process), and
// foreign handles that carry a tag bit no local handle has.

#include "WindowDirectory.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/device.h"
#include "platform/text.h"

namespace platform::display {

namespace {

namespace fs = std::filesystem;

constexpr uintptr_t kForeignTag = uintptr_t{1} << 62;
constexpr uint32_t kMagic = 0x56574431;  // "VWD1"
constexpr uint32_t kPost = 1;
constexpr uint32_t kForeground = 2;
constexpr uint32_t kStop = 3;
constexpr const char* kEntrySuffix = ".win";
constexpr auto kStopWait = std::chrono::seconds(2);

struct Request {
    uint32_t magic;
    uint32_t kind;
    uint64_t window;
    uint64_t wParam;
    int64_t lParam;
    uint32_t message;
    uint32_t padding;
};

// Start time of a process in clock ticks since boot (field 22 of /proc/PID/stat); 0 when it is gone.
unsigned long long processStart(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) return 0;
    size_t paren = stat.rfind(')');
    if (paren == std::string::npos) return 0;
    std::istringstream fields(stat.substr(paren + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field;)
        ++i;
    unsigned long long start = 0;
    return fields >> start ? start : 0;
}

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '%' || c == '\n' || c == '\r') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string entryText(const DirectoryEntry& e) {
    std::ostringstream out;
    out << "pid " << e.pid << "\nstart " << e.processStart << "\nwindow " << e.window << "\nsocket "
        << e.socketName << "\nclass " << escape(toUtf8(e.className)) << "\ntitle " << escape(toUtf8(e.title))
        << "\n";
    return out.str();
}

// Reads an entry file; false for a damaged or partly written one.
bool readEntry(const fs::path& path, DirectoryEntry& e) {
    std::ifstream in(path);
    std::string line;
    int seen = 0;
    while (std::getline(in, line)) {
        size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        std::string key = line.substr(0, space);
        std::string value = line.substr(space + 1);
        if (key == "pid")
            e.pid = std::strtol(value.c_str(), nullptr, 10);
        else if (key == "start")
            e.processStart = std::strtoull(value.c_str(), nullptr, 10);
        else if (key == "window")
            e.window = std::strtoull(value.c_str(), nullptr, 10);
        else if (key == "socket")
            e.socketName = value;
        else if (key == "class")
            e.className = fromUtf8(unescape(value));
        else if (key == "title")
            e.title = fromUtf8(unescape(value));
        else
            continue;
        ++seen;
    }
    return seen == 6 && e.pid > 0 && !e.socketName.empty();
}

socklen_t abstractAddress(const std::string& name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    size_t length = std::min(name.size(), sizeof address.sun_path - 2);
    std::memcpy(address.sun_path + 1, name.data(), length);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

bool matches(const std::u16string& value, LPCWSTR wanted) {
    return !wanted || _wcsicmp(value.c_str(), wanted) == 0;
}

bool isOwnTopLevel(HWND window) {
    bool found = false;
    forEachTopLevelWindow([&](HWND top) { found = found || top == window; });
    return found;
}

}  // namespace

WindowDirectory::WindowDirectory()
    : m_folder(runFolder() + "/windows"), m_pid(static_cast<long>(getpid())), m_start(processStart(m_pid)) {
    std::error_code ignored;
    fs::create_directories(m_folder, ignored);
    m_socketName = "varkel.windows." + std::to_string(m_pid) + "." + std::to_string(m_start);
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address;
    socklen_t length = abstractAddress(m_socketName, address);
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
        close(fd);
        fd = -1;
    }
    m_state->socket = fd;
    entries();
    if (fd >= 0) m_receiver = std::thread([state = m_state] { receive(state); });
}

WindowDirectory::ReceiverState::~ReceiverState() {
    if (socket >= 0) close(socket);
}

WindowDirectory::~WindowDirectory() {
    if (m_receiver.joinable()) {
        m_state->stopping = true;
        Request stop{kMagic, kStop, 0, 0, 0, 0, 0};
        sockaddr_un address;
        socklen_t length = abstractAddress(m_socketName, address);
        sendto(m_state->socket, &stop, sizeof stop, 0, reinterpret_cast<sockaddr*>(&address), length);
        std::unique_lock lock(m_state->mutex);
        bool stopped = m_state->stopped.wait_for(lock, kStopWait, [this] { return m_state->done; });
        lock.unlock();
        if (stopped)
            m_receiver.join();
        else
            m_receiver.detach();
    }
    std::lock_guard lock(m_mutex);
    for (const auto& [window, text] : m_written) {
        std::error_code ignored;
        fs::remove(m_folder + "/" + std::to_string(m_pid) + "-" + std::to_string(window) + kEntrySuffix,
                   ignored);
    }
}

void WindowDirectory::sync() {
    std::vector<HWND> tops;
    forEachTopLevelWindow([&](HWND top) { tops.push_back(top); });
    std::map<unsigned long long, std::string> now;
    for (HWND top : tops) {
        WCHAR className[256] = {};
        WCHAR title[256] = {};
        if (GetClassNameW(top, className, 256) <= 0) continue;
        GetWindowTextW(top, title, 256);
        DirectoryEntry e{m_pid, m_start, reinterpret_cast<uintptr_t>(top), className, title, m_socketName};
        now[e.window] = entryText(e);
    }
    std::lock_guard lock(m_mutex);
    std::string prefix = m_folder + "/" + std::to_string(m_pid) + "-";
    for (const auto& [window, text] : m_written) {
        if (now.count(window)) continue;
        std::error_code ignored;
        fs::remove(prefix + std::to_string(window) + kEntrySuffix, ignored);
    }
    for (const auto& [window, text] : now) {
        auto old = m_written.find(window);
        if (old != m_written.end() && old->second == text) continue;
        std::string path = prefix + std::to_string(window) + kEntrySuffix;
        std::string temporary = path + ".tmp";
        std::ofstream(temporary, std::ios::trunc) << text;
        std::error_code failed;
        fs::rename(temporary, path, failed);
    }
    m_written = std::move(now);
}

std::vector<DirectoryEntry> WindowDirectory::entries() {
    std::vector<DirectoryEntry> live;
    std::error_code failed;
    std::vector<fs::path> files;
    for (const auto& item : fs::directory_iterator(m_folder, failed))
        if (item.path().extension() == kEntrySuffix) files.push_back(item.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        DirectoryEntry e;
        if (!readEntry(file, e)) continue;
        if (e.pid == m_pid) continue;
        if (processStart(e.pid) != e.processStart || e.processStart == 0) {
            std::error_code ignored;
            fs::remove(file, ignored);  // the process ended without removing its entries
            continue;
        }
        live.push_back(std::move(e));
    }
    return live;
}

HWND WindowDirectory::find(LPCWSTR className, LPCWSTR windowName) {
    for (const DirectoryEntry& e : entries())
        if (matches(e.className, className) && matches(e.title, windowName)) return handleFor(e);
    return nullptr;
}

HWND WindowDirectory::handleFor(const DirectoryEntry& entry) {
    std::lock_guard lock(m_mutex);
    size_t index = 0;
    for (; index < m_handles.size(); ++index) {
        const DirectoryEntry& known = m_handles[index];
        if (known.pid == entry.pid && known.processStart == entry.processStart &&
            known.window == entry.window)
            break;
    }
    if (index == m_handles.size()) m_handles.push_back(entry);
    return reinterpret_cast<HWND>(kForeignTag | ((index + 1) << 2));
}

bool WindowDirectory::isForeignHandle(HWND window) {
    return (reinterpret_cast<uintptr_t>(window) & kForeignTag) != 0;
}

bool WindowDirectory::entryOf(HWND window, DirectoryEntry& entry) {
    uintptr_t value = reinterpret_cast<uintptr_t>(window) & ~uintptr_t{1};
    if (!isForeignHandle(window)) return false;
    size_t index = ((value & ~kForeignTag) >> 2) - 1;
    std::lock_guard lock(m_mutex);
    if (index >= m_handles.size()) return false;
    entry = m_handles[index];
    return true;
}

bool WindowDirectory::isWindow(HWND window) {
    DirectoryEntry wanted;
    if (!entryOf(window, wanted)) return false;
    for (const DirectoryEntry& e : entries())
        if (e.pid == wanted.pid && e.processStart == wanted.processStart && e.window == wanted.window)
            return true;
    return false;
}

bool WindowDirectory::sendRequest(HWND window, uint32_t kind, UINT message, WPARAM wParam, LPARAM lParam) {
    DirectoryEntry e;
    if (m_state->socket < 0 || !entryOf(window, e) || processStart(e.pid) != e.processStart) return false;
    Request request{kMagic,  kind, e.window, static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam),
                    message, 0};
    sockaddr_un address;
    socklen_t length = abstractAddress(e.socketName, address);
    return sendto(m_state->socket, &request, sizeof request, 0, reinterpret_cast<sockaddr*>(&address),
                  length) == static_cast<ssize_t>(sizeof request);
}

bool WindowDirectory::post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return sendRequest(window, kPost, message, wParam, lParam);
}

bool WindowDirectory::setForeground(HWND window) {
    return sendRequest(window, kForeground, 0, 0, 0);
}

// The receiver thread: turns requests into PostMessageW and SetForegroundWindow on this process's
// windows. SetForegroundWindow sends WM_ACTIVATE to the window's own thread and waits for it, which
// is why it runs here and not on a thread that might be blocked.
void WindowDirectory::receive(const std::shared_ptr<ReceiverState>& state) {
    for (;;) {
        Request request{};
        ssize_t got = recv(state->socket, &request, sizeof request, 0);
        if (state->stopping) {
            std::lock_guard lock(state->mutex);
            state->done = true;
            state->stopped.notify_all();
            return;
        }
        if (got != static_cast<ssize_t>(sizeof request) || request.magic != kMagic) continue;
        HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(request.window));
        if (!isOwnTopLevel(window)) continue;
        if (request.kind == kPost)
            PostMessageW(window, request.message, static_cast<WPARAM>(request.wParam),
                         static_cast<LPARAM>(request.lParam));
        else if (request.kind == kForeground)
            SetForegroundWindow(window);
    }
}

}  // namespace platform::display
