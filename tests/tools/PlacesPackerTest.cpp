#include "PlacesPacker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "Archive.h"
#include "ArchiveBuilder.h"
#include "File.h"
#include "TempDir.h"

namespace {

const char* const kHeader =
    "city\tstate\tzip_code\tarea_code\tcounty_code\tcounty\tdst\tlatitude\tlongitude\ttime_zone\n";

std::vector<CTimeZone> ReadArchive(const std::filesystem::path& path) {
    CFile file(path.string(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    std::vector<CTimeZone> records;
    while (!ar.IsAtEnd()) {
        records.emplace_back().Serialize(ar);
    }
    return records;
}

// Two Texas places, one of them the default record, and one of Guam.
std::map<std::string, std::vector<CTimeZone>> ThreePlaces() {
    std::istringstream list(std::string(kHeader) +
                            "Mission\tTX\t78572\t956\t215\tHidalgo\tY\t26.21466\t-98.35164\t6\n"
                            "El Paso\tTX\t79901\t\t141\tEl Paso\tY\t31.7584\t-106.4783\t7\n"
                            "Hagatna\tGU\t96910\t\t010\tGuam\tN\t13.45472\t144.75128\t-10\n");
    return ReadPlaces(list, {"TX", "GU"});
}

}  // namespace

TEST(PlacesPacker, ParsesALineIntoWindows1252AndExactNumbers) {
    const CTimeZone r =
        ParsePlaceLine("Mayagüez\tPR\t00680\t\t097\tMayagüez\tN\t18.16307\t-67.36122\t4\r", 7);
    EXPECT_EQ(r.m_strCity,
              "Mayag\xFC"
              "ez");
    EXPECT_EQ(r.m_strState, "PR");
    EXPECT_EQ(r.m_strZipCode, "00680");
    EXPECT_EQ(r.m_strAreaCode, "");
    EXPECT_EQ(r.m_strCountyCode, "097");
    EXPECT_EQ(r.m_strDST, "N");
    EXPECT_EQ(r.m_dLatitude, 18.16307);
    EXPECT_EQ(r.m_dLongitude, -67.36122);
    EXPECT_EQ(r.m_nTimeZone, 4);

    // Characters of the 0x80-0x9F block and negative offsets.
    const CTimeZone e = ParsePlaceLine(
        "Caf\u00e9 \u2013 \u201cX\u201d\tGU\t96910\t\t010\tDo\u00f1a "
        "Ana\tN\t13.45\t144.75\t-10",
        1);
    EXPECT_EQ(e.m_strCity, "Caf\xE9 \x96 \x93X\x94");
    EXPECT_EQ(e.m_strCounty,
              "Do\xF1"
              "a Ana");
    EXPECT_EQ(e.m_nTimeZone, -10);
}

TEST(PlacesPacker, RejectsBadLinesNamingLineAndField) {
    const struct {
        const char* text;
        const char* expected;  // part of the message
    } cases[] = {
        {"A\tTX\t78572\t\t215\tHidalgo\tY\t26.2\t-98.3", "found 9"},
        {"A\tTX\t78572\t\t215\tHidalgo\tY\t26.2\t-98.3\t6\t", "found 11"},
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA\tTX\t78572\t\t215\tHidalgo\tY\t26.2\t-98.3\t6",
         "city"},
        {"A\tTX\t78572\t\t215\tHidal\xC3go\tY\t26.2\t-98.3\t6", "county"},
        {"A\tTX\t78572\t\t215\tHidalgo\tY\t26.2x\t-98.3\t6", "latitude"},
        {"A\tTX\t78572\t\t215\tHidalgo\tY\t26.2\t\t6", "longitude"},
        {"A\tTX\t78572\t\t215\tHidalgo\tY\t26.2\t-98.3\t6.5", "time-zone offset"},
        {"A\tTX\t78572\t\t215\tHidalgo\tY\t26.2\t-98.3\t 6", "time-zone offset"},
        {"A\tTX\t78572\t\t215\tHidalgo\tY\t26.2\t-98.3\t99999999999", "time-zone offset"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParsePlaceLine(c.text, 42);
            ADD_FAILURE() << "accepted";
        } catch (const CPackError& error) {
            EXPECT_EQ(error.m_line, 42u);
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("line 42: ", 0), 0u) << message;
            EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        }
    }
}

