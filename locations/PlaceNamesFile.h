// CPlaceNamesFile: a CPlaceFinder's tables as the names file (kPlaceNamesFileName) holds them,
// written at build time and read back by both programs instead of reading every archive. The
// layout is described in PlaceFinder.h.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PlaceFinder.h"

class CPlaceNamesFile {
public:
    // The finder's tables, with the byte size of each state's archive (in g_StateTable's order)
    // and of the world file they were built from.
    static std::string Encode(const CPlaceFinder& finder,
                              const std::vector<std::uint64_t>& archiveBytes,
                              std::uint64_t worldBytes);
    // A finder read back from the names file's bytes with the world file it was built from;
    // nothing when the bytes are damaged or were built from archives or a world file of other
    // sizes than `archiveBytes` and `world`'s (`why`, when given, says which). Any bytes are
    // safe; its answers are those of CPlaceFinder::Build over the same archives and world
    // file. `world` is taken only when the bytes are read.
    static std::optional<CPlaceFinder> Decode(std::string_view bytes, CWorldPlaces& world,
                                              const std::vector<std::uint64_t>& archiveBytes,
                                              std::string* why = nullptr);
    // The same from the file's bytes as read (mapped), which the finder keeps and views into
    // rather than copying its texts.
    static std::optional<CPlaceFinder> Decode(std::shared_ptr<const CFileBytes> file,
                                              CWorldPlaces& world,
                                              const std::vector<std::uint64_t>& archiveBytes,
                                              std::string* why = nullptr);
};
