// Feeds arbitrary bytes to the zone map reader: as a whole file, and as the tables inside a
// sound envelope (deflated, with the right checksum), so that the checks of the tables are
// reached. What must hold for every input: a map that loads answers every point on the globe
// with a zone name, and never answers a point off it. Crashes, endless walks (timeouts) and
// sanitizer reports are findings too.

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DataFile.h"
#include "ZoneMap.h"

namespace {

void Check(std::string bytes) {
    const CZoneMap map = CZoneMap::Parse(std::move(bytes));
    if (!map.IsKnown()) {
        return;
    }
    for (double lat = -90; lat <= 90; lat += 7.5) {
        for (double lon = -180; lon <= 180; lon += 11.25) {
            const auto zone = map.Find(lat, lon);
            if (!zone || zone->empty()) {
                std::fprintf(stderr, "invariant broken: no zone at %g, %g\n", lat, lon);
                std::abort();
            }
        }
    }
    if (map.Find(90.5, 0) || map.Find(0, -180.5)) {
        std::fprintf(stderr, "invariant broken: a zone off the globe\n");
        std::abort();
    }
}

// The envelope of kZoneMapFileName around `tables`, with bitmaps of `side` pixels a side.
std::string Envelope(const std::string& tables, std::uint8_t side) {
    std::string out("DBZONMAP");
    AppendLittleEndian(out, std::uint16_t{1});
    out.push_back(static_cast<char>(side));
    out.push_back('\0');
    uLongf length = compressBound(tables.size());
    std::string stream(length, '\0');
    if (compress(reinterpret_cast<Bytef*>(stream.data()), &length,
                 reinterpret_cast<const Bytef*>(tables.data()), tables.size()) != Z_OK) {
        return {};
    }
    stream.resize(length);
    AppendLittleEndian(out, static_cast<std::uint32_t>(tables.size()));
    AppendLittleEndian(out, static_cast<std::uint32_t>(stream.size()));
    out += stream;
    AppendLittleEndian(out, DataCrc32(out));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    // The first byte picks the bitmap side; the rest are the tables.
    if (!bytes.empty()) {
        const std::uint8_t sides[] = {4, 8, 16, 5};
        Check(Envelope(bytes.substr(1), sides[static_cast<unsigned char>(bytes[0]) % 4]));
    }
    return 0;
}
