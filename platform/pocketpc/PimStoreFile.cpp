// The store file: a header line, the next object id, then one item a line with tab-separated fields in
// which tabs, line ends and backslashes are escaped.
#include "PimStoreFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "../kernel/FileLocks.h"
#include "platform/device.h"

namespace platform::pim {
namespace {

constexpr const char* kHeader = "pimstore 1";
constexpr const char* kLockFile = "pimstore.lock";

std::string escaped(const std::u16string& text) {
    std::string out;
    for (char c : toUtf8(text)) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

bool unescaped(const std::string& text, std::u16string& out) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case '\\':
                bytes += '\\';
                break;
            case 't':
                bytes += '\t';
                break;
            case 'n':
                bytes += '\n';
                break;
            case 'r':
                bytes += '\r';
                break;
            default:
                return false;
        }
    }
    out = fromUtf8(bytes);
    return true;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    if (!line.empty() && line.back() == '\t') fields.emplace_back();
    return fields;
}

bool parseNumber(const std::string& text, LONG& value) {
    if (text.empty() || text.size() > 10) return false;
    long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    if (number > 0x7FFFFFFF) return false;
    value = static_cast<LONG>(number);
    return true;
}

bool parseItem(const std::string& line, ItemData& item) {
    const std::vector<std::string> f = fieldsOf(line);
    return f.size() == 4 && parseNumber(f[0], item.oid) && parseNumber(f[1], item.type) &&
           unescaped(f[2], item.subject) && unescaped(f[3], item.body);
}

bool parse(std::istream& in, StoreData& data) {
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return false;
    if (!std::getline(in, line) || line.rfind("next ", 0) != 0 || !parseNumber(line.substr(5), data.nextOid))
        return false;
    while (std::getline(in, line)) {
        ItemData item;
        if (!parseItem(line, item) || item.oid < 1 || item.oid >= data.nextOid) return false;
        data.items.push_back(std::move(item));
    }
    return true;
}

std::string serialize(const StoreData& data) {
    std::string out = std::string(kHeader) + "\nnext " + std::to_string(data.nextOid) + "\n";
    for (const ItemData& item : data.items)
        out += std::to_string(item.oid) + "\t" + std::to_string(item.type) + "\t" + escaped(item.subject) +
               "\t" + escaped(item.body) + "\n";
    return out;
}

bool writeWhole(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool writeStore(const StoreData& data) {
    const std::string path = storeFilePath();
    const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = writeWhole(fd, serialize(data)) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

const ItemData* StoreData::find(LONG oid) const {
    for (const ItemData& item : items)
        if (item.oid == oid) return &item;
    return nullptr;
}

std::string storeFilePath() {
    return deviceRoot() + "/pimstore.txt";
}

bool readStore(StoreData& data) {
    data = StoreData{};
    std::ifstream in(storeFilePath());
    if (!in) return ::access(storeFilePath().c_str(), F_OK) != 0;
    StoreData read;
    if (!parse(in, read)) return false;
    data = std::move(read);
    return true;
}

bool modifyStore(const std::function<bool(StoreData&)>& change) {
    RunLockFile lock(deviceRoot(), kLockFile);
    if (!lock.lockExclusive()) return false;
    StoreData data;
    return readStore(data) && change(data) && writeStore(data);
}

}  // namespace platform::pim
