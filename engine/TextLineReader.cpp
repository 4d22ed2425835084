#include "engine/TextLineReader.h"

#include "engine/RuntimeError.h"

std::string TextLineReader::LineInput()
{
    if (AtEnd())
        throw RuntimeError(ErrInputPastEnd, "LineInput", "Input past end of file");
    std::string line;
    std::istream::int_type c;
    while ((c = in_.get()) != std::istream::traits_type::eof()) {
        if (c == '\n')
            break;
        if (line.size() >= MaxLineLength)
            throw RuntimeError(ErrInputPastEnd, "LineInput", "Line too long for a text file");
        line += static_cast<char>(c);
    }
    if (in_.bad())
        throw RuntimeError(ErrDeviceIO, "LineInput", "Device I/O error");
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool TextLineReader::AtEnd()
{
    if (!in_.good())
        return true;
    return in_.peek() == std::istream::traits_type::eof();
}
