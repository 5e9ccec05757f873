#include "cli/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace cli {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ChildProcess::~ChildProcess() {
    closeInput();
    if (m_pid > 0 && !wait(2000)) {
        ::kill(m_pid, SIGKILL);
        wait(2000);
    }
    if (m_out >= 0) ::close(m_out);
}

bool ChildProcess::start(const std::string& command) {
    // A child that stops reading must not end this program with SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    int toChild[2], fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) return false;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return false;
    }
    m_pid = ::fork();
    if (m_pid < 0) {
        for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) ::close(fd);
        return false;
    }
    if (m_pid == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    m_in = toChild[1];
    m_out = fromChild[0];
    return true;
}

bool ChildProcess::send(std::string_view line) {
    if (m_in < 0) return false;
    std::string text(line);
    text += '\n';
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(m_in, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> ChildProcess::readLine(int timeoutMs) {
    m_timedOut = false;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (const std::size_t nl = m_buffer.find('\n'); nl != std::string::npos) {
            std::string line = m_buffer.substr(0, nl);
            m_buffer.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        if (m_eof || m_out < 0) return std::nullopt;
        pollfd p{m_out, POLLIN, 0};
        const int ready = ::poll(&p, 1, remainingMs(end));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            m_timedOut = true;
            return std::nullopt;
        }
        char buffer[4096];
        const ssize_t n = ::read(m_out, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_eof = true;
            continue;
        }
        m_buffer.append(buffer, static_cast<std::size_t>(n));
    }
}

void ChildProcess::closeInput() {
    if (m_in >= 0) ::close(m_in);
    m_in = -1;
}

std::optional<int> ChildProcess::wait(int timeoutMs) {
    if (m_status) return m_status;
    if (m_pid <= 0) return std::nullopt;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return m_status;
        }
        if (r < 0 || remainingMs(end) == 0) return std::nullopt;
        ::usleep(10000);
    }
}

}  // namespace cli
