#include "RunFarm.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

namespace {

volatile sig_atomic_t gStop = 0;
void OnStop(int signal) {
    gStop = signal;
}

// Starts a child in a process group of its own, so a Ctrl-C at the terminal reaches only us and we decide
// what becomes of the runs. The child gets SIGTERM when we die, however we die (SIGKILL included).
// Everything the child needs is made before the fork: between fork and exec it only makes system calls.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& logFile) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const char* log = logFile.empty() ? "/dev/null" : logFile.c_str();
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid; // the parent, or -1 when the fork failed
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) _exit(127); // the parent is gone
    setpgid(0, 0);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int in = open("/dev/null", O_RDONLY), out = open("/dev/null", O_WRONLY),
              err = open(log, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execvp(args[0], args.data());
    _exit(127); // could not start
}

TFarmResult Ended(int status) {
    TFarmResult r;
    r.Started = true;
    r.Finished = true;
    r.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return r;
}

} // namespace

int RunFarm(const std::vector<TFarmJob>& jobs, unsigned parallel, std::vector<TFarmResult>& results,
            const std::function<void(size_t, const TFarmResult&, size_t)>& onEnd) {
    results.assign(jobs.size(), {});
    gStop = 0;
    struct sigaction stop {
    }, oldInt{}, oldTerm{};
    stop.sa_handler = OnStop;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = 0; // no SA_RESTART: waitpid returns at once with EINTR
    sigaction(SIGINT, &stop, &oldInt);
    sigaction(SIGTERM, &stop, &oldTerm);

    std::map<pid_t, size_t> running;
    size_t next = 0, done = 0;
    while (!gStop && (next < jobs.size() || !running.empty())) {
        while (!gStop && next < jobs.size() && running.size() < std::max(parallel, 1u)) {
            const pid_t pid = Spawn(jobs[next].Argv, jobs[next].LogFile);
            if (pid > 0) {
                results[next].Started = true;
                running[pid] = next;
            } else {
                results[next].Started = false;
                ++done;
                onEnd(next, results[next], done);
            }
            ++next;
        }
        if (running.empty()) continue;
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0) {
            if (errno == EINTR) continue;
            break; // no children left that we know of
        }
        auto it = running.find(pid);
        if (it == running.end()) continue;
        const size_t index = it->second;
        running.erase(it);
        results[index] = Ended(status);
        // A program that could not be started ends with 127 before it became the program.
        if (results[index].ExitCode == 127) results[index].Started = false;
        ++done;
        onEnd(index, results[index], done);
    }
    const int stopped = gStop;
    // Interrupted: the runs still going are stopped and do not count.
    for (const auto& [pid, index] : running)
        kill(-pid, SIGTERM);
    for (const auto& [pid, index] : running) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        results[index].Finished = false;
    }
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    return stopped;
}

int RunProgram(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv, {});
    if (pid <= 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) && WEXITSTATUS(status) != 127 ? WEXITSTATUS(status) : -1;
}

struct TInterruptsHeld::Impl {
    sigset_t Held, Before;
};

TInterruptsHeld::TInterruptsHeld() : Impl_(new Impl) {
    sigemptyset(&Impl_->Held);
    sigaddset(&Impl_->Held, SIGINT);
    sigaddset(&Impl_->Held, SIGTERM);
    sigprocmask(SIG_BLOCK, &Impl_->Held, &Impl_->Before);
}

TInterruptsHeld::~TInterruptsHeld() {
    // Taken here, so the guard's end does not kill the process that has just finished its outputs.
    const timespec now{0, 0};
    while (Pending() != 0)
        if (sigtimedwait(&Impl_->Held, nullptr, &now) < 0) break;
    sigprocmask(SIG_SETMASK, &Impl_->Before, nullptr);
    delete Impl_;
}

int TInterruptsHeld::Pending() const {
    sigset_t pending;
    sigpending(&pending);
    return sigismember(&pending, SIGINT) ? SIGINT : sigismember(&pending, SIGTERM) ? SIGTERM : 0;
}
