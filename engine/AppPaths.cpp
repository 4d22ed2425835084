#include "engine/AppPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string envOr(const char *name, std::string fallback)
{
    const char *v = std::getenv(name);
    return (v && *v) ? std::string(v) : std::move(fallback);
}

std::string homeDir()
{
    return envOr("HOME", "/tmp");
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

std::string InstallDir()
{
    if (const char *v = std::getenv("DOLV_INSTALL_DIR"); v && *v)
        return withoutTrailingSlash(v);
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return withoutTrailingSlash(std::filesystem::current_path(ec).string());
    return withoutTrailingSlash(exe.parent_path().string());
}

std::string ConfigDir()
{
    if (const char *v = std::getenv("DOLV_CONFIG_DIR"); v && *v)
        return withoutTrailingSlash(v);
    return JoinPath(envOr("XDG_CONFIG_HOME", JoinPath(homeDir(), ".config")), "DOLV");
}

std::string UserDataDir()
{
    if (const char *v = std::getenv("DOLV_CONFIG_DIR"); v && *v)
        return JoinPath(withoutTrailingSlash(v), "data");
    return JoinPath(envOr("XDG_DATA_HOME", JoinPath(homeDir(), ".local/share")), "DOLV");
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    std::string out(folder);
    while (!name.empty() && name.front() == '/')
        name.remove_prefix(1);
    if (out.back() != '/')
        out += '/';
    out += name;
    return out;
}
