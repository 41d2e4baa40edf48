// Test support: a temporary folder that disappears with the test, and the data module pointed at
// the project's transformation files.
#pragma once

#include "Unit_DM.h"
#include "Unit_Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace zm::test {

inline std::string SourceDir() {
    const char* env = std::getenv("TESKI_SOURCE_DIR");
    return IncludeTrailingPathDelimiter(env && *env ? env : ZIELMARK_SOURCE_DIR);
}

inline std::string DataDir() {
    return SourceDir() + "zielmark/data/";
}
inline std::string CorpusKmlDir() {
    return SourceDir() + "../shared/corpus/kml/";
}

class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zielmark-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        Path = IncludeTrailingPathDelimiter(pattern);
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::permissions(Path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(Path, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // Writes name (below the folder, sub-folders created) with exactly these bytes; returns the path.
    std::string Write(const std::string& name, std::string_view content) const {
        const std::string path = Path + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
        return path;
    }
    std::string Read(const std::string& name) const {
        std::string content;
        ReadWholeFile(Path + name, content);
        return content;
    }
    std::string Mkdir(const std::string& name) const {
        std::filesystem::create_directories(Path + name);
        return IncludeTrailingPathDelimiter(Path + name);
    }

    std::string Path; // with a trailing separator
};

// Points the data module at the project's transformation files for the test's lifetime.
class TTransformsFixture : public ::testing::Test {
protected:
    void SetUp() override { DModule().TransformDir = DataDir(); }
};

// A KML document of Google Earth's kind with the given placemarks (name, "lon,lat,alt").
inline std::string KmlDocument(const std::vector<std::pair<std::string, std::string>>& placemarks,
                               const std::string& description = "") {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml "
                    "xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
    if (!description.empty()) s += "\t<description>" + description + "</description>\n";
    for (const auto& [name, coords] : placemarks)
        s += "\t<Placemark>\n\t\t<name>" + name + "</name>\n\t\t<Point>\n\t\t\t<coordinates>" + coords +
             "</coordinates>\n\t\t</Point>\n\t</Placemark>\n";
    return s + "</Document>\n</kml>\n";
}

} // namespace zm::test
