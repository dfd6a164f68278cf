#include "EntryOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "Windows1252.h"

namespace {

// Simple case folding of the characters Windows-1252 can hold.
char32_t FoldCase(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    switch (c) {
        case 0x160:  // S with caron
        case 0x152:  // OE
        case 0x17D:  // Z with caron
            return c + 1;
        case 0x178:  // Y with diaeresis
            return 0xFF;
        case 0xB5:  // micro sign
            return 0x3BC;
        default:
            return c;
    }
}

// Byte -> rank of its folded character among all the folded characters of the code page, so
// that a key fits in one byte per character and keeps the characters' order.
const std::array<char, 256>& Ranks() {
    static const std::array<char, 256> ranks = [] {
        std::array<char32_t, 256> folded{};
        for (unsigned b = 0; b < 256; ++b) {
            folded[b] = FoldCase(Windows1252ToCodePoint(static_cast<std::uint8_t>(b)));
        }
        std::array<char32_t, 256> sorted = folded;
        std::sort(sorted.begin(), sorted.end());
        const auto last = std::unique(sorted.begin(), sorted.end());
        std::array<char, 256> r{};
        for (unsigned b = 0; b < 256; ++b) {
            r[b] = static_cast<char>(std::lower_bound(sorted.begin(), last, folded[b]) -
                                     sorted.begin());
        }
        return r;
    }();
    return ranks;
}

}  // namespace

std::string EntrySortKey(std::string_view text) {
    const auto& ranks = Ranks();
    std::string key(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        key[i] = ranks[static_cast<std::uint8_t>(text[i])];
    }
    return key;
}

bool EntrySortsBefore(std::string_view a, std::string_view b) {
    const auto& ranks = Ranks();
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<std::uint8_t>(ranks[static_cast<std::uint8_t>(a[i])]);
        const auto y = static_cast<std::uint8_t>(ranks[static_cast<std::uint8_t>(b[i])]);
        if (x != y) {
            return x < y;
        }
    }
    return a.size() < b.size();
}

namespace {

// The prefix integer of a folded key: its first eight bytes, big-endian, zeros past its end
// (the rank of byte 0 is 0, so a shorter key never sorts above a longer one it begins; equal
// prefixes go on to compare the whole keys).
std::uint64_t KeyPrefix(std::string_view key) {
    std::uint64_t prefix = 0;
    if (key.size() >= 8) {
        std::memcpy(&prefix, key.data(), 8);
    } else {
        std::memcpy(&prefix, key.data(), key.size());
    }
    if constexpr (std::endian::native == std::endian::little) {
        prefix = __builtin_bswap64(prefix);
    }
    return prefix;
}

// How many of the sorted `values` are not above `value`: a search whose steps pick without a
// branch, as the values a list is filled with come in no order a branch could predict.
std::size_t CountNotAbove(const std::vector<std::uint64_t>& values, std::uint64_t value) {
    if (values.empty()) {
        return 0;
    }
    const std::uint64_t* base = values.data();
    std::size_t size = values.size();
    while (size > 1) {
        const std::size_t half = size / 2;
        base = base[half] <= value ? base + half : base;
        size -= half;
    }
    return static_cast<std::size_t>(base - values.data()) + (*base <= value ? 1 : 0);
}

// A block that grows past this many rows is cut in two halves: small enough that a place costs
// a short move, few enough blocks (a few dozen for a state) that finding one stays cheap.
constexpr std::size_t kBlockSplit = 256;

}  // namespace

void CSortedEntryIndex::ReserveKeys(std::size_t bytes) {
    if (m_keys.size() - m_keysUsed < bytes) {
        // Grown in large steps, written in place: no per-entry fill of the new bytes.
        m_keys.resize(std::max({2 * m_keys.size(), m_keysUsed + bytes, std::size_t{4096}}));
    }
}

CSortedEntryIndex::Entry CSortedEntryIndex::WriteKey(std::string_view text, std::size_t start) {
    const auto& ranks = Ranks();
    char* out = m_keys.data() + start;
    for (const char c : text) {
        *out++ = ranks[static_cast<std::uint8_t>(c)];
    }
    return {KeyPrefix({m_keys.data() + start, text.size()}), static_cast<std::uint32_t>(start),
            static_cast<std::uint32_t>(text.size())};
}

