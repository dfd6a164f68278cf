// daybreak-pack: turns the place list into the state archives at build time.
//
//     daybreak-pack <places.tsv> <output directory> <code>...
//
// Every record's state must be one of the codes, and every code must receive a record. Exit
// status 0 on success, 1 on any failure, with one line on standard error naming the cause.
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Exception.h"
#include "PlacesPacker.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: daybreak-pack <places.tsv> <output directory> <code>...\n";
        return 1;
    }
    const std::string input = argv[1];
    const std::filesystem::path directory = argv[2];
    const std::vector<std::string> codes(argv + 3, argv + argc);
    try {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::cerr << "daybreak-pack: cannot open " << input << '\n';
            return 1;
        }
        const auto places = ReadPlaces(in, codes);
        std::filesystem::create_directories(directory);
        const std::size_t written = WriteArchives(places, directory);
        std::cout << "daybreak-pack: " << written << " places in " << places.size()
                  << " archives\n";
        return 0;
    } catch (const CPackError& error) {
        std::cerr << input << ": " << error.what() << '\n';
    } catch (const CException& error) {
        std::cerr << "daybreak-pack: " << error.GetErrorMessage() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "daybreak-pack: " << error.what() << '\n';
    }
    return 1;
}
