// The one safe read of a whole file: only a regular file is read (a pipe or device is refused without
// waiting on it), and never more than a cap, so no input can exhaust the memory. The caller words the
// failure in its own messages; `reason` gives the system's words for it.
#pragma once

#include <cstdint>
#include <string>

namespace scenario_files {

// Files larger than this are refused by every reader.
inline constexpr std::uint64_t MaxInputFileBytes = 256ull << 20;

enum class ReadFailure {
    None,
    NotFound,   // nothing at the path
    CannotOpen, // there, but not to be opened (error holds errno)
    Folder,     // a folder, not a file
    NotRegular, // a pipe, device or socket
    TooLarge,   // larger than the cap (or grew beyond it while read)
    CannotRead, // a read failed (error holds errno)
};

struct FileRead {
    std::string text;
    ReadFailure failure = ReadFailure::None;
    int error = 0; // errno of CannotOpen and CannotRead

    bool ok() const { return failure == ReadFailure::None; }
    // The failure in words: "a folder, not a file", "the file is too large", the system's text, ...
    std::string reason() const;
};

FileRead readWholeFile(const std::string& path, std::uint64_t maxBytes = MaxInputFileBytes);

} // namespace scenario_files
