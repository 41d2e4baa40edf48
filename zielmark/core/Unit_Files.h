// File and folder services of Zielmark: whole-file reading, text lines, atomic saving, folder
// listings and path pieces. Paths are handled separator-agnostic ('/' and '\' both end a folder).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zm {

inline constexpr char PathDelim = '/';
// Files larger than this are refused by the readers (no input may exhaust the memory).
inline constexpr unsigned long long MaxInputFileBytes = 256ull << 20;

// Reads the whole file; false with a message naming the file when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);
// Reads the file's lines; one trailing CR is stripped from every line (CR LF or LF files).
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines, std::string& error);
void SplitLines(std::string_view text, std::vector<std::string>& lines);
// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);
// Writes to a temporary file in the same folder and renames it over the target, so a failed
// write leaves the old file whole (and no temporary file behind). A replaced file keeps its
// permissions; a read-only one is refused; a symbolic link is kept and its target written.
// False with a message naming the file and the reason.
bool WriteFileAtomic(const std::string& path, std::string_view content, std::string& error);

bool FileExists(const std::string& path);       // an existing file that is not a folder
bool DirectoryExists(const std::string& path);
bool IsPathDelimiter(char c);
bool IsAbsolutePath(std::string_view path);
std::string IncludeTrailingPathDelimiter(std::string_view path);
// folder + name with one separator between; an empty folder means the current directory.
std::string JoinPath(std::string_view folder, std::string_view name);
std::string ExtractFileName(std::string_view path);  // behind the last separator
std::string ExtractFilePath(std::string_view path);  // up to and including the last separator
std::string ExtractFileExt(std::string_view path);   // from the last '.' of the name, or empty
// The name with its extension replaced (or appended when it has none); ext includes the dot.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

struct TFolderEntry {
  std::string Name;      // without folder
  long long MTimeNs = 0; // modification time
};
// Files (not folders) of the folder whose names end in ext (letter case ignored, ext with dot),
// sorted by name, letter case ignored.
std::vector<TFolderEntry> ListFolderFiles(const std::string& folder, std::string_view ext);

// Full path of the running program, or empty.
std::string ProgramPath();
// Folder of the running program with a trailing separator, or empty.
std::string ProgramDir();

}  // namespace zm
