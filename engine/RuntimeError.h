#pragma once
// The one error type of DOLV: what a run-time error is to the program (a subscript out
// of range, an overflow, a refused setting, a stop loop that cannot clear). It carries
// the error number, the place that raised it and a description, the way the error box
// shows them. Every handler that Qt calls catches it; nothing lets it cross into Qt.

#include <cstdint>
#include <stdexcept>
#include <string>



// The error numbers the program raises itself, and those the error box gives an error
// of another kind.
enum ErrorNumber : int32_t {
    ErrInvalidCall = 5,       // invalid procedure call or argument
    ErrOverflow = 6,          // a value does not fit its type
    ErrOutOfMemory = 7,       // an allocation failed
    ErrSubscript = 9,         // an index outside a list
    ErrDivisionByZero = 11,
    ErrTypeMismatch = 13,
    ErrInternal = 51,         // an error of the standard library or of no known kind
    ErrFileNotFound = 53,
    ErrDeviceIO = 57,         // a read or write the device refused
    ErrBadFileName = 52,
    ErrInputPastEnd = 62,
    ErrPermissionDenied = 70, // a file the user may not write
    ErrFileAccess = 75,       // a file that cannot be created, replaced or opened
    ErrPathNotFound = 76,
    ErrBadSettings = 1001,    // settings the engine cannot run with
    ErrStopCap = 1002,        // a decompression stop that would never clear
    ErrNoProgress = 1003,     // a planner loop that stopped making progress
    ErrPreviousNotPlanned = 1004, // a repetitive dive whose previous dive holds no computed plan
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int32_t number, std::string source, std::string description)
        : std::runtime_error(description),
          number_(number), source_(std::move(source)), description_(std::move(description)) {}

    int32_t number() const { return number_; }
    const std::string &source() const { return source_; }
    const std::string &description() const { return description_; }
    void setSource(std::string source) { source_ = std::move(source); }

private:
    int32_t number_;
    std::string source_;
    std::string description_;
};

// Whether an error is a limit of the dive rather than a fault of the program: the
// program's own refusals (1001 and up: settings the engine cannot run with, a stop that
// never clears, a plan that makes no progress, a dive after an uncomputed one) are told
// in the diver's words; every other number is a fault, told in the error box with the
// place that raised it.
inline bool IsDiveLimit(const RuntimeError &error)
{
    return error.number() >= ErrBadSettings;
}

[[noreturn]] inline void throwSubscript(const char *source)
{
    throw RuntimeError(ErrSubscript, source, "Subscript out of range");
}

[[noreturn]] inline void throwOverflow(const char *source)
{
    throw RuntimeError(ErrOverflow, source, "Overflow");
}


