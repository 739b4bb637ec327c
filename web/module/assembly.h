#pragma once
// One assembly as the page shows it: the image, which line placed each byte, every error
// with its place, and the warnings about classic mistakes (the editor's Hints), in UTF-8.

#include <string>
#include <vector>

#include "asm/linesource.h"
#include "core/memfile.h"
#include "core/simulation.h"

struct TDiagnostic {
    int Line = -1;  // 0-based; -1: not about a place in the text
    int Column = 0;
    std::string Message;
    std::string Text;  // as the error list shows it
};

struct TAssembly {
    bool Ok = false;
    std::vector<TDiagnostic> Diagnostics;
    std::vector<TDiagnostic> Warnings;  // only of an assembly without errors
    TMemoryImage Image{};
    TSourceMap SourceMap = NoSourceMap;
    TPlacement Placement{};  // code and data, for the run's notes
};

TAssembly AssembleLines(const TLineSource& source);
