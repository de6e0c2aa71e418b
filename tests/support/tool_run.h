// Runs lumetra-map as a user does, through the shell, and reads back what it
// wrote and how it ended: the one way every test of the tool starts it.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/shell_text.h"

namespace lumetra::test {

// One start of the tool.
struct ToolCall {
    std::vector<std::string> args = {};     // the command and its arguments, e.g. {"check", "t.txt"}
    std::string setup = {};                 // shell commands run first, e.g. "cd DIR" or "ulimit -v 49152"
    std::vector<std::string> wrapper = {};  // a program that starts the tool, e.g. setpriv and its options
    std::string program = LUMETRA_MAP_BIN;
};

// How the tool ended and what it wrote.
struct ToolRun {
    int nExit = -1;   // its exit status; -1 when a signal ended it
    int nSignal = 0;  // that signal
    std::string out;
    std::string err;
};

// The tool running, its stdout and stderr going to files in `scratch`.
class CToolProcess {
public:
    CToolProcess(const ToolCall& call, const std::filesystem::path& scratch)
        : m_out(scratch / "tool-stdout.txt"), m_err(scratch / "tool-stderr.txt") {
        std::string script = call.setup.empty() ? "exec" : call.setup + " && exec";
        for (const std::string& word : call.wrapper) script += " " + Quote(word);
        script += " " + Quote(call.program);
        for (const std::string& arg : call.args) script += " " + Quote(arg);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::string shell = "/bin/sh", option = "-c";
        char* argv[] = {shell.data(), option.data(), script.data(), nullptr};
        const int error = posix_spawn(&m_pid, shell.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) throw std::runtime_error("cannot start a shell: " + std::to_string(error));
    }
    ~CToolProcess() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        static_cast<void>(Reap());
    }
    CToolProcess(const CToolProcess&) = delete;
    CToolProcess& operator=(const CToolProcess&) = delete;

    void Signal(int signal) const { ::kill(m_pid, signal); }
    // The tool's own process: the shell and any wrapper exec it.
    pid_t Pid() const { return m_pid; }
    std::string ErrSoFar() const { return ReadAll(m_err); }

    // Waits for the end.
    ToolRun Wait() { return Ended(Reap()); }

    // The end when it comes within `limit`, else nothing (the tool runs on).
    std::optional<ToolRun> WaitAtMost(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return Ended(status);
            }
            if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

private:
    ToolRun Ended(int status) const {
        ToolRun run;
        if (WIFEXITED(status)) run.nExit = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) run.nSignal = WTERMSIG(status);
        run.out = ReadAll(m_out);
        run.err = ReadAll(m_err);
        return run;
    }

    int Reap() {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return status;
    }

    std::filesystem::path m_out;
    std::filesystem::path m_err;
    pid_t m_pid = -1;
};

// Runs the tool to its end.
inline ToolRun RunTool(const ToolCall& call, const std::filesystem::path& scratch) {
    return CToolProcess(call, scratch).Wait();
}

}  // namespace lumetra::test
