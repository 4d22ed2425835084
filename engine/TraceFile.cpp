#include "engine/TraceFile.h"

#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/AppPaths.h"
#include "engine/ResourceManager.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

std::string gTracePath;
bool gTraceInDataDir = false;

std::FILE *OpenIn(const std::string &dir, bool create, std::string &path)
{
    if (dir.empty())
        return nullptr;
    std::error_code ec;
    if (create)
        std::filesystem::create_directories(dir, ec);
    path = JoinPath(dir, "phi.log");
    return std::fopen(path.c_str(), "wb");
}

} // namespace

bool OpenTraceFile()
{
    if (gTraceFile)
        return true;
    std::string path;
    gTraceFile = OpenIn(InstallDir(), false, path);
    gTraceInDataDir = false;
    if (!gTraceFile) {
        gTraceFile = OpenIn(UserDataDir(), true, path);
        gTraceInDataDir = gTraceFile != nullptr;
    }
    if (!gTraceFile) {
        gTracePath.clear();
        return false;
    }
    gTracePath = path;
    if (gTraceInDataDir)
        Host().SetStatusText(TraceFileNotice());
    return true;
}

void CloseTraceFile()
{
    if (gTraceFile)
        std::fclose(gTraceFile);
    gTraceFile = nullptr;
    gTracePath.clear();
    gTraceInDataDir = false;
}

const std::string &TraceFilePath()
{
    return gTracePath;
}

std::string TraceFileNotice()
{
    if (!gTraceFile || !gTraceInDataDir)
        return {};
    return GetLangString(2428) + gTracePath;
}
