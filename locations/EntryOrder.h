// The order of the window's zip and city lists: Windows-1252 texts sorted without regard to
// case, folded on their Unicode characters ("é" sorts with "É", after every ASCII letter), a
// text before any longer text it begins, equal texts in the order they were added.
//
// CSortedEntryIndex gives that order to entries added one by one, the way a list fills while an
// archive is read. Each text is folded once, into a key whose plain byte order is the list's
// order (its first eight bytes kept as an integer, which settles most comparisons); the rows
// are sorted when they are next asked for, once per batch of additions.
//
//     CSortedEntryIndex index;
//     index.Add("Mission - 78572");  // entry 0
//     index.Add("alamo - 78516");    // entry 1
//     index.EntryAt(0);              // 1: "alamo" sorts first
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The folded key of a Windows-1252 text: comparing two keys byte for byte (as std::string
// does) orders the texts as the lists do.
std::string EntrySortKey(std::string_view text);

// True when `a` sorts before `b` in the lists.
bool EntrySortsBefore(std::string_view a, std::string_view b);

class CSortedEntryIndex {
public:
    // Adds the next entry, numbered from 0 in arrival order.
    void Add(std::string_view text);
    void Clear();

    std::size_t GetCount() const { return m_prefix.size(); }
    // The entry number at a row (row < GetCount()).
    std::size_t EntryAt(std::size_t row) const {
        Sort();
        return m_order[row];
    }
    // Puts the rows in order now (EntryAt does it when entries were added since).
    void Sort() const;

private:
    std::string_view Key(std::uint32_t entry) const;

    std::string m_keys;                          // every entry's folded key, back to back
    std::vector<std::uint32_t> m_keyStart;       // entry -> offset of its key in m_keys
    std::vector<std::uint64_t> m_prefix;         // entry -> first eight key bytes, big-endian
    mutable std::vector<std::uint32_t> m_order;  // row -> entry
};
