// cError: the one error the program raises, shaped like a run-time error: a number, the
// source that raised it and a description. The command dispatcher catches it and shows it.
#pragma once

#include <stdexcept>
#include <string>

class cError : public std::runtime_error {
public:
    // An error with its number, source and description.
    cError(long number, std::string source, std::string description)
        : std::runtime_error(description), number_(number), source_(std::move(source)),
          description_(std::move(description))
    {
    }
    // The error number (5 invalid argument, 9 subscript out of range, 11 division by zero,
    // 13 type mismatch, 53 file not found, 91 object missing, ...).
    long Number() const { return number_; }
    // The class or module that raised it.
    const std::string& Source() const { return source_; }
    // What went wrong, in words.
    const std::string& Description() const { return description_; }

private:
    long number_;
    std::string source_;
    std::string description_;
};
