#include "WorldPlaces.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "DataFile.h"
#include "ErrorReporter.h"
#include "ModulePath.h"

const char* const kWorldPlacesFileName = "timezone.world";

namespace {

constexpr std::string_view kMagic("DBWORLD\0", 8);
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kCountryRowSize = 2 + 4 + 2;
constexpr std::size_t kTextRowSize = 4 + 2;
constexpr std::size_t kPlaceRowSize = 24;
constexpr std::uint16_t kNoRegion = 0xFFFF;
constexpr std::int32_t kUnitsPerDegree = 100000;
// The shipped file is about 4 MB; a file four times larger is not ours.
constexpr std::uintmax_t kMaxFileSize = 16u << 20;

bool IsCountryCode(std::string_view code) {
    return code.size() == 2 &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool IsZoneName(std::string_view name) {
    return !name.empty() && name.size() <= 255 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '/' || c == '_' || c == '-' || c == '+';
    });
}

// A row's text span: offset and length within the text.
struct Span {
    std::uint32_t offset = 0;
    std::uint16_t length = 0;
};

bool ReadSpan(CDataCursor& cursor, std::size_t textLength, Span& span) {
    return cursor.Read(span.offset) && cursor.Read(span.length) && span.offset <= textLength &&
           span.length <= textLength - span.offset;
}

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    CDataCursor cursor(bytes.substr(at, 4));
    cursor.Read(value);
    return value;
}

std::uint16_t U16At(std::string_view bytes, std::size_t at) {
    std::uint16_t value = 0;
    CDataCursor cursor(bytes.substr(at, 2));
    cursor.Read(value);
    return value;
}

}  // namespace

CWorldPlaces CWorldPlaces::Unknown(std::string problem) {
    CWorldPlaces places;
    places.m_problem = std::move(problem);
    return places;
}

CWorldPlaces CWorldPlaces::Load(const std::filesystem::path& directory) {
    CCollectingErrorReporter problems;
    CFileBytes bytes = MapDataFile(
        (directory.empty() ? GetExecutableDirectory() : directory) / kWorldPlacesFileName,
        kMaxFileSize, "the world towns", problems);
    if (!problems.Messages().empty()) {
        return Unknown(problems.First());
    }
    return Parse(std::move(bytes));
}

CWorldPlaces CWorldPlaces::Parse(std::string bytes) {
    return Parse(CFileBytes(std::move(bytes)));
}

CWorldPlaces CWorldPlaces::Parse(CFileBytes file) {
    const std::string_view bytes = file.View();
    const auto damaged = [](const std::string& why) {
        return Unknown(std::string(kWorldPlacesFileName) + " is damaged: " + why);
    };
    if (const std::string problem = DataFrameProblem(bytes, kMagic, kVersion, "world place file");
        !problem.empty()) {
        return damaged(problem);
    }
    const std::string_view body = bytes.substr(0, bytes.size() - 4);
    CDataCursor cursor(body);
    std::string_view header;
    cursor.Take(kMagic.size() + 4, header);

    CWorldPlaces places;
    std::uint32_t textLength = 0;
    std::string_view text;
    if (!cursor.Read(textLength) || !cursor.Take(textLength, text)) {
        return damaged("text cut short");
    }
    places.m_text = cursor.Position() - textLength;
    places.m_textLength = textLength;
    const auto textOf = [&](const Span& span) { return text.substr(span.offset, span.length); };

    std::uint16_t countryCount = 0;
    if (!cursor.Read(countryCount) || countryCount > cursor.Left() / kCountryRowSize) {
        return damaged("country table cut short");
    }
    places.m_countries = cursor.Position();
    places.m_countryCount = countryCount;
    for (std::uint16_t i = 0; i < countryCount; ++i) {
        std::string_view code;
        Span name;
        cursor.Take(2, code);
        if (!IsCountryCode(code) || !ReadSpan(cursor, textLength, name) || name.length == 0) {
            return damaged("country " + std::to_string(i + 1));
        }
    }
    std::uint16_t regionCount = 0;
    if (!cursor.Read(regionCount) || regionCount > cursor.Left() / kTextRowSize) {
        return damaged("region table cut short");
    }
    places.m_regions = cursor.Position();
    places.m_regionCount = regionCount;
    for (std::uint16_t i = 0; i < regionCount; ++i) {
        Span name;
        if (!ReadSpan(cursor, textLength, name) || name.length == 0) {
            return damaged("region " + std::to_string(i + 1));
        }
    }
    std::uint16_t zoneCount = 0;
    if (!cursor.Read(zoneCount) || zoneCount > cursor.Left() / kTextRowSize) {
        return damaged("zone table cut short");
    }
    places.m_zones = cursor.Position();
    places.m_zoneCount = zoneCount;
    for (std::uint16_t i = 0; i < zoneCount; ++i) {
        Span name;
        if (!ReadSpan(cursor, textLength, name) || !IsZoneName(textOf(name))) {
            return damaged("zone " + std::to_string(i + 1));
        }
    }
    std::uint32_t placeCount = 0;
    if (!cursor.Read(placeCount) || placeCount != cursor.Left() / kPlaceRowSize ||
        cursor.Left() % kPlaceRowSize != 0) {
        return damaged("wrong length");
    }
    places.m_places = cursor.Position();
    places.m_placeCount = placeCount;
    places.m_bytes = bytes;
    places.m_file = std::make_shared<const CFileBytes>(std::move(file));
    return places;
}

