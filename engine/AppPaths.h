#pragma once
// Where DOLV finds its files. Paths use "/" and are built with JoinPath only.

#include <string>
#include <string_view>

// The installation folder: the folder of the running program, with lang/, template/
// and Dolv.wav beside it. DOLV_INSTALL_DIR, when set, replaces it. No trailing "/".
std::string InstallDir();

// The user's configuration folder (the registry and settings stores): ~/.config/DOLV,
// or DOLV_CONFIG_DIR when set; read at every call, so each test can use its own.
std::string ConfigDir();

// The user's data folder for files that cannot go in the installation folder:
// ~/.local/share/DOLV, or the folder "data" under DOLV_CONFIG_DIR when that is set.
std::string UserDataDir();

// folder + "/" + name, with exactly one "/" between them; an empty folder gives name.
std::string JoinPath(std::string_view folder, std::string_view name);
