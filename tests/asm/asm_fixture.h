#pragma once
// Assembles a text and keeps what came out: every report and the 256 image bytes.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "asm/asmparse.h"

struct TReport {
    int Line;
    int Column;
    std::string Message;
    bool operator==(const TReport&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const TReport& r) {
    return os << "{" << r.Line << ", " << r.Column << ", \"" << r.Message << "\"}";
}

struct TAssembly {
    std::vector<TReport> Reports;
    std::vector<int> Image;  // MemoryByte of 0..255
};

inline TAssembly AssembleText(const std::string& text) {
    TMemoryTextSource source(text);
    TAsmParser parser(source);
    TAssembly result;
    parser.Assemble([&](void*, int line, int column, std::string_view message) {
        result.Reports.push_back({line, column, std::string(message)});
    });
    for (int a = 0; a < 256; ++a) result.Image.push_back(parser.MemoryByte(a));
    return result;
}

// The image bytes from address on, as many as expected holds.
inline std::vector<int> Bytes(const TAssembly& a, int address, std::size_t count) {
    return {a.Image.begin() + address, a.Image.begin() + address + static_cast<long>(count)};
}
