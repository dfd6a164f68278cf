// The IANA time zone of every place, kept beside the state archives in one file of its own,
// "timezone.zones", so that the archives keep their record layout.
//
// Layout (integers little-endian, text ASCII):
//   8 bytes   magic "DBZONES1"
//   u16       zone-name count N (1 or more), then N names: u8 length (1 to 255), the bytes
//   u16       state count S, then S rows: 2-byte code, u32 first entry, u32 entry count,
//             u32 CRC-32 of that state's entries
//   u32       entry count E, then E entries: 5-digit zip, u16 zone-name index
//   u32       CRC-32 of every byte from the magic to the end of the state rows
// A state's entries lie together, sorted by zip. The header's checksum and the loaded state's
// own are checked, so that a state loads without reading the others' entries closely.
//
// A missing or damaged file means "zone unknown": the table is empty and says why in one line;
// it never guesses. Example:
//     const CZoneTable zones = CZoneTable::Load("IL");
//     if (auto zone = zones.Find("60601")) { /* "America/Chicago" */ }
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "timezone.zones".
extern const char* const kZoneFileName;

class IErrorReporter;

// The bytes of kZoneFileName in `directory` (empty: the executable's directory); "" when it is
// missing, unreadable or too large to be ours, and then a CDataFileNote (DataFile.h) to
// `reporter` says which.
std::string ReadZoneFile(const std::filesystem::path& directory, IErrorReporter& reporter);

// One place's zone, as the packer hands it over.
struct CZoneEntry {
    std::string state;  // two-letter code
    std::string zip;    // five digits
    std::string zone;   // IANA name, "America/Chicago"
};

// The zones of one state.
class CZoneTable {
public:
    // Reads kZoneFileName from `directory` (empty: the executable's directory).
    static CZoneTable Load(std::string_view code, const std::filesystem::path& directory = {});
    // The same from the file's bytes; any bytes are safe.
    static CZoneTable Parse(std::string_view bytes, std::string_view code);

    // False when the file is missing or damaged, or lacks the state; Problem() says why.
    bool IsKnown() const { return m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

    // The codes of the states whose entries hold `zip`, in the file's order; none when the
    // bytes are not a whole zone file (the header's checksum is checked, the states' own are
    // not: the archives have the last word). Any bytes are safe.
    static std::vector<std::string> StatesWithZip(std::string_view bytes, std::string_view zip);

    // True when `bytes` hold a whole zone file (its layout and header checksum check out).
    static bool IsZoneFile(std::string_view bytes);

    // The zone of a zip of this state, or nothing.
    std::optional<std::string_view> Find(std::string_view zip) const;
    // The same, looking first at the entry after `hint` and at `hint`, and leaving in `hint` where
    // the zip was found: zips asked in order (as an archive lists them) cost a comparison or two.
    std::optional<std::string_view> Find(std::string_view zip, std::size_t& hint) const;
    std::size_t Size() const { return m_zips.size(); }

private:
    static CZoneTable Unknown(std::string problem);

    std::vector<std::string> m_names;
    std::vector<std::string> m_zips;  // sorted
    std::vector<std::uint16_t> m_nameIndex;
    std::string m_problem;
};

// The file's bytes for `entries`, grouped by state in the order given (each state's entries in
// one run), sorted by zip within a state. Throws CDataEncodeError naming the entry for a
// code that is not two letters, a zip that is not five digits, an empty or over-long zone name,
// a zip listed twice in a state, or a state split into two runs.
std::string EncodeZoneFile(const std::vector<CZoneEntry>& entries);
