// The dynamic loader maps a library's segments straight from the file: a segment that reaches past the end of
// a truncated file is mapped all the same, and the first touch of its missing pages kills the process with
// SIGBUS. The check reads the ELF headers itself and refuses such a file before dlopen sees it.
#pragma once

#include <filesystem>
#include <string>

namespace orb {

// "" when the file's headers and loaded segments lie inside the file (or it is no ELF file at all, which
// dlopen refuses with its own reason); otherwise why it cannot be loaded.
std::string moduleImageProblem(const std::filesystem::path& file);

} // namespace orb