std::size_t CSortedEntryIndex::Add(std::string_view text) {
    ReserveKeys(text.size());
    const Entry written = WriteKey(text, m_keysUsed);
    m_keysUsed += text.size();
    const std::string_view key = Key(written);
    const std::uint64_t prefix = written.prefix;
    const Place place = PlaceFor(prefix, key);
    m_entries.push_back(written);
    const auto entry = static_cast<std::uint32_t>(m_entries.size() - 1);
    if (m_blocks.empty()) {
        m_blocks.emplace_back();
        m_firstPrefixes.push_back(prefix);
    }
    Block& block = m_blocks[place.block];
    const auto at = static_cast<std::ptrdiff_t>(place.offset);
    block.prefixes.insert(block.prefixes.begin() + at, prefix);
    block.entries.insert(block.entries.begin() + at, entry);
    m_firstPrefixes[place.block] = block.prefixes.front();
    if (block.entries.size() > kBlockSplit) {
        constexpr auto half = static_cast<std::ptrdiff_t>(kBlockSplit / 2);
        Block upper{{block.prefixes.begin() + half, block.prefixes.end()},
                    {block.entries.begin() + half, block.entries.end()}};
        block.prefixes.resize(kBlockSplit / 2);
        block.entries.resize(kBlockSplit / 2);
        m_firstPrefixes.insert(
            m_firstPrefixes.begin() + static_cast<std::ptrdiff_t>(place.block) + 1,
            upper.prefixes.front());
        m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(place.block) + 1,
                        std::move(upper));
    }
    ++m_count;
    return place.row;
}

std::size_t CSortedEntryIndex::RowFor(std::string_view text) const {
    const std::string key = EntrySortKey(text);
    return PlaceFor(KeyPrefix(key), key).row;
}

CSortedEntryIndex::Place CSortedEntryIndex::PlaceFor(std::uint64_t prefix,
                                                     std::string_view key) const {
    if (m_blocks.empty()) {
        return {0, 0, 0};
    }
    // The last block whose first row does not sort above the key (or the first block): by the
    // first rows' prefixes, unless one of them is the key's own.
    std::size_t blockAt = CountNotAbove(m_firstPrefixes, prefix);
    if (blockAt > 0 && m_firstPrefixes[blockAt - 1] == prefix) {
        auto next = std::upper_bound(
            m_blocks.begin() + 1, m_blocks.end(), prefix,
            [this, key](std::uint64_t p, const Block& b) { return SortsAbove(b, 0, p, key); });
        blockAt = static_cast<std::size_t>(next - m_blocks.begin());
    }
    blockAt = blockAt == 0 ? 0 : blockAt - 1;
    const Block& block = m_blocks[blockAt];
    // Within it, by the prefixes beside the rows, with the whole keys only for rows that share
    // the key's prefix.
    std::size_t offset = CountNotAbove(block.prefixes, prefix);
    if (offset > 0 && block.prefixes[offset - 1] == prefix) {
        const std::size_t first = prefix == 0 ? 0 : CountNotAbove(block.prefixes, prefix - 1);
        const auto begin = block.entries.begin();
        const auto at = std::upper_bound(
            begin + static_cast<std::ptrdiff_t>(first), begin + static_cast<std::ptrdiff_t>(offset),
            key,
            [this](std::string_view k, std::uint32_t entry) { return k < Key(m_entries[entry]); });
        offset = static_cast<std::size_t>(at - begin);
    }
    Place place{blockAt, offset, offset};
    for (std::size_t b = 0; b < blockAt; ++b) {
        place.row += m_blocks[b].entries.size();
    }
    return place;
}

std::size_t CSortedEntryIndex::EntryAt(std::size_t row) const {
    for (const Block& block : m_blocks) {
        if (row < block.entries.size()) {
            return block.entries[row];
        }
        row -= block.entries.size();
    }
    return 0;  // past the last row: callers check GetCount first
}

void CSortedEntryIndex::Clear() {
    m_keysUsed = 0;
    m_entries.clear();
    m_blocks.clear();
    m_firstPrefixes.clear();
    m_count = 0;
}

void CSortedEntryIndex::RemoveRows(std::size_t row, std::size_t count) {
    row = std::min(row, m_count);
    count = std::min(count, m_count - row);
    if (count == m_count) {
        Clear();
        return;
    }
    // Rare (the lists are emptied whole, not row by row): flatten, erase, cut into blocks.
    std::vector<std::uint32_t> rows = Rows();
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row),
               rows.begin() + static_cast<std::ptrdiff_t>(row + count));
    BuildBlocks(rows);
}

