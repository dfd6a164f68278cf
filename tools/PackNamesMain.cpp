// daybreak-pack-names: writes the names file (kPlaceNamesFileName) beside the packed archives
// and the world file at build time, from those files themselves, so that the program's search
// by name reads one file instead of every archive.
//
//     daybreak-pack-names <directory of the archives and the world file>
//
// Exit status 0 on success, 1 on any failure (an archive or the world file that cannot be
// read whole among them), with one line on standard error naming the cause.
#include <exception>
#include <iostream>

#include "PlaceFinder.h"
#include "PlaceIndex.h"
#include "PlaceNamesFile.h"
#include "PlaceService.h"
#include "PlacesPacker.h"
#include "WorldPlaces.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: daybreak-pack-names <directory>\n";
        return 1;
    }
    const std::filesystem::path directory = argv[1];
    try {
        const CPlaceIndex index = CPlaceIndex::Build(directory);
        CWorldPlaces world = CWorldPlaces::Load(directory);
        if (!index.Problems().empty() || !world.IsKnown()) {
            std::cerr << "daybreak-pack-names: "
                      << (world.IsKnown() ? index.Problems().front() : world.Problem()) << '\n';
            return 1;
        }
        const std::uint64_t worldBytes = world.Bytes();
        const CPlaceFinder finder = CPlaceFinder::Build(index, std::move(world));
        WritePackedFile(
            directory / kPlaceNamesFileName,
            CPlaceNamesFile::Encode(finder, CPlaceService::ArchiveSizes(directory), worldBytes));
        std::cout << "daybreak-pack-names: " << finder.Size() << " towns in " << kPlaceNamesFileName
                  << '\n';
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "daybreak-pack-names: " << error.what() << '\n';
    }
    return 1;
}
