#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Exception.h"
#include "FileException.h"
#include "ReplaceFile.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

}  // namespace

TEST(ReplaceFile, WritesNewAndReplacesRegularFilesKeepingTheirMode) {
    TempDir dir;
    const fs::path path = dir.path() / "year.csv";
    ReplaceFileContent(path.string(), "first\n");
    EXPECT_EQ(Content(path), "first\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Through a link the link stays and its file changes.
    const fs::path link = dir.path() / "link.csv";
    fs::create_symlink(path, link);
    ReplaceFileContent(link.string(), "second\n");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Content(path), "second\n");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntriesIn(dir.path()), 2u);  // no temporary file left beside them
}

// A rename over a device, a pipe or a folder would replace it with a regular file.
TEST(ReplaceFile, RefusesAnythingButARegularFileAndReplacesNothing) {
    TempDir dir;
    const fs::path fifo = dir.path() / "pipe.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path folder = dir.path() / "folder.csv";
    fs::create_directory(folder);
    // Never /dev/null itself: a fault here would replace it.
    const fs::path linkToPipe = dir.path() / "link.csv";
    fs::create_symlink(fifo, linkToPipe);
    const struct {
        fs::path path;
        const char* kind;
    } rows[] = {{fifo, "a pipe"}, {linkToPipe, "a pipe"}, {folder, "a folder"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const fs::file_type before = fs::status(row.path).type();
        try {
            ReplaceFileContent(row.path.string(), "text");
            ADD_FAILURE() << "written";
        } catch (const CMessageException& e) {
            EXPECT_EQ(e.GetErrorMessage(), "Cannot write file " + row.path.string() + ": it is " +
                                               row.kind +
                                               ", not a regular file; nothing was written");
        }
        EXPECT_EQ(fs::status(row.path).type(), before);
    }
    EXPECT_TRUE(fs::is_symlink(linkToPipe));
    EXPECT_EQ(EntriesIn(dir.path()), 3u);
}

// A file larger than the process may write fails with the system's reason, as a full disk
// does, and the earlier file stays whole.
TEST(ReplaceFile, AFailedWriteNamesTheSystemsReasonAndKeepsTheOldFile) {
    TempDir dir;
    const fs::path path = dir.path() / "year.ics";
    ReplaceFileContent(path.string(), "old");
    // In a child: the limit and the ignored signal stay there.
    auto writeTooMuch = [&path] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            ReplaceFileContent(path.string(), std::string(100000, 'x'));
        } catch (const CFileException& e) {
            std::fprintf(stderr, "%s\n", e.GetErrorMessage().c_str());
            std::_Exit(3);
        }
        std::_Exit(0);
    };
    EXPECT_EXIT(writeTooMuch(), ::testing::ExitedWithCode(3),
                "Cannot write file .*year.ics: File too large");
    EXPECT_EQ(Content(path), "old");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}
