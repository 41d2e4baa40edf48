// The one atomic save: the content goes to a hidden temporary file beside the target (".NAME.tmpPID"),
// which is synced and renamed over the target, so a failed save leaves the old file whole and no temporary
// file behind. A replaced file keeps its permissions, a read-only one is refused, a symbolic link is kept and
// its target written; temporary files that killed saves left beside the target are removed.
#pragma once

#include <string>
#include <string_view>

namespace scenario_files {

// Why a save failed: the step and the reason in words ("the file is read-only", the system's text).
struct SaveFailure {
    enum class Step { None, Write, Replace };
    Step step = Step::None;
    std::string reason;

    explicit operator bool() const { return step != Step::None; }
};

// A save written piece by piece, so that a large file never has to be held in memory: open checks the target
// and opens the temporary file, write appends, commit gives the permissions, syncs and renames. Until commit
// succeeds the target is untouched; a file destroyed uncommitted removes its temporary file. The first
// failure is kept: later writes do nothing and commit reports it.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    bool open(const std::string& path);
    bool write(std::string_view bytes);
    bool commit();
    const SaveFailure& failure() const { return failure_; }

private:
    bool fail(SaveFailure::Step step, const std::string& reason);
    bool discard(SaveFailure::Step step, int err); // closes and removes the temporary file after a failure

    std::string target_, temp_;
    SaveFailure failure_;
    int fd_ = -1;
    bool replacing_ = false;
    unsigned oldMode_ = 0;
};

// The whole content saved at once.
SaveFailure saveAtomic(const std::string& path, std::string_view content);

} // namespace scenario_files
