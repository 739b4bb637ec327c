// Instructions per second through the real core on plain stores, against the
// plainest interpreter over a byte array running the same loop program; then a whole
// run of the simulation on plain stores (every write told to an output observer), as
// the command-line tool and the grader run, without and with the history.
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "core/float8.h"
#include "core/machine.h"

namespace {

// A counting loop: loads, addi, a conditional jump and a store.
//   00: 21 01   load R1,01        step
//   02: 22 00   load R2,00        counter
//   04: 20 00   load R0,00        loop bound (wraps after 256)
//   06: 13 80   load R3,[80]
//   08: 52 21   addi R2,R2,R1
//   0A: 32 80   store R2,[80]
//   0C: B2 10   jmpEQ R2=R0,10
//   0E: B0 06   jmp 06
//   10: B0 02   jmp 02 (never halts; the step limit ends the run)
constexpr std::array<uint8_t, 18> Program = {0x21, 0x01, 0x22, 0x00, 0x20, 0x00, 0x13, 0x80, 0x52,
                                             0x21, 0x32, 0x80, 0xB2, 0x10, 0xB0, 0x06, 0xB0, 0x02};

// The plain interpreter: same semantics, a byte array and nothing else.
long long PlainRun(std::array<uint8_t, 256>& mem, long long count) {
    uint8_t reg[16] = {};
    uint8_t pc = 0;
    uint16_t ir = 0;
    long long n = 0;
    for (; n < count; ++n) {
        const uint8_t b1 = mem[pc++], b2 = mem[pc++];
        ir = static_cast<uint16_t>(b1 << 8 | b2);
        const int r = b1 & 15, x = b2 >> 4, y = b2 & 15;
        switch (b1 >> 4) {
            case 1:
                reg[r] = mem[b2];
                break;
            case 2:
                reg[r] = b2;
                break;
            case 3:
                mem[b2] = reg[r];
                break;
            case 4:
                reg[y] = reg[x];
                break;
            case 5:
                reg[r] = static_cast<uint8_t>(reg[x] + reg[y]);
                break;
            case 6:
                reg[r] =
                    static_cast<uint8_t>(EncodeFloat8(DecodeFloat8(reg[x]) + DecodeFloat8(reg[y])));
                break;
            case 7:
                reg[r] = reg[x] | reg[y];
                break;
            case 8:
                reg[r] = reg[x] & reg[y];
                break;
            case 9:
                reg[r] = reg[x] ^ reg[y];
                break;
            case 0xB:
                if (reg[r] == reg[0]) pc = b2;
                break;
            case 0xF:
                if (static_cast<int8_t>(reg[r]) <= static_cast<int8_t>(reg[0])) pc = b2;
                break;
            default:
                return n + 1 + (ir == 0);  // not in this program
        }
    }
    return n;
}

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int main() {
    constexpr long long Count = 200'000'000;

    TCellStore memory(256), registers(16), sysRegs(2);
    for (size_t a = 0; a < Program.size(); ++a) memory.SetContents(int(a), Program[a]);
    auto start = std::chrono::steady_clock::now();
    long long executed = 0;
    RunStepsCounted({memory, registers, sysRegs}, Count, executed);
    const double coreSeconds = Seconds(start);

    std::array<uint8_t, 256> mem{};
    for (size_t a = 0; a < Program.size(); ++a) mem[a] = Program[a];
    start = std::chrono::steady_clock::now();
    const long long plainExecuted = PlainRun(mem, Count);
    const double plainSeconds = Seconds(start);

    const double coreRate = executed / coreSeconds, plainRate = plainExecuted / plainSeconds;
    std::printf("core RunSteps on TCellStore: %.1f M instructions/s (%lld in %.2f s)\n",
                coreRate / 1e6, executed, coreSeconds);
    std::printf("plain byte-array interpreter: %.1f M instructions/s (%lld in %.2f s)\n",
                plainRate / 1e6, plainExecuted, plainSeconds);
    std::printf("plain / core: %.2fx; counter cell agrees: %s\n", plainRate / coreRate,
                memory.GetContents(0x80) == mem[0x80] ? "yes" : "no");
    for (const long long history : {0LL, THistory::DefaultCapacity}) {
        TMachine machine(history);
        for (size_t a = 0; a < Program.size(); ++a)
            machine.MainMemory.SetContents(int(a), Program[a]);
        start = std::chrono::steady_clock::now();
        machine.Simulation.Run(Count / 4, executed);
        std::printf("simulation on TCellStore, %s: %.1f M instructions/s\n",
                    history ? "with history" : "no history", executed / Seconds(start) / 1e6);
    }
    return 0;
}
