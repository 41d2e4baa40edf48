// The transformation file format: parsed, then applied to a small KML document.
#include "Unit_DM.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <string_view>

namespace {
constexpr const char* Kml =
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><Folder><Placemark><name>Tesk1</name>"
    "<Point><coordinates>13.5,52.4,0</coordinates></Point></Placemark></Folder>"
    "<Placemark><name>Berlin</name><description>d</description></Placemark></Document></kml>";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zm::TTransformation rules;
    if (const zm::TResult parsed = rules.Parse(text, "fuzz.xtr"); !parsed.Ok()) {
        if (parsed.Message.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    static pugi::xml_document doc;
    static const bool loaded = doc.load_string(Kml);
    if (!loaded) std::abort();
    zm::TKmlTable table;
    rules.Apply(doc, table);
    for (size_t r = 0; r < table.RecordCount(); ++r)
        if (table.Records[r].size() != table.FieldNames.size()) std::abort();
    return 0;
}
