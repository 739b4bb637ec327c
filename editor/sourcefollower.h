#pragma once
// Ties an editor's text to the machine it assembled into: which addresses each line
// placed in the editor's last assembly into memory, the breakpoint dots and clicks in the
// gutter, and the mark on the line whose code holds PC. The mark lasts from an assembly
// into memory until the text is edited or memory is changed other than by the program.

#include <array>
#include <vector>

#include "editor/asmtarget.h"

class TAsmParser;
class TSourceEdit;

class TSourceFollower final : public TMachineFollower {
public:
    TSourceFollower(TSourceEdit& edit, TAssembleTarget& target);
    ~TSourceFollower() override;
    TSourceFollower(const TSourceFollower&) = delete;
    TSourceFollower& operator=(const TSourceFollower&) = delete;

    // The parser's last assembly now is in memory; call after its bytes were written.
    void Assembled(const TAsmParser& parser);
    void TextEdited();
    // The breakpoint address for line: the first address it placed, else that of the next
    // line that placed one; -1 when there is none.
    int AddressOfLine(int line) const;
    void ToggleBreakpointAt(int line);

    void BreakpointsChanged() override;
    void PcShown(int pc) override;
    void MemoryEdited() override;
    void TargetGone() override;

private:
    bool HasDot(int line) const;
    void EndMark();

    TSourceEdit& edit_;
    TAssembleTarget* target_;        // null once gone
    std::vector<int> firstAddress_;  // per line, -1: placed nothing
    std::array<int, 256> lineOf_{};  // per address, -1: no line
    bool marking_ = false;
};
