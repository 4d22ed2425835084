#include "engine/ClassTokenizer.h"

#include "engine/RuntimeError.h"

namespace {

const std::string &effective(const std::string &delimiters)
{
    static const std::string defaults = ClassTokenizer::DefaultDelimiters;
    return delimiters.empty() ? defaults : delimiters;
}

} // namespace

int16_t ClassTokenizer::tokenCount(const std::string &text, const std::string &delimiters) const
{
    const std::string &set = effective(delimiters);
    int32_t count = 1;
    for (char c : text)
        if (set.find(c) != std::string::npos)
            ++count;
    if (count > INT16_MAX)
        throwOverflow("ClassTokenizer.tokenCount");
    return static_cast<int16_t>(count);
}

bool ClassTokenizer::hastokens(const std::string &text, const std::string &delimiters) const
{
    return text.find_first_of(effective(delimiters)) != std::string::npos;
}

std::string ClassTokenizer::nextToken(std::string &text, const std::string &delimiters,
                                      bool keep) const
{
    const size_t i = text.find_first_of(effective(delimiters));
    if (i == std::string::npos)
        return text;
    std::string token = text.substr(0, keep ? i + 1 : i);
    text.erase(0, i + 1);
    return token;
}

std::string ClassTokenizer::nTokens(int16_t first, int16_t howMany, std::string text,
                                    const std::string &delimiters, bool keep) const
{
    const int32_t last = int32_t(first) + howMany; // one past the last token wanted
    if (tokenCount(text, delimiters) < last - 1)
        return "";
    std::string result;
    for (int32_t i = 1; i <= last; ++i) {
        const std::string token = nextToken(text, delimiters, keep);
        if (i >= first && i < last)
            result = joinWith(result, "|", token);
    }
    // Every token was joined with a separator in front of it, the first one too.
    if (!result.empty())
        result.erase(0, 1);
    return result;
}

std::string ClassTokenizer::nthToken(const std::string &text, int16_t n,
                                     const std::string &delimiters, bool keep) const
{
    return nTokens(n, 1, text, delimiters, keep);
}

std::string ClassTokenizer::joinWith(const std::string &first, const std::string &separator,
                                     const std::string &second)
{
    return first + separator + second;
}