std::string_view CWorldPlaces::Text(std::size_t rowOffset) const {
    const std::uint32_t offset = U32At(m_bytes, rowOffset);
    const std::uint16_t length = U16At(m_bytes, rowOffset + 4);
    if (offset > m_textLength || length > m_textLength - offset) {
        return {};
    }
    return m_bytes.substr(m_text + offset, length);
}

std::uint32_t CWorldPlaces::Population(std::size_t index) const {
    return U32At(m_bytes, m_places + index * kPlaceRowSize + 12);
}

CWorldPlace CWorldPlaces::At(std::size_t index) const {
    CWorldPlace place;
    if (index >= m_placeCount) {
        return place;
    }
    const std::string_view bytes(m_bytes);
    const std::size_t row = m_places + index * kPlaceRowSize;
    const std::uint16_t countryRow = U16At(bytes, row + 6);
    const std::uint16_t region = U16At(bytes, row + 8);
    const std::uint16_t zone = U16At(bytes, row + 10);
    const auto lat = static_cast<std::int32_t>(U32At(bytes, row + 16));
    const auto lon = static_cast<std::int32_t>(U32At(bytes, row + 20));
    // The tables' names were checked whole at the load; a row's own name is checked here.
    const std::string_view name = Text(row);
    if (name.empty() || countryRow >= m_countryCount ||
        (region != kNoRegion && region >= m_regionCount) || zone >= m_zoneCount ||
        std::abs(static_cast<std::int64_t>(lat)) > 90 * kUnitsPerDegree ||
        std::abs(static_cast<std::int64_t>(lon)) > 180 * kUnitsPerDegree) {
        return place;
    }
    const std::size_t country = m_countries + std::size_t{countryRow} * kCountryRowSize;
    place.name = name;
    place.countryCode = bytes.substr(country, 2);
    place.country = Text(country + 2);
    if (region != kNoRegion) {
        place.region = Text(m_regions + std::size_t{region} * kTextRowSize);
    }
    place.zone = Text(m_zones + std::size_t{zone} * kTextRowSize);
    place.population = U32At(bytes, row + 12);
    place.latitude = lat / static_cast<double>(kUnitsPerDegree);
    place.longitude = lon / static_cast<double>(kUnitsPerDegree);
    return place;
}

