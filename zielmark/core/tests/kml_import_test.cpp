// The KML import: both transformations over the shapes of file Google Earth writes, the naming
// convention, the document's description, real files, and input that must not break anything.
#include "TestFolder.h"
#include "TestResult.h"

#include "Unit_DM.h"
#include "Unit_GEFile.h"
#include "Unit_Objects.h"

#include <pugixml.hpp>

#include <gtest/gtest.h>

#include <filesystem>

using namespace zm;
using namespace zm::test;

namespace {

struct ImportCase {
    const char* What;
    std::string Xml;
    std::vector<std::string> Names;       // expected records' names in order ("<none>": no name)
    std::vector<std::string> Coordinates; // expected coordinates of the first records (optional)
};

std::string NameOf(const TKmlTable& t, size_t i) {
    const std::string* n = t.FieldText(i, "name");
    return n ? *n : "<none>";
}

class KmlImport : public TTransformsFixture {};

TEST_F(KmlImport, ShapesOfGoogleEarthFilesImport) {
    const ImportCase cases[] = {
        {"placemarks directly in a document, KML 2.2",
         KmlDocument({{"Tesk1", "13.5,52.4,0"}, {"Berlin", "13.4,52.5,0"}}),
         {"Tesk1", "Berlin"},
         {"13.5,52.4,0", "13.4,52.5,0"}},
        {"folders nested, records in document order",
         "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><Placemark><name>A</name></Placemark>"
         "<Folder><name>f</name><Placemark><name>B</name></Placemark><Folder><Placemark><name>C</name></"
         "Placemark>"
         "</Folder></Folder><Placemark><name>D</name></Placemark></Document></kml>",
         {"A", "B", "C", "D"},
         {}},
        {"a document inside a folder inside the document",
         "<kml><Document><Folder><Document><Placemark><name>deep</name></Placemark></Document></Folder></"
         "Document></kml>",
         {"deep"},
         {}},
        {"a bare placemark root, no kml element",
         "<Placemark><name>solo</name><Point><coordinates>1,2</coordinates></Point></Placemark>",
         {"solo"},
         {"1,2"}},
        {"KML 2.0 namespace, placemarks directly in kml",
         "<kml xmlns=\"http://earth.google.com/kml/2.0\"><Placemark><name>P1</name></Placemark>"
         "<Placemark><name>P2</name></Placemark></kml>",
         {"P1", "P2"},
         {}},
        {"KML 2.1 namespace, a folder as the top element",
         "<kml xmlns=\"http://earth.google.com/kml/2.1\"><Folder><Placemark><name>F1</name></Placemark>"
         "<Folder><Placemark><name>F2</name></Placemark></Folder></Folder></kml>",
         {"F1", "F2"},
         {}},
        {"Google's 2.2 namespace, prefixed element names",
         "<kml:kml "
         "xmlns:kml=\"http://earth.google.com/kml/2.2\"><kml:Document><kml:Placemark><kml:name>Pre</kml:name>"
         "<kml:Point><kml:coordinates>5,6,7</kml:coordinates></kml:Point></kml:Placemark></kml:Document></"
         "kml:kml>",
         {"Pre"},
         {"5,6,7"}},
        {"entities, character references and CDATA",
         "<kml><Document><Placemark><name>Basin &amp; Ridge</name></Placemark>"
         "<Placemark><name><![CDATA[Tesk <1>]]></name></Placemark>"
         "<Placemark><name>&#84;esk2</name></Placemark></Document></kml>",
         {"Basin & Ridge", "Tesk <1>", "Tesk2"},
         {}},
        {"coordinates with blanks and line breaks around them",
         "<kml><Document><Placemark><name>T</name><Point><coordinates>\r\n\t\t  -121.99, 37.44,0 "
         "\n\t</coordinates>"
         "</Point></Placemark></Document></kml>",
         {"T"},
         {"-121.99, 37.44,0"}},
        {"missing name and missing point give no value",
         "<kml><Document><Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>"
         "<Placemark><name></name></Placemark></Document></kml>",
         {"<none>", ""},
         {"1,2"}},
        {"the document transformation wins even when the other would yield more",
         "<kml><Document><Placemark><name>D1</name></Placemark></Document>"
         "<Placemark><name>F1</name></Placemark><Placemark><name>F2</name></Placemark></kml>",
         {"D1"},
         {}},
        {"a Latin-1 file comes out as UTF-8",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><kml><Document><Placemark><name>M\xfcnchen</name>"
         "</Placemark></Document></kml>",
         {"M\xc3\xbc"
          "nchen"},
         {}},
    };
    TTempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string path = dir.Write("case.kml", c.Xml);
        TDModule& dm = DModule();
        ASSERT_TRUE(Succeeded(dm.ImportKml(path)));
        std::vector<std::string> names;
        for (size_t i = 0; i < dm.KMLDataSet.RecordCount(); ++i)
            names.push_back(NameOf(dm.KMLDataSet, i));
        EXPECT_EQ(names, c.Names);
        for (size_t i = 0; i < c.Coordinates.size(); ++i) {
            const std::string* coords = dm.KMLDataSet.FieldText(i, "coordinates");
            ASSERT_NE(coords, nullptr);
            EXPECT_EQ(*coords, c.Coordinates[i]);
        }
    }
}

