// Running the built programs from the end-to-end tests: a demo device root seeded once per test
// program and copied for each test, dashel and the manager stand-in started with an environment of
// their own, their output and exit status collected, and PNG snapshots read back.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace dashele2e {

// $VARKEL_BINARY_DIR/bin/NAME, else NAME beside the test program.
std::string programPath(const std::string& name);

// Fills folder with a copy of a device root holding the demo store (seeded by "financestore init
// --demo" once per test program). False when the seeding failed.
bool copyDemoRoot(const std::string& folder);

// A started program; its stdout and stderr go to one file.
class Program {
  public:
    // Starts path with the arguments and the extra environment variables (others are inherited).
    Program(const std::string& path, const std::vector<std::string>& arguments,
            const std::map<std::string, std::string>& environment, const std::string& outputFile);
    ~Program();  // kills the program when it still runs
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return m_pid > 0; }
    // Waits up to timeoutMs for the exit; the exit status, or -1 when it did not exit normally in time.
    int wait(int timeoutMs = 60000);
    bool running();
    void terminate();  // SIGTERM
    std::string output() const;

  private:
    pid_t m_pid = -1;
    int m_status = -1;
    bool m_done = false;
    std::string m_outputFile;
};

// Runs the program to its end and returns its exit status (-1 when it did not end normally).
int runProgram(const std::string& path, const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment, const std::string& outputFile);

// An RGB snapshot read back from a PNG file.
struct Snapshot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    bool load(const std::string& path);
    uint32_t at(int x, int y) const;  // 0xRRGGBB
    // The share (0..1) of the pixels inside the rectangle [left, right) x [top, bottom) of colour.
    double share(int left, int top, int right, int bottom, uint32_t colour) const;
};

std::string readFile(const std::string& path);

}  // namespace dashele2e