void CSortedEntryIndex::SortFresh(std::vector<Fresh>& fresh) const {
    // By prefix first, one byte at a time from the last: each pass is stable, so equal prefixes
    // stay in entry order. A byte every prefix shares (the "7" of every zip code) costs no pass.
    std::vector<Fresh> spare(fresh.size());
    for (int shift = 0; shift < 64; shift += 8) {
        std::array<std::size_t, 256> counts{};
        for (const Fresh& f : fresh) {
            ++counts[(f.prefix >> shift) & 0xFF];
        }
        if (counts[(fresh.front().prefix >> shift) & 0xFF] == fresh.size()) {
            continue;
        }
        std::size_t at = 0;
        for (std::size_t& count : counts) {
            at += std::exchange(count, at);
        }
        for (const Fresh& f : fresh) {
            spare[counts[(f.prefix >> shift) & 0xFF]++] = f;
        }
        fresh.swap(spare);
    }
    // Then each run of equal prefixes by the whole keys, keeping entry order among equal keys.
    const auto byKey = [this](const Fresh& a, const Fresh& b) {
        return Key(m_entries[a.entry]) < Key(m_entries[b.entry]);
    };
    for (auto run = fresh.begin(); run != fresh.end();) {
        auto end = run + 1;
        while (end != fresh.end() && end->prefix == run->prefix) {
            ++end;
        }
        if (end - run > 16) {
            std::stable_sort(run, end, byKey);
        } else {
            // Short runs (the usual case) in place: an insertion moves a row only past rows
            // whose keys sort above it.
            for (auto i = run + 1; i < end; ++i) {
                const Fresh moving = *i;
                auto at = i;
                for (; at != run && byKey(moving, *(at - 1)); --at) {
                    *at = *(at - 1);
                }
                *at = moving;
            }
        }
        run = end;
    }
}

void CSortedEntryIndex::AddAll(const std::vector<std::string>& texts) {
    if (texts.empty()) {
        return;
    }
    std::size_t bytes = 0;
    for (const std::string& text : texts) {
        bytes += text.size();
    }
    // The keys are written past the bytes in use and the entries appended; until the blocks
    // are rebuilt, a failure takes the entries back and leaves the rows as they were.
    ReserveKeys(bytes);
    const std::size_t firstEntry = m_entries.size();
    m_entries.reserve(firstEntry + texts.size());
    try {
        std::vector<Fresh> fresh;
        fresh.reserve(texts.size());
        std::size_t start = m_keysUsed;
        for (const std::string& text : texts) {
            m_entries.push_back(WriteKey(text, start));
            start += text.size();
            fresh.push_back(
                {m_entries.back().prefix, static_cast<std::uint32_t>(m_entries.size() - 1)});
        }
        SortFresh(fresh);
        std::vector<std::uint32_t> added;
        added.reserve(fresh.size());
        for (const Fresh& f : fresh) {
            added.push_back(f.entry);
        }
        std::vector<std::uint32_t> rows;
        if (m_count == 0) {
            rows = std::move(added);
        } else {
            // Every row there is comes before the new entries equal to it (std::merge takes
            // equal elements from its first range first).
            const std::vector<std::uint32_t> old = Rows();
            rows.resize(old.size() + added.size());
            std::merge(old.begin(), old.end(), added.begin(), added.end(), rows.begin(),
                       [this](std::uint32_t a, std::uint32_t b) {
                           const Entry& x = m_entries[a];
                           const Entry& y = m_entries[b];
                           return x.prefix != y.prefix ? x.prefix < y.prefix : Key(x) < Key(y);
                       });
        }
        BuildBlocks(rows);
    } catch (...) {
        m_entries.resize(firstEntry);
        throw;
    }
    m_keysUsed += bytes;
}

std::vector<std::uint32_t> CSortedEntryIndex::Rows() const {
    std::vector<std::uint32_t> rows;
    rows.reserve(m_count);
    for (const Block& block : m_blocks) {
        rows.insert(rows.end(), block.entries.begin(), block.entries.end());
    }
    return rows;
}

void CSortedEntryIndex::BuildBlocks(const std::vector<std::uint32_t>& rows) {
    std::vector<Block> blocks;
    std::vector<std::uint64_t> firstPrefixes;
    constexpr std::size_t kFill = kBlockSplit / 2;
    blocks.reserve((rows.size() + kFill - 1) / kFill);
    firstPrefixes.reserve(blocks.capacity());
    for (std::size_t i = 0; i < rows.size(); i += kFill) {
        const std::size_t end = std::min(rows.size(), i + kFill);
        Block& block = blocks.emplace_back();
        block.prefixes.reserve(end - i);
        block.entries.assign(rows.begin() + static_cast<std::ptrdiff_t>(i),
                             rows.begin() + static_cast<std::ptrdiff_t>(end));
        for (std::size_t r = i; r < end; ++r) {
            block.prefixes.push_back(m_entries[rows[r]].prefix);
        }
        firstPrefixes.push_back(block.prefixes.front());
    }
    m_blocks = std::move(blocks);
    m_firstPrefixes = std::move(firstPrefixes);
    m_count = rows.size();
}
