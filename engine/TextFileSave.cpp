#include "engine/TextFileSave.h"

#include "engine/RuntimeError.h"
#include "engine/TextLineWriter.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

// Unique within the process and unlikely to meet another program's file.
std::string temporaryNameFor(const std::string &path)
{
    static unsigned counter = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return path + ".tmp-" + std::to_string(stamp) + "-" + std::to_string(++counter);
}

} // namespace

void SaveTextFile(const std::string &path, const char *source,
                  const std::function<void(TextLineWriter &)> &write)
{
    namespace fs = std::filesystem;
    const std::string temporary = temporaryNameFor(path);
    try {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            throw RuntimeError(ErrFileAccess, source, "Path/File access error");
        TextLineWriter out(file);
        write(out);
        file.close();
        if (file.fail())
            throw RuntimeError(ErrDeviceIO, source, "Device I/O error");
        std::error_code ec;
        fs::rename(temporary, path, ec);
        if (ec)
            throw RuntimeError(ErrFileAccess, source, "Path/File access error");
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}
