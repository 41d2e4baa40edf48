#include "FileRead.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace scenario_files {

std::string FileRead::reason() const {
    switch (failure) {
    case ReadFailure::None:
        return {};
    case ReadFailure::Folder:
        return "a folder, not a file";
    case ReadFailure::NotRegular:
        return "not a regular file";
    case ReadFailure::TooLarge:
        return "the file is too large";
    case ReadFailure::NotFound:
    case ReadFailure::CannotOpen:
    case ReadFailure::CannotRead:
        break;
    }
    return std::strerror(error);
}

FileRead readWholeFile(const std::string& path, std::uint64_t maxBytes) {
    FileRead r;
    const auto failed = [&r](ReadFailure why, int err = 0) {
        r.text.clear();
        r.failure = why;
        r.error = err;
        return r;
    };
    // Opened without waiting, so a pipe or device cannot block the open; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return failed(errno == ENOENT ? ReadFailure::NotFound : ReadFailure::CannotOpen, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed(S_ISDIR(st.st_mode) ? ReadFailure::Folder : ReadFailure::NotRegular);
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return failed(ReadFailure::TooLarge);
    }
    std::string& content = r.text;
    content.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    for (;;) {
        ssize_t n;
        if (done < content.size()) {
            n = ::read(fd, content.data() + done, content.size() - done);
            if (n > 0) done += static_cast<size_t>(n);
        } else {
            // The expected size is read: one more read tells the end (or that the file grew).
            char more[4096];
            n = ::read(fd, more, sizeof more);
            if (n > 0) {
                content.append(more, static_cast<size_t>(n));
                done = content.size();
            }
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return failed(ReadFailure::CannotRead, err);
        }
        if (done > maxBytes) {
            ::close(fd);
            return failed(ReadFailure::TooLarge);
        }
        if (n == 0) break;
        // A file holds what its size says; files of size 0 (/proc) are read to their end.
        if (st.st_size > 0 && done == static_cast<size_t>(st.st_size)) break;
    }
    ::close(fd);
    content.resize(done);
    return r;
}

} // namespace scenario_files
