#pragma once
// The program's private temporary folder (mode 0700, under the system's temporary
// folder), made on first use and removed when the program ends. No trailing "/".

#include <string>

std::string GetTempPath();