TEST_F(KmlImport, NamingConventionClassifiesFiles) {
    struct Case {
        std::vector<std::string> Names;
        bool Source, Result;
    };
    const Case cases[] = {
        {{"Tesk1", "TeskB", "Target"}, true, false},
        {{"Tesk1", "TeskB", "Target", "TeskWreck1"}, false, false},
        {{"Tesk1"}, false, false},      // no target
        {{"A", "B"}, false, false},     // no launch site
        {{"tesk1", "A"}, false, false}, // lower-case prefix: a target
        {{"Tesk", "X"}, true, false},   // the prefix alone is a launch site
        {{"", "Tesk9"}, true, false},   // the empty name is a target
        {{"TeskWreck1", "Target"}, false, true},
        {{"TeskWreck1", "Target", "Tesk1"}, false, false},
        {{"TeskWreckA"}, false, true},
    };
    TTempFolder dir;
    for (const auto& c : cases) {
        std::vector<std::pair<std::string, std::string>> pm;
        for (const auto& n : c.Names)
            pm.emplace_back(n, "1,2,0");
        const std::string path = dir.Write("c.kml", KmlDocument(pm));
        std::string names;
        for (const auto& n : c.Names)
            names += n + " ";
        EXPECT_EQ(IsSourceKml(path).Value, c.Source) << names;
        EXPECT_EQ(IsResultKml(path).Value, c.Result) << names;
    }
    const TPlacemarkCounts counts = CountKmlPlacemarks(dir.Write("c.kml", KmlDocument({{"TeskWreck1", "1,2"},
                                                                                       {"Tesk1", "1,2"},
                                                                                       {"Tesk2", "1,2"},
                                                                                       {"tesk", "1,2"},
                                                                                       {"Tes", "1,2"}})))
                                        .Value;
    EXPECT_EQ(counts.Wrecks, 1);
    EXPECT_EQ(counts.LaunchSites, 2);
    EXPECT_EQ(counts.Others, 2);
}

