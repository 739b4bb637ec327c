// Run speed with no breakpoint and with 16 that are checked but never hit: first the
// simulation on plain stores, then Run in a real main window (offscreen unless a display is
// chosen), where a third setting runs without keeping the history, and last Run Back
// through what was recorded. The settings alternate in rounds so that a busy machine
// slows them alike.
//   bench_run [seconds per round]
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "app/mainwin.h"
#include "app/runcontrol.h"
#include "controls/hexgrid.h"
#include "core/machine.h"

namespace {

// 00: load R1,01  02: load R2,00  04: addi R2,R2,R1  06: store R2,[80]  08: jmp 04
constexpr int Program[] = {0x21, 0x01, 0x22, 0x00, 0x52, 0x21, 0x32, 0x80, 0xB0, 0x04};
constexpr int Rounds = 4;

TBreakpoints Sixteen() {
    TBreakpoints set;
    for (int i = 0; i < 16; ++i) set.Toggle(0x40 + 2 * i);  // never reached by the program
    return set;
}

struct TTally {
    long long Executed = 0;
    double Seconds = 0, Cpu = 0;
    double PerSecond() const { return Executed / Seconds; }
    double PerCpuSecond() const { return Executed / Cpu; }
};

void Print(const char* what, const TTally& tally, const TTally& base) {
    std::printf(
        "  %-24s %12.0f per second (%12.0f per CPU second), %.1f %% of no breakpoint "
        "by CPU time\n",
        what, tally.PerSecond(), tally.PerCpuSecond(),
        100 * tally.PerCpuSecond() / base.PerCpuSecond());
}

enum class TSetting { Plain, Breakpoints, NoHistory, Back };

void CoreRound(const TBreakpoints* set, TTally& tally) {
    TMachine machine;
    for (int a = 0; a < int(std::size(Program)); ++a) machine.MainMemory.SetContents(a, Program[a]);
    constexpr long long Count = 20'000'000;
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpu = std::clock();
    long long executed = 0;
    if (set)
        for (int a = 0; a < 256; ++a)
            if (set->Has(a)) machine.Simulation.ToggleBreakpoint(a);
    machine.Simulation.Run(Count, executed);
    tally.Cpu += double(std::clock() - cpu) / CLOCKS_PER_SEC;
    tally.Seconds += wall.nsecsElapsed() / 1e9;
    tally.Executed += executed;
}

void WindowRound(TMainWin& window, TSetting setting, double seconds, TTally& tally) {
    if (setting == TSetting::Breakpoints) {
        const TBreakpoints set = Sixteen();
        for (int a = 0; a < 256; ++a)
            if (set.Has(a)) window.Simulation().ToggleBreakpoint(a);
    }
    window.Simulation().SetRecording(setting != TSetting::NoHistory);
    if (setting != TSetting::Back) window.SysRegs->SetContents(0, 0);
    const long long start = window.RunControl().Executed();
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpu = std::clock();
    if (setting == TSetting::Back)
        window.RunBackSimulator();
    else
        window.RunSimulator();
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    window.BreakSimulator();
    tally.Cpu += double(std::clock() - cpu) / CLOCKS_PER_SEC;
    tally.Seconds += wall.nsecsElapsed() / 1e9;
    tally.Executed += window.RunControl().Executed() - start;
    window.RemoveAllBreakpoints();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;

    const TBreakpoints set = Sixteen();
    TTally coreNone, coreSixteen;
    for (int round = 0; round < Rounds; ++round) {
        CoreRound(nullptr, coreNone);
        CoreRound(&set, coreSixteen);
    }
    std::printf("the simulation on plain stores, without history:\n");
    Print("no breakpoint:", coreNone, coreNone);
    Print("16 breakpoints:", coreSixteen, coreNone);

    TMainWin window;
    window.show();
    for (int a = 0; a < int(std::size(Program)); ++a) window.MainMemory->SetContents(a, Program[a]);
    window.SetMemModified(false);
    QEventLoop settle;
    QTimer::singleShot(200, &settle, &QEventLoop::quit);
    settle.exec();
    TTally none, sixteen, noHistory, back;
    for (int round = 0; round < Rounds; ++round) {
        WindowRound(window, TSetting::NoHistory, seconds, noHistory);
        WindowRound(window, TSetting::Breakpoints, seconds, sixteen);
        WindowRound(window, TSetting::Plain, seconds, none);
        WindowRound(window, TSetting::Back, seconds / 2, back);  // half of what Plain recorded
    }
    std::printf("Run in a shown main window, full speed:\n");
    Print("no breakpoint:", none, none);
    Print("16 breakpoints:", sixteen, none);
    Print("without the history:", noHistory, none);
    Print("Run Back:", back, none);
    std::printf("  with the history: %.1f %% of without, by CPU time\n",
                100 * none.PerCpuSecond() / noHistory.PerCpuSecond());
    std::printf(
        "status after the last round (Run Back; \"Start of history\" would make its "
        "figure a lower bound): %s\n",
        qPrintable(window.PanelText(2)));
    window.SetMemModified(false);
    return 0;
}
