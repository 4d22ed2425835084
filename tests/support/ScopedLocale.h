#pragma once
// Switches the C library and the C++ streams to a locale for one scope, for tests that
// prove a file format does not follow the user's locale.

#include <clocale>
#include <cstdlib>
#include <locale>
#include <string>

class ScopedLocale {
public:
    explicit ScopedLocale(const char *name)
        : oldC_(std::setlocale(LC_ALL, nullptr)), oldCpp_(std::locale())
    {
        switched_ = std::setlocale(LC_ALL, name) != nullptr;
        if (switched_)
            std::locale::global(std::locale(name));
    }
    ~ScopedLocale()
    {
        std::setlocale(LC_ALL, oldC_.c_str());
        std::locale::global(oldCpp_);
    }
    ScopedLocale(const ScopedLocale &) = delete;
    ScopedLocale &operator=(const ScopedLocale &) = delete;

    // True when the C library really reads and writes "," as the decimal point; a test
    // that claims a German locale skips itself otherwise.
    bool decimalComma() const
    {
        return switched_ && std::string(std::localeconv()->decimal_point) == "," &&
               std::strtod("1,5", nullptr) == 1.5;
    }

private:
    std::string oldC_;
    std::locale oldCpp_;
    bool switched_ = false;
};
