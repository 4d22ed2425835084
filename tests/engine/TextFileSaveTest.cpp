// Saves keep what the file was: its permission bits, a read-only mark, the symbolic link
// that points at it, and every byte of it when the disk is full.

#include "engine/RuntimeError.h"
#include "engine/TextFileSave.h"
#include "engine/TextLineWriter.h"
#include "tests/support/FileBytes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class SavedFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        dir_ = tmp_.path().toStdString() + "/";
    }
    void TearDown() override { SetSaveWriteCallForTesting(nullptr); }

    std::string put(const std::string &name, const std::string &bytes, mode_t mode = 0644)
    {
        std::ofstream(dir_ + name, std::ios::binary) << bytes;
        ::chmod((dir_ + name).c_str(), mode);
        return dir_ + name;
    }
    static void save(const std::string &path, const std::string &line)
    {
        SaveTextFile(path, "Test", [&line](TextLineWriter &out) { out.PrintLine(line); });
    }
    static mode_t modeOf(const std::string &path)
    {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st.st_mode & 07777;
    }
    size_t entries() const
    {
        return size_t(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    // The refusal of saving `line` to `path`: its error number.
    static int32_t refusal(const std::string &path, const std::string &line = "new")
    {
        try {
            save(path, line);
        } catch (const RuntimeError &e) {
            return e.number();
        }
        return 0;
    }

    QTemporaryDir tmp_;
    std::string dir_;
};

TEST_F(SavedFiles, KeepThePermissionsOfTheFileTheyReplace)
{
    for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0664)}) {
        SCOPED_TRACE(mode);
        const std::string path = put("dive.prf", "old", mode);
        save(path, "new");
        EXPECT_EQ(FileBytes(path), "new\r\n");
        EXPECT_EQ(modeOf(path), mode);
    }
    // A new file gets what the user's umask gives any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    save(dir_ + "fresh.prf", "new");
    EXPECT_EQ(modeOf(dir_ + "fresh.prf"), 0666 & ~mask);
    EXPECT_EQ(entries(), 2u);
}

TEST_F(SavedFiles, AReadOnlyFileIsRefusedAndLeftAsItWas)
{
    // Marked read-only for everyone, so even the administrator running the tests may not.
    const std::string path = put("kept.tpl", "old template\r\n", 0444);
    EXPECT_EQ(refusal(path), ErrPermissionDenied);
    EXPECT_EQ(FileBytes(path), "old template\r\n");
    EXPECT_EQ(modeOf(path), 0444u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SavedFiles, ALinkIsWrittenThroughToTheFileItPointsTo)
{
    fs::create_directory(dir_ + "real");
    const std::string target = put("real/dive.prf", "old", 0600);
    fs::create_symlink("real/dive.prf", dir_ + "link.prf"); // relative to the link's folder
    fs::create_symlink(dir_ + "link.prf", dir_ + "chain.prf");
    save(dir_ + "chain.prf", "new");
    EXPECT_TRUE(fs::is_symlink(dir_ + "link.prf"));
    EXPECT_TRUE(fs::is_symlink(dir_ + "chain.prf"));
    EXPECT_EQ(FileBytes(target), "new\r\n");
    EXPECT_EQ(modeOf(target), 0600u);

    // A link to a file not yet there makes it; a ring of links is refused.
    fs::create_symlink("real/later.prf", dir_ + "later.prf");
    save(dir_ + "later.prf", "made");
    EXPECT_EQ(FileBytes(dir_ + "real/later.prf"), "made\r\n");
    fs::create_symlink("ring2", dir_ + "ring1");
    fs::create_symlink("ring1", dir_ + "ring2");
    EXPECT_EQ(refusal(dir_ + "ring1"), ErrFileAccess);
    EXPECT_EQ(entries(), 6u); // real, link, chain, later, ring1, ring2: nothing left over
}

TEST_F(SavedFiles, AFullDiskLeavesTheOldFileByteForByte)
{
    std::string old(70000, 'o');
    old += "\r\nend of the old series\r\n";
    const std::string path = put("series.prf", old, 0600);
    // The disk takes the first 4096 bytes, then is full.
    SetSaveWriteCallForTesting([](int fd, const void *data, size_t size) -> ssize_t {
        static size_t written = 0;
        if (written >= 4096) {
            written = 0;
            errno = ENOSPC;
            return -1;
        }
        const size_t n = std::min(size, size_t(4096) - written);
        written += n;
        return ::write(fd, data, n);
    });
    EXPECT_EQ(refusal(path, std::string(80000, 'n')), ErrDeviceIO);
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(entries(), 1u);
}

} // namespace
