#include "Unit_GlobalOptions.h"

#include "Unit_DM.h"
#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_IniFile.h"
#include "Unit_Results.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace zm {

namespace {

std::string Fill(std::string_view pattern, const std::string& value) {
    const size_t at = pattern.find("%s");
    return std::string(pattern.substr(0, at)) + value + std::string(pattern.substr(at + 2));
}

// The six settings: section, key, field.
struct TTextSetting {
    const char* Section;
    const char* Key;
    std::string TGlobalOptions::*Field;
};
const TTextSetting kTextSettings[] = {
    {"SrcWptDir", "Dir", &TGlobalOptions::SrcWptDir},
    {"OrbScnDir", "Dir", &TGlobalOptions::OrbScnDir},
    {"FltResDir", "Dir", &TGlobalOptions::FltResDir},
    {"MRUSourceKmlFile", "File", &TGlobalOptions::MRUSourceKmlFile},
    {"MRUEditedScnFile", "File", &TGlobalOptions::MRUEditedScnFile},
};

} // namespace

std::string SettingsFileFor(const std::string& programPath, std::string* notice) {
    const std::string beside = ChangeFileExt(programPath, ".ini");
    const std::string folder = ExtractFilePath(beside);
    const bool writable = FileExists(beside) ? ::access(beside.c_str(), W_OK) == 0
                                             : ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
    if (writable) return beside;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::string(home) + "/.config";
    else
        return beside;
    const std::string path = IncludeTrailingPathDelimiter(config) + "Zielmark/" + ExtractFileName(beside);
    if (notice)
        *notice = "The folder of the program is not writable; the settings are kept in \"" + path + "\".";
    return path;
}

void TGlobalOptions::Init(const std::string& programPath) {
    const std::string ini = SettingsFileFor(programPath, &IniNotice);
    LoadFromIni(ini);
    CheckFolders();
}

void TGlobalOptions::LoadFromIni(const std::string& iniFile) {
    IniFileName = iniFile;
    TIniFile ini;
    ini.Load(IniFileName);
    ActiveMainTab = ini.ReadInteger("Application", "ActiveMainTab", 0);
    for (const auto& s : kTextSettings)
        this->*s.Field = ini.ReadString(s.Section, s.Key, "");
}

TResult TGlobalOptions::SaveToIni() const {
    TIniFile ini;
    ini.Load(IniFileName);
    ini.WriteInteger("Application", "ActiveMainTab", ActiveMainTab);
    for (const auto& s : kTextSettings)
        ini.WriteString(s.Section, s.Key, this->*s.Field);
    const std::string folder = ExtractFilePath(IniFileName);
    if (!folder.empty() && !DirectoryExists(folder)) {
        // The user's configuration folder may not exist yet.
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
    }
    TResult saved = WriteFileAtomic(IniFileName, ini.Text());
    if (saved.Ok()) return saved;
    // The file is saved through a new file beside it: a folder that takes no new file is the cause, whatever
    // the file's own permissions are.
    const std::string where = folder.empty() ? std::string(".") : folder;
    if (DirectoryExists(where) && ::access(where.c_str(), W_OK) != 0)
        saved.Message = "The settings cannot be saved: the folder \"" + where + "\" of \"" +
                        ExtractFileName(IniFileName) + "\" is not writable";
    return saved;
}

