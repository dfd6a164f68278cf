// Feeds arbitrary bytes to the zone file reader: a state's table and the states of a zip. What
// must hold for every input: a table that loads answers only for zips it lists, and the states
// named for a zip are two-byte codes, and none from bytes that are not a whole zone file. Crashes
// and sanitizer reports are findings too.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ZoneFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string_view code : {"TX", "IL", "AA"}) {
        const CZoneTable table = CZoneTable::Parse(bytes, code);
        if (!table.IsKnown() && table.Size() != 0) {
            std::fprintf(stderr, "invariant broken: an unknown table holds zips\n");
            std::abort();
        }
        if (table.Find("0000") || table.Find("")) {
            std::fprintf(stderr, "invariant broken: a zip that is not five digits was found\n");
            std::abort();
        }
    }
    const bool whole = CZoneTable::IsZoneFile(bytes);
    for (const std::string_view zip : {"78572", "60601", "00000"}) {
        const auto states = CZoneTable::StatesWithZip(bytes, zip);
        if (!whole && !states.empty()) {
            std::fprintf(stderr, "invariant broken: states named by bytes that are no zone file\n");
            std::abort();
        }
        for (const auto& state : states) {
            if (state.size() != 2) {
                std::fprintf(stderr, "invariant broken: a state code is not two bytes\n");
                std::abort();
            }
        }
    }
    return 0;
}
