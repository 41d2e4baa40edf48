#include "RunFarm.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

extern char** environ;

namespace {

volatile sig_atomic_t gStop = 0;
void OnStop(int) {
    gStop = 1;
}

// Starts a child in a process group of its own, so a Ctrl-C at the terminal reaches only us and we decide
// what becomes of the runs.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& logFile) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, logFile.empty() ? "/dev/null" : logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setpgroup(&attr, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &files, &attr, args.data(), environ) != 0) pid = -1;
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

TFarmResult Ended(int status) {
    TFarmResult r;
    r.Started = true;
    r.Finished = true;
    r.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace

bool RunFarm(const std::vector<TFarmJob>& jobs, unsigned parallel, std::vector<TFarmResult>& results,
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
        ++done;
        onEnd(index, results[index], done);
    }
    const bool stopped = gStop != 0;
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
    return !stopped;
}

int RunProgram(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv, {});
    if (pid <= 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
