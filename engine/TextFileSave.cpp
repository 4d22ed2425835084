#include "engine/TextFileSave.h"

#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TextLineWriter.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

SaveWriteCall gWriteCall = nullptr;

// Hidden beside the target, unique within the process and unlikely to meet another
// program's file.
std::string temporaryNameFor(const std::string &path)
{
    static unsigned counter = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path p = path;
    return (p.parent_path() / ("." + p.filename().string() + ".tmp-" + std::to_string(stamp) + "-" +
                               std::to_string(++counter)))
        .string();
}

[[noreturn]] void accessError(const char *source)
{
    throw RuntimeError(ErrFileAccess, source, "Path/File access error");
}

// The same with the system's reason, for a step whose failure the caller tells.
[[noreturn]] void accessError(const char *source, int error)
{
    throw RuntimeError(ErrFileAccess, source, std::string("Path/File access error: ") + std::strerror(error));
}

// The file a save really writes: the end of a chain of symbolic links (a relative link
// counts from its own folder), so the link stays a link and its target gets the data.
std::string finalTarget(const std::string &path, const char *source)
{
    fs::path p = path;
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec)))
            return p.string();
        if (hops == 40)
            accessError(source); // a loop of links
        const fs::path to = fs::read_symlink(p, ec);
        if (ec)
            accessError(source);
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
}

ssize_t systemWrite(int fd, const void *data, size_t size)
{
    return ::write(fd, data, size);
}

void writeAll(int fd, const std::string &data, const char *source)
{
    const SaveWriteCall call = gWriteCall ? gWriteCall : systemWrite;
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = call(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw RuntimeError(ErrDeviceIO, source, GetLangString(7062));
        done += size_t(n);
    }
}

// Flushes a folder's entries (the rename) to the disk; a file system that cannot is no
// failure of the save.
void syncFolder(const fs::path &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

void SetSaveWriteCallForTesting(SaveWriteCall call)
{
    gWriteCall = call;
}

FileReplacement::FileReplacement(const std::string &path, const char *source)
    : target_(finalTarget(path, source)), source_(source)
{
    // An old file keeps its permissions; one the user may not write (or that is marked
    // read-only for everyone, which even the administrator leaves alone) is not replaced.
    struct stat old {};
    exists_ = ::stat(target_.c_str(), &old) == 0;
    if (exists_ && (::access(target_.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0))
        throw RuntimeError(ErrPermissionDenied, source_, GetLangString(7061));
    uid_ = old.st_uid;
    gid_ = old.st_gid;
    mode_ = old.st_mode & 07777;
    temporary_ = temporaryNameFor(target_);
    // A new file gets the usual mode (0666 less the umask), like any file the user makes.
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0)
        accessError(source_);
}

FileReplacement::~FileReplacement()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        ::unlink(temporary_.c_str());
}

void FileReplacement::Write(const std::string &data)
{
    writeAll(fd_, data, source_);
}

void FileReplacement::Commit()
{
    if (exists_) {
        if (::fchown(fd_, uid_, gid_) != 0) {
            // Only the administrator may give a file away; the file stays the saver's.
        }
        ::fchmod(fd_, mode_);
    }
    // The data is on the disk before the name points at it (whoever wrote it: the file
    // is the same whether written through this descriptor or by its name).
    if (::fsync(fd_) != 0)
        throw RuntimeError(ErrDeviceIO, source_, GetLangString(7062));
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0)
        throw RuntimeError(ErrDeviceIO, source_, GetLangString(7062));
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        accessError(source_, errno);
    committed_ = true;
    syncFolder(fs::path(target_).parent_path());
}

void SaveTextFile(const std::string &path, const char *source,
                  const std::function<void(TextLineWriter &)> &write)
{
    FileReplacement file(path, source);
    // The whole text first: a failure of the writer leaves nothing behind on the disk.
    std::ostringstream text;
    {
        TextLineWriter out(text);
        write(out);
    }
    file.Write(text.str());
    file.Commit();
}