void TGlobalOptions::CheckFolders() {
    for (std::string* dir : {&SrcWptDir, &OrbScnDir, &FltResDir})
        *dir = IncludeTrailingPathDelimiter(*dir);

    const std::string scenarios = std::string("Scenarios") + PathDelim;
    if (const size_t p = OrbScnDir.find(scenarios); p != std::string::npos)
        OrbRootDir = OrbScnDir.substr(0, p + scenarios.size());
    else if (!IsAbsolutePath(OrbScnDir))
        OrbRootDir = std::string("..") + PathDelim;
    else
        OrbRootDir.clear();

    CurrentStateFile = OrbRootDir + CurrentStateFileName;
    // What the results page would read of it: the file's problems (a pipe, a bad line) are named.
    TResultOf<bool> usable;
    ResultReads.Clear();
    if (FileExists(CurrentStateFile)) usable = ResultScenarioUsable(CurrentStateFile);
    CurrentStateUsable = usable.Value;

    Warnings.clear();
    FileProblems.clear();
    if (!usable.Message.empty()) FileProblems.push_back("- " + usable.Message);
    TDModule& dm = DModule();
    const TDModule::TBatch batch(dm);
    const bool haveD = FileExists(dm.TransformPath(TransformFileD));
    const bool haveF = FileExists(dm.TransformPath(TransformFileF));
    if (!haveD) Warnings.push_back(Fill(WarnRequiredFile, TransformFileD));
    if (!haveF) Warnings.push_back(Fill(WarnRequiredFile, TransformFileF));
    if (haveD && haveF) {
        if (!DirectoryExists(SrcWptDir))
            Warnings.push_back(Fill(WarnFolder, SrcWptDir));
        else if (!ListSrcKmlFiles())
            Warnings.push_back(WarnNoSourceKml);
        if (!DirectoryExists(OrbScnDir))
            Warnings.push_back(Fill(WarnFolder, OrbScnDir));
        else if (!ListFltResScnFiles() && !CurrentStateUsable)
            Warnings.push_back(WarnNoResultScenario);
        if (!DirectoryExists(FltResDir)) Warnings.push_back(Fill(WarnFolder, FltResDir));
    }
    HasWarnings = !Warnings.empty();
    GeToOrbEnabled =
        haveD && haveF && DirectoryExists(SrcWptDir) && DirectoryExists(OrbScnDir) && !SrcKmlFiles.empty();
    OrbToGeEnabled = haveD && haveF && !OrbRootDir.empty() && DirectoryExists(OrbRootDir) &&
                     DirectoryExists(FltResDir) && (!FltResScnFiles.empty() || CurrentStateUsable);
}

namespace {

// One listing: every file of the folder with the extension that passes the test, and the newest.
template <class Test>
bool ListFiles(const std::string& folder, std::string_view ext, Test test, std::vector<std::string>& list,
               std::string& newest, std::vector<std::string>& problems) {
    list.clear();
    newest.clear();
    long long newestTime = 0;
    std::vector<std::string> skipped;
    const std::vector<TFolderEntry> entries = ListFolderFiles(folder, ext, &skipped);
    for (const std::string& name : skipped)
        problems.push_back("- Not a regular file, skipped: \"" + folder + name + "\"");
    for (const auto& e : entries) {
        const TResultOf<bool> pass = test(folder + e.Name);
        if (!pass.Message.empty()) problems.push_back("- " + pass.Message);
        if (!pass.Value) continue;
        list.push_back(e.Name);
        if (list.size() == 1 || e.MTimeNs > newestTime) {
            newest = e.Name;
            newestTime = e.MTimeNs;
        }
    }
    return !list.empty();
}

} // namespace

bool TGlobalOptions::ListSrcKmlFiles() {
    return ListFiles(SrcWptDir, ".kml", IsSourceKml, SrcKmlFiles, NewestSrcKmlFile, FileProblems);
}

bool TGlobalOptions::ListFltResScnFiles() {
    return ListFiles(
        FltResDir, ".scn", [this](const std::string& path) { return ResultScenarioUsable(path); },
        FltResScnFiles, NewestFltResScnFile, FileProblems);
}

TResultOf<bool> TGlobalOptions::ResultScenarioUsable(const std::string& path) {
    TResultScenarioRead read = ReadResultScenario(path);
    const TResultOf<bool> usable = UsableResultScenario(read);
    if (usable.Value) ResultReads.Keep(std::move(read));
    return usable;
}

std::string TGlobalOptions::WarningsText() const {
    return JoinLinesCrLf(Warnings);
}

TResultSourceInputs ResultSourceInputsOf(const TGlobalOptions& options) {
    TResultSourceInputs in;
    in.CurrentStateUsable = options.CurrentStateUsable;
    in.CurrentStateFile = options.CurrentStateFile;
    in.FltResDir = options.FltResDir;
    in.FltResScnFiles = options.FltResScnFiles;
    in.NewestFltResScnFile = options.NewestFltResScnFile;
    return in;
}

} // namespace zm
