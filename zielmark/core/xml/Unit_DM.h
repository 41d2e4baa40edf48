// Zielmark's KML import: XML-to-table transformations read from the files "kml2datD.xtr" and
// "kml2datF.xtr", the table of placemark records, the naming convention tests and the file's
// own description.
#pragma once

#include "Unit_Result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xml_node;
}

namespace zm {

inline constexpr const char* TransformFileD = "kml2datD.xtr";
inline constexpr const char* TransformFileF = "kml2datF.xtr";

// The table an import produces: named fields, one record per placemark in file order. A field
// whose element was missing has no value (std::nullopt), which is not the same as empty text.
class TKmlTable {
public:
    using TRecord = std::vector<std::optional<std::string>>;
    std::vector<std::string> FieldNames;
    std::vector<TRecord> Records;

    size_t RecordCount() const { return Records.size(); }
    bool IsEmpty() const { return Records.empty(); }
    void Clear();
    int FieldIndex(std::string_view name) const; // -1 when the table has no such field
    // The value of a field of a record, or null when the field or its value is missing.
    const std::string* FieldText(size_t record, std::string_view name) const;
};

// Names of the fields an import fills; empty = all of them.
using TFieldNames = std::vector<std::string_view>;

// One transformation, as read from its file (the format is described in the files themselves).
class TTransformation {
public:
    struct TField {
        std::string Name;
        std::vector<std::vector<std::string>> Paths; // alternatives, each a list of element names
        bool Trim = false;
    };
    std::vector<std::vector<std::string>> StartPaths;
    std::string RecordElement;
    std::vector<std::string> ThroughElements;
    std::vector<TField> Fields;

    // Reads a transformation file; a failure's message names the file (and line).
    TResult Load(const std::string& path);
    TResult Parse(std::string_view text, const std::string& fileName);
    // Fills the table from a parsed XML document (replacing what it held). With onlyFields given, the
    // other fields are left without value (the counting needs only names and styles).
    void Apply(const pugi::xml_node& document, TKmlTable& table, const TFieldNames& onlyFields = {}) const;
};

// The data module: imports KML files into KMLDataSet. One instance serves the program (DModule()).
class TDModule {
public:
    // Folder of the transformation files, with a trailing separator; empty = the current directory.
    std::string TransformDir;
    TKmlTable KMLDataSet;

    // Imports with kml2datD.xtr, and with kml2datF.xtr when the first yields no record. Ok: KMLDataSet holds
    // records; Empty: the file holds none; Failed: the file cannot be read, is not well-formed XML, or a
    // transformation file is bad (the message names the file and the reason).
    TResult ImportKml(const std::string& path, const TFieldNames& onlyFields = {});
    std::string TransformPath(const char* fileName) const { return TransformDir + fileName; }

    // While a batch lives, the transformation files are looked at once, not before every import
    // (a folder check imports every file of a folder in a row).
    class TBatch {
    public:
        explicit TBatch(TDModule& dm) : Dm_(dm) {
            if (Dm_.BatchDepth_++ == 0) ++Dm_.BatchGeneration_;
        }
        ~TBatch() { --Dm_.BatchDepth_; }
        TBatch(const TBatch&) = delete;
        TBatch& operator=(const TBatch&) = delete;

    private:
        TDModule& Dm_;
    };

private:
    struct TCached {
        std::string Path;
        long long MTimeNs = -1;
        long long Size = -1;
        unsigned CheckedGeneration = 0; // the batch in which time and size were last compared
        TTransformation Rules;
    };
    TCached CacheD_, CacheF_;
    TResultOf<const TTransformation*> Rules(TCached& cache, const char* fileName);
    std::string Buffer_;
    int BatchDepth_ = 0;
    unsigned BatchGeneration_ = 0;
};

TDModule& DModule();

// The naming convention: "TeskWreck..." a wreck marker, "Tesk..." a launch site, else a target
// (the prefix tested at the first character, letter case counting).
enum class TPlacemarkKind { Wreck, LaunchSite, Other };
inline constexpr std::string_view TeskPrefix = "Tesk";
inline constexpr std::string_view WreckPrefix = "TeskWreck";
TPlacemarkKind ClassifyPlacemarkName(std::string_view name);

// The impact marks of the result files we write carry this style; nothing else in a result file tells
// it from a planning file (its impact and launch marks are named after missiles, "Tesk...").
inline constexpr std::string_view ImpactStyleId = "stWreck";
bool IsImpactStyle(std::string_view styleUrl);

struct TPlacemarkCounts {
    int Impacts = 0; // impact marks of a result file (by their style); counted nowhere else
    int Wrecks = 0;
    int LaunchSites = 0;
    int Others = 0;
};

// These import through DModule() (its KMLDataSet then holds the file's records) and fail when the file cannot
// be imported; the two tests' Value is false then.
TResultOf<TPlacemarkCounts> CountKmlPlacemarks(const std::string& path);
// No wreck marker and no impact mark, at least one launch site and at least one other placemark.
TResultOf<bool> IsSourceKml(const std::string& path);
// At least one impact mark of our result files, or at least one wreck marker and no launch site.
TResultOf<bool> IsResultKml(const std::string& path);
// The document's own description: the first <description> that ends before the first
// <Placemark, raw (entities and markup kept, line breaks CR LF); empty otherwise.
std::string ReadKmlDescription(const std::string& path);

} // namespace zm
