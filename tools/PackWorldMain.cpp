// daybreak-pack-world: turns the world's towns into the world place file at build time.
//
//     daybreak-pack-world <world-places.tsv> <output directory>
//
// Exit status 0 on success, 1 on any failure, with one line on standard error naming the cause.
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "PlacesPacker.h"
#include "WorldPacker.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: daybreak-pack-world <world-places.tsv> <output directory>\n";
        return 1;
    }
    const std::string input = argv[1];
    try {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::cerr << "daybreak-pack-world: cannot open " << input << '\n';
            return 1;
        }
        const auto places = ReadWorldPlaces(in);
        std::filesystem::create_directories(argv[2]);
        WriteWorldPlaces(places, argv[2]);
        std::cout << "daybreak-pack-world: " << places.size() << " places in "
                  << kWorldPlacesFileName << '\n';
        return 0;
    } catch (const CPackError& error) {
        std::cerr << input << ":" << error.m_line << ": " << error.what() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "daybreak-pack-world: " << error.what() << '\n';
    }
    return 1;
}
