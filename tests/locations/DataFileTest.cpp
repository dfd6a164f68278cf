// The reading discipline the data files share: their checksum.
#include "DataFile.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>

// The checksum of every data file is zlib's CRC-32 at every length and alignment, whichever
// way the processor lets it be computed.
TEST(DataFile, Crc32IsZlibsAtEveryLengthAndOffset) {
    std::string bytes(4200, '\0');
    std::uint32_t seed = 12345;
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 24);
    }
    for (std::size_t offset = 0; offset < 16; offset += 5) {
        for (std::size_t size = 0; size + offset <= bytes.size(); size += size < 300 ? 1 : 389) {
            const std::string_view part = std::string_view(bytes).substr(offset, size);
            const auto zlib = static_cast<std::uint32_t>(
                crc32(0, reinterpret_cast<const Bytef*>(part.data()), static_cast<uInt>(size)));
            ASSERT_EQ(DataCrc32(part), zlib) << size << " bytes from " << offset;
        }
    }
    EXPECT_EQ(DataCrc32("123456789"), 0xCBF43926u);  // the check value of CRC-32
}
