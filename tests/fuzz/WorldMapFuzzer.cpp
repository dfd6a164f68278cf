// Feeds arbitrary bytes to the world map reader: as a whole file, and inside a sound header
// with the right checksum, so that the checks of the counts and points are reached. What must
// hold for every input: a map that loads has every shape within its points, and every point
// on the globe.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DataFile.h"
#include "WorldMap.h"

namespace {

void Check(const std::string& bytes) {
    const CWorldMap map = CWorldMap::Parse(bytes);
    if (!map.IsKnown()) {
        return;
    }
    for (const auto* shapes : {&map.Land(), &map.Outlines()}) {
        for (const CMapShape& shape : *shapes) {
            for (const CMapPoint& point : map.Points(shape)) {
                if (point.lat < -9000 || point.lat > 9000 || point.lon < -18000 ||
                    point.lon > 18000) {
                    std::fprintf(stderr, "invariant broken: a point off the globe\n");
                    std::abort();
                }
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    std::string file("DBWLDMAP");
    AppendLittleEndian(file, std::uint16_t{1});
    AppendLittleEndian(file, std::uint16_t{0});
    file += bytes;
    AppendLittleEndian(file, DataCrc32(file));
    Check(file);
    return 0;
}
