#include "ArchiveBuilder.h"

#include <algorithm>
#include <fstream>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <new>

#include "Archive.h"
#include "MemFile.h"
#include "StateArchive.h"

std::size_t WorstShapeRecords() {
    return static_cast<std::size_t>(kMaxStateArchiveBytes / 27);
}

void ExitAfterRunningWithin(std::uint64_t growth, const std::function<bool()>& body) {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const std::uint64_t now =
        static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    rlimit limit{};
    limit.rlim_cur = now + growth;
    limit.rlim_max = RLIM_INFINITY;
    ::setrlimit(RLIMIT_AS, &limit);
    try {
        std::_Exit(body() ? 0 : 1);
    } catch (const std::bad_alloc&) {
        std::_Exit(3);
    }
}

CTimeZone MakeRecord(std::string city, std::string zip, std::string county, std::int32_t timeZone) {
    CTimeZone record;
    record.m_strCity = std::move(city);
    record.m_strZipCode = std::move(zip);
    record.m_strCounty = std::move(county);
    record.m_nTimeZone = timeZone;
    return record;
}

Bytes Encode(const std::vector<CTimeZone>& records) {
    CMemFile sink;
    CArchive ar(&sink, CArchive::store);
    for (CTimeZone record : records) {
        record.Serialize(ar);
    }
    ar.Close();
    auto data = sink.GetBuffer();
    return Bytes(data.begin(), data.end());
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteEmptyRecords(const std::filesystem::path& path, std::size_t records) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string chunk(27 * 4096, '\0');
    for (std::size_t left = records; left > 0;) {
        const std::size_t n = std::min<std::size_t>(left, 4096);
        out.write(chunk.data(), static_cast<std::streamsize>(27 * n));
        left -= n;
    }
}
