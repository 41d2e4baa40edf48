#include "TestRoot.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

TestRoot::TestRoot() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "orbhost-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = tmpl;
    for (const char* d : {"Config/Vessels", "Modules", "Meshes", "Scenarios"})
        std::filesystem::create_directories(path_ / d);
    const char* buildRoot = std::getenv("ORB_ROOT");
    if (!buildRoot) throw std::runtime_error("ORB_ROOT is not set");
    std::filesystem::copy_file(std::filesystem::path(buildRoot) / "Modules" / "HostTestVessel.so",
                               path_ / "Modules" / "HostTestVessel.so");
    write("Config/Vessels/HostTestVessel.cfg", "ClassName = HostTestVessel\r\nModule = HostTestVessel\r\n"
                                               "Note = from the class file ; comment\r\n");
    write("Config/PlainVessel.cfg", "; a class without a module\nSize = 3\nMass = 100\n");
}

TestRoot::~TestRoot() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TestRoot::write(const std::string& relative, std::string_view content) const {
    std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), std::streamsize(content.size()));
}

std::filesystem::path corpusFolder(const std::string& sub) {
    const char* src = std::getenv("TESKI_SOURCE_DIR");
    return std::filesystem::path(src && *src ? src : ".") / ".." / "shared" / "corpus" / sub;
}

std::vector<std::string> linesWith(const std::vector<std::string>& log, std::string_view needle) {
    std::vector<std::string> out;
    for (const auto& l : log)
        if (l.find(needle) != std::string::npos) out.push_back(l);
    return out;
}

int indexOf(const std::vector<std::string>& log, std::string_view line, int from) {
    for (size_t i = size_t(std::max(from, 0)); i < log.size(); ++i)
        if (log[i] == line) return int(i);
    return -1;
}
