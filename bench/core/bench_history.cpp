// The history's costs: a headless run with and without recording, one step back with
// ten million steps recorded, and trace lines per second written to a file by the
// command-line tool.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "core/history.h"
#include "core/machine.h"
#include "core/memfile.h"

namespace {

// A loop that never halts: a counter, a store, a register copy and a taken jump.
//   00: 21 01  load R1,01     02: 52 21  addi R2,R2,R1   04: 32 80  store R2,[80]
//   06: 40 23  move R3,R2     08: B0 02  jmp 02
constexpr int Program[] = {0x21, 0x01, 0x52, 0x21, 0x32, 0x80, 0x40, 0x23, 0xB0, 0x02};

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

void Load(TMachine& machine) {
    for (int a = 0; a < static_cast<int>(std::size(Program)); ++a)
        machine.MainMemory.SetContents(a, Program[a]);
}

struct TKept {
    long long Size = 0, Capacity = 0;
    size_t Bytes = 0;
};

// A whole run of the simulation on plain stores, recording into a history of capacity
// steps (none with 0); kept tells what the history held after it.
double RunRate(long long capacity, long long count, TKept& kept) {
    TMachine machine(capacity);
    Load(machine);
    long long executed = 0;
    const auto start = Clock::now();
    machine.Simulation.Run(count, executed);
    const double rate = executed / Seconds(start);
    const THistory& history = machine.Simulation.History();
    kept = {history.Size(), history.Capacity(), history.MemoryBytes()};
    return rate;
}

}  // namespace

int main() {
    constexpr long long RunCount = 50'000'000;
    TKept history;
    const double plain = RunRate(0, RunCount, history);
    const double recorded = RunRate(THistory::DefaultCapacity, RunCount, history);
    std::printf("headless run without history: %.1f M instructions/s\n", plain / 1e6);
    std::printf("headless run with history:    %.1f M instructions/s (%.0f %%)\n", recorded / 1e6,
                100 * recorded / plain);
    std::printf("history: %lld steps kept (capacity %lld) in %.1f MiB\n", history.Size,
                history.Capacity, history.Bytes / 1048576.0);

    {
        TMachine machine(THistory::DefaultCapacity);
        Load(machine);
        const THistory& deep = machine.Simulation.History();
        long long executed = 0;
        machine.Simulation.Run(10'000'000, executed);
        double slowest = 0, total = 0;
        constexpr int Backs = 1000;
        for (int i = 0; i < Backs; ++i) {
            const auto start = Clock::now();
            machine.Simulation.StepBack();
            const double s = Seconds(start);
            slowest = std::max(slowest, s);
            total += s;
        }
        const auto start = Clock::now();
        const auto writer = deep.LastWriteOf(TWriteKind::Register, 1);
        const double query = Seconds(start);
        std::printf("step back with %lld steps recorded: %.2f us on average, %.2f us at most\n",
                    executed, total / Backs * 1e6, slowest * 1e6);
        std::printf("who wrote R1, after the step backs, with %lld steps kept: %.2f ms, %s\n",
                    deep.Size(), query * 1e3, writer ? "found" : "none");
    }

    {
        namespace fs = std::filesystem;
        const fs::path dir = fs::temp_directory_path() / "quarzel_bench_history";
        fs::create_directories(dir);
        TMemoryImage image{};
        std::copy(std::begin(Program), std::end(Program), image.begin());
        WriteMemoryFile((dir / "loop.prg").string(), image);
        constexpr long long TraceSteps = 5'000'000;
        std::ostringstream out, err;
        const auto start = Clock::now();
        RunCli({"run", (dir / "loop.prg").string(), "--max-steps", std::to_string(TraceSteps),
                "--trace", (dir / "loop.tsv").string()},
               out, err);
        const double s = Seconds(start);
        std::printf("trace to a file: %.1f M lines/s (%lld lines, %.0f MiB, in %.2f s)\n",
                    TraceSteps / s / 1e6, TraceSteps, fs::file_size(dir / "loop.tsv") / 1048576.0,
                    s);
        fs::remove_all(dir);
    }
    return 0;
}
