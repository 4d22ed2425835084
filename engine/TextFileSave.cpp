#include "engine/TextFileSave.h"

#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TextLineWriter.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

SaveWriteCall gWriteCall = nullptr;

// Unique within the process and unlikely to meet another program's file.
std::string temporaryNameFor(const std::string &path)
{
    static unsigned counter = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return path + ".tmp-" + std::to_string(stamp) + "-" + std::to_string(++counter);
}

[[noreturn]] void accessError(const char *source)
{
    throw RuntimeError(ErrFileAccess, source, "Path/File access error");
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

void SaveTextFile(const std::string &path, const char *source,
                  const std::function<void(TextLineWriter &)> &write)
{
    const std::string target = finalTarget(path, source);

    // An old file keeps its permissions; one the user may not write (or that is marked
    // read-only for everyone, which even the administrator leaves alone) is not replaced.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (::access(target.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0))
        throw RuntimeError(ErrFileAccess, source, GetLangString(7061));

    // The whole text first: a failure of the writer leaves nothing behind on the disk.
    std::ostringstream text;
    {
        TextLineWriter out(text);
        write(out);
    }

    const std::string temporary = temporaryNameFor(target);
    // A new file gets the usual mode (0666 less the umask), like any file the user makes.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        accessError(source);
    bool open = true;
    try {
        writeAll(fd, text.str(), source);
        if (exists) {
            if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
                // Only the administrator may give a file away; the file stays the saver's.
            }
            ::fchmod(fd, old.st_mode & 07777);
        }
        // The data is on the disk before the name points at it.
        if (::fsync(fd) != 0)
            throw RuntimeError(ErrDeviceIO, source, GetLangString(7062));
        open = false;
        if (::close(fd) != 0)
            throw RuntimeError(ErrDeviceIO, source, GetLangString(7062));
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            accessError(source);
    } catch (...) {
        if (open)
            ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    syncFolder(fs::path(target).parent_path());
}
