#include "engine/TextLineWriter.h"

#include "engine/RuntimeError.h"

void TextLineWriter::PrintLine(const std::string &text)
{
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    out_.write("\r\n", 2);
    if (!out_)
        throw RuntimeError(ErrDeviceIO, "PrintLine", "Device I/O error");
}