std::string EncodeWorldPlaces(const std::vector<CWorldPlaceEntry>& entries) {
    const auto refuse = [](const CWorldPlaceEntry& e, const std::string& why) {
        return CDataEncodeError("world place \"" + e.name + "\" (" + e.countryCode + "): " + why);
    };
    std::string text;
    std::map<std::string, std::uint32_t> textAt;
    const auto place = [&](const std::string& s) {
        auto [it, added] = textAt.try_emplace(s, static_cast<std::uint32_t>(text.size()));
        if (added) {
            text += s;
        }
        return it->second;
    };
    // Tables in the order of first use.
    std::map<std::string, std::pair<std::uint16_t, std::string>> countries;  // code -> index, name
    std::vector<std::string> countryOrder;
    std::map<std::string, std::uint16_t> regions, zones;
    std::vector<std::string> regionOrder, zoneOrder;
    const auto indexOf = [](std::map<std::string, std::uint16_t>& table,
                            std::vector<std::string>& order, const std::string& key) {
        auto [it, added] = table.try_emplace(key, static_cast<std::uint16_t>(order.size()));
        if (added) {
            order.push_back(key);
        }
        return it->second;
    };
    std::string rows;
    for (const CWorldPlaceEntry& e : entries) {
        if (e.name.empty() || e.name.size() > 0xFFFF) {
            throw refuse(e, "no name, or one too long");
        }
        if (!IsCountryCode(e.countryCode) || e.country.empty() || e.country.size() > 0xFFFF) {
            throw refuse(e, "the country code is not two capital letters, or has no name");
        }
        if (!IsZoneName(e.zone)) {
            throw refuse(e, "not a zone name");
        }
        if (!(std::abs(e.latitude) <= 90) || !(std::abs(e.longitude) <= 180)) {
            throw refuse(e, "the point is off the globe");
        }
        auto [country, added] = countries.try_emplace(
            e.countryCode, static_cast<std::uint16_t>(countryOrder.size()), e.country);
        if (added) {
            countryOrder.push_back(e.countryCode);
        } else if (country->second.second != e.country) {
            throw refuse(e, "the country code has another name already");
        }
        const std::uint16_t region =
            e.region.empty() ? kNoRegion : indexOf(regions, regionOrder, e.region);
        const std::uint16_t zone = indexOf(zones, zoneOrder, e.zone);
        if (countryOrder.size() > 0xFFFF || regionOrder.size() >= kNoRegion ||
            zoneOrder.size() > 0xFFFF || e.region.size() > 0xFFFF) {
            throw refuse(e, "too many countries, regions or zones");
        }
        AppendLittleEndian(rows, place(e.name));
        AppendLittleEndian(rows, static_cast<std::uint16_t>(e.name.size()));
        AppendLittleEndian(rows, country->second.first);
        AppendLittleEndian(rows, region);
        AppendLittleEndian(rows, zone);
        AppendLittleEndian(rows, e.population);
        AppendLittleEndian(rows,
                           static_cast<std::int32_t>(std::lround(e.latitude * kUnitsPerDegree)));
        AppendLittleEndian(rows,
                           static_cast<std::int32_t>(std::lround(e.longitude * kUnitsPerDegree)));
    }
    std::string tables;
    AppendLittleEndian(tables, static_cast<std::uint16_t>(countryOrder.size()));
    for (const std::string& code : countryOrder) {
        const std::string& name = countries.at(code).second;
        tables += code;
        AppendLittleEndian(tables, place(name));
        AppendLittleEndian(tables, static_cast<std::uint16_t>(name.size()));
    }
    for (auto* order : {&regionOrder, &zoneOrder}) {
        AppendLittleEndian(tables, static_cast<std::uint16_t>(order->size()));
        for (const std::string& name : *order) {
            AppendLittleEndian(tables, place(name));
            AppendLittleEndian(tables, static_cast<std::uint16_t>(name.size()));
        }
    }
    if (text.size() > 0xFFFFFFFFu || entries.size() > 0xFFFFFFFFu) {
        throw CDataEncodeError("too many world places");
    }
    std::string out(kMagic);
    AppendLittleEndian(out, kVersion);
    AppendLittleEndian(out, std::uint16_t{0});
    AppendLittleEndian(out, static_cast<std::uint32_t>(text.size()));
    out += text;
    out += tables;
    AppendLittleEndian(out, static_cast<std::uint32_t>(entries.size()));
    out += rows;
    AppendLittleEndian(out, DataCrc32(out));
    return out;
}
