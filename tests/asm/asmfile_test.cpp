#include "asm/asmfile.h"

#include <gtest/gtest.h>

namespace {

TEST(AsmFile, SourcesAreKnownByTheirLastExtension) {
    const struct {
        const char* path;
        bool source;
    } cases[] = {
        {"a.asm", true},      {"A.ASM", true},   {"dir/a.Asm", true},
        {"a.asm.prg", false}, {"a.prg", false},  {"dir.asm/a.prg", false},
        {"asm", false},       {"a.asmx", false}, {"a.", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSourcePath(c.path), c.source) << c.path;
}

}  // namespace
