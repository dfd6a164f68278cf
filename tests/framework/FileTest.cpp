#include <gtest/gtest.h>

#include <string>

#include "Archive.h"
#include "ErrorReporter.h"
#include "File.h"
#include "MemFile.h"
#include "TempDir.h"

namespace {

class FileTest : public ::testing::Test {
protected:
    TempDir m_dir;
};

}  // namespace

TEST_F(FileTest, OpenFailuresSayWhichFileAndWhy) {
    struct Row {
        std::string path;
        CFileException::Cause cause;
        std::string message;
    };
    std::string missing = (m_dir.path() / "timezone.arc.TX").string();
    std::string inDir = m_dir.path().string();
    const Row rows[] = {
        {missing, CFileException::fileNotFound,
         "Cannot open file " + missing + ": No such file or directory"},
        {inDir, CFileException::accessDenied, "Cannot open file " + inDir + ": Is a directory"},
        {missing + std::string(1, '\0') + "x", CFileException::badPath, ""},
        {"", CFileException::badPath, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(row.path, CFile::modeRead | CFile::typeBinary, &error));
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(error.m_cause, row.cause);
        if (!row.message.empty()) {
            EXPECT_EQ(error.GetErrorMessage(), row.message);
            EXPECT_STREQ(error.what(), row.message.c_str());
        }
    }
    EXPECT_THROW(CFile(missing, CFile::modeRead), CFileException);
}

TEST_F(FileTest, ArchiveStoredToDiskLoadsBack) {
    std::string path = (m_dir.path() / "values.bin").string();
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        for (std::int32_t i = 0; i < 3000; ++i) {
            ar << std::string(static_cast<std::size_t>(i % 300), 'a') << i;
        }
        ar.Close();
        file.Close();
    }
    CFile file(path, CFile::modeRead);
    EXPECT_EQ(file.GetFileName(), "values.bin");
    CArchive ar(&file, CArchive::load);
    for (std::int32_t i = 0; i < 3000; ++i) {
        std::string text;
        std::int32_t value = -1;
        ar >> text >> value;
        ASSERT_EQ(text.size(), static_cast<std::size_t>(i % 300));
        ASSERT_EQ(value, i);
    }
    EXPECT_TRUE(ar.IsAtEnd());
    // Creating an existing file empties it.
    CFile again(path, CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(again.GetLength(), 0u);
}

TEST(MemFile, SourceIsReadOnlyAndSinkGrows) {
    const std::uint8_t bytes[] = {1, 2, 3};
    CMemFile source(bytes, sizeof bytes, "mem");
    std::uint8_t out[8] = {};
    EXPECT_EQ(source.Read(out, sizeof out), 3u);
    EXPECT_EQ(source.Read(out, sizeof out), 0u);
    EXPECT_THROW(source.Write(bytes, 1), CFileException);

    CMemFile sink;
    sink.Write(bytes, 3);
    sink.Write(bytes, 2);
    EXPECT_EQ(sink.GetLength(), 5u);
    EXPECT_EQ(sink.GetBuffer()[3], 1);
}

TEST(ErrorReporter, StreamReporterWritesOneLinePerFailure) {
    std::ostringstream out;
    CStreamErrorReporter reporter(out, "daybreak-cli: ");
    CFileException(CFileException::fileNotFound, ENOENT, "timezone.arc.ZZ").ReportError(reporter);
    CArchiveException(CArchiveException::badIndex, "a").ReportError(reporter);
    EXPECT_EQ(out.str(),
              "daybreak-cli: Cannot open file timezone.arc.ZZ: No such file or directory\n"
              "daybreak-cli: Invalid data format in archive a.\n");
}
