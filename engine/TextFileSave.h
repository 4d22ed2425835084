#pragma once
// Saving a text file so that a failure never leaves half a file and a save keeps what the
// file was: the lines go to a temporary file beside the target, flushed to the disk, and
// renamed over the old file only once all of it was written. The new file keeps the old
// file's permission bits (and owner, where the saver may give it), a symbolic link is
// written through to the file it points to, and the folder is flushed after the rename.
// Templates and dive series are saved this way.

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>

class TextLineWriter;

// Writes `path` through `write`. Refused, leaving an old file at `path` (or at the end of
// its link) byte for byte as it was, and a RuntimeError for the caller (`source` names
// the caller): a file the user may not write or marked read-only for everyone (75), the
// folder missing or read-only (75), a write or flush the device refused, e.g. a full disk
// (57), the rename (75), a chain of links that does not end (75). The temporary file is
// removed on every failure.
void SaveTextFile(const std::string &path, const char *source,
                  const std::function<void(TextLineWriter &)> &write);

// Tests only: the call that writes the file's bytes (default ::write), so a full disk can
// be played without one. nullptr restores ::write.
using SaveWriteCall = ssize_t (*)(int fd, const void *data, size_t size);
void SetSaveWriteCallForTesting(SaveWriteCall call);
