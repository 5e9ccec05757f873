#pragma once
// A program started by a shell command line, spoken to through its standard
// input and output a line at a time: another engine behind the hub
// protocol.

#include <sys/types.h>
#include <optional>
#include <string>
#include <string_view>

namespace cli {

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Closes its input and gives it a moment to end, then ends it.
    ~ChildProcess();

    // Runs `command` through /bin/sh; false when it cannot be started.
    bool start(const std::string& command);
    // One line to its input; false once it no longer reads.
    bool send(std::string_view line);
    // Its next line of output, waiting at most `timeoutMs`; nothing at the
    // end of its output or when the time runs out (timedOut() tells which).
    std::optional<std::string> readLine(int timeoutMs);
    bool timedOut() const { return m_timedOut; }
    // Its input closed: a program that reads to the end of it should end.
    void closeInput();
    // Waits up to `timeoutMs` for it to end; its exit status, or nothing.
    std::optional<int> wait(int timeoutMs);

private:
    pid_t m_pid = -1;
    int m_in = -1;   // its standard input
    int m_out = -1;  // its standard output
    std::string m_buffer;
    bool m_eof = false;
    bool m_timedOut = false;
    std::optional<int> m_status;
};

}  // namespace cli
