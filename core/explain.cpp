#include "core/explain.h"

#include <algorithm>
#include <cstdio>

#include "core/engine.h"

namespace {

template <class... Args>
std::string Format(const char* format, Args... args) {
    char buffer[MaxExplanation + 1];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return std::string(buffer, static_cast<size_t>(std::clamp(n, 0, MaxExplanation)));
}

using engine::RotateRight;
using engine::SignedByte;

std::string Bits(int byte) {
    std::string bits(8, '0');
    for (int b = 0; b < 8; ++b)
        if (byte & (0x80 >> b)) bits[b] = '1';
    return bits;
}

// An instruction word and the values it meets.
struct TExplainContext {
    TInstructionWord W;
    const TMachineState& S;

    int Reg(int r) const { return S.Registers[r]; }
    int Mem(int a) const { return S.Memory[a & 0xFF]; }
    int NextPc() const { return (S.Pc + 2) & 0xFF; }
};

using TExplainer = std::string (*)(const TExplainContext&);

std::string NotAnInstruction(const TExplainContext& c) {
    return Format("%04X is not an instruction: the machine stops", c.W.Word);
}

std::string LoadDirect(const TExplainContext& c) {
    return Format("R%X := memory[%02X] = %02X", c.W.R(), c.W.XY(), c.Mem(c.W.XY()));
}

std::string LoadImmediate(const TExplainContext& c) {
    return Format("R%X := %02X (the number itself, not memory[%02X])", c.W.R(), c.W.XY(), c.W.XY());
}

std::string StoreDirect(const TExplainContext& c) {
    return Format("memory[%02X] := R%X = %02X", c.W.XY(), c.W.R(), c.Reg(c.W.R()));
}

std::string Move(const TExplainContext& c) {
    return Format("R%X := R%X = %02X", c.W.Y(), c.W.X(), c.Reg(c.W.X()));
}

// Signed decimal, as two's complement reads the bytes; the sum wraps modulo 256.
std::string AddInt(const TExplainContext& c) {
    const int x = c.Reg(c.W.X()), y = c.Reg(c.W.Y());
    const int sum = SignedByte(x) + SignedByte(y);
    const std::string wrap =
        sum == SignedByte(x + y) ? "" : Format(", which wraps to %d", SignedByte(x + y));
    return Format("R%X := R%X + R%X = %02X + %02X = %02X (%d + %d = %d%s)", c.W.R(), c.W.X(),
                  c.W.Y(), x, y, (x + y) & 0xFF, SignedByte(x), SignedByte(y), sum, wrap.c_str());
}

// The exact sum, and what the format keeps of it when that is not the same number.
std::string AddFloat(const TExplainContext& c) {
    const int x = c.Reg(c.W.X()), y = c.Reg(c.W.Y());
    const int sum = DecodeFloat8(x) + DecodeFloat8(y);
    const int kept = EncodeFloat8(sum);
    const std::string loss =
        DecodeFloat8(kept) == sum ? "" : Format("; float8 keeps %d", DecodeFloat8(kept));
    return Format("R%X := R%X + R%X as float8 = %02X + %02X = %02X (%d + %d = %d%s)", c.W.R(),
                  c.W.X(), c.W.Y(), x, y, kept, DecodeFloat8(x), DecodeFloat8(y), sum,
                  loss.c_str());
}

template <char Symbol>
std::string Bitwise(const TExplainContext& c) {
    const int x = c.Reg(c.W.X()), y = c.Reg(c.W.Y());
    const char* name = Symbol == '|' ? "OR" : Symbol == '&' ? "AND" : "XOR";
    const int result = Symbol == '|' ? (x | y) : Symbol == '&' ? (x & y) : (x ^ y);
    return Format("R%X := R%X %s R%X = %02X %s %02X = %02X (%s %s %s = %s)", c.W.R(), c.W.X(), name,
                  c.W.Y(), x, name, y, result, Bits(x).c_str(), name, Bits(y).c_str(),
                  Bits(result).c_str());
}

// The rotate count is the raw nibble; only its value modulo 8 matters.
std::string Rotate(const TExplainContext& c) {
    const int count = c.W.Y(), turn = count % 8;
    const int before = c.Reg(c.W.R());
    const int after = RotateRight(before, count);
    const std::string same = count == turn ? "" : Format(" (the same as %d)", turn);
    return Format("R%X := R%X rotated right by %d%s: %s (%02X) %s %s (%02X)", c.W.R(), c.W.R(),
                  count, same.c_str(), Bits(before).c_str(), before,
                  turn == 0 ? "stays" : "becomes", Bits(after).c_str(), after);
}

std::string JumpOutcome(const TExplainContext& c, bool taken) {
    return taken ? Format("yes: jump to %02X", c.W.XY()) : Format("no: go on at %02X", c.NextPc());
}

std::string JumpEqual(const TExplainContext& c) {
    if (c.W.R() == 0) return Format("jump to %02X (R0 always equals itself)", c.W.XY());
    const int r = c.Reg(c.W.R()), zero = c.Reg(0);
    return Format("R%X (%02X) = R0 (%02X)? ", c.W.R(), r, zero) + JumpOutcome(c, r == zero);
}

// Both registers are read as signed bytes.
std::string JumpLessEqual(const TExplainContext& c) {
    const int r = c.Reg(c.W.R()), zero = c.Reg(0);
    return Format("R%X (%02X = %d) <= R0 (%02X = %d)? ", c.W.R(), r, SignedByte(r), zero,
                  SignedByte(zero)) +
           JumpOutcome(c, SignedByte(r) <= SignedByte(zero));
}

std::string Halt(const TExplainContext&) {
    return "halt: the machine stops";
}

std::string LoadIndirect(const TExplainContext& c) {
    const int address = c.Reg(c.W.Y());
    return Format("R%X := memory[R%X] = memory[%02X] = %02X", c.W.X(), c.W.Y(), address,
                  c.Mem(address));
}

std::string StoreIndirect(const TExplainContext& c) {
    return Format("memory[R%X] := R%X: memory[%02X] := %02X", c.W.Y(), c.W.X(), c.Reg(c.W.Y()),
                  c.Reg(c.W.X()));
}

// Indexed by opcode; an invalid word of any opcode is explained by NotAnInstruction.
constexpr std::array<TExplainer, 16> Explainers = {
    NotAnInstruction, LoadDirect,    LoadImmediate, StoreDirect, Move,      AddInt, AddFloat,
    Bitwise<'|'>,     Bitwise<'&'>,  Bitwise<'^'>,  Rotate,      JumpEqual, Halt,   LoadIndirect,
    StoreIndirect,    JumpLessEqual,
};
static_assert(Explainers.size() == InstructionSet.size());

}  // namespace

TMachineState ReadMachineState(const TMachineStores& m) {
    TMachineState state;
    for (int a = 0; a < 256; ++a) state.Memory[a] = m.MainMemory.GetContents(a) & 0xFF;
    for (int r = 0; r < 16; ++r) state.Registers[r] = m.Registers.GetContents(r) & 0xFF;
    state.Pc = m.SysRegs.GetContents(PcIndex) & 0xFF;
    return state;
}

std::string ExplainWord(int word, const TMachineState& state) {
    const TInstructionWord w{word & 0xFFFF};
    const TExplainContext context{w, state};
    return IsValidInstruction(w) ? Explainers[w.Op()](context) : NotAnInstruction(context);
}

std::string ExplainInstruction(const TMachineState& state) {
    const int pc = state.Pc & 0xFF;
    return ExplainWord(state.Memory[pc] * 256 + state.Memory[(pc + 1) & 0xFF], state);
}
