// Runs many child programs on a fixed number of cores: starts the next as soon as one ends, reports each
// end, and on Ctrl-C or SIGTERM starts no more, stops the running ones and returns. The children end with
// their parent: killed outright, it takes them along instead of leaving them flying.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct TFarmJob {
    std::vector<std::string> Argv; // program first
    std::string LogFile;           // the child's standard error (standard output is discarded)
};

struct TFarmResult {
    bool Started = false;
    bool Finished = false; // ran to its end (not stopped by an interrupt)
    int ExitCode = -1;     // the exit status, or -1 when it died of a signal
    int Signal = 0;        // the signal it died of, 0 when it exited
};

// Runs `jobs` with at most `parallel` at a time. `onEnd(index, result, done)` is called after each job that
// ends, in the order they end. Returns 0 when every job ran, else the signal (SIGINT, SIGTERM) that stopped
// the farm; the results of jobs that were stopped have Finished false.
int RunFarm(const std::vector<TFarmJob>& jobs, unsigned parallel, std::vector<TFarmResult>& results,
            const std::function<void(size_t index, const TFarmResult& result, size_t done)>& onEnd);

// Runs one program to its end with its output discarded; the exit status, or -1 when it could not start
// or died of a signal.
int RunProgram(const std::vector<std::string>& argv);

// While it lives, SIGINT and SIGTERM wait (blocked): what is being written is finished whole. Pending() tells
// which arrived meanwhile (0 when none); it is taken, not delivered, when the guard ends.
class TInterruptsHeld {
public:
    TInterruptsHeld();
    ~TInterruptsHeld();
    TInterruptsHeld(const TInterruptsHeld&) = delete;
    TInterruptsHeld& operator=(const TInterruptsHeld&) = delete;
    int Pending() const;

private:
    struct Impl;
    Impl* Impl_;
};
