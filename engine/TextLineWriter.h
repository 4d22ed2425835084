#pragma once
// Writes a text file line by line with CR LF line ends, the line end our template and
// profile files have always had. A failed write is an error, never a silent short file.

#include <ostream>
#include <string>

class TextLineWriter {
public:
    explicit TextLineWriter(std::ostream &out) : out_(out) {}

    // Writes the text and CR LF; error 57 when the stream refuses it.
    void PrintLine(const std::string &text);

private:
    std::ostream &out_;
};