TEST(PlacesPacker, ReadsTheListByStateAndRefusesUnknownOrMissingStates) {
    std::istringstream list(std::string(kHeader) +
                            "B\tGU\t96913\t\t010\tGuam\tN\t13.47\t144.81\t-10\n"
                            "\n"
                            "A\tGU\t96910\t\t010\tGuam\tN\t13.45\t144.75\t-10\r\n"
                            "Ebeye\tMH\t96970\t\t020\tMarshall Islands\tN\t8.786\t167.73\t-12\n");
    const auto places = ReadPlaces(list, {"GU", "MH"});
    ASSERT_EQ(places.size(), 2u);
    ASSERT_EQ(places.at("GU").size(), 2u);
    EXPECT_EQ(places.at("GU")[0].m_strZipCode, "96913");  // list order is kept
    EXPECT_EQ(places.at("GU")[1].m_strCity, "A");
    EXPECT_EQ(places.at("MH").size(), 1u);

    std::istringstream stray(std::string(kHeader) +
                             "A\tGU\t96910\t\t010\tGuam\tN\t13.45\t144.75\t-10\n"
                             "X\tZZ\t00000\t\t\tX\tN\t1\t1\t0\n");
    try {
        ReadPlaces(stray, {"GU"});
        ADD_FAILURE() << "accepted state ZZ";
    } catch (const CPackError& error) {
        EXPECT_EQ(error.m_line, 3u);
        EXPECT_NE(std::string(error.what()).find("ZZ"), std::string::npos);
    }

    std::istringstream missing(std::string(kHeader) +
                               "A\tGU\t96910\t\t010\tGuam\tN\t13.45\t144.75\t-10\n");
    try {
        ReadPlaces(missing, {"GU", "PW"});
        ADD_FAILURE() << "accepted a list without PW";
    } catch (const CException& error) {  // the packer's errors share the program's one root
        EXPECT_EQ(error.GetErrorMessage(), "no place has the state code PW");
    }
    std::istringstream empty;
    EXPECT_THROW(ReadPlaces(empty, {"GU"}), CPackError);
}

TEST(PlacesPacker, WritesOneArchivePerStateThatReadsBackRecordForRecord) {
    TempDir dir;
    const auto places = ThreePlaces();
    EXPECT_EQ(WriteArchives(places, dir.path()), 3u);

    // Nothing but the two archives is left behind.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"timezone.arc.GU", "timezone.arc.TX"}));

    // The record with the default values is the 55-byte default record.
    const auto tx = ReadArchive(dir.path() / "timezone.arc.TX");
    ASSERT_EQ(tx.size(), 2u);
    EXPECT_EQ(tx[0].m_strCity, "Mission");
    EXPECT_EQ(tx[0].m_strAreaCode, "956");
    EXPECT_EQ(tx[0].m_dLongitude, -98.35164);
    EXPECT_EQ(tx[1].m_strZipCode, "79901");
    EXPECT_EQ(tx[1].m_nTimeZone, 7);
    EXPECT_EQ(std::filesystem::file_size(dir.path() / "timezone.arc.TX"),
              55u + (7 + 2 + 5 + 0 + 3 + 7 + 1) + 7 + 20);

    const auto gu = ReadArchive(dir.path() / "timezone.arc.GU");
    ASSERT_EQ(gu.size(), 1u);
    EXPECT_EQ(gu[0].m_nTimeZone, -10);
    EXPECT_EQ(gu[0].m_dLatitude, 13.45472);

    // Packing again replaces the archives rather than adding to them.
    EXPECT_EQ(WriteArchives(places, dir.path()), 3u);
    EXPECT_EQ(ReadArchive(dir.path() / "timezone.arc.TX").size(), 2u);
}

TEST(PlacesPacker, PacksOneZonePerPlaceIntoTheZoneFile) {
    TempDir dir;
    const auto places = ThreePlaces();
    std::istringstream zones(
        "zip_code\tstate\tzone\n"
        "78572\tTX\tAmerica/Chicago\r\n"
        "96910\tGU\tPacific/Guam\n"
        "79901\tTX\tAmerica/Denver\n");
    WriteZoneFile(ReadZones(zones, places), dir.path());
    const CZoneTable tx = CZoneTable::Load("TX", dir.path());
    EXPECT_EQ(tx.Find("78572"), "America/Chicago");
    EXPECT_EQ(tx.Find("79901"), "America/Denver");
    EXPECT_EQ(CZoneTable::Load("GU", dir.path()).Find("96910"), "Pacific/Guam");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "timezone.zones.partial"));

    // A place without a zone, a zone without a place, a zip twice, a short line.
    for (const char* bad :
         {"78572\tTX\tAmerica/Chicago\n96910\tGU\tPacific/Guam\n",
          "78572\tTX\tA\n79901\tTX\tA\n96910\tGU\tA\n96911\tGU\tA\n",
          "78572\tTX\tA\n78572\tTX\tA\n79901\tTX\tA\n96910\tGU\tA\n", "78572\tTX\n"}) {
        std::istringstream in(std::string("zip_code\tstate\tzone\n") + bad);
        EXPECT_THROW(ReadZones(in, places), CPackError) << bad;
    }
    // A zone name the file cannot hold stops the packer.
    EXPECT_THROW(WriteZoneFile({{"TX", "78572", "America/Chicago\x01"}}, dir.path() / "x"),
                 CPackError);
}
