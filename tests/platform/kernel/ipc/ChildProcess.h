// A forked child that runs test code alongside the parent, with a two-way byte channel for
// handshakes, so cross-process tests wait on each other instead of on time.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace ipctest {

class Channel {
  public:
    Channel(int readFd, int writeFd) : m_read(readFd), m_write(writeFd) {}
    bool send(char c) const { return ::write(m_write, &c, 1) == 1; }
    // The next byte from the other side, or 0 when it closed its end.
    char receive() const {
        char c = 0;
        return ::read(m_read, &c, 1) == 1 ? c : 0;
    }

  private:
    int m_read;
    int m_write;
};

class ChildProcess {
  public:
    // Forks; the child runs body with its end of the channel and exits with body's result.
    explicit ChildProcess(const std::function<int(const Channel&)>& body) {
        int toChild[2], toParent[2];
        if (::pipe(toChild) != 0 || ::pipe(toParent) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(toChild[1]);
            ::close(toParent[0]);
            int code = body(Channel(toChild[0], toParent[1]));
            ::_exit(code);
        }
        ::close(toChild[0]);
        ::close(toParent[1]);
        m_readFd = toParent[0];
        m_writeFd = toChild[1];
    }
    ~ChildProcess() {
        finish();
        if (m_readFd >= 0) ::close(m_readFd);
    }

    Channel channel() const { return Channel(m_readFd, m_writeFd); }
    // Closes the parent's sending end (the child reads 0), waits for the child and returns its exit
    // code, -1 when it died by a signal.
    int finish() {
        if (m_writeFd >= 0) ::close(m_writeFd), m_writeFd = -1;
        if (m_pid <= 0) return -1;
        int status = 0;
        const bool reaped = ::waitpid(m_pid, &status, 0) == m_pid;
        m_pid = -1;
        m_code = reaped && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return m_code;
    }

  private:
    pid_t m_pid = -1;
    int m_readFd = -1;
    int m_writeFd = -1;
    int m_code = -1;
};

}  // namespace ipctest
