#include "WorldPacker.h"

#include <charconv>
#include <fstream>
#include <string>
#include <string_view>

#include "DataFile.h"
#include "PlacesPacker.h"

namespace {

constexpr std::size_t kFieldCount = 8;

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = text.find('\t', start);
        fields.push_back(text.substr(start, tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

template <typename Number>
Number ParseNumber(std::string_view field, const char* what, std::size_t line) {
    Number value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || field.empty()) {
        throw CPackError(line,
                         std::string(what) + " \"" + std::string(field) + "\" is not a number");
    }
    return value;
}

}  // namespace

std::vector<CWorldPlaceEntry> ReadWorldPlaces(std::istream& in) {
    std::vector<CWorldPlaceEntry> places;
    std::string text;
    std::size_t line = 0;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (++line == 1 || text.empty()) {
            continue;
        }
        const std::vector<std::string_view> f = SplitFields(text);
        if (f.size() != kFieldCount) {
            throw CPackError(line, "expected " + std::to_string(kFieldCount) + " fields, found " +
                                       std::to_string(f.size()));
        }
        CWorldPlaceEntry place;
        place.name = f[0];
        place.countryCode = f[1];
        place.country = f[2];
        place.region = f[3];
        place.population = ParseNumber<std::uint32_t>(f[4], "population", line);
        place.latitude = ParseNumber<double>(f[5], "latitude", line);
        place.longitude = ParseNumber<double>(f[6], "longitude", line);
        place.zone = f[7];
        places.push_back(std::move(place));
        // The format's own checks, with the line.
        try {
            EncodeWorldPlaces({places.back()});
        } catch (const CDataEncodeError& error) {
            throw CPackError(line, error.what());
        }
    }
    if (in.bad()) {
        throw CPackError(0, "the world place list could not be read");
    }
    return places;
}

void WriteWorldPlaces(const std::vector<CWorldPlaceEntry>& places,
                      const std::filesystem::path& directory) {
    std::string bytes;
    try {
        bytes = EncodeWorldPlaces(places);
    } catch (const CDataEncodeError& error) {
        throw CPackError(0, error.what());
    }
    WritePackedFile(directory / kWorldPlacesFileName, bytes);
}
