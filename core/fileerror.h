#pragma once
#include <stdexcept>
#include <string>
#include <utility>

// A file that could not be read or written; what() is the text a window shows. Where the
// file and the cause are known they travel too, so that a command-line tool can say
// "PROGRAM: PATH: REASON" as Unix tools do.
class EFileError : public std::runtime_error {
public:
    explicit EFileError(const std::string& text, std::string path = {}, std::string reason = {})
        : std::runtime_error(text), path_(std::move(path)), reason_(std::move(reason)) {}

    const std::string& Path() const { return path_; }
    // Why, as the system words it ("No such file or directory") or in our words ("1000
    // bytes, a memory image has 1024"); empty when unknown.
    const std::string& Reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};
