#include "Unit_Files.h"

#include "Unit_Functions.h"

#include "AtomicSave.h"
#include "FileRead.h"
#include "TextLines.h"

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>

namespace zm {

namespace fs = std::filesystem;

TResult ReadWholeFile(const std::string& path, std::string& content) {
    scenario_files::FileRead read = scenario_files::readWholeFile(path, MaxInputFileBytes);
    content = std::move(read.text);
    if (read.ok()) return TResult::Success();
    return TResult::Failure("Cannot read \"" + path + "\": " + read.reason());
}

void SplitLines(std::string_view text, std::vector<std::string>& lines) {
    lines = scenario_files::splitLines(text);
}

TResult ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string content;
    lines.clear();
    TResult read = ReadWholeFile(path, content);
    if (read.Ok()) SplitLines(content, lines);
    return read;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    return scenario_files::joinLinesCrLf(lines);
}

namespace {
TResult SaveOutcome(const std::string& path, const scenario_files::SaveFailure& failure) {
    if (!failure) return TResult::Success();
    return TResult::Failure("Cannot write \"" + path + "\": " + failure.reason);
}
} // namespace

TResult TAtomicFile::Open(const std::string& path) {
    Path = path;
    File.open(path);
    return SaveOutcome(Path, File.failure());
}

bool TAtomicFile::Write(std::string_view bytes) {
    return File.write(bytes);
}

TResult TAtomicFile::Commit() {
    File.commit();
    return SaveOutcome(Path, File.failure());
}

TResult WriteFileAtomic(const std::string& path, std::string_view content) {
    return SaveOutcome(path, scenario_files::saveAtomic(path, content));
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
