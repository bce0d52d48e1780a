// Starting the built programs, copying the seeded demo root and reading snapshots back.
#include "ProgramRun.h"

#include "TempRoot.h"

#include <png.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace dashele2e {
namespace {

namespace fs = std::filesystem;

// The demo root seeded once for the whole test program; removed at exit.
struct SeededRoot {
    std::string path;
    bool ok = false;
    SeededRoot() {
        char pattern[] = "/tmp/dashel-e2e-seed-XXXXXX";
        if (mkdtemp(pattern) == nullptr) return;
        path = pattern;
        ok = runProgram(programPath("financestore"), {"--root", path, "init", "--demo"}, {}, path + ".log") ==
             0;
    }
    ~SeededRoot() {
        std::error_code error;
        if (!path.empty()) {
            fs::remove_all(path, error);
            fs::remove(path + ".log", error);
        }
    }
};

}  // namespace

std::string programPath(const std::string& name) {
    return platform::testing::builtProgram(name);
}

bool copyDemoRoot(const std::string& folder) {
    static SeededRoot seeded;
    if (!seeded.ok) return false;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(seeded.path, error)) {
        if (entry.path().filename() == "run") continue;  // the seeding process's live entries
        fs::copy(entry.path(), fs::path(folder) / entry.path().filename(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
        if (error) return false;
    }
    return !error;
}

Program::Program(const std::string& path, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment, const std::string& outputFile)
    : m_outputFile(outputFile) {
    std::vector<std::string> argv{path};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    m_pid = fork();
    if (m_pid != 0) return;
    for (const auto& [name, value] : environment)
        setenv(name.c_str(), value.c_str(), 1);
    FILE* out = std::fopen(outputFile.c_str(), "w");
    if (out != nullptr) {
        dup2(fileno(out), 1);
        dup2(fileno(out), 2);
    }
    execv(path.c_str(), pointers.data());
    _exit(127);
}

Program::~Program() {
    if (m_pid > 0 && !m_done) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

int Program::wait(int timeoutMs) {
    if (m_pid <= 0) return -1;
    // Waiting for another process: this is the only place the tests wait on the wall clock.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_done) {
        int status = 0;
        pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_done = true;
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return m_status;
}

bool Program::running() {
    if (m_pid <= 0 || m_done) return false;
    return wait(0) == -1 && !m_done;
}

void Program::terminate() {
    if (m_pid > 0 && !m_done) kill(m_pid, SIGTERM);
}

std::string Program::output() const {
    return readFile(m_outputFile);
}

int runProgram(const std::string& path, const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment, const std::string& outputFile) {
    Program program(path, arguments, environment, outputFile);
    return program.wait();
}

bool Snapshot::load(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgb.resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

uint32_t Snapshot::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

double Snapshot::share(int left, int top, int right, int bottom, uint32_t colour) const {
    long total = 0, matching = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            ++total;
            matching += at(x, y) == colour ? 1 : 0;
        }
    return total == 0 ? 0.0 : static_cast<double>(matching) / static_cast<double>(total);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace dashele2e
