// CFile: a binary file, opened for reading, or created (truncated) for writing. It is also the
// byte source and sink under CArchive; CMemFile puts the same interface over memory so that
// the archive reader can be fed a buffer by tests and the fuzzer.
//
//     CFile file;
//     CFileException error;
//     if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
//         error.ReportError(reporter);
//         return;
//     }
//
// Failures after a successful open (a read error of the device, a full disk) are thrown as
// CFileException. The destructor closes a file that is still open and ignores any error of
// that close; call Close() to see it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FileException.h"

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,  // create the file, or truncate it when it exists
        typeBinary = 0x8000,  // every file is binary here; accepted for clarity
    };

    CFile() = default;
    // Opens at once and throws CFileException on failure.
    CFile(const std::string& path, unsigned flags);
    virtual ~CFile();

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens for reading (modeRead) or for writing (modeCreate | modeWrite). On failure returns
    // false and, when `error` is given, fills it in; it never throws for an open failure.
    // A path with an embedded zero byte names no file and fails with badPath.
    bool Open(const std::string& path, unsigned flags, CFileException* error = nullptr);

    // Opens a data file of our own format for reading: a regular file of at most `maxBytes`
    // bytes. The open never waits (a FIFO without a writer would block it), and the file's
    // kind and size are checked before any byte is read: a FIFO, a device or a directory fails
    // with "not a regular file", a larger file with "larger than <what> can be (N MiB)" as a
    // read failure, `what` naming the kind of file ("a state archive").
    bool OpenDataFile(const std::string& path, std::uint64_t maxBytes, std::string_view what,
                      CFileException* error = nullptr);
    // The whole of such a file into `bytes`; false with `error` filled in on any failure.
    static bool ReadDataFile(const std::string& path, std::uint64_t maxBytes, std::string_view what,
                             std::string& bytes, CFileException* error = nullptr);

    // Reads up to `count` bytes; returns how many were read, 0 at the end of the file.
    virtual std::size_t Read(void* buffer, std::size_t count);
    // Writes all `count` bytes or throws.
    virtual void Write(const void* buffer, std::size_t count);
    virtual std::uint64_t GetLength() const;
    virtual std::uint64_t GetPosition() const;
    virtual void Close();
    // Closes without reporting any error; safe to call at any time.
    virtual void Abort();
    virtual bool IsOpen() const { return m_fd >= 0; }

    const std::string& GetFilePath() const { return m_strFilePath; }
    // The last component of the path.
    std::string GetFileName() const;

protected:
    std::string m_strFilePath;

private:
    friend class CFileBytes;  // maps an open data file by its descriptor
    int m_fd = -1;
};
