#pragma once
// Replacing a file so that a failure never leaves half a file and a save keeps what the
// file was: the new contents go to a file of their own beside the target, are flushed to
// the disk, and are renamed over the old file only once all of them were written. The
// new file keeps the old file's permission bits (and owner, where the saver may give
// it), a new file gets the usual mode (0666 less the umask), a symbolic link is written
// through to the file it points to, and the folder is flushed after the rename.
// Templates and dive series are saved this way (SaveTextFile), and printed PDF files
// take their place the same way (FileReplacement).

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

class TextLineWriter;

// One replacement of a file. Made: the target found (the end of the path's chain of
// links), refused with a RuntimeError for `source` when the old file is one the user
// may not write or marked read-only for everyone (70, text 7061), the chain of links
// does not end (75) or no file can be made beside it (75); otherwise the new file is
// open, empty, under a hidden name of its own. Whatever writes it (through Fd, or by its
// name) then calls Commit; a replacement destroyed without a successful Commit removes
// the new file and leaves the old one byte for byte.
class FileReplacement {
public:
    FileReplacement(const std::string &path, const char *source);
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    const std::string &Temporary() const { return temporary_; }
    // Writes all of `data` to the new file: error 57 (text 7062) when the device refuses.
    void Write(const std::string &data);
    // The old file's owner and permission bits on the new one, its data flushed to the
    // disk (57, text 7062), then the rename over the target (75 with the system's reason)
    // and the folder flushed.
    void Commit();

private:
    std::string target_;
    std::string temporary_;
    const char *source_;
    int fd_ = -1;
    bool exists_ = false;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    mode_t mode_ = 0;
    bool committed_ = false;
};

// Writes `path` through `write` as one FileReplacement. Refused, leaving an old file at
// `path` (or at the end of its link) byte for byte as it was, and a RuntimeError for the
// caller (`source` names the caller): a file the user may not write or marked read-only
// for everyone (70), the folder missing or read-only (75), a write or flush the device
// refused, e.g. a full disk (57), the rename (75), a chain of links that does not end
// (75). The new file is removed on every failure.
void SaveTextFile(const std::string &path, const char *source,
                  const std::function<void(TextLineWriter &)> &write);

// Tests only: the call that writes the file's bytes (default ::write), so a full disk can
// be played without one. nullptr restores ::write.
using SaveWriteCall = ssize_t (*)(int fd, const void *data, size_t size);
void SetSaveWriteCallForTesting(SaveWriteCall call);
