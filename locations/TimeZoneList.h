// CTimeZoneList is the location list: the records of the state loaded last, owned by value.
// The loader inserts each record at the front, so the list runs in the reverse order of the
// file. The two lookups walk the whole list from the front and keep the last match they meet:
// of several matching records they yield the one nearest the back, which is the first of them
// in the file. Matching is exact (whole string, byte for byte, case-sensitive).
//
//     g_TimeZoneList.RemoveAll();
//     LoadStateArchive("TX", sink, reporter);
//     if (auto place = g_TimeZoneList.FindByZip("78572")) { ... place->m_strCity ... }
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string_view>
#include <vector>

#include "TimeZoneData.h"

// Memory for the list's nodes, which are all of one size: freed nodes go on a free list and are
// handed out again; fresh ones are cut from slabs that grow with the list. Any other request
// goes to the default resource. Not thread-safe, as the list is not.
class CNodePool : public std::pmr::memory_resource {
public:
    CNodePool() = default;
    CNodePool(const CNodePool&) = delete;
    CNodePool& operator=(const CNodePool&) = delete;
    ~CNodePool() override;

private:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override;
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }
    bool Pooled(std::size_t bytes, std::size_t alignment) const {
        return bytes == m_nodeSize && alignment <= alignof(std::max_align_t);
    }

    struct FreeNode {
        FreeNode* next;
    };
    std::size_t m_nodeSize = 0;  // set by the first request
    FreeNode* m_free = nullptr;
    std::byte* m_next = nullptr;  // unused part of the newest slab
    std::byte* m_end = nullptr;
    std::vector<std::unique_ptr<std::byte[]>> m_slabs;
};

class CTimeZoneList {
public:
    using const_iterator = std::pmr::list<CTimeZoneData>::const_iterator;

    // Copies and moves copy the records into the target's own pool (which outlives no list
    // but its own); a list moved from is left empty.
    CTimeZoneList() = default;
    CTimeZoneList(const CTimeZoneList& other);
    CTimeZoneList(CTimeZoneList&& other);
    CTimeZoneList& operator=(const CTimeZoneList& other);
    CTimeZoneList& operator=(CTimeZoneList&& other);

    std::size_t GetCount() const { return m_records.size(); }
    bool IsEmpty() const { return m_records.empty(); }

    // Stores a copy at the front.
    void AddHead(const CTimeZoneData& record);
    void RemoveAll();

    // Front to back.
    const_iterator begin() const { return m_records.begin(); }
    const_iterator end() const { return m_records.end(); }

    // A copy of the record whose zip code equals `zip`; nullopt when none does.
    std::optional<CTimeZoneData> FindByZip(std::string_view zip) const;
    // A copy of the record whose city entry (CTimeZoneData::CityEntry) equals `cityEntry`.
    std::optional<CTimeZoneData> FindByCityEntry(std::string_view cityEntry) const;

private:
    // The records' nodes come from a pool owned by the list: a load allocates thousands of
    // them at once and RemoveAll frees them all, so the next load reuses the same memory.
    CNodePool m_nodes;
    std::pmr::list<CTimeZoneData> m_records{&m_nodes};
};

// The program's one location list; empty from static initialisation on.
extern CTimeZoneList g_TimeZoneList;
