#include "AtomicSave.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace scenario_files {

namespace {

bool isDelimiter(char c) {
    return c == '/' || c == '\\';
}

// Up to and including the last separator, or empty.
std::string folderOf(const std::string& path) {
    for (size_t i = path.size(); i > 0; --i)
        if (isDelimiter(path[i - 1])) return path.substr(0, i);
    return {};
}

std::string nameOf(const std::string& path) {
    return path.substr(folderOf(path).size());
}

// The file a save lands in: a symbolic link is followed to its target (relative links from the link's
// folder), so the link stays and its target gets the new content.
std::string saveTarget(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) break;
        link.resize(static_cast<size_t>(n));
        const bool absolute = isDelimiter(link[0]) || (link.size() >= 2 && link[1] == ':');
        target = absolute ? link : folderOf(target) + link;
    }
    return target;
}

std::string tempFileName(const std::string& target) {
    const std::string folder = folderOf(target);
    return (folder.empty() ? std::string("./") : folder) + "." + nameOf(target) + ".tmp" +
           std::to_string(::getpid());
}

// Temporary files that killed saves left beside the target (of a process that is gone) are removed: the
// hidden ones of this save and the visible "NAME.tmpPID" that earlier versions of orbhost left.
void removeStaleTempFiles(const std::string& target) {
    const std::string folder = folderOf(target);
    const std::string prefixes[] = {"." + nameOf(target) + ".tmp", nameOf(target) + ".tmp"};
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* d = ::readdir(dir)) {
        const std::string_view name = d->d_name;
        for (const std::string& prefix : prefixes) {
            if (name.size() <= prefix.size() || name.size() > prefix.size() + 9 ||
                name.substr(0, prefix.size()) != prefix)
                continue;
            const std::string_view digits = name.substr(prefix.size());
            if (digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
            const long pid = std::stol(std::string(digits));
            if (pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)) continue;
            ::unlinkat(::dirfd(dir), d->d_name, 0);
        }
    }
    ::closedir(dir);
}

} // namespace

bool AtomicFile::fail(SaveFailure::Step step, const std::string& reason) {
    if (!failure_) failure_ = {step, reason};
    return false;
}

bool AtomicFile::discard(SaveFailure::Step step, int err) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    return fail(step, std::strerror(err));
}

bool AtomicFile::open(const std::string& path) {
    target_ = saveTarget(path);
    // An existing file keeps its permissions; a read-only one is not replaced behind the user's back.
    struct stat old {};
    replacing_ = ::stat(target_.c_str(), &old) == 0;
    oldMode_ = old.st_mode;
    if (replacing_ && !S_ISREG(old.st_mode)) return fail(SaveFailure::Step::Write, "not a regular file");
    if (replacing_ && ((old.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0))
        return fail(SaveFailure::Step::Write, "the file is read-only");
    removeStaleTempFiles(target_);
    temp_ = tempFileName(target_);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        const int err = errno;
        temp_.clear();
        return fail(SaveFailure::Step::Write, std::strerror(err));
    }
    return true;
}

bool AtomicFile::write(std::string_view bytes) {
    if (fd_ < 0) return fail(SaveFailure::Step::Write, "the file is not open");
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return discard(SaveFailure::Step::Write, errno);
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool AtomicFile::commit() {
    if (fd_ < 0) return fail(SaveFailure::Step::Write, "the file is not open");
    mode_t mode = oldMode_ & 07777;
    if (!replacing_) {
        const mode_t mask = ::umask(0); // a new file gets the usual rw-r--r-- (umask)
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) return discard(SaveFailure::Step::Write, errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return discard(SaveFailure::Step::Write, errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return discard(SaveFailure::Step::Replace, errno);
    temp_.clear();
    return true;
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

SaveFailure saveAtomic(const std::string& path, std::string_view content) {
    AtomicFile file;
    if (file.open(path)) {
        file.write(content);
        file.commit();
    }
    return file.failure();
}

} // namespace scenario_files
