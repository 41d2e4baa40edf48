// Runs many child programs on a fixed number of cores: starts the next as soon as one ends, reports each
// end, and on Ctrl-C starts no more, stops the running ones and returns.
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
};

// Runs `jobs` with at most `parallel` at a time. `onEnd(index, result, done)` is called after each job that
// ends, in the order they end. Returns false when Ctrl-C (SIGINT) or SIGTERM stopped the farm; the results
// of jobs that were stopped have Finished false.
bool RunFarm(const std::vector<TFarmJob>& jobs, unsigned parallel, std::vector<TFarmResult>& results,
             const std::function<void(size_t index, const TFarmResult& result, size_t done)>& onEnd);

// Runs one program to its end with its output discarded; the exit status, or -1 when it could not start
// or died of a signal.
int RunProgram(const std::vector<std::string>& argv);
