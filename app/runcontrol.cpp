#include "app/runcontrol.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "core/history.h"

namespace {
// Instructions between two looks at the clock.
constexpr long long Chunk = 64;
// While a modal dialog is open the program waits, as it would behind the dialog's loop;
// this is how often it looks whether the dialog has gone.
constexpr int ModalPollMs = 10;
// At a set rate, the most instructions one turn catches up after the loop was held up.
constexpr long long MaxCatchUp = 16;
}  // namespace

TRunControl::TRunControl(const TMachineStores& stores, THistory& history, QObject* parent)
    : QObject(parent), stores_(stores), history_(history) {
    connect(&turn_, &QTimer::timeout, this, &TRunControl::RunSlice);
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        screen && screen->refreshRate() > 1)
        frameMs_ = std::max(1, static_cast<int>(std::lround(1000.0 / screen->refreshRate())));
}

void TRunControl::Start() {
    Begin(false);
}

void TRunControl::StartBack() {
    Begin(true);
}

void TRunControl::Begin(bool back) {
    if (running_) return;
    running_ = true;
    back_ = back;
    firstOfRun_ = true;
    sinceFrame_.start();
    SetRate(rate_);
}

void TRunControl::SetRate(int perSecond) {
    rate_ = std::max(0, perSecond);
    if (!running_) return;
    sinceStart_.start();
    dueBase_ = executed_;
    turn_.start(0);  // at a set rate the first instruction runs at once
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
    if (rate_ > 0) return RunAtRate();
    turn_.setInterval(0);
    SetFrozen(true);
    QElapsedTimer slice;
    slice.start();
    int result = StepExecuted;
    do {
        result = RunCounted(Chunk);
    } while (result == StepExecuted && slice.elapsed() < SliceMs);

    if (result != StepExecuted) {
        End(result);
    } else if (sinceFrame_.elapsed() >= frameMs_) {
        sinceFrame_.restart();
        SetFrozen(false);
    }
}

// Instruction k of the rate's count is due k / rate seconds after the start; each turn runs
// those due by now and waits for the next.
void TRunControl::RunAtRate() {
    SetFrozen(false);
    // A millisecond early counts as on time, as timers may fire a little early.
    long long due = (sinceStart_.elapsed() + 1) * rate_ / 1000 + 1 - (executed_ - dueBase_);
    if (due > MaxCatchUp) {  // held up: go on from now rather than race
        sinceStart_.start();
        dueBase_ = executed_;
        due = 1;
    }
    int result = StepExecuted;
    for (long long i = 0; i < due && result == StepExecuted; ++i) result = RunCounted(1);
    if (result != StepExecuted) return End(result);
    const long long next = (executed_ - dueBase_) * 1000 / rate_;
    turn_.setInterval(static_cast<int>(std::max(0LL, next - sinceStart_.elapsed())));
}

int TRunControl::RunCounted(long long count) {
    if (back_) return RunBackCounted(count);
    long long executed = 0;
    const bool stopping = breakpoints_ && !breakpoints_->Empty();
    const std::bitset<256>* stopAt = stopping ? &breakpoints_->Addresses() : nullptr;
    int result = StepExecuted;
    if (recording_)
        result = RunStepsRecorded(stores_, count, executed, history_, stopAt, firstOfRun_);
    else if (stopAt)
        result = RunStepsStopping(stores_, count, *stopAt, firstOfRun_, executed);
    else
        result = RunStepsCounted(stores_, count, executed);
    if (executed > 0) firstOfRun_ = false;
    executed_ += executed;
    return result;
}

int TRunControl::RunBackCounted(long long count) {
    const bool stopping = breakpoints_ && !breakpoints_->Empty();
    for (long long i = 0; i < count; ++i) {
        const std::optional<THistoryEntry> step = history_.StepBack(stores_);
        if (!step) return HistoryStart;
        ++executed_;
        if (stopping && breakpoints_->Has(step->Pc)) return StepBreakpoint;
    }
    return StepExecuted;
}

void TRunControl::End(int result) {
    Stop();
    emit Finished(result);
}

void TRunControl::SetFrozen(bool frozen) {
    if (frozen == frozen_) return;
    frozen_ = frozen;
    if (FreezeViews) FreezeViews(frozen);
}
