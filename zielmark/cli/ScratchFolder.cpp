#include "ScratchFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {
constexpr const char* Prefix = "zielmark-dispersion-";
constexpr const char* LockName = "owner.lock";

// The lock, taken without waiting; -1 when another process holds it (or there is none to take).
int TakeLock(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

TScratchFolder::TScratchFolder() {
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / (std::string(Prefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) return;
    // Locked under another name first, so a cleaner never finds the lock file before it is held.
    const fs::path taking = fs::path(pattern) / (std::string(LockName) + ".new");
    Lock_ = TakeLock(taking);
    if (Lock_ >= 0 && ::rename(taking.c_str(), (fs::path(pattern) / LockName).c_str()) != 0) {
        ::close(Lock_);
        Lock_ = -1;
    }
    if (Lock_ < 0) {
        fs::remove_all(pattern, ec);
        return;
    }
    Path_ = pattern;
}

TScratchFolder::~TScratchFolder() {
    if (Path_.empty()) return;
    std::error_code ec;
    fs::remove_all(Path_, ec);
    ::close(Lock_);
}

int RemoveDeadScratchFolders() {
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    int removed = 0;
    for (fs::directory_iterator it(temp, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(Prefix, 0) != 0 || !it->is_directory(ec) || it->is_symlink(ec)) continue;
        // Only folders of ours: a lock file in them that nobody holds (its dispersion died).
        if (!fs::exists(it->path() / LockName, ec)) continue;
        const int fd = TakeLock(it->path() / LockName);
        if (fd < 0) continue; // a dispersion still running
        std::error_code gone;
        fs::remove_all(it->path(), gone);
        ::close(fd);
        removed += !gone;
    }
    return removed;
}
