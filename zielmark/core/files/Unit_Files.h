// File and folder services of Zielmark: whole-file reading, text lines, atomic saving, folder
// listings and path pieces. Paths are handled separator-agnostic ('/' and '\' both end a folder).
#pragma once

#include "AtomicSave.h"
#include "FileRead.h"
#include "Unit_Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace zm {

inline constexpr char PathDelim = '/';
// Files larger than this are refused by the readers (no input may exhaust the memory).
inline constexpr unsigned long long MaxInputFileBytes = scenario_files::MaxInputFileBytes;

// Reads the whole regular file into content; fails with a message naming the file when it cannot be read or
// is not a regular file (a pipe or device is refused without waiting on it).
TResult ReadWholeFile(const std::string& path, std::string& content);
// Reads the file's lines; one trailing CR is stripped from every line (CR LF or LF files).
TResult ReadTextLines(const std::string& path, std::vector<std::string>& lines);
void SplitLines(std::string_view text, std::vector<std::string>& lines);
// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);
// The one atomic save of the scenario-file library: a temporary file in the same folder renamed over the
// target, so a failed write leaves the old file whole (and no temporary file behind). A replaced file keeps
// its permissions; a read-only one is refused; a symbolic link is kept and its target written.
// A failure's message names the file and the reason.
TResult WriteFileAtomic(const std::string& path, std::string_view content);

// The same save for content written piece by piece, so that a large file never has to be held in memory:
// Open checks the target and opens the temporary file, Write appends, Commit gives the permissions, syncs and
// renames. Until Commit succeeds the target is untouched; a file destroyed uncommitted removes its
// temporary file. The first failure is kept: later Writes do nothing and Commit reports it.
class TAtomicFile {
public:
    TResult Open(const std::string& path);
    bool Write(std::string_view bytes);
    TResult Commit();

private:
    std::string Path;
    scenario_files::AtomicFile File;
};

bool FileExists(const std::string& path); // an existing file that is not a folder

// What tells one version of a file from the next without reading it: a save that replaces it (atomically,
// through a new file) changes the inode, a write in place the size or the modification time.
struct TFileStamp {
    bool Exists = false;
    long long Inode = 0;
    long long Size = 0;
    long long MTimeNs = 0;
    bool operator==(const TFileStamp&) const = default;
};
TFileStamp FileStampOf(const std::string& path);
bool DirectoryExists(const std::string& path);
bool IsPathDelimiter(char c);
bool IsAbsolutePath(std::string_view path);
std::string IncludeTrailingPathDelimiter(std::string_view path);
// folder + name with one separator between; an empty folder means the current directory.
std::string JoinPath(std::string_view folder, std::string_view name);
std::string ExtractFileName(std::string_view path); // behind the last separator
std::string ExtractFilePath(std::string_view path); // up to and including the last separator
std::string ExtractFileExt(std::string_view path);  // from the last '.' of the name, or empty
// The name with its extension replaced (or appended when it has none); ext includes the dot.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// A name a file can be saved under: a valid file name whose last part has a name before its extension that
// is more than blanks, so that neither "", ".kml" nor "   " turns into a hidden or blank file ".kml", "
// .kml".
bool IsValidSaveName(std::string_view text);
// A name given relative to a folder stays inside it: not absolute, and no ".." part climbs above the folder
// ("sub/plan" and "sub/../plan" stay, "../plan", "sub/../../plan" and "/tmp/plan" leave).
bool StaysInFolder(std::string_view relativeName);

struct TFolderEntry {
    std::string Name;      // without folder
    long long MTimeNs = 0; // modification time
};
// Regular files of the folder whose names end in ext (letter case ignored, ext with dot), sorted
// by name, letter case ignored. Other matching entries that are not folders (pipes, devices,
// sockets) are left out and, when asked for, their names added to skipped.
std::vector<TFolderEntry> ListFolderFiles(const std::string& folder, std::string_view ext,
                                          std::vector<std::string>* skipped = nullptr);

// Full path of the running program, or empty.
std::string ProgramPath();
// Folder of the running program with a trailing separator, or empty.
std::string ProgramDir();

} // namespace zm
