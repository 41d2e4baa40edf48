#include "core/HostFiles.h"

#include "core/Text.h"
#include "orbhost/HostError.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace orb {

namespace {
std::unordered_set<HostFile*>& registry() {
    static std::unordered_set<HostFile*> files;
    return files;
}
} // namespace

HostFile::HostFile(Kind k) : kind(k) {
    registry().insert(this);
}
HostFile::~HostFile() {
    registry().erase(this);
}

HostFile* HostFile::fromHandle(void* handle, Kind kind) {
    auto* f = static_cast<HostFile*>(handle);
    if (!handle || !registry().count(f) || f->kind != kind) return nullptr;
    return f;
}

bool somethingButAFolder(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec) && !std::filesystem::is_directory(file, ec);
}

std::string readFile(const std::filesystem::path& file, const std::string& shownPath) {
    // Opened without waiting, so a pipe or device cannot block the open; only regular files are read.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0 && errno == ENOENT) throw HostError(shownPath + ": file not found");
    if (fd < 0) throw HostError(shownPath + ": cannot open the file: " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw HostError(shownPath +
                        (S_ISDIR(st.st_mode) ? ": a folder, not a file" : ": not a regular file"));
    }
    std::string text(size_t(st.st_size), '\0');
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            throw HostError(shownPath + ": cannot read the file: " + std::strerror(err));
        }
        if (n == 0) break; // the file shrank while it was read
        done += size_t(n);
    }
    ::close(fd);
    text.resize(done);
    return text;
}

namespace {
// The file a save lands in: a symbolic link is followed to its target, so the link stays.
std::filesystem::path saveTarget(const std::filesystem::path& file) {
    std::filesystem::path target = file;
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(target, ec); ++hops) {
        std::filesystem::path link = std::filesystem::read_symlink(target, ec);
        if (ec) break;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return target;
}

// Temporary files of saves that were killed ("<name>.tmp<pid>" of a process that is gone) are removed.
void removeStaleTemporaries(const std::filesystem::path& target) {
    const std::string prefix = target.filename().string() + ".tmp";
    std::error_code ec;
    std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = pid_t(std::stol(digits));
        if (pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH)) continue; // a save still running
        std::error_code removeError;
        std::filesystem::remove(it->path(), removeError);
    }
}
} // namespace

void writeFileAtomic(const std::filesystem::path& file, std::string_view data) {
    const std::filesystem::path target = saveTarget(file);
    auto fail = [&](const std::string& reason) {
        throw HostError(file.string() + ": cannot write the file: " + reason);
    };
    // A replaced file keeps its permissions; a read-only one is not replaced behind the user's back.
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) fail("not a regular file");
    if (replacing && ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        fail("the file is read-only");
    removeStaleTemporaries(target);
    std::filesystem::path tmp = target;
    tmp += ".tmp" + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) fail(std::strerror(errno));
    auto discard = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        fail(std::strerror(err));
    };
    for (size_t done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) discard(errno);
        done += size_t(n);
    }
    mode_t mode = old.st_mode & 07777;
    if (!replacing) {
        const mode_t mask = ::umask(0); // a new file gets the usual rw-r--r-- (umask)
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) discard(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail(std::strerror(err));
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        throw HostError(file.string() + ": cannot replace the file: " + std::strerror(err));
    }
}

std::unique_ptr<ConfigFile> ConfigFile::fromText(std::string_view text, const std::string& shownPath) {
    if (!text::looksLikeText(text)) throw HostError(shownPath + ": not a text file");
    auto cfg = std::make_unique<ConfigFile>();
    cfg->path = shownPath;
    int n = 0;
    for (const std::string& raw : text::splitLines(text)) {
        ++n;
        std::string_view line = text::stripComment(raw);
        if (text::iequals(line, "END_PARSE")) break;
        if (line.empty()) continue;
        cfg->lines.emplace_back(line);
        cfg->lineNumbers.push_back(n);
    }
    return cfg;
}

std::unique_ptr<ConfigFile> ConfigFile::load(const std::filesystem::path& file,
                                             const std::string& shownPath) {
    return fromText(readFile(file, shownPath), shownPath);
}

std::optional<std::string> ConfigFile::item(std::string_view key, int* lineNumber) const {
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (!text::iequals(text::trim(line.substr(0, eq)), key)) continue;
        std::string_view value = text::trim(line.substr(eq + 1));
        if (value.empty()) return std::nullopt;
        if (lineNumber) *lineNumber = lineNumbers[i];
        return std::string(value);
    }
    return std::nullopt;
}

bool ScenarioReader::nextLine(char*& line) {
    if (next >= lines.size()) return false;
    std::string_view l = text::stripComment(lines[next]);
    if (text::iequals(l, "END")) return false;
    ++next;
    buffer.assign(l);
    line = buffer.data();
    return true;
}

void ScenarioWriter::line(std::string_view s) {
    text.append(s);
    text.append("\r\n");
}

void ScenarioWriter::item(std::string_view key, std::string_view value) {
    text.append("  ");
    text.append(key);
    text.push_back(' ');
    text.append(value);
    text.append("\r\n");
}

} // namespace orb
