// Feeds arbitrary bytes to the names file reader, as they come and with their checksum made
// right, so that the checks behind it are reached. The file is read against two world towns
// and archives of 100 bytes each, as the seeds were written. What must hold for every input: a
// finder that is read answers searches (every name, every prefix) without reading outside its
// tables. Crashes and sanitizer reports are findings too.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "CheckedBytes.h"
#include "DataFile.h"
#include "PlaceFinder.h"
#include "PlaceNamesFile.h"
#include "StateTable.h"
#include "WorldPlaces.h"

namespace {

CWorldPlaces World() {
    return CWorldPlaces::Parse(EncodeWorldPlaces({
        {"Paris", "FR", "France", "Ile-de-France", "Europe/Paris", 2138551, 48.85, 2.35},
        {"Paris", "US", "United States", "Texas", "America/Chicago", 25171, 33.66, -95.56},
    }));
}

void Check(const std::string& bytes) {
    const std::vector<std::uint64_t> sizes(g_StateTable.size(), 100);
    CWorldPlaces world = World();
    const auto finder = CPlaceNamesFile::Decode(bytes, world, sizes);
    if (!finder) {
        if (!world.IsKnown()) {
            std::fprintf(stderr, "invariant broken: a refused file took the world towns\n");
            std::abort();
        }
        return;
    }
    for (const char* typed : {"p", "paris", "paris, tx", "new york", "a"}) {
        for (const CFoundPlace& place : finder->Find(typed, 20)) {
            if (place.Label().empty()) {
                std::fprintf(stderr, "invariant broken: a place without a label\n");
                std::abort();
            }
        }
    }
    finder->Suggest("pariss", 5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckAsTheyComeAndWithTheirCrc(data, size, [](std::string bytes) { Check(std::move(bytes)); });
    return 0;
}
