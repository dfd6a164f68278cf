// The names file: CPlaceFinder's tables written and read back (layout in PlaceFinder.h).

#include <algorithm>
#include <bit>
#include <cstring>

#include "DataFile.h"
#include "PlaceNamesFile.h"
#include "StateTable.h"

const char* const kPlaceNamesFileName = "timezone.names";

namespace {

using Town = CPlaceFinder::Town;
using UsTown = CPlaceFinder::UsTown;
using Name = CPlaceFinder::Name;
constexpr std::uint16_t kNone16 = CPlaceFinder::kNone16;
constexpr std::uint32_t kNone = CPlaceFinder::kNone;

constexpr std::string_view kMagic{"DBNAMES\0", 8};
constexpr std::uint16_t kVersion = 1;

void AppendText(std::string& out, std::string_view text, std::string_view what) {
    if (text.size() > 0xFF) {
        throw CDataEncodeError("names file: " + std::string(what) + " \"" + std::string(text) +
                               "\" is longer than 255 bytes");
    }
    AppendLittleEndian(out, static_cast<std::uint8_t>(text.size()));
    out += text;
}

bool ReadText(CDataCursor& cursor, std::string_view& text) {
    std::uint8_t size = 0;
    return cursor.Read(size) && cursor.Take(size, text);
}

// Unsigned numbers in 7-bit groups, lowest first, the high bit set on all but the last: the
// counts, people and positions of the file are mostly small.
void AppendVarint(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

// At most five groups, and the value must fit 32 bits. The first byte alone is the common case
// and is read inline; the rest out of line.
bool ReadVarintRest(CDataCursor& cursor, std::uint8_t first, std::uint32_t& value) {
    std::uint64_t result = first & 0x7Fu;
    for (int shift = 7; shift < 35; shift += 7) {
        std::uint8_t byte = 0;
        if (!cursor.Read(byte)) {
            return false;
        }
        result |= std::uint64_t{byte & 0x7Fu} << shift;
        if ((byte & 0x80) == 0) {
            if (result > 0xFFFFFFFFu) {
                return false;
            }
            value = static_cast<std::uint32_t>(result);
            return true;
        }
    }
    return false;
}

inline bool ReadVarint(CDataCursor& cursor, std::uint32_t& value) {
    std::uint8_t byte = 0;
    if (!cursor.Read(byte)) {
        return false;
    }
    if (byte < 0x80) {
        value = byte;
        return true;
    }
    return ReadVarintRest(cursor, byte, value);
}

constexpr std::uint8_t kNoState = 0xFF;

// Out of line, so that the copy does not know its sizes are below 256: a compiler that does
// expands it to a string instruction whose start costs more than the short keys it copies.
[[gnu::noinline]] void CopyBytes(char* to, const char* from, std::size_t count) {
    if (count != 0) {  // an empty text of keys may have no bytes at all
        std::memcpy(to, from, count);
    }
}

bool ReadDouble(CDataCursor& cursor, double& value) {
    std::uint64_t bits = 0;
    if (!cursor.Read(bits)) {
        return false;
    }
    value = std::bit_cast<double>(bits);
    return true;
}

}  // namespace

std::string CPlaceNamesFile::Encode(const CPlaceFinder& finder,
                                    const std::vector<std::uint64_t>& archiveBytes,
                                    std::uint64_t worldBytes) {
    if (archiveBytes.size() != finder.m_spans.size()) {
        throw CDataEncodeError("names file: one archive size per state is needed");
    }
    std::string out(kMagic);
    AppendLittleEndian(out, kVersion);
    AppendLittleEndian(out, std::uint16_t{0});
    AppendLittleEndian(out, worldBytes);
    AppendLittleEndian(out, static_cast<std::uint16_t>(finder.m_spans.size()));
    for (std::size_t s = 0; s < finder.m_spans.size(); ++s) {
        AppendLittleEndian(out, archiveBytes[s]);
        AppendLittleEndian(out, finder.m_spans[s].first);
        AppendLittleEndian(out, finder.m_spans[s].count);
    }
    AppendVarint(out, finder.m_usTowns.size());
    for (std::size_t t = 0; t < finder.m_usTowns.size(); ++t) {
        const Town& town = finder.m_towns[t];
        const UsTown& us = finder.m_usTowns[t];
        AppendVarint(out, town.world == kNone ? 0 : std::uint64_t{town.world} + 1);
        AppendVarint(out, town.population);
        AppendLittleEndian(out, static_cast<std::uint8_t>(town.state));
        AppendVarint(out, town.zipCount);
        AppendText(out, us.name, "town");
        AppendText(out, us.zip, "zip code");
        if (town.world == kNone) {  // else the world town's point is the town's
            AppendLittleEndian(out, std::bit_cast<std::uint64_t>(us.latitude));
            AppendLittleEndian(out, std::bit_cast<std::uint64_t>(us.longitude));
        }
        // A town's positions rise: the first, then the steps.
        for (std::uint32_t z = 0; z < town.zipCount; ++z) {
            const std::uint32_t position = finder.m_zips[town.firstZip + z];
            AppendVarint(out, z == 0 ? position : position - finder.m_zips[town.firstZip + z - 1]);
        }
    }
    AppendVarint(out, finder.m_towns.size() - finder.m_usTowns.size());
    std::uint32_t previousWorld = 0;
    for (std::size_t t = finder.m_usTowns.size(); t < finder.m_towns.size(); ++t) {
        // The world's own towns rise through the world file: the steps.
        AppendVarint(out, finder.m_towns[t].world - previousWorld);
        previousWorld = finder.m_towns[t].world;
        AppendLittleEndian(out, finder.m_towns[t].state == kNone16
                                    ? kNoState
                                    : static_cast<std::uint8_t>(finder.m_towns[t].state));
    }
    AppendLittleEndian(out, static_cast<std::uint16_t>(finder.m_countryKeys.size()));
    for (const std::string& country : finder.m_countryKeys) {
        AppendText(out, country, "country");
    }
    AppendVarint(out, finder.m_names.size());
    std::string_view previous;
    for (const Name& name : finder.m_names) {
        std::size_t shared = 0;
        const std::string_view key = finder.Key(name);
        while (shared < previous.size() && shared < key.size() && shared < 0xFF &&
               previous[shared] == key[shared]) {
            ++shared;
        }
        AppendLittleEndian(out, static_cast<std::uint8_t>(shared));
        AppendText(out, key.substr(shared), "name");
        AppendVarint(out, name.town);
        previous = key;
    }
    AppendLittleEndian(out, DataCrc32(out));
    return out;
}

std::optional<CPlaceFinder> CPlaceNamesFile::Decode(std::string_view bytes, CWorldPlaces& world,
                                                    const std::vector<std::uint64_t>& archiveBytes,
                                                    std::string* why) {
    return Decode(std::make_shared<const CFileBytes>(std::string(bytes)), world, archiveBytes, why);
}

std::optional<CPlaceFinder> CPlaceNamesFile::Decode(std::shared_ptr<const CFileBytes> file,
                                                    CWorldPlaces& world,
                                                    const std::vector<std::uint64_t>& archiveBytes,
                                                    std::string* why) {
    const std::string_view bytes = file->View();
    const auto fail = [why](const std::string& reason) -> std::optional<CPlaceFinder> {
        if (why != nullptr) {
            *why = std::string(kPlaceNamesFileName) + " " + reason;
        }
        return std::nullopt;
    };
    const auto damaged = [&fail](const std::string& what) { return fail("is damaged: " + what); };
    if (const std::string problem = DataFrameProblem(bytes, kMagic, kVersion, "names file");
        !problem.empty()) {
        return damaged(problem);
    }
    // Every field within the bytes between the header and the checksum.
    CDataCursor cursor(bytes.substr(0, bytes.size() - 4));
    std::string_view header;
    cursor.Take(kMagic.size() + 4, header);

    CPlaceFinder finder;
    std::uint64_t worldBytes = 0;
    std::uint16_t states = 0;
    if (!cursor.Read(worldBytes) || !cursor.Read(states) || states != archiveBytes.size() ||
        states != g_StateTable.size()) {
        return damaged("the states");
    }
    if (worldBytes != world.Bytes()) {
        return fail("was built with another world file");
    }
    finder.m_spans.resize(states);
    for (std::size_t s = 0; s < states; ++s) {
        std::uint64_t size = 0;
        if (!cursor.Read(size) || !cursor.Read(finder.m_spans[s].first) ||
            !cursor.Read(finder.m_spans[s].count)) {
            return damaged("the states");
        }
        if (size != archiveBytes[s]) {
            return fail("was built with other archives");
        }
    }
    std::uint32_t usCount = 0;
    // A US town takes at least 7 bytes.
    if (!ReadVarint(cursor, usCount) || usCount > cursor.Left() / 7) {
        return damaged("the US towns");
    }
    finder.m_towns.reserve(std::size_t{usCount} + world.Size());  // the world's own follow
    finder.m_towns.resize(usCount);
    finder.m_usTowns.resize(usCount);
    for (std::uint32_t t = 0; t < usCount; ++t) {
        Town& town = finder.m_towns[t];
        UsTown& us = finder.m_usTowns[t];
        std::uint32_t worldPlus = 0;
        std::uint8_t state = 0;
        std::string_view name;
        std::string_view zip;
        if (!ReadVarint(cursor, worldPlus) || !ReadVarint(cursor, town.population) ||
            !cursor.Read(state) || !ReadVarint(cursor, town.zipCount) || !ReadText(cursor, name) ||
            !ReadText(cursor, zip) || state >= states || town.zipCount == 0 ||
            town.zipCount > cursor.Left() || (worldPlus != 0 && worldPlus - 1 >= world.Size())) {
            return damaged("US town " + std::to_string(t));
        }
        town.world = worldPlus == 0 ? kNone : worldPlus - 1;
        town.state = state;
        if (town.world == kNone &&
            (!ReadDouble(cursor, us.latitude) || !ReadDouble(cursor, us.longitude))) {
            return damaged("US town " + std::to_string(t));
        }
        town.firstZip = static_cast<std::uint32_t>(finder.m_zips.size());
        std::uint64_t position = 0;
        for (std::uint32_t z = 0; z < town.zipCount; ++z) {
            std::uint32_t step = 0;
            if (!ReadVarint(cursor, step) || (position += step) > 0xFFFFFFFFu) {
                return damaged("US town " + std::to_string(t));
            }
            finder.m_zips.push_back(static_cast<std::uint32_t>(position));
        }
        us.name = name;
        us.zip = zip;
    }
    std::uint32_t worldCount = 0;
    if (!ReadVarint(cursor, worldCount) || worldCount > cursor.Left() / 2) {
        return damaged("the world towns");
    }
    finder.m_towns.resize(std::size_t{usCount} + worldCount);
    std::uint64_t worldAt = 0;
    for (std::size_t t = usCount; t < finder.m_towns.size(); ++t) {
        Town& town = finder.m_towns[t];
        std::uint32_t step = 0;
        std::uint8_t state = 0;
        if (!ReadVarint(cursor, step) || !cursor.Read(state) || (worldAt += step) >= world.Size() ||
            (state >= states && state != kNoState)) {
            return damaged("world town " + std::to_string(t - usCount));
        }
        town.world = static_cast<std::uint32_t>(worldAt);
        town.state = state == kNoState ? kNone16 : state;
        town.population = world.Population(town.world);
    }
    std::uint16_t countries = 0;
    if (!cursor.Read(countries)) {
        return damaged("the countries");
    }
    finder.m_countryKeys.resize(countries);
    for (std::string& country : finder.m_countryKeys) {
        std::string_view text;
        if (!ReadText(cursor, text) || text.size() < 3) {
            return damaged("the countries");
        }
        country = text;
    }
    std::uint32_t nameCount = 0;
    // A name takes at least 3 bytes.
    if (!ReadVarint(cursor, nameCount) || nameCount > cursor.Left() / 3) {
        return damaged("the names");
    }
    // Two sweeps: the first checks every name and sums the keys' bytes, the second writes the
    // keys back to back into m_text, sized once, and takes views of them.
    finder.m_names.resize(nameCount);
    const CDataCursor names = cursor;
    std::size_t textSize = 0;
    std::size_t previousLength = 0;
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        std::uint8_t shared = 0;
        std::string_view rest;
        std::uint32_t town = 0;
        if (!cursor.Read(shared) || !ReadText(cursor, rest) || !ReadVarint(cursor, town) ||
            shared > previousLength || town >= finder.m_towns.size()) {
            return damaged("name " + std::to_string(i));
        }
        previousLength = shared + rest.size();
        textSize += previousLength;
        finder.m_names[i].town = town;
    }
    if (cursor.Left() != 0) {
        return damaged("bytes past the names");
    }
    // A key may share 255 bytes with the one before at a cost of three: a file made to claim
    // gigabytes of keys is refused. Real keys take less than the file.
    if (textSize > 4 * bytes.size()) {
        return damaged("the names are too long");
    }
    finder.m_text.resize(textSize);
    char* const text = finder.m_text.data();
    cursor = names;
    std::size_t at = 0;
    const char* previous = text;
    for (Name& name : finder.m_names) {
        std::uint8_t shared = 0;
        std::string_view rest;
        std::uint32_t town = 0;
        cursor.Read(shared);
        ReadText(cursor, rest);
        ReadVarint(cursor, town);
        CopyBytes(text + at, previous, shared);  // the previous key ends where this begins
        CopyBytes(text + at + shared, rest.data(), rest.size());
        name.offset = static_cast<std::uint32_t>(at);
        name.length = static_cast<std::uint32_t>(shared + rest.size());
        previous = text + at;
        at += name.length;
    }
    finder.m_world = std::move(world);
    finder.m_file = std::move(file);
    return finder;
}
