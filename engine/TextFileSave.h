#pragma once
// Saving a text file so that a failure never leaves half a file: the lines go to a
// temporary file beside the target, which is renamed over the old file only once it was
// written and closed without error. Templates and dive series are saved this way.

#include <functional>
#include <string>

class TextLineWriter;

// Writes `path` through `write`. Any failure (the folder missing or read-only, a write
// the device refused, the rename) removes the temporary file, leaves an old file at
// `path` as it was and is a RuntimeError for the caller; `source` names the caller in it.
void SaveTextFile(const std::string &path, const char *source,
                  const std::function<void(TextLineWriter &)> &write);
