#include "WorldPlaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DataFile.h"
#include "TempDir.h"

namespace {

const std::vector<CWorldPlaceEntry> kEntries = {
    {"Paris", "FR", "France", "Île-de-France", "Europe/Paris", 2138551, 48.85341, 2.3488},
    {"São Paulo", "BR", "Brazil", "São Paulo", "America/Sao_Paulo", 10021295, -23.5475, -46.63611},
    {"Paris", "US", "United States", "Texas", "America/Chicago", 24782, 33.66094, -95.55551},
    {"Funafuti", "TV", "Tuvalu", "", "Pacific/Funafuti", 6025, -8.52425, 179.19417},
};

// Every place of a set, in a form tests can compare.
std::vector<std::string> Rows(const CWorldPlaces& places) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < places.Size(); ++i) {
        const CWorldPlace p = places.At(i);
        rows.push_back(std::string(p.name) + "|" + std::string(p.countryCode) + "|" +
                       std::string(p.country) + "|" + std::string(p.region) + "|" +
                       std::string(p.zone) + "|" + std::to_string(p.population) + "|" +
                       std::to_string(p.latitude) + "|" + std::to_string(p.longitude));
    }
    return rows;
}

// `bytes` with its checksum made right again, so that the checks behind it are reached.
std::string Restamped(std::string bytes) {
    if (bytes.size() >= 4) {
        std::string crc;
        AppendLittleEndian(crc, DataCrc32(std::string_view(bytes).substr(0, bytes.size() - 4)));
        bytes.replace(bytes.size() - 4, 4, crc);
    }
    return bytes;
}

}  // namespace

TEST(WorldPlaces, EncodedPlacesReadBackInOrder) {
    const CWorldPlaces places = CWorldPlaces::Parse(EncodeWorldPlaces(kEntries));
    ASSERT_TRUE(places.IsKnown()) << places.Problem();
    ASSERT_EQ(places.Size(), 4u);
    const CWorldPlace paulo = places.At(1);
    EXPECT_EQ(paulo.name, "São Paulo");
    EXPECT_EQ(paulo.countryCode, "BR");
    EXPECT_EQ(paulo.country, "Brazil");
    EXPECT_EQ(paulo.region, "São Paulo");
    EXPECT_EQ(paulo.zone, "America/Sao_Paulo");
    EXPECT_EQ(paulo.population, 10021295u);
    EXPECT_DOUBLE_EQ(paulo.latitude, -23.5475);
    EXPECT_DOUBLE_EQ(paulo.longitude, -46.63611);
    EXPECT_EQ(places.At(2).country, "United States");
    EXPECT_EQ(places.At(3).region, "");  // no region
    EXPECT_DOUBLE_EQ(places.At(3).longitude, 179.19417);
}

TEST(WorldPlaces, LoadNamesWhyAFileIsNotRead) {
    const TempDir temp;
    const CWorldPlaces missing = CWorldPlaces::Load(temp.path());
    EXPECT_FALSE(missing.IsKnown());
    EXPECT_EQ(missing.Problem(), "timezone.world cannot be read: No such file or directory");
    EXPECT_EQ(missing.Size(), 0u);

    std::filesystem::create_directory(temp.path() / kWorldPlacesFileName);
    EXPECT_EQ(CWorldPlaces::Load(temp.path()).Problem(),
              "timezone.world cannot be read: Is a directory");
    std::filesystem::remove(temp.path() / kWorldPlacesFileName);

    std::ofstream(temp.path() / kWorldPlacesFileName, std::ios::binary)
        << EncodeWorldPlaces(kEntries);
    EXPECT_EQ(CWorldPlaces::Load(temp.path()).Size(), 4u);
}

// Cut anywhere, any byte changed (with the checksum made right again or not): never a crash,
// and either refused or read whole and in bounds.
TEST(WorldPlaces, DamagedFileIsRefusedNeverMisread) {
    const std::string good = EncodeWorldPlaces(kEntries);
    const auto truth = Rows(CWorldPlaces::Parse(good));
    for (std::size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(CWorldPlaces::Parse(good.substr(0, n)).IsKnown()) << "cut at " << n;
        EXPECT_FALSE(CWorldPlaces::Parse(Restamped(good.substr(0, n))).IsKnown()) << n;
    }
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (const int mask : {0x01, 0x80, 0xFF}) {
            std::string bad = good;
            bad[i] = static_cast<char>(bad[i] ^ mask);
            const CWorldPlaces plain = CWorldPlaces::Parse(bad);
            EXPECT_FALSE(plain.IsKnown()) << "byte " << i;
            EXPECT_EQ(plain.Problem().rfind("timezone.world is damaged: ", 0), 0u);
            const CWorldPlaces restamped = CWorldPlaces::Parse(Restamped(bad));
            if (restamped.IsKnown()) {
                EXPECT_EQ(Rows(restamped).size(), truth.size()) << "byte " << i;
            }
        }
    }
}

TEST(WorldPlaces, EncoderRefusesBadEntries) {
    const CWorldPlaceEntry good = kEntries[0];
    std::vector<CWorldPlaceEntry> cases(7, good);
    cases[0].name = "";
    cases[1].countryCode = "fr";
    cases[2].country = "";
    cases[3].zone = "Europe/Paris ";
    cases[4].latitude = 90.5;
    cases[5].longitude = -180.01;
    cases[6].latitude = std::nan("");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_THROW(EncodeWorldPlaces({cases[i]}), CDataEncodeError) << "case " << i;
    }
    CWorldPlaceEntry renamed = good;
    renamed.country = "République française";
    EXPECT_THROW(EncodeWorldPlaces({good, renamed}), CDataEncodeError);
}
