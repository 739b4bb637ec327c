#pragma once
// Runs the machine without blocking the window: each turn of the event loop executes
// whole instructions for a short time slice and then hands control back, so every user
// event (Break, Step, an edited cell, Clear) lands between two instructions. The views
// stay frozen during a slice and thaw at the screen's rate. At a set rate the views are
// never frozen, so they show every instruction's changes. Run stops before an instruction
// at a breakpoint, but the first instruction of a run executes wherever it is. Run back
// takes back recorded instructions the same way, and stops when PC reaches a breakpoint
// after one was taken back.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

#include "core/breakpoints.h"
#include "core/execute.h"

class THistory;

class TRunControl : public QObject {
    Q_OBJECT
public:
    // Every executed instruction goes into history.
    TRunControl(const TMachineStores& stores, THistory& history, QObject* parent = nullptr);

    // Finished's result when run back has taken back every recorded instruction.
    static constexpr int HistoryStart = 1;

    bool Running() const { return running_; }
    bool RunningBack() const { return running_ && back_; }
    void Start();      // no effect while running; resets the breakpoint skip
    void StartBack();  // no effect while running
    void Stop();       // ends the run after the instruction in progress; no Finished

    // Freezes (true) or thaws (false) the views that follow the machine.
    std::function<void(bool)> FreezeViews;

    // Instructions per second, 0 for full speed; takes effect at once, also mid-run.
    void SetRate(int perSecond);
    int Rate() const { return rate_; }
    // Off only to measure what keeping the history costs: the window always records.
    void SetRecording(bool on) { recording_ = on; }

    // The set the run stops at; it must outlive the run control (none when null).
    void SetBreakpoints(const TBreakpoints* breakpoints) { breakpoints_ = breakpoints; }

    // Instructions executed or taken back since construction.
    long long Executed() const { return executed_; }

    // Milliseconds of execution per turn of the event loop.
    static constexpr int SliceMs = 4;

signals:
    // The program halted, hit an invalid instruction, stopped at a breakpoint, or run
    // back reached the start of the history (HistoryStart).
    void Finished(int result);

private:
    void RunSlice();
    void RunAtRate();
    void Begin(bool back);
    // Up to count instructions forward or back, stopping at breakpoints; adds to executed_.
    int RunCounted(long long count);
    int RunBackCounted(long long count);
    void End(int result);
    void SetFrozen(bool frozen);

    TMachineStores stores_;
    THistory& history_;
    QTimer turn_;
    QElapsedTimer sinceFrame_;
    int frameMs_ = 16;
    bool running_ = false;
    bool frozen_ = false;
    bool firstOfRun_ = false;
    bool back_ = false;
    bool recording_ = true;
    int rate_ = 0;
    const TBreakpoints* breakpoints_ = nullptr;
    QElapsedTimer sinceStart_;  // at a set rate: the time the instructions are due by
    long long dueBase_ = 0;     // executed_ when sinceStart_ started
    long long executed_ = 0;
};
