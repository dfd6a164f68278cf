#include "TimeZoneList.h"

#include <algorithm>
#include <new>

CTimeZoneList g_TimeZoneList;

namespace {

// Nodes per slab: the first slab holds a small state's list, later ones double.
constexpr std::size_t kFirstSlabNodes = 64;
constexpr std::size_t kMaxSlabNodes = 4096;
constexpr std::size_t kSlabDoublings = 6;  // 64 << 6 == 4096
static_assert(kFirstSlabNodes << kSlabDoublings == kMaxSlabNodes);

std::size_t RoundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

}  // namespace

CNodePool::~CNodePool() = default;

void* CNodePool::do_allocate(std::size_t bytes, std::size_t alignment) {
    if (m_nodeSize == 0 && bytes >= sizeof(FreeNode) && alignment <= alignof(std::max_align_t)) {
        m_nodeSize = RoundUp(bytes, alignof(std::max_align_t));
    }
    if (!Pooled(RoundUp(bytes, alignof(std::max_align_t)), alignment)) {
        return std::pmr::get_default_resource()->allocate(bytes, alignment);
    }
    if (m_free != nullptr) {
        FreeNode* node = m_free;
        m_free = node->next;
        return node;
    }
    if (m_next == m_end) {
        // The shift stops once the slabs reach their largest size: shifted on with the slab
        // count, the size would wrap to zero after a few dozen slabs.
        const std::size_t nodes =
            m_slabs.size() < kSlabDoublings ? kFirstSlabNodes << m_slabs.size() : kMaxSlabNodes;
        // new[] of std::byte is aligned for any object of up to max_align_t.
        m_slabs.push_back(std::make_unique_for_overwrite<std::byte[]>(nodes * m_nodeSize));
        m_next = m_slabs.back().get();
        m_end = m_next + nodes * m_nodeSize;
    }
    void* node = m_next;
    m_next += m_nodeSize;
    return node;
}

void CNodePool::do_deallocate(void* p, std::size_t bytes, std::size_t alignment) {
    if (!Pooled(RoundUp(bytes, alignof(std::max_align_t)), alignment)) {
        std::pmr::get_default_resource()->deallocate(p, bytes, alignment);
        return;
    }
    m_free = ::new (p) FreeNode{m_free};
}

CTimeZoneList::CTimeZoneList(const CTimeZoneList& other) : m_records(other.m_records, &m_nodes) {}

CTimeZoneList::CTimeZoneList(CTimeZoneList&& other) : m_records(other.m_records, &m_nodes) {
    other.RemoveAll();
}

CTimeZoneList& CTimeZoneList::operator=(const CTimeZoneList& other) {
    if (this != &other) {
        m_records = other.m_records;  // keeps this list's pool
    }
    return *this;
}

CTimeZoneList& CTimeZoneList::operator=(CTimeZoneList&& other) {
    if (this != &other) {
        m_records = other.m_records;
        other.RemoveAll();
    }
    return *this;
}

void CTimeZoneList::AddHead(const CTimeZoneData& record) {
    m_records.push_front(record);
}

void CTimeZoneList::RemoveAll() {
    // Unlink first, then destroy: the list is already empty while the records go.
    std::pmr::list<CTimeZoneData> doomed(&m_nodes);
    doomed.splice(doomed.begin(), m_records);
}

std::optional<CTimeZoneData> CTimeZoneList::FindByZip(std::string_view zip) const {
    const CTimeZoneData* match = nullptr;
    for (const CTimeZoneData& record : m_records) {
        if (record.m_strZipCode == zip) {
            match = &record;
        }
    }
    return match != nullptr ? std::optional<CTimeZoneData>(*match) : std::nullopt;
}

std::optional<CTimeZoneData> CTimeZoneList::FindByCityEntry(std::string_view cityEntry) const {
    const CTimeZoneData* match = nullptr;
    for (const CTimeZoneData& record : m_records) {
        // city + " - " + zip, compared without building the text
        const std::string& city = record.m_strCity;
        const std::string& zip = record.m_strZipCode;
        if (cityEntry.size() == city.size() + 3 + zip.size() &&
            cityEntry.substr(0, city.size()) == city && cityEntry.substr(city.size(), 3) == " - " &&
            cityEntry.substr(city.size() + 3) == zip) {
            match = &record;
        }
    }
    return match != nullptr ? std::optional<CTimeZoneData>(*match) : std::nullopt;
}
