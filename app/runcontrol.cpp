#include "app/runcontrol.h"

#include <QApplication>
#include <QScreen>
#include <cmath>

#include "core/history.h"

namespace {
// Instructions between two looks at the clock.
constexpr long long Chunk = 64;
// While a modal dialog is open the program waits, as it would behind the dialog's loop;
// this is how often it looks whether the dialog has gone.
constexpr int ModalPollMs = 10;
}  // namespace

TRunControl::TRunControl(const TMachineStores& stores, THistory& history, QObject* parent)
    : QObject(parent), stores_(stores), history_(history) {
    connect(&turn_, &QTimer::timeout, this, &TRunControl::RunSlice);
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        screen && screen->refreshRate() > 1)
        frameMs_ = std::max(1, static_cast<int>(std::lround(1000.0 / screen->refreshRate())));
}

void TRunControl::Start() {
    if (running_) return;
    running_ = true;
    sinceFrame_.start();
    turn_.start(0);
}

void TRunControl::Stop() {
    if (!running_) return;
    running_ = false;
    turn_.stop();
    SetFrozen(false);
}

void TRunControl::RunSlice() {
    if (QApplication::activeModalWidget()) {
        SetFrozen(false);
        turn_.setInterval(ModalPollMs);
        return;
    }
    turn_.setInterval(0);
    SetFrozen(true);
    QElapsedTimer slice;
    slice.start();
    int result = StepExecuted;
    do {
        long long executed = 0;
        result = RunStepsRecorded(stores_, Chunk, executed, history_);
        executed_ += executed;
    } while (result == StepExecuted && slice.elapsed() < SliceMs);

    if (result != StepExecuted) {
        Stop();
        emit Finished(result);
    } else if (sinceFrame_.elapsed() >= frameMs_) {
        sinceFrame_.restart();
        SetFrozen(false);
    }
}

void TRunControl::SetFrozen(bool frozen) {
    if (frozen == frozen_) return;
    frozen_ = frozen;
    if (FreezeViews) FreezeViews(frozen);
}
