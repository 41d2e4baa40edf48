#include "Unit_Files.h"

#include "Unit_Functions.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace zm {

namespace fs = std::filesystem;

namespace {
std::string SystemError(int err) {
    return std::strerror(err);
}
} // namespace

TResult ReadWholeFile(const std::string& path, std::string& content) {
    content.clear();
    // Opened without waiting, so a pipe or device cannot block the open; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return TResult::Failure("Cannot read \"" + path + "\": " + SystemError(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return TResult::Failure("Cannot read \"" + path + "\": " +
                                (S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file"));
    }
    if (static_cast<unsigned long long>(st.st_size) > MaxInputFileBytes) {
        ::close(fd);
        return TResult::Failure("Cannot read \"" + path + "\": the file is too large");
    }
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
        if (n < 0 || done > MaxInputFileBytes) {
            const std::string why = n < 0 ? SystemError(errno) : std::string("the file is too large");
            ::close(fd);
            content.clear();
            return TResult::Failure("Cannot read \"" + path + "\": " + why);
        }
        if (n == 0) break;
        // A file holds what its size says; files of size 0 (/proc) are read to their end.
        if (st.st_size > 0 && done == static_cast<size_t>(st.st_size)) break;
    }
    ::close(fd);
    content.resize(done);
    return TResult::Success();
}

void SplitLines(std::string_view text, std::vector<std::string>& lines) {
    lines.clear();
    size_t from = 0;
    while (from < text.size()) {
        size_t nl = text.find('\n', from);
        std::string_view line =
            text.substr(from, nl == std::string_view::npos ? std::string_view::npos : nl - from);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (nl == std::string_view::npos) break;
        from = nl + 1;
    }
}

TResult ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string content;
    lines.clear();
    TResult read = ReadWholeFile(path, content);
    if (read.Ok()) SplitLines(content, lines);
    return read;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) {
        s += l;
        s += "\r\n";
    }
    return s;
}

namespace {
// The file a save lands in: a symbolic link is followed to its target (relative links from the link's
// folder), so the link stays and its target gets the new content.
std::string SaveTarget(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) break;
        link.resize(static_cast<size_t>(n));
        target = IsAbsolutePath(link) ? link : ExtractFilePath(target) + link;
    }
    return target;
}

// A save's temporary file: hidden beside the target, with the saving process's id.
std::string TempFileName(const std::string& target, long pid) {
    const std::string folder = ExtractFilePath(target);
    return (folder.empty() ? std::string("./") : folder) + "." + ExtractFileName(target) + ".tmp" +
           std::to_string(pid);
}

// Temporary files that killed saves left beside the target (of a process that is gone) are removed.
void RemoveStaleTempFiles(const std::string& target) {
    const std::string folder = ExtractFilePath(target);
    const std::string prefix = "." + ExtractFileName(target) + ".tmp";
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* d = ::readdir(dir)) {
        const std::string_view name = d->d_name;
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 9 ||
            name.substr(0, prefix.size()) != prefix)
            continue;
        const std::string_view digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string_view::npos) continue;
        const long pid = std::stol(std::string(digits));
        if (pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)) continue;
        ::unlinkat(::dirfd(dir), d->d_name, 0);
    }
    ::closedir(dir);
}
} // namespace

bool TAtomicFile::Fail(const std::string& reason) {
    if (Error.empty()) Error = "Cannot write \"" + Path + "\": " + reason;
    return false;
}

bool TAtomicFile::Discard(int err) {
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
    if (!Temp.empty()) ::unlink(Temp.c_str());
    Temp.clear();
    return Fail(SystemError(err));
}

TResult TAtomicFile::Open(const std::string& path) {
    Path = path;
    Target = SaveTarget(path);
    // An existing file keeps its permissions; a read-only one is not replaced behind the user's back.
    struct stat old {};
    Replacing = ::stat(Target.c_str(), &old) == 0;
    OldMode = old.st_mode;
    if (Replacing && !S_ISREG(old.st_mode))
        Fail("not a regular file");
    else if (Replacing && ((old.st_mode & 0222) == 0 || ::access(Target.c_str(), W_OK) != 0))
        Fail("the file is read-only");
    else {
        RemoveStaleTempFiles(Target);
        Temp = TempFileName(Target, ::getpid());
        Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (Fd < 0) {
            Temp.clear();
            Fail(SystemError(errno));
        }
    }
    return Outcome();
}

