#pragma once
// An environment variable set for the lifetime of the object and restored afterwards,
// and a temporary installation folder (DOLV_INSTALL_DIR) with files written into it.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <QTemporaryDir>

class ScopedEnv {
public:
    ScopedEnv(const char *name, const std::string &value) : name_(name)
    {
        if (const char *old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

class TempInstallDir {
public:
    TempInstallDir() : env_("DOLV_INSTALL_DIR", dir_.path().toStdString()) {}

    std::string path() const { return dir_.path().toStdString(); }

    // Writes `content` to the file `relative` (folders created as needed); returns its path.
    std::string write(const std::string &relative, const std::string &content) const
    {
        const std::filesystem::path p = std::filesystem::path(path()) / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        return p.string();
    }

private:
    QTemporaryDir dir_;
    ScopedEnv env_;
};
