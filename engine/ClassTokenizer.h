#pragma once
// Cuts text into tokens at delimiter characters. The template and profile-file readers
// use it for key=value lines and for the comma-, colon- and slash-separated lists inside
// values. It holds no state: every call works on the text it is given.

#include <cstdint>
#include <string>

class ClassTokenizer {
public:
    // Every character of the set is a delimiter; an empty set means this one.
    static constexpr const char *DefaultDelimiters = ":;,. \\|/-&";

    // The number of delimiter characters in the text plus 1 ("a,,b" has 3 tokens).
    int16_t tokenCount(const std::string &text, const std::string &delimiters = "") const;

    // True when at least one character of the text is a delimiter.
    bool hastokens(const std::string &text, const std::string &delimiters = "") const;

    // The text up to the first delimiter (with the delimiter when `keep` is true); the
    // text becomes everything after it. Without a delimiter the whole text is returned
    // and the text stays as it is, so a loop must stop by hastokens or by its own count.
    std::string nextToken(std::string &text, const std::string &delimiters = "",
                          bool keep = false) const;

    // Tokens first to first + howMany - 1 (counting from 1) joined by "|"; empty when the
    // text has fewer tokens.
    std::string nTokens(int16_t first, int16_t howMany, std::string text,
                        const std::string &delimiters = "", bool keep = false) const;

    // Token n, counting from 1; empty past the last token.
    std::string nthToken(const std::string &text, int16_t n, const std::string &delimiters = "",
                         bool keep = false) const;

private:
    static std::string joinWith(const std::string &first, const std::string &separator,
                                const std::string &second);
};
