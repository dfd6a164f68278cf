// daybreak-pack: turns the place list into the state archives at build time, and the zone
// list into the zone file beside them.
//
//     daybreak-pack [--zones <zones.tsv>] <places.tsv> <output directory> <code>...
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
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string zonesInput;
    if (args.size() >= 2 && args[0] == "--zones") {
        zonesInput = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() < 3) {
        std::cerr << "usage: daybreak-pack [--zones <zones.tsv>] <places.tsv> <output directory> "
                     "<code>...\n";
        return 1;
    }
    const std::string input = args[0];
    const std::filesystem::path directory = args[1];
    const std::vector<std::string> codes(args.begin() + 2, args.end());
    try {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::cerr << "daybreak-pack: cannot open " << input << '\n';
            return 1;
        }
        const auto places = ReadPlaces(in, codes);
        std::vector<CZoneEntry> zones;
        if (!zonesInput.empty()) {
            std::ifstream zoneList(zonesInput, std::ios::binary);
            if (!zoneList) {
                std::cerr << "daybreak-pack: cannot open " << zonesInput << '\n';
                return 1;
            }
            try {
                zones = ReadZones(zoneList, places);
            } catch (const CPackError& error) {
                std::cerr << zonesInput << ": " << error.what() << '\n';
                return 1;
            }
        }
        std::filesystem::create_directories(directory);
        const std::size_t written = WriteArchives(places, directory);
        if (!zonesInput.empty()) {
            WriteZoneFile(zones, directory);
            std::cout << "daybreak-pack: " << zones.size() << " zones in " << kZoneFileName << '\n';
        }
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
