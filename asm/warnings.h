#pragma once
// Warnings about the classic mistakes in a program that assembled without errors: loading
// a data label's address where its value was meant, running into "db" data, never
// stopping, jumping into data or to an odd address, and labels never used. They are
// hints beside the errors: they change neither the image nor the error list.

#include <string>
#include <vector>

class TAsmParser;

struct TAsmWarning {
    int Line = 0;      // 0-based
    int Column = 0;    // 0-based
    std::string Text;  // code page 437, as the assembler's messages
};

// The warnings about the parser's last assembly, in line and column order. Only meaningful
// when that assembly reported no error.
std::vector<TAsmWarning> AsmWarnings(const TAsmParser& parser);
