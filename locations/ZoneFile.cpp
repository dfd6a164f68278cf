#include "ZoneFile.h"

#include <algorithm>
#include <map>
#include <set>

#include "DataFile.h"
#include "ErrorReporter.h"
#include "File.h"
#include "ModulePath.h"

const char* const kZoneFileName = "timezone.zones";

namespace {

constexpr std::string_view kMagic = "DBZONES1";
constexpr std::size_t kZipLength = 5;
constexpr std::size_t kEntrySize = kZipLength + 2;
constexpr std::size_t kStateRowSize = 2 + 4 + 4 + 4;
// Far above the shipped file's 300 KB; a larger file is not ours. The ceiling bounds what a
// state's table may cost (an entry of 7 bytes becomes about 40 in memory).
constexpr std::uint64_t kMaxFileSize = 8u << 20;

bool IsZoneName(std::string_view name) {
    return !name.empty() && name.size() <= 255 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '/' || c == '_' || c == '-' || c == '+';
    });
}

bool IsZip(std::string_view zip) {
    return zip.size() == kZipLength &&
           std::all_of(zip.begin(), zip.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsCode(std::string_view code) {
    return code.size() == 2 &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

}  // namespace

CZoneTable CZoneTable::Unknown(std::string problem) {
    CZoneTable table;
    table.m_problem = std::move(problem);
    return table;
}

std::string ReadZoneFile(const std::filesystem::path& directory, IErrorReporter& reporter) {
    const std::filesystem::path path =
        (directory.empty() ? GetExecutableDirectory() : directory) / kZoneFileName;
    std::string bytes;
    CFileException error;
    if (!CFile::ReadDataFile(path.string(), kMaxFileSize, "a zone file", bytes, &error)) {
        reporter.ReportError(CDataFileNote(std::string(kZoneFileName) +
                                           (error.m_cause == CFileException::fileNotFound
                                                ? " is missing"
                                                : " cannot be read: " + error.GetReason())));
        return {};
    }
    return bytes;
}

CZoneTable CZoneTable::Load(std::string_view code, const std::filesystem::path& directory) {
    CCollectingErrorReporter problems;
    const std::string bytes = ReadZoneFile(directory, problems);
    if (!problems.Messages().empty()) {
        return Unknown(problems.First());
    }
    return Parse(bytes, code);
}

namespace {

// The file's parts, each checked against the bytes that remain and the header's checksum.
struct ZoneLayout {
    std::vector<std::string_view> names;
    std::string_view rows;  // stateCount rows of kStateRowSize bytes
    std::uint16_t stateCount = 0;
    std::string_view entries;
    std::uint32_t entryCount = 0;
};

// "" when `bytes` holds a whole zone file, else why not.
std::string ReadLayout(std::string_view bytes, ZoneLayout& layout) {
    CDataCursor reader(bytes);
    std::string_view magic;
    if (!reader.Take(kMagic.size(), magic) || magic != kMagic) {
        return "not a zone file";
    }
    std::uint16_t nameCount = 0;
    if (!reader.Read(nameCount) || nameCount == 0) {
        return "no zone names";
    }
    layout.names.reserve(nameCount);
    for (std::uint16_t i = 0; i < nameCount; ++i) {
        std::uint8_t length = 0;
        std::string_view name;
        if (!reader.Read(length) || !reader.Take(length, name) || !IsZoneName(name)) {
            return "zone name " + std::to_string(i + 1);
        }
        layout.names.push_back(name);
    }
    if (!reader.Read(layout.stateCount) ||
        !reader.Take(std::size_t{layout.stateCount} * kStateRowSize, layout.rows)) {
        return "state table cut short";
    }
    std::uint32_t headerCrc = 0;
    const std::size_t headerEnd = reader.Position();
    if (!reader.Read(layout.entryCount) ||
        !reader.Take(std::size_t{layout.entryCount} * kEntrySize, layout.entries) ||
        !reader.Read(headerCrc) || reader.Position() != bytes.size()) {
        return "wrong length";
    }
    if (DataCrc32(bytes.substr(0, headerEnd)) != headerCrc) {
        return "header checksum";
    }
    return {};
}

struct StateRow {
    std::string_view code;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    std::uint32_t crc = 0;
    std::string_view entries;  // empty when first and count reach past the entries
    bool inRange = false;
};

StateRow ReadStateRow(const ZoneLayout& layout, std::uint16_t s) {
    CDataCursor reader(layout.rows.substr(std::size_t{s} * kStateRowSize, kStateRowSize));
    StateRow row;
    reader.Take(2, row.code);
    reader.Read(row.first);
    reader.Read(row.count);
    reader.Read(row.crc);
    row.inRange = row.first <= layout.entryCount && row.count <= layout.entryCount - row.first;
    if (row.inRange) {
        row.entries = layout.entries.substr(std::size_t{row.first} * kEntrySize,
                                            std::size_t{row.count} * kEntrySize);
    }
    return row;
}

}  // namespace

bool CZoneTable::IsZoneFile(std::string_view bytes) {
    ZoneLayout layout;
    return ReadLayout(bytes, layout).empty();
}

std::vector<std::string> CZoneTable::StatesWithZip(std::string_view bytes, std::string_view zip) {
    ZoneLayout layout;
    std::vector<std::string> states;
    if (!IsZip(zip) || !ReadLayout(bytes, layout).empty()) {
        return states;
    }
    for (std::uint16_t s = 0; s < layout.stateCount; ++s) {
        const StateRow row = ReadStateRow(layout, s);
        if (!row.inRange) {
            continue;
        }
        // A state's entries are sorted by zip: a binary search over the fixed-size entries.
        std::size_t low = 0, high = row.count;
        while (low < high) {
            const std::size_t mid = low + (high - low) / 2;
            if (row.entries.substr(mid * kEntrySize, kZipLength) < zip) {
                low = mid + 1;
            } else {
                high = mid;
            }
        }
        if (low < row.count && row.entries.substr(low * kEntrySize, kZipLength) == zip) {
            states.emplace_back(row.code);
        }
    }
    return states;
}

CZoneTable CZoneTable::Parse(std::string_view bytes, std::string_view code) {
    const auto damaged = [](const std::string& why) {
        return Unknown(std::string(kZoneFileName) + " is damaged: " + why);
    };
    ZoneLayout layout;
    if (std::string why = ReadLayout(bytes, layout); !why.empty()) {
        return damaged(why);
    }
    CZoneTable table;
    table.m_names.assign(layout.names.begin(), layout.names.end());
    for (std::uint16_t s = 0; s < layout.stateCount; ++s) {
        const StateRow row = ReadStateRow(layout, s);
        if (row.code != code) {
            continue;
        }
        if (!row.inRange) {
            return damaged("state " + std::string(code) + " out of range");
        }
        if (DataCrc32(row.entries) != row.crc) {
            return damaged("checksum of state " + std::string(code));
        }
        table.m_zips.reserve(row.count);
        table.m_nameIndex.reserve(row.count);
        CDataCursor entry(row.entries);
        for (std::uint32_t i = 0; i < row.count; ++i) {
            std::string_view zip;
            std::uint16_t index = 0;
            entry.Take(kZipLength, zip);
            entry.Read(index);
            const bool sorted = table.m_zips.empty() || table.m_zips.back() < zip;
            if (!IsZip(zip) || index >= layout.names.size() || !sorted) {
                return damaged("entry " + std::to_string(row.first + i + 1));
            }
            table.m_zips.emplace_back(zip);
            table.m_nameIndex.push_back(index);
        }
        return table;
    }
    return Unknown(std::string(kZoneFileName) + " has no zones for " + std::string(code));
}

std::optional<std::string_view> CZoneTable::Find(std::string_view zip) const {
    const auto it = std::lower_bound(m_zips.begin(), m_zips.end(), zip);
    if (it == m_zips.end() || *it != zip) {
        return std::nullopt;
    }
    return m_names[m_nameIndex[static_cast<std::size_t>(it - m_zips.begin())]];
}

std::optional<std::string_view> CZoneTable::Find(std::string_view zip, std::size_t& hint) const {
    // The next entry first: an archive lists each zip once, in order, as a rule.
    for (const std::size_t i : {hint + 1, hint}) {
        if (i < m_zips.size() && m_zips[i] == zip) {
            hint = i;
            return m_names[m_nameIndex[i]];
        }
    }
    const auto it = std::lower_bound(m_zips.begin(), m_zips.end(), zip);
    if (it == m_zips.end() || *it != zip) {
        return std::nullopt;
    }
    hint = static_cast<std::size_t>(it - m_zips.begin());
    return m_names[m_nameIndex[hint]];
}

std::string EncodeZoneFile(const std::vector<CZoneEntry>& entries) {
    const auto refuse = [](const CZoneEntry& e, const std::string& why) {
        return CDataEncodeError("zone entry " + e.state + " " + e.zip + " \"" + e.zone +
                                "\": " + why);
    };
    std::map<std::string, std::uint16_t> nameIndex;
    std::vector<std::string> names;
    // States in the order of their first entry, each with its entries sorted by zip.
    std::vector<std::pair<std::string, std::map<std::string, std::uint16_t>>> states;
    std::set<std::string> closed;
    for (const CZoneEntry& e : entries) {
        if (!IsCode(e.state)) {
            throw refuse(e, "the state code is not two capital letters");
        }
        if (!IsZip(e.zip)) {
            throw refuse(e, "the zip is not five digits");
        }
        if (!IsZoneName(e.zone)) {
            throw refuse(e, "not a zone name");
        }
        if (states.empty() || states.back().first != e.state) {
            if (!closed.insert(e.state).second) {
                throw refuse(e, "the state's entries are not together");
            }
            states.emplace_back(e.state, std::map<std::string, std::uint16_t>{});
        }
        auto [name, added] =
            nameIndex.try_emplace(e.zone, static_cast<std::uint16_t>(names.size()));
        if (added) {
            if (names.size() == 0xFFFF) {
                throw refuse(e, "too many zone names");
            }
            names.push_back(e.zone);
        }
        if (!states.back().second.emplace(e.zip, name->second).second) {
            throw refuse(e, "the zip is listed twice");
        }
    }
    if (names.empty()) {
        throw CDataEncodeError("no zone entries");
    }
    if (states.size() > 0xFFFF || entries.size() > 0xFFFFFFFFu / kEntrySize) {
        throw CDataEncodeError("too many zone entries");
    }

    std::string body;
    std::string out(kMagic);
    AppendLittleEndian(out, static_cast<std::uint16_t>(names.size()));
    for (const std::string& name : names) {
        AppendLittleEndian(out, static_cast<std::uint8_t>(name.size()));
        out += name;
    }
    AppendLittleEndian(out, static_cast<std::uint16_t>(states.size()));
    for (const auto& [code, zips] : states) {
        std::string own;
        for (const auto& [zip, index] : zips) {
            own += zip;
            AppendLittleEndian(own, index);
        }
        out += code;
        AppendLittleEndian(out, static_cast<std::uint32_t>(body.size() / kEntrySize));
        AppendLittleEndian(out, static_cast<std::uint32_t>(zips.size()));
        AppendLittleEndian(out, DataCrc32(own));
        body += own;
    }
    const std::uint32_t headerCrc = DataCrc32(out);
    AppendLittleEndian(out, static_cast<std::uint32_t>(body.size() / kEntrySize));
    out += body;
    AppendLittleEndian(out, headerCrc);
    return out;
}
