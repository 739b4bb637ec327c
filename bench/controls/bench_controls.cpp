// Instructions per second of the core running on three shown hex grids, with the
// output terminal bound to RF as the main window binds it and the event loop (and so
// the repaints) run between slices of instructions; and characters per second into
// the terminal. Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include <QApplication>
#include <QVBoxLayout>
#include <chrono>
#include <cstdio>

#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "core/execute.h"

namespace {

// A counting loop that also writes every count to RF: loads, an add, two stores, a
// conditional jump; it never halts.
//   00: 21 01   load R1,01
//   02: 22 00   load R2,00
//   04: 52 21   addi R2,R2,R1
//   06: 32 80   store R2,[80]
//   08: 40 2F   move R2 -> RF
//   0A: B2 0E   jmpEQ R2=R0,0E
//   0C: B0 04   jmp 04
//   0E: B0 02   jmp 02
constexpr int Program[] = {0x21, 0x01, 0x22, 0x00, 0x52, 0x21, 0x32, 0x80,
                           0x40, 0x2F, 0xB2, 0x0E, 0xB0, 0x04, 0xB0, 0x02};
constexpr long long Slice = 20'000;  // instructions between two event-loop passes

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

THexGrid* MakeGrid(QWidget* parent, int cols, int rows) {
    auto* grid = new THexGrid(parent);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    parent->layout()->addWidget(grid);
    return grid;
}

// Runs count instructions in slices, processing events after each; returns the rate.
double RunRate(const TMachineStores& machine, long long count, long long slice) {
    const auto start = std::chrono::steady_clock::now();
    for (long long done = 0; done < count; done += slice) {
        RunSteps(machine, slice);
        QApplication::processEvents();
    }
    return count / Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setLayout(new QVBoxLayout);
    THexGrid* memory = MakeGrid(&window, 16, 16);
    THexGrid* registers = MakeGrid(&window, 1, 16);
    THexGrid* sysRegs = MakeGrid(&window, 1, 2);
    auto* output = new TShowText(&window);
    output->setFixedSize(153, 57);
    window.layout()->addWidget(output);
    registers->OnCellChanged = [output](CellStore*, int index, int, int value) {
        if (index == OutputRegister) output->Write(static_cast<char>(value));
    };
    for (int a = 0; a < int(std::size(Program)); ++a) memory->SetContents(a, Program[a]);
    const TMachineStores machine{*memory, *registers, *sysRegs};

    constexpr long long Count = 20'000'000;
    const double hidden = RunRate(machine, Count, Slice);
    window.show();
    QApplication::processEvents();
    const double shown = RunRate(machine, Count, Slice);
    const double everyStep = RunRate(machine, Count / 10, 1);
    std::printf("core on three hex grids, hidden: %.2f M instructions/s\n", hidden / 1e6);
    std::printf("core on three hex grids, shown, events every %lld: %.2f M instructions/s\n", Slice,
                shown / 1e6);
    std::printf(
        "core on three hex grids, shown, events after each instruction: %.2f M "
        "instructions/s\n",
        everyStep / 1e6);

    const auto pumpStart = std::chrono::steady_clock::now();
    for (long long i = 0; i < Count / 10; ++i) QApplication::processEvents();
    std::printf("QApplication::processEvents alone: %.2f M calls/s\n",
                Count / 10 / Seconds(pumpStart) / 1e6);

    constexpr long long Chars = 20'000'000;
    const auto start = std::chrono::steady_clock::now();
    for (long long i = 0; i < Chars; ++i) {
        output->Write(static_cast<char>(i % 10 == 9 ? '\n' : 'A' + i % 26));
        if (i % Slice == 0) QApplication::processEvents();
    }
    std::printf("terminal Write, shown: %.1f M characters/s\n", Chars / Seconds(start) / 1e6);
    std::printf("memory[80] = %02X; terminal %d x %d, last line \"%s\"\n",
                memory->GetContents(0x80), output->Columns(), output->Rows(),
                output->Lines()[output->CurLine()].c_str());
    return 0;
}
