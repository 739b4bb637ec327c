#pragma once
#include <stdexcept>

// A file that could not be read or written; what() is the text shown to the user.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
