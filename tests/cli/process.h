// Programs under test run as real processes: started with extra environment
// variables, their output sent to files, signalled and reaped. A process
// still running when its object goes is killed, so no test leaves one behind.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace kvrns::test {

class Process {
public:
    // `env` entries "NAME=VALUE" replace or add to this process's environment.
    Process(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const std::filesystem::path& outFile, const std::filesystem::path& errFile)
    {
        std::vector<std::string> environment;
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            const std::string name = entry.substr(0, entry.find('='));
            bool replaced = false;
            for (const auto& extra : env) replaced = replaced || extra.substr(0, extra.find('=')) == name;
            if (!replaced) environment.push_back(entry);
        }
        environment.insert(environment.end(), env.begin(), env.end());
        std::vector<char*> args, envp;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        for (const auto& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
        args.push_back(nullptr);
        envp.push_back(nullptr);
        const std::string out = outFile.string(), err = errFile.string();
        pid_ = fork();
        if (pid_ == 0) {
            // The program under test starts as from a terminal, whatever
            // this test's own parent ignores or holds back.
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
            if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr)) _exit(126);
            if (!freopen("/dev/null", "r", stdin)) _exit(126);
            execve(args[0], args.data(), envp.data());
            _exit(127);
        }
    }
    ~Process()
    {
        if (running()) {
            kill(pid_, SIGKILL);
            wait();
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int sig) { kill(pid_, sig); }
    bool running()
    {
        if (reaped_ || pid_ <= 0) return false;
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) == pid_) {
            record(raw);
            return false;
        }
        return pid_ > 0;
    }
    // The exit status, or 128 + the signal that ended it. A process that
    // has not ended within `limit` is killed, so a test never hangs on one.
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(30))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (running()) kill(pid_, SIGKILL);
        if (!reaped_) {
            int raw = 0;
            if (waitpid(pid_, &raw, 0) == pid_) record(raw);
        }
        return status_;
    }

private:
    void record(int raw)
    {
        reaped_ = true;
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }
    pid_t pid_ = -1;
    bool reaped_ = false;
    int status_ = -1;
};

// Polls `done` until it holds or `limit` runs out; for other processes,
// whose progress no event of ours announces.
inline bool eventually(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            result.push_back(text.substr(start));
            break;
        }
        result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

}  // namespace kvrns::test
