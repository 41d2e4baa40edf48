#include "core/ModuleImageCheck.h"

#include <cstring>
#include <elf.h>
#include <fstream>
#include <link.h>

namespace orb {

namespace {
// The native ELF record types of this build (ElfW picks the 32- or 64-bit ones).
using Ehdr = ElfW(Ehdr);
using Phdr = ElfW(Phdr);

std::string beyondEnd(const char* what, unsigned long long end, unsigned long long size) {
    return "the file is truncated: its " + std::string(what) + " end at byte " + std::to_string(end) +
           " of " + std::to_string(size);
}
} // namespace

std::string moduleImageProblem(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return "cannot open the file";
    in.seekg(0, std::ios::end);
    const unsigned long long size = static_cast<unsigned long long>(in.tellg());
    in.seekg(0);
    Ehdr eh{};
    if (!in.read(reinterpret_cast<char*>(&eh), sizeof eh)) return ""; // too short to be ELF: dlopen says so
    if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0) return "";
    if (eh.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32)) return "";
    if (eh.e_phentsize != sizeof(Phdr)) return "";

    const unsigned long long tableEnd =
        static_cast<unsigned long long>(eh.e_phoff) + 1ull * eh.e_phnum * sizeof(Phdr);
    if (eh.e_phoff > size || tableEnd > size) return beyondEnd("program headers", tableEnd, size);
    in.seekg(static_cast<std::streamoff>(eh.e_phoff));
    for (unsigned i = 0; i < eh.e_phnum; ++i) {
        Phdr ph{};
        if (!in.read(reinterpret_cast<char*>(&ph), sizeof ph)) return "cannot read the program headers";
        if (ph.p_type != PT_LOAD && ph.p_type != PT_DYNAMIC && ph.p_type != PT_INTERP) continue;
        const unsigned long long end = static_cast<unsigned long long>(ph.p_offset) + ph.p_filesz;
        if (ph.p_offset > size || end > size) return beyondEnd("segments", end, size);
    }
    return "";
}

} // namespace orb
