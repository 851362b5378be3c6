// A helper process the durability tests start, read from and kill.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace kvrns::test {

class ChildProcess {
public:
    // Starts `args` with `extraEnvironment` ("NAME=value") added to ours;
    // its standard output comes back through readLines().
    ChildProcess(const std::vector<std::string>& args, const std::vector<std::string>& extraEnvironment = {})
    {
        int fds[2];
        if (::pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<char*> argv;
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (char** e = environ; *e; ++e) envp.push_back(*e);
        for (const auto& e : extraEnvironment) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        output_ = fds[0];
    }
    ~ChildProcess()
    {
        killNow();
        if (output_ >= 0) ::close(output_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }

    // Waits for `count` bytes equal to `mark` on the child's output; false
    // when the output ends first.
    bool awaitMarks(int count, char mark)
    {
        char byte;
        while (count > 0) {
            if (::read(output_, &byte, 1) != 1) return false;
            if (byte == mark) --count;
        }
        return true;
    }

    // kill -9, then reaps it; true when the signal is what ended it.
    bool killNow()
    {
        if (pid_ <= 0) return false;
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

}  // namespace kvrns::test
