#pragma once
// The whole content of a file as bytes ("" when it cannot be read), for tests that
// compare files written by the program.

#include <fstream>
#include <iterator>
#include <string>

inline std::string FileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}
