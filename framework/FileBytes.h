// CFileBytes: the bytes of a whole data file, mapped read-only where the system allows it,
// else read into memory; or bytes handed over as a string. The view stays where it is while
// the object lives, also across a move, so readers can keep views into it.
//
//     CFileBytes bytes;
//     CFileException error;
//     if (!CFileBytes::MapDataFile(path, 16u << 20, "the world towns", bytes, &error)) { ... }
//     CDataCursor cursor(bytes.View());
//
// A mapped file that another program truncates while it is mapped would fault on the next
// touch of the lost pages; our data files are replaced whole (a new file renamed over the old
// one), never written in place, so the mapping keeps the old file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "FileException.h"

class CFileBytes {
public:
    CFileBytes() = default;
    explicit CFileBytes(std::string bytes);
    ~CFileBytes();
    CFileBytes(CFileBytes&& other) noexcept;
    CFileBytes& operator=(CFileBytes&& other) noexcept;
    CFileBytes(const CFileBytes&) = delete;
    CFileBytes& operator=(const CFileBytes&) = delete;

    // The regular file `path` of at most `maxBytes` bytes, with the checks of
    // CFile::OpenDataFile (the open never waits; kind and size first); false with `error`
    // filled in on any failure, and then `bytes` is empty.
    static bool MapDataFile(const std::string& path, std::uint64_t maxBytes, std::string_view what,
                            CFileBytes& bytes, CFileException* error = nullptr);

    std::string_view View() const { return {m_data, m_size}; }
    bool IsMapped() const { return m_mapped; }

private:
    void Release() noexcept;

    std::unique_ptr<std::string> m_owned;  // on the heap: its bytes stay put across a move
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_mapped = false;
};
