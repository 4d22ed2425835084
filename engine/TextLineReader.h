#pragma once
// Reads a text file line by line, the way the template and profile readers walk their
// files. A line ends at LF; a CR right before it is dropped, so files with CR LF and
// with LF line ends read alike. A last line without a line end is still a line.

#include <cstddef>
#include <istream>
#include <string>

class TextLineReader {
public:
    explicit TextLineReader(std::istream &in) : in_(in) {}

    // The next line without its line end. Reading past the end of the file is error 62;
    // a line longer than MaxLineLength (no text file of ours has one: it is not a text
    // file) is error 62 as well, so junk cannot make us hold a whole disk in memory.
    std::string LineInput();

    // True when nothing is left to read.
    bool AtEnd();

    static constexpr size_t MaxLineLength = 1 << 20;

private:
    std::istream &in_;
};
