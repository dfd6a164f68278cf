#include "EntryOrder.h"

#include <algorithm>
#include <array>

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

void CSortedEntryIndex::Add(std::string_view text) {
    const auto& ranks = Ranks();
    m_keyStart.push_back(static_cast<std::uint32_t>(m_keys.size()));
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char rank = ranks[static_cast<std::uint8_t>(text[i])];
        m_keys.push_back(rank);
        if (i < 8) {
            prefix |= std::uint64_t{static_cast<std::uint8_t>(rank)} << (56 - 8 * i);
        }
    }
    m_prefix.push_back(prefix);
}

void CSortedEntryIndex::Clear() {
    m_keys.clear();
    m_keyStart.clear();
    m_prefix.clear();
    m_order.clear();
}

std::string_view CSortedEntryIndex::Key(std::uint32_t entry) const {
    const std::size_t end = entry + 1 < m_keyStart.size() ? m_keyStart[entry + 1] : m_keys.size();
    return std::string_view(m_keys).substr(m_keyStart[entry], end - m_keyStart[entry]);
}

void CSortedEntryIndex::Sort() const {
    if (m_order.size() == m_prefix.size()) {
        return;
    }
    m_order.resize(m_prefix.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        m_order[i] = static_cast<std::uint32_t>(i);
    }
    // Equal texts keep their arrival order: the entry number breaks ties.
    std::sort(m_order.begin(), m_order.end(), [this](std::uint32_t a, std::uint32_t b) {
        if (m_prefix[a] != m_prefix[b]) {
            return m_prefix[a] < m_prefix[b];
        }
        const std::string_view x = Key(a), y = Key(b);
        return x != y ? x < y : a < b;
    });
}
