#include "ZoneFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ArchiveBuilder.h"
#include "DataFile.h"
#include "TempDir.h"

namespace {

const std::vector<CZoneEntry> kEntries = {
    {"IL", "60601", "America/Chicago"},
    {"IL", "60007", "America/Chicago"},
    {"IN", "46204", "America/Indiana/Indianapolis"},
    {"IN", "46402", "America/Chicago"},
    {"HI", "96898", "Pacific/Wake"},
};

// Every zip of `code` in kEntries and its zone as the table answers it ("" for none).
std::map<std::string, std::string> Answers(const CZoneTable& table, const std::string& code) {
    std::map<std::string, std::string> answers;
    for (const CZoneEntry& e : kEntries) {
        if (e.state == code) {
            answers[e.zip] = std::string(table.Find(e.zip).value_or(""));
        }
    }
    return answers;
}

}  // namespace

TEST(ZoneFile, EncodedZonesReadBackPerState) {
    const std::string bytes = EncodeZoneFile(kEntries);
    const CZoneTable il = CZoneTable::Parse(bytes, "IL");
    ASSERT_TRUE(il.IsKnown()) << il.Problem();
    EXPECT_EQ(il.Size(), 2u);
    EXPECT_EQ(il.Find("60601"), "America/Chicago");
    EXPECT_EQ(il.Find("60007"), "America/Chicago");  // listed out of order, found all the same
    EXPECT_FALSE(il.Find("46204").has_value());      // another state's zip
    EXPECT_FALSE(il.Find("6060").has_value());

    const CZoneTable in = CZoneTable::Parse(bytes, "IN");
    EXPECT_EQ(in.Find("46204"), "America/Indiana/Indianapolis");
    EXPECT_EQ(in.Find("46402"), "America/Chicago");
    EXPECT_EQ(CZoneTable::Parse(bytes, "HI").Find("96898"), "Pacific/Wake");
    // From a hint, in order, backwards, again, or missing: the same answers.
    std::size_t hint = 0;
    for (const char* zip : {"46204", "46402", "46204", "46204", "46300", "46402"}) {
        EXPECT_EQ(in.Find(zip, hint), in.Find(zip)) << zip;
    }

    const CZoneTable tx = CZoneTable::Parse(bytes, "TX");
    EXPECT_FALSE(tx.IsKnown());
    EXPECT_NE(tx.Problem().find("no zones for TX"), std::string::npos) << tx.Problem();
}

TEST(ZoneFile, MissingFileMeansZoneUnknown) {
    const TempDir temp;
    const std::filesystem::path& dir = temp.path();
    const CZoneTable missing = CZoneTable::Load("IL", dir);
    EXPECT_FALSE(missing.IsKnown());
    EXPECT_EQ(missing.Problem(), "timezone.zones is missing");
    EXPECT_FALSE(missing.Find("60601").has_value());

    const std::string bytes = EncodeZoneFile(kEntries);
    std::ofstream(dir / kZoneFileName, std::ios::binary) << bytes;
    EXPECT_EQ(CZoneTable::Load("IL", dir).Find("60601"), "America/Chicago");
}

// A FIFO (which would wait for a writer), a directory and an oversized file are refused before
// any read, each with its reason.
TEST(ZoneFile, FileThatIsNotOursMeansZoneUnknownWithItsReason) {
    const TempDir temp;
    const std::filesystem::path path = temp.path() / kZoneFileName;
    const auto problem = [&] { return CZoneTable::Load("IL", temp.path()).Problem(); };
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(problem(), "timezone.zones cannot be read: not a regular file");
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(problem(), "timezone.zones cannot be read: Is a directory");
    std::filesystem::remove(path);
    WriteFile(path, {});
    std::filesystem::resize_file(path, 9u << 20);
    EXPECT_EQ(problem(), "timezone.zones cannot be read: larger than a zone file can be (8 MiB)");
}

// A file cut short anywhere, or with any byte changed, never crashes and never gives a zone
// other than the true one: the state is either unknown or answered as before.
TEST(ZoneFile, DamagedFileIsUnknownNeverAGuess) {
    const std::string good = EncodeZoneFile(kEntries);
    for (const std::string code : {"IL", "IN", "HI"}) {
        SCOPED_TRACE(code);
        const auto truth = Answers(CZoneTable::Parse(good, code), code);
        for (std::size_t n = 0; n < good.size(); ++n) {
            const CZoneTable cut = CZoneTable::Parse(std::string_view(good).substr(0, n), code);
            EXPECT_FALSE(cut.IsKnown()) << "cut at " << n;
        }
        for (std::size_t i = 0; i < good.size(); ++i) {
            for (const int mask : {0x01, 0x80, 0xFF}) {
                std::string bad = good;
                bad[i] = static_cast<char>(bad[i] ^ mask);
                const CZoneTable table = CZoneTable::Parse(bad, code);
                if (table.IsKnown()) {
                    EXPECT_EQ(Answers(table, code), truth) << "byte " << i;
                } else {
                    EXPECT_EQ(table.Problem().rfind("timezone.zones is damaged: ", 0), 0u)
                        << table.Problem();
                }
            }
        }
        EXPECT_FALSE(CZoneTable::Parse(good + "x", code).IsKnown());
    }
}

TEST(ZoneFile, EncoderRefusesBadEntries) {
    const std::vector<std::vector<CZoneEntry>> cases = {
        {},
        {{"il", "60601", "America/Chicago"}},
        {{"IL", "6060", "America/Chicago"}},
        {{"IL", "6060x", "America/Chicago"}},
        {{"IL", "60601", ""}},
        {{"IL", "60601", "America/Chicago\n"}},
        {{"IL", "60601", std::string(256, 'A')}},
        {{"IL", "60601", "America/Chicago"}, {"IL", "60601", "America/Chicago"}},
        {{"IL", "60601", "America/Chicago"},
         {"IN", "46204", "America/Indiana/Indianapolis"},
         {"IL", "60602", "America/Chicago"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_THROW(EncodeZoneFile(cases[i]), CDataEncodeError) << "case " << i;
    }
}

TEST(ZoneFile, StatesWithZipNameTheStatesThatListIt) {
    std::vector<CZoneEntry> entries = kEntries;
    entries.push_back({"HI", "60601", "Pacific/Honolulu"});  // one zip in two states
    const std::string bytes = EncodeZoneFile(entries);
    EXPECT_EQ(CZoneTable::StatesWithZip(bytes, "60601"), (std::vector<std::string>{"IL", "HI"}));
    EXPECT_EQ(CZoneTable::StatesWithZip(bytes, "46402"), (std::vector<std::string>{"IN"}));
    EXPECT_TRUE(CZoneTable::StatesWithZip(bytes, "99999").empty());
    EXPECT_TRUE(CZoneTable::StatesWithZip(bytes, "6060").empty());
    // A file cut anywhere names nothing; a flipped byte anywhere is survived.
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_TRUE(CZoneTable::StatesWithZip(bytes.substr(0, n), "60601").empty()) << n;
        std::string flipped = bytes;
        flipped[n] = static_cast<char>(flipped[n] ^ 0x5A);
        EXPECT_LE(CZoneTable::StatesWithZip(flipped, "60601").size(), 2u) << n;
    }
}
