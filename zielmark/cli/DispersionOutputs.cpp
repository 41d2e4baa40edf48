#include "DispersionOutputs.h"

#include "RunFarm.h"

#include "Unit_DispersionFolder.h"
#include "Unit_Files.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;
using namespace zm;

namespace {

// Makes every output in `folder`: the text files and SVGs, then a PNG of each SVG.
TResult MakeOutputs(const std::string& folder, const TDispersion& d, std::vector<std::string>& notes) {
    TResultOf<std::vector<std::string>> written = WriteDispersionFolder(folder, d, notes);
    if (!written.Ok()) return written;
    bool noted = false;
    for (const std::string& svg : written.Value) {
        const std::string png = ChangeFileExt(svg, ".png");
        const int status = RunProgram({"rsvg-convert", "-o", png, svg});
        std::error_code ec;
        if (status == 0 && fs::file_size(png, ec) > 0 && !ec) continue;
        fs::remove(png, ec); // a picture cut short is not kept
        notes.push_back(
            status == -1
                ? "rsvg-convert was not found (Debian package librsvg2-bin): the pictures are SVG only."
                : "rsvg-convert failed on " + fs::path(svg).filename().string() +
                      ": the picture is SVG only.");
        std::fprintf(stderr, "zielmark-cli dispersion: %s\n", notes.back().c_str());
        noted = true;
        if (status == -1) break;
    }
    if (noted) return WriteDispersionFolder(folder, d, notes);
    return TResult::Success();
}

// A picture of ours: "NN_MISSILE.svg" or ".png" (two digits or more, then a name of safe characters).
bool IsPictureName(const std::string& name) {
    const size_t digits = name.find_first_not_of("0123456789");
    if (digits < 2 || digits == std::string::npos || name[digits] != '_' || name.size() < digits + 5)
        return false;
    const std::string ext = name.substr(name.size() - 4);
    if (ext != ".svg" && ext != ".png") return false;
    const auto safe = [](unsigned char c) { return std::isalnum(c) || c == '.' || c == '_' || c == '-'; };
    return std::all_of(name.begin() + long(digits) + 1, name.end() - 4, safe);
}

// Moves every file of `staged` into `out`, then removes the pictures of `out` that `staged` did not have.
TResult MoveIn(const fs::path& staged, const fs::path& out) {
    std::set<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(staged, ec), end; !ec && it != end; it.increment(ec))
        names.insert(it->path().filename().string());
    if (ec) return TResult::Failure(staged.string() + ": cannot list the folder: " + ec.message());
    // Every place is looked at before the first file moves: a folder in a file's place would stop the move
    // half-way.
    for (const std::string& name : names)
        if (std::error_code ignored;
            fs::exists(out / name, ignored) && !fs::is_regular_file(out / name, ignored))
            return TResult::Failure((out / name).string() + ": something that is not a file is in its place");
    for (const std::string& name : names)
        if (std::rename((staged / name).c_str(), (out / name).c_str()) != 0)
            return TResult::Failure((out / name).string() + ": cannot be written");
    for (fs::directory_iterator it(out, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code ignored;
        if (IsPictureName(name) && !names.count(name) && it->is_regular_file(ignored))
            fs::remove(it->path(), ignored);
    }
    fs::remove_all(staged, ec);
    return TResult::Success();
}

// A new folder "PREFIX-XXXXXX" inside `parent`; empty when none can be made.
std::string NewFolder(const fs::path& parent, const std::string& prefix) {
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

} // namespace

std::string OutputFolderProblem(const std::string& out) {
    std::error_code ec;
    if (fs::exists(out, ec) && !fs::is_directory(out, ec))
        return out + ": something that is not a folder is in the output folder's place";
    fs::create_directories(out, ec);
    if (!fs::is_directory(out, ec))
        return out + ": cannot create the folder" + (ec ? ": " + ec.message() : "");
    // A folder that takes no new file (read-only, another user's) would lose the runs at their end.
    const std::string probe = NewFolder(out, ".dispersion-check-");
    if (probe.empty()) return out + ": the folder takes no new file (read-only?)";
    fs::remove(probe, ec);
    return {};
}

TResultOf<std::string> WriteDispersionOutputs(const std::string& out, const TDispersion& d,
                                              std::vector<std::string>& notes) {
    std::error_code ec;
    std::string why;
    if (const std::string staged = NewFolder(out, ".dispersion-"); staged.empty()) {
        why = out + ": cannot make a new folder in it";
    } else {
        std::vector<std::string> tried = notes;
        TResult made = MakeOutputs(staged, d, tried);
        if (made.Ok()) made = MoveIn(staged, out);
        if (made.Ok()) {
            notes = tried;
            return {TResult::Success(), out};
        }
        fs::remove_all(staged, ec);
        why = made.Message;
    }
    // Kept elsewhere: the runs took their time and are not thrown away.
    const std::string kept = NewFolder(fs::temp_directory_path(ec), "zielmark-dispersion-results-");
    if (!kept.empty()) {
        if (MakeOutputs(kept, d, notes).Ok())
            return {TResult::Failure(why + "; the outputs are kept in " + kept + " instead"), kept};
        fs::remove_all(kept, ec);
    }
    return TResult::Failure(why + "; nor could they be kept in the temporary folder");
}