bool TAtomicFile::Write(std::string_view bytes) {
    if (Fd < 0) return Fail("the file is not open");
    while (!bytes.empty()) {
        const ssize_t n = ::write(Fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return Discard(errno);
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

TResult TAtomicFile::Commit() {
    const auto failed = [this](int err) {
        Discard(err);
        return Outcome();
    };
    if (Fd < 0) {
        Fail("the file is not open");
        return Outcome();
    }
    mode_t mode = OldMode & 07777;
    if (!Replacing) {
        const mode_t mask = ::umask(0); // a new file gets the usual rw-r--r-- (umask)
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(Fd, mode) != 0 || ::fsync(Fd) != 0) return failed(errno);
    const int fd = Fd;
    Fd = -1;
    if (::close(fd) != 0) return failed(errno);
    if (::rename(Temp.c_str(), Target.c_str()) != 0) return failed(errno);
    Temp.clear();
    return Outcome();
}

TAtomicFile::~TAtomicFile() {
    if (Fd >= 0) ::close(Fd);
    if (!Temp.empty()) ::unlink(Temp.c_str());
}

TResult WriteFileAtomic(const std::string& path, std::string_view content) {
    TAtomicFile file;
    if (TResult opened = file.Open(path); !opened.Ok()) return opened;
    file.Write(content);
    return file.Commit();
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

TFileStamp FileStampOf(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return {};
    return {true, static_cast<long long>(st.st_ino), static_cast<long long>(st.st_size),
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsPathDelimiter(char c) {
    return c == '/' || c == '\\';
}

bool IsAbsolutePath(std::string_view path) {
    if (!path.empty() && IsPathDelimiter(path[0])) return true;
    return path.size() >= 2 && path[1] == ':'; // a drive letter, should a Windows path come along
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string s(path);
    if (s.empty() || !IsPathDelimiter(s.back())) s += PathDelim;
    return s;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    return folder.empty() ? std::string(name) : IncludeTrailingPathDelimiter(folder) + std::string(name);
}

namespace {
size_t LastDelimiter(std::string_view path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsPathDelimiter(path[i - 1])) return i - 1;
    return std::string_view::npos;
}
} // namespace

std::string ExtractFileName(std::string_view path) {
    const size_t p = LastDelimiter(path);
    return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFilePath(std::string_view path) {
    const size_t p = LastDelimiter(path);
    return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string ExtractFileExt(std::string_view path) {
    const std::string name = ExtractFileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const std::string name = ExtractFileName(path);
    const size_t dot = name.rfind('.');
    const std::string folder = ExtractFilePath(path);
    return folder + (dot == std::string::npos ? name : name.substr(0, dot)) + std::string(ext);
}

bool IsValidSaveName(std::string_view text) {
    return IsValidFileName(text) && !TrimBlanks(ChangeFileExt(ExtractFileName(text), "")).empty();
}

bool StaysInFolder(std::string_view relativeName) {
    if (IsAbsolutePath(relativeName)) return false;
    int depth = 0;
    size_t from = 0;
    while (from <= relativeName.size()) {
        size_t end = from;
        while (end < relativeName.size() && !IsPathDelimiter(relativeName[end]))
            ++end;
        const std::string_view part = relativeName.substr(from, end - from);
        if (part == "..") {
            if (--depth < 0) return false;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        from = end + 1;
    }
    return true;
}

std::vector<TFolderEntry> ListFolderFiles(const std::string& folder, std::string_view ext,
                                          std::vector<std::string>* skipped) {
    std::vector<TFolderEntry> result;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return result;
    while (const dirent* d = ::readdir(dir)) {
        const std::string_view name = d->d_name;
        if (name.size() < ext.size() || !SameText(name.substr(name.size() - ext.size()), ext)) continue;
        if (d->d_type == DT_DIR) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), d->d_name, &st, 0) != 0 || S_ISDIR(st.st_mode)) continue;
        // Pipes, devices and sockets would block or never end a read: they are named and left out.
        if (!S_ISREG(st.st_mode)) {
            if (skipped) skipped->emplace_back(name);
            continue;
        }
        result.push_back({std::string(name),
                          static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec});
    }
    ::closedir(dir);
    // A fixed order whatever the file system yields: by name, letter case ignored, then exactly.
    std::sort(result.begin(), result.end(), [](const TFolderEntry& a, const TFolderEntry& b) {
        const int c = CompareText(a.Name, b.Name);
        return c != 0 ? c < 0 : a.Name < b.Name;
    });
    return result;
}

std::string ProgramPath() {
    std::error_code ec;
    const fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string ProgramDir() {
    const std::string p = ProgramPath();
    return p.empty() ? std::string() : ExtractFilePath(p);
}

} // namespace zm
