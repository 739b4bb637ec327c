#pragma once
// Runs the machine without blocking the window: each turn of the event loop executes
// whole instructions for a short time slice and then hands control back, so every user
// event (Break, Step, an edited cell, Clear) lands between two instructions. The views
// stay frozen during a slice and thaw at the screen's rate.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

#include "core/execute.h"

class THistory;

class TRunControl : public QObject {
    Q_OBJECT
public:
    // Every executed instruction goes into history.
    TRunControl(const TMachineStores& stores, THistory& history, QObject* parent = nullptr);

    bool Running() const { return running_; }
    void Start();  // no effect while running
    void Stop();   // ends the run after the instruction in progress; no Finished

    // Freezes (true) or thaws (false) the views that follow the machine.
    std::function<void(bool)> FreezeViews;

    long long Executed() const { return executed_; }  // instructions since construction

    // Milliseconds of execution per turn of the event loop.
    static constexpr int SliceMs = 4;

signals:
    void Finished(int result);  // the program halted or hit an invalid instruction

private:
    void RunSlice();
    void SetFrozen(bool frozen);

    TMachineStores stores_;
    THistory& history_;
    QTimer turn_;
    QElapsedTimer sinceFrame_;
    int frameMs_ = 16;
    bool running_ = false;
    bool frozen_ = false;
    long long executed_ = 0;
};