// Our result files name their impact and launch marks after the missiles ("TeskAlpha to Basin",
// "TeskAlpha"), so the naming convention alone takes them for planning files. They are told by the
// style of their impact marks; planning files, ours and Google Earth's, stay planning files.
TEST_F(KmlImport, ResultFilesWeWriteAreResultsAndNoPlanningSources) {
    TTempFolder dir;
    std::vector<TTeskWreck> wrecks(2);
    wrecks[0].Name = "TeskAlpha-Wreck";
    wrecks[0].MissileName = "TeskAlpha";
    wrecks[0].Target = "Basin & Ridge";
    wrecks[1].Name = "TeskBravo-Wreck";
    wrecks[1].MissileName = "TeskBravo";
    wrecks[1].Target = "Salt Flats";
    for (auto& w : wrecks) {
        w.TrackCount = 2;
        w.TrackPhase = {1, 3};
    }
    ASSERT_TRUE(Succeeded(WriteGEFile(dir.Path, "salvo.kml", wrecks)));
    const std::string ours = dir.Path + "salvo.kml";

    // As Google Earth keeps it after "Save Place As": the same marks, one level deeper, the style
    // reference with the file's name before it.
    std::string resaved = dir.Read("salvo.kml");
    resaved.replace(resaved.find("<Folder>"), 8, "<Folder><Document><Folder>");
    resaved.replace(resaved.rfind("</Folder>"), 9, "</Folder></Document></Folder>");
    for (size_t at = 0; (at = resaved.find("#stWreck", at)) != std::string::npos; at += 20)
        resaved.insert(at, "salvo.kml");
    const std::string resavedPath = dir.Write("resaved.kml", resaved);

    const std::string sample = SourceDir() + "examples/desert_range.kml";
    const std::string corpusSource = dir.Write("renamed.kml", [] {
        std::string content;
        ReadWholeFile(CorpusKmlDir() + "openlayers_openlayers__examples__kml__lines.kml", content);
        // Google's lines file holds only LineStrings: add one launch site and one target with points.
        const size_t end = content.rfind("</Document>");
        if (end != std::string::npos)
            content.insert(
                end, "<Placemark><name>TeskX</name><Point><coordinates>1,2</coordinates></Point></Placemark>"
                     "<Placemark><name>Y</name><Point><coordinates>3,4</coordinates></Point></Placemark>");
        return content;
    }());

    const struct {
        const char* What;
        std::string Path;
        bool Source, Result;
    } cases[] = {
        {"a result file as we write it", ours, false, true},
        {"a result file as Google Earth saves it again", resavedPath, false, true},
        {"our own sample planning file", sample, true, false},
        {"a Google file with a launch site and a target added", corpusSource, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        if (c.Path == corpusSource && !DirectoryExists(CorpusKmlDir())) continue; // no corpus here
        EXPECT_EQ(IsSourceKml(c.Path).Value, c.Source);
        EXPECT_EQ(IsResultKml(c.Path).Value, c.Result);
    }
    EXPECT_EQ(CountKmlPlacemarks(ours).Value.Impacts, 2);
}

TEST_F(KmlImport, DocumentDescriptionBeforeTheFirstPlacemark) {
    TTempFolder dir;
    const std::string withDoc = dir.Write(
        "a.kml",
        "<kml>\r\n<Document>\r\n<description>Line one\r\nBread &amp; butter <b>x</b></description>\r\n"
        "<Placemark><name>T</name><description>placemark's</description></Placemark>\r\n</Document></"
        "kml>\r\n");
    EXPECT_EQ(ReadKmlDescription(withDoc), "Line one\r\nBread &amp; butter <b>x</b>");
    // LF files come out with CR LF as well.
    const std::string lf =
        dir.Write("lf.kml", "<kml><Document><description>a\nb</description><Placemark/></Document></kml>");
    EXPECT_EQ(ReadKmlDescription(lf), "a\r\nb");
    const std::string onlyPlacemarks =
        dir.Write("b.kml", "<kml><Document><Placemark><name>T</name><description>mine</description></"
                           "Placemark></Document></kml>");
    EXPECT_EQ(ReadKmlDescription(onlyPlacemarks), "");
    const std::string noPlacemark =
        dir.Write("c.kml", "<kml><Document><description>lonely</description></Document></kml>");
    EXPECT_EQ(ReadKmlDescription(noPlacemark), "");
    EXPECT_EQ(ReadKmlDescription(dir.Path + "missing.kml"), "");

    // A Latin-1 file's description comes out as UTF-8, as its names do; UTF-8 stays as it is.
    const std::string latin1 = dir.Write(
        "l.kml",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><kml><Document><description>Gr\xfc\xdf"
        "e aus M\xfcnchen</description><Placemark><name>M\xfcnchen</name></Placemark></Document></kml>");
    EXPECT_EQ(ReadKmlDescription(latin1), "Gr\xc3\xbc\xc3\x9f"
                                          "e aus M\xc3\xbc"
                                          "nchen");
    const std::string utf8 = dir.Write("u.kml", "<kml><Document><description>Gr\xc3\xbc\xc3\x9f"
                                                "e</description><Placemark/></Document></kml>");
    EXPECT_EQ(ReadKmlDescription(utf8), "Gr\xc3\xbc\xc3\x9f"
                                        "e");
}

TEST_F(KmlImport, BadInputFailsCleanlyOrYieldsNothing) {
    TTempFolder dir;
    const std::string good = KmlDocument({{"Tesk1", "1,2"}, {"T", "3,4"}});
    std::string binary(4096, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919) & 0xff);
    std::string deep = "<kml><Document>";
    for (int i = 0; i < 200000; ++i)
        deep += "<Folder>";
    deep += "<Placemark><name>deep</name></Placemark>";
    const struct {
        const char* What;
        std::string Content;
        TResultCode Expected;
    } cases[] = {
        {"malformed", "<kml><Document><Placemark><name>x</Placemark></Document></kml>", TResultCode::Failed},
        {"truncated", good.substr(0, good.size() / 2), TResultCode::Failed},
        {"binary", binary, TResultCode::Failed},
        {"empty", "", TResultCode::Failed},
        {"deeply nested and unclosed", deep, TResultCode::Failed},
        {"well-formed but no KML", "<html><body>hello</body></html>", TResultCode::Empty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string path = dir.Write("bad.kml", c.Content);
        const TResult imported = DModule().ImportKml(path);
        EXPECT_EQ(imported.Code, c.Expected);
        EXPECT_TRUE(DModule().KMLDataSet.IsEmpty());
        if (c.Expected == TResultCode::Failed) {
            EXPECT_NE(imported.Message.find(path), std::string::npos);
        }
        EXPECT_FALSE(IsSourceKml(path).Value);
        EXPECT_FALSE(IsResultKml(path).Value);
        ReadKmlDescription(path);
    }
    EXPECT_EQ(DModule().ImportKml(dir.Path + "missing.kml").Code, TResultCode::Failed);
    EXPECT_EQ(DModule().ImportKml(dir.Path).Code, TResultCode::Failed); // a folder

    // A huge name is a name like any other.
    const std::string huge(1 << 20, 'x');
    const std::string path = dir.Write("huge.kml", KmlDocument({{"Tesk" + huge, "1,2"}, {huge, "3,4"}}));
    EXPECT_TRUE(IsSourceKml(path).Value);
}

TEST_F(KmlImport, TransformationFilesAreReallyRead) {
    TTempFolder dir;
    DModule().TransformDir = dir.Path;
    const std::string kml = dir.Write("a.kml", KmlDocument({{"Tesk1", "1,2"}, {"T", "3,4"}}));
    const TResult withoutRules = DModule().ImportKml(kml); // no transformation files here
    EXPECT_EQ(withoutRules.Code, TResultCode::Failed);
    EXPECT_NE(withoutRules.Message.find("kml2datD.xtr"), std::string::npos);

    // Rules of our own: only the name field, records are "Placemark" in kml/Document.
    dir.Write("kml2datD.xtr",
              "# test\nformat zielmark-xtr 1\nstart kml/Document\nrecord Placemark\nfield label name trim\n");
    dir.Write("kml2datF.xtr",
              "format zielmark-xtr 1\nstart Placemark\nrecord Placemark\nfield name name text\n");
    ASSERT_TRUE(Succeeded(DModule().ImportKml(kml)));
    EXPECT_EQ(DModule().KMLDataSet.FieldNames, std::vector<std::string>{"label"});
    EXPECT_EQ(CountKmlPlacemarks(kml).Value.LaunchSites, 0); // no "name" field: nothing counted

    const std::pair<const char*, const char*> badRules[] = {
        {"no format line", "start kml\nrecord Placemark\nfield name name text\n"},
        {"unknown statement",
         "format zielmark-xtr 1\nstart kml\nrecord P\nfield name name text\nselect all\n"},
        {"bad mode", "format zielmark-xtr 1\nstart kml\nrecord P\nfield name name upper\n"},
        {"no record", "format zielmark-xtr 1\nstart kml\nfield name name text\n"},
        {"empty path step", "format zielmark-xtr 1\nstart kml//Document\nrecord P\nfield name name text\n"},
        {"empty", ""},
    };
    for (const auto& [what, text] : badRules) {
        SCOPED_TRACE(what);
        dir.Write("kml2datD.xtr", text);
        const TResult imported = DModule().ImportKml(kml);
        EXPECT_EQ(imported.Code, TResultCode::Failed);
        EXPECT_NE(imported.Message.find("kml2datD.xtr"), std::string::npos) << imported.Message;
    }
}

// Google Earth saves its "Temporary Places" as a folder that holds documents, which hold folders and
// documents again, with placemarks at every level: all of them are records, in file order, and the
// file plans like any other.
TEST_F(KmlImport, FolderOfDocumentsAsGoogleEarthSavesTemporaryPlaces) {
    const std::string path = SourceDir() + "zielmark/core/tests/data/temporary_places.kml";
    ASSERT_TRUE(Succeeded(DModule().ImportKml(path)));
    std::vector<std::string> names;
    for (size_t i = 0; i < DModule().KMLDataSet.RecordCount(); ++i)
        names.push_back(NameOf(DModule().KMLDataSet, i));
    EXPECT_EQ(names, (std::vector<std::string>{"TeskAlpha", "TeskBravo", "Salt Flat", "Basin & Ridge"}));
    const std::string* coords = DModule().KMLDataSet.FieldText(0, "coordinates");
    ASSERT_NE(coords, nullptr);
    EXPECT_EQ(*coords, "-116.20,36.10,0");
    EXPECT_TRUE(IsSourceKml(path).Value);

    // The same nesting without the kml element, and with the placemarks before the documents.
    TTempFolder dir;
    const std::string bare = dir.Write(
        "bare.kml", "<Folder><Placemark><name>First</name></Placemark><Document><Folder><Document><Placemark>"
                    "<name>TeskDeep</name></Placemark></Document></Folder></Document></Folder>");
    ASSERT_TRUE(Succeeded(DModule().ImportKml(bare)));
    EXPECT_EQ(DModule().KMLDataSet.RecordCount(), 2u);
    EXPECT_EQ(NameOf(DModule().KMLDataSet, 1), "TeskDeep");
}

// Real files: every placemark reachable through documents and folders becomes a record, and a
// file whose first placemark is renamed to a launch site conforms.
TEST_F(KmlImport, RealFilesFromTheCorpus) {
    const std::string corpus = CorpusKmlDir();
    if (!DirectoryExists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    TTempFolder dir;
    int files = 0;
    for (const auto& e : ListFolderFiles(corpus, ".kml")) {
        SCOPED_TRACE(e.Name);
        ++files;
        std::string content;
        ASSERT_TRUE(Succeeded(ReadWholeFile(corpus + e.Name, content)));
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(content.c_str()));
        const size_t placemarks = doc.select_nodes("//Placemark").size();
        ASSERT_TRUE(Succeeded(DModule().ImportKml(corpus + e.Name)));
        EXPECT_EQ(DModule().KMLDataSet.RecordCount(), placemarks);
        EXPECT_FALSE(IsSourceKml(corpus + e.Name).Value); // nobody there is named Tesk...

        // Rename the first placemark to a launch site in a copy.
        const size_t pm = content.find("<Placemark");
        const size_t name = content.find("<name>", pm);
        ASSERT_NE(name, std::string::npos);
        content.insert(name + 6, "Tesk ");
        const std::string copy = dir.Write(e.Name, content);
        const TPlacemarkCounts c = CountKmlPlacemarks(copy).Value;
        EXPECT_EQ(c.LaunchSites, 1);
        EXPECT_EQ(IsSourceKml(copy).Value, placemarks > 1);
        EXPECT_FALSE(IsResultKml(copy).Value);

        // The Point placemarks turn into waypoints.
        TWaypoints w;
        LoadWaypoints(DModule().KMLDataSet, w);
        EXPECT_LE(w.Tesks.size(), 1u);
    }
    EXPECT_GT(files, 0);
}

} // namespace
