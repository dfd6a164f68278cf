#include <gtest/gtest.h>

#include <cmath>

#include "Archive.h"
#include "ArchiveBuilder.h"
#include "MemFile.h"
#include "TimeZone.h"
#include "TimeZoneData.h"

namespace {

const Bytes kDefaultRecord = {0x07, 0x4d, 0x69, 0x73, 0x73, 0x69, 0x6f, 0x6e, 0x02, 0x54, 0x58,
                              0x05, 0x37, 0x38, 0x35, 0x37, 0x32, 0x03, 0x39, 0x35, 0x36, 0x03,
                              0x32, 0x31, 0x35, 0x07, 0x48, 0x69, 0x64, 0x61, 0x6c, 0x67, 0x6f,
                              0x01, 0x59, 0x65, 0xc2, 0x2f, 0xf5, 0xf3, 0x36, 0x3a, 0x40, 0xca,
                              0xfd, 0x0e, 0x45, 0x81, 0x96, 0x58, 0xc0, 0x06, 0x00, 0x00, 0x00};

CTimeZone Decode(const Bytes& bytes) {
    CMemFile source(bytes);
    CArchive ar(&source, CArchive::load);
    CTimeZone record;
    record.Serialize(ar);
    EXPECT_TRUE(ar.IsAtEnd());
    return record;
}

void ExpectSameFields(const CTimeZone& a, const CTimeZone& b) {
    EXPECT_TRUE(CTimeZoneData(a) == CTimeZoneData(b));
}

}  // namespace

TEST(TimeZone, DefaultRecordIsTheFiftyFiveByteExample) {
    EXPECT_EQ(Encode({CTimeZone()}), kDefaultRecord);
    CTimeZone blank = MakeRecord("", "", "", 0);
    blank.m_strState = blank.m_strAreaCode = blank.m_strCountyCode = blank.m_strDST = "";
    CTimeZone read = blank;
    {
        CMemFile source(kDefaultRecord);
        CArchive ar(&source, CArchive::load);
        read.Serialize(ar);  // every field overwritten, none left from `blank`
    }
    ExpectSameFields(read, CTimeZone());
    // Both forms start from the same place.
    EXPECT_TRUE(CTimeZoneData() == CTimeZoneData(CTimeZone()));
    EXPECT_EQ(CTimeZoneData().CityEntry(), "Mission - 78572");
}

TEST(TimeZone, AllEmptyStringsAndNegativeOffset) {
    CTimeZone record = MakeRecord("", "", "", -10);
    record.m_strState = record.m_strAreaCode = record.m_strCountyCode = record.m_strDST = "";
    record.m_dLatitude = 0.0;
    record.m_dLongitude = -0.0;
    Bytes bytes = Encode({record});
    ASSERT_EQ(bytes.size(), 27u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 7), Bytes(7, 0x00));
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), (Bytes{0xF6, 0xFF, 0xFF, 0xFF}));
    CTimeZone read = Decode(bytes);
    EXPECT_EQ(read.m_nTimeZone, -10);
    EXPECT_TRUE(std::signbit(read.m_dLongitude));
    ExpectSameFields(read, record);
}

TEST(TimeZone, NarrowBytesComeBackUnchangedAndWideIsWrittenNarrow) {
    CTimeZone record = MakeRecord(std::string("Pe\xF1uelas\0x", 10), "00624", "Pe\xF1uelas");
    record.m_strCountyCode = std::string(300, '7');  // three-byte prefix
    Bytes bytes = Encode({record});
    EXPECT_EQ(Encode({Decode(bytes)}), bytes);

    // The city "Añasco" stored as UTF-16 with the wide mark, the rest of the default record.
    Bytes wide = {0xFF, 0xFE, 0xFF, 0x06, 'A', 0, 0xF1, 0, 'a', 0, 's', 0, 'c', 0, 'o', 0};
    for (std::size_t i = 8; i < kDefaultRecord.size(); ++i) {
        wide.push_back(kDefaultRecord[i]);
    }
    CTimeZone read = Decode(wide);
    EXPECT_EQ(read.m_strCity,
              "A\xF1"
              "asco");
    Bytes again = Encode({read});
    EXPECT_EQ(again[0], 0x06);  // narrow prefix, no mark
    EXPECT_EQ(again.size(), kDefaultRecord.size() - 7 + 6);
}

TEST(TimeZone, CutInsideCountyNameEndsTheDataAtThatRecord) {
    Bytes bytes = Encode({MakeRecord("Alamo", "78516"), MakeRecord("Edinburg", "78539")});
    const std::size_t first = 53;
    ASSERT_EQ(Encode({MakeRecord("Alamo", "78516")}).size(), first);
    // Second record: its first five strings, the county's prefix, and 3 of its 7 characters.
    bytes.resize(first + 9 + 3 + 6 + 4 + 4 + 1 + 3);
    CMemFile source(bytes);
    CArchive ar(&source, CArchive::load);
    CTimeZone record;
    record.Serialize(ar);
    EXPECT_EQ(record.m_strCity, "Alamo");
    try {
        record.Serialize(ar);
        FAIL() << "the cut record was read whole";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    // Fields before the cut were overwritten, the county and after were not.
    EXPECT_EQ(record.m_strCity, "Edinburg");
    EXPECT_EQ(record.m_strCountyCode, "215");
    EXPECT_EQ(record.m_strCounty, "Hidalgo");
}

TEST(TimeZone, RegisteredAsSerialisableClass) {
    const CRuntimeClass* cls = CRuntimeClass::FromName("CTimeZone");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->m_wSchema, 1u);
    EXPECT_EQ(cls->m_pBaseClass, RUNTIME_CLASS(CObject));
    auto made = cls->CreateObject();
    ASSERT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CTimeZone)));
    ExpectSameFields(*static_cast<CTimeZone*>(made.get()), CTimeZone());
}
