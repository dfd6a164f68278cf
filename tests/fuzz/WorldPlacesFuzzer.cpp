// Feeds arbitrary bytes to the world place reader, as they come and with their checksum made
// right, so that the checks behind it are reached. What must hold for every input: each place of
// a set that loads has a name, country and zone and a point on the globe, or (a row out of
// bounds, checked when it is read) is a town of no name with nothing else. Crashes and sanitizer
// reports are findings too.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "CheckedBytes.h"
#include "DataFile.h"
#include "WorldPlaces.h"

namespace {

void Check(std::string bytes) {
    const CWorldPlaces places = CWorldPlaces::Parse(std::move(bytes));
    if (!places.IsKnown() && places.Size() != 0) {
        std::fprintf(stderr, "invariant broken: an unknown set holds places\n");
        std::abort();
    }
    for (std::size_t i = 0; i < places.Size(); ++i) {
        const CWorldPlace p = places.At(i);
        const bool blank = p.name.empty() && p.countryCode.empty() && p.country.empty() &&
                           p.region.empty() && p.zone.empty() && p.population == 0 &&
                           p.latitude == 0 && p.longitude == 0;
        if (blank) {
            continue;
        }
        if (p.name.empty() || p.country.empty() || p.zone.empty() || p.countryCode.size() != 2 ||
            !(p.latitude >= -90 && p.latitude <= 90) ||
            !(p.longitude >= -180 && p.longitude <= 180)) {
            std::fprintf(stderr, "invariant broken: place %zu is not whole\n", i);
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckAsTheyComeAndWithTheirCrc(data, size, [](std::string bytes) { Check(std::move(bytes)); });
    return 0;
}
