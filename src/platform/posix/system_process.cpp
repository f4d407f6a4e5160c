// Starting another program and waiting for it.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/platform.h"

namespace {

class SystemProcess : public Process {
public:
    int Run(const std::vector<std::string>& argv) override {
        if (argv.empty() || argv[0].empty()) return -1;
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        // The child reports a failed exec through this pipe; a successful
        // exec closes it unwritten.
        int report[2];
        if (pipe2(report, O_CLOEXEC) != 0) return -1;
        // As system() does: Ctrl+C while the other program runs (a text
        // browser in this terminal) is for that program, not for us.
        struct sigaction ignore {}, oldInt {}, oldQuit {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGINT, &ignore, &oldInt);
        sigaction(SIGQUIT, &ignore, &oldQuit);
        auto restore = [&] {
            sigaction(SIGINT, &oldInt, nullptr);
            sigaction(SIGQUIT, &oldQuit, nullptr);
        };
        pid_t pid = fork();
        if (pid < 0) {
            restore();
            close(report[0]);
            close(report[1]);
            return -1;
        }
        if (pid == 0) {
            signal(SIGINT, SIG_DFL);
            signal(SIGQUIT, SIG_DFL);
            close(report[0]);
            // Its complaints ("no method available") would stay on the
            // terminal after the program ends; its failure is told on row
            // 22. Standard output stays: a text browser draws there.
            int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
            if (quiet >= 0) dup2(quiet, STDERR_FILENO);
            execvp(args[0], args.data());
            int error = errno;
            ssize_t ignored = write(report[1], &error, sizeof error);
            (void)ignored;
            _exit(127);
        }
        close(report[1]);
        int error = 0;
        ssize_t got;
        while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
        }
        close(report[0]);
        int status = 0;
        pid_t waited;
        while ((waited = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        restore();
        if (waited < 0 || got > 0) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

}  // namespace

Process* MakeSystemProcess() { return new SystemProcess; }
