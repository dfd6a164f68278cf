// CMemFile: CFile over memory. Opened over a byte range it is a read-only source (the bytes
// are not copied: they must outlive the file object); default-constructed it is a sink that
// grows as it is written and hands the bytes back with GetBuffer().
//
//     CMemFile sink;
//     { CArchive ar(&sink, CArchive::store); record.Serialize(ar); ar.Close(); }
//     CMemFile source(sink.GetBuffer());
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "File.h"

class CMemFile : public CFile {
public:
    // A growable sink for writing.
    CMemFile();
    // A read-only source over `data`; `name` only serves the messages of failures.
    explicit CMemFile(std::span<const std::uint8_t> data, std::string name = {});
    CMemFile(const void* data, std::size_t size, std::string name = {});

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    std::uint64_t GetLength() const override;
    std::uint64_t GetPosition() const override { return m_position; }
    void Close() override { m_open = false; }
    void Abort() override { m_open = false; }
    bool IsOpen() const override { return m_open; }

    // The bytes written so far (sink) or the whole source.
    std::span<const std::uint8_t> GetBuffer() const;

private:
    std::vector<std::uint8_t> m_owned;
    const std::uint8_t* m_source = nullptr;
    std::size_t m_sourceSize = 0;
    std::size_t m_position = 0;
    bool m_writable = false;
    bool m_open = true;
};
