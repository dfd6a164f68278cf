#include <gtest/gtest.h>

#include <sstream>

#include "ArchiveBuilder.h"
#include "ArchiveDump.h"
#include "MemFile.h"

TEST(ArchiveDump, OneLineOfTenFieldsPerRecordAndTheCutRecordReported) {
    CTimeZone odd = MakeRecord("Tab\there\\", "00601", "A\xF1o\n", -10);
    odd.m_dLatitude = 18.180555;
    odd.m_dLongitude = -66.749961;
    odd.m_strDST = std::string("N\x01", 2);
    Bytes bytes = Encode({CTimeZone(), odd, CTimeZone()});
    const std::size_t whole = bytes.size() - 55;
    bytes.resize(bytes.size() - 5);

    CMemFile file(bytes);
    std::ostringstream out;
    ArchiveDumpResult result = DumpArchive(file, out);
    EXPECT_EQ(
        out.str(),
        "Mission\tTX\t78572\t956\t215\tHidalgo\tY\t26.21466\t-98.35164\t6\n"
        "Tab\\there\\\\\tTX\t00601\t956\t215\tA\u00f1o\\n\tN\\x01\t18.180555\t-66.749961\t-10\n");
    EXPECT_EQ(result.records, 2u);
    ASSERT_TRUE(result.truncatedAt);
    EXPECT_EQ(*result.truncatedAt, whole);
    EXPECT_EQ(result.truncatedBytes, 50u);

    CMemFile clean(bytes.data(), whole);
    std::ostringstream ignored;
    result = DumpArchive(clean, ignored);
    EXPECT_EQ(result.records, 2u);
    EXPECT_FALSE(result.truncatedAt);
}
