// The settings file: read into the settings object, and the file written back and read again
// holds the same settings.
#include "FuzzInput.h"

#include "Unit_GlobalOptions.h"
#include "Unit_IniFile.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteInput(data, size, "Zielmark.ini");
    zm::TGlobalOptions options;
    options.LoadFromIni(path);

    // The write-back keeps every value, whatever it held, as the next read sees it.
    zm::TIniFile ini;
    ini.Load(path);
    ini.WriteInteger("Application", "ActiveMainTab", options.ActiveMainTab);
    ini.WriteString("SrcWptDir", "Dir", options.SrcWptDir);
    ini.WriteString("MRUSourceKmlFile", "File", options.MRUSourceKmlFile);
    zm::TIniFile again;
    again.Parse(ini.Text());
    if (again.ReadInteger("Application", "ActiveMainTab", -12345) != options.ActiveMainTab) std::abort();
    if (again.ReadString("SrcWptDir", "Dir", "") != ini.ReadString("SrcWptDir", "Dir", "")) std::abort();
    if (again.ReadString("MRUSourceKmlFile", "File", "") != ini.ReadString("MRUSourceKmlFile", "File", ""))
        std::abort();
    return 0;
}
