// The order of the window's zip and city lists: Windows-1252 texts sorted without regard to
// case, folded on their Unicode characters ("é" sorts with "É", after every ASCII letter), a
// text before any longer text it begins, equal texts in the order they were added.
//
// CSortedEntryIndex keeps that order as entries arrive one by one, the way a combo box fills
// while an archive is read: each new entry's number is put in place among the rows, which are
// kept in blocks of at most 256 so that a place costs a short move, not one across thousands
// of rows. Each text is folded once, into a key whose plain byte order is the list's order, with
// its first eight bytes kept as an integer that settles most comparisons. A whole list that
// arrives at once (AddAll) is sorted once and cut into blocks in one pass instead.
//
//     CSortedEntryIndex index;
//     index.Add("Mission - 78572");  // entry 0, row 0
//     index.Add("alamo - 78516");    // entry 1, row 0: "Mission" moves to row 1
//     index.EntryAt(1);              // 0
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
    // Adds the next entry (numbered from 0 in arrival order) after every row that does not sort
    // above it, so that equal texts keep their arrival order; returns the row it takes.
    std::size_t Add(std::string_view text);
    // Adds every text in turn, leaving the rows as that many calls to Add would: the new
    // entries are folded, sorted once and merged with the rows there are, which is far cheaper
    // than putting each in place when a whole list arrives at once.
    void AddAll(const std::vector<std::string>& texts);
    // The row Add(text) would give, without adding.
    std::size_t RowFor(std::string_view text) const;
    void Clear();
    // Forgets the rows [row, row + count), clipped to the rows there are; entry numbers are
    // not reused until the index is empty.
    void RemoveRows(std::size_t row, std::size_t count);

    std::size_t GetCount() const { return m_count; }
    // The entry number at a row (row < GetCount()).
    std::size_t EntryAt(std::size_t row) const;

private:
    // Where an entry's folded key lies in m_keys, and its first eight bytes as an integer.
    struct Entry {
        std::uint64_t prefix;  // big-endian, zeros past the key's end
        std::uint32_t start;
        std::uint32_t size;
    };
    std::string_view Key(const Entry& entry) const {
        return {m_keys.data() + entry.start, entry.size};
    }
    // A run of rows: each row's entry and, beside it, that entry's prefix, so that a search
    // settles most comparisons in the block's own memory.
    struct Block {
        std::vector<std::uint64_t> prefixes;
        std::vector<std::uint32_t> entries;
    };
    // Whether a key with this prefix sorts above row `i` of the block.
    bool SortsAbove(const Block& block, std::size_t i, std::uint64_t prefix,
                    std::string_view key) const {
        const std::uint64_t p = block.prefixes[i];
        return prefix != p ? prefix < p : key < Key(m_entries[block.entries[i]]);
    }
    // Where the key goes: after every row that does not sort above it.
    struct Place {
        std::size_t block;
        std::size_t offset;  // within the block
        std::size_t row;
    };
    Place PlaceFor(std::uint64_t prefix, std::string_view key) const;
    // A new entry of a bulk add, with its prefix at hand while the entries are sorted.
    struct Fresh {
        std::uint64_t prefix;
        std::uint32_t entry;
    };
    // Into the lists' order, equal texts by entry number: the order Add gives them.
    void SortFresh(std::vector<Fresh>& fresh) const;
    // Makes room in m_keys for `bytes` more bytes past m_keysUsed.
    void ReserveKeys(std::size_t bytes);
    // Folds `text` into m_keys at `start` (room made) and describes the key.
    Entry WriteKey(std::string_view text, std::size_t start);
    // Cuts the rows (entry numbers in row order) into half-full blocks.
    void BuildBlocks(const std::vector<std::uint32_t>& rows);
    // The entry numbers of every row, in row order.
    std::vector<std::uint32_t> Rows() const;

    std::vector<char> m_keys;                    // every entry's folded key, back to back
    std::size_t m_keysUsed = 0;                  // bytes of m_keys in use
    std::vector<Entry> m_entries;                // by entry number
    std::vector<Block> m_blocks;                 // the rows, in row order
    std::vector<std::uint64_t> m_firstPrefixes;  // each block's first row's prefix
    std::size_t m_count = 0;                     // rows
};
