#include "app/runcontrol.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {
// Instructions between two looks at the clock.
constexpr long long Chunk = 64;
// While a modal dialog is open the program waits, as it would behind the dialog's loop;
// this is how often it looks whether the dialog has gone.
constexpr int ModalPollMs = 10;
// At a set rate, the most instructions one turn catches up after the loop was held up.
constexpr long long MaxCatchUp = 16;
}  // namespace

TRunControl::TRunControl(TSimulation& simulation, QObject* parent)
    : QObject(parent), sim_(&simulation), base_(simulation.RunSteps()) {
    sim_->AddObserver(this, TSimulation::TNeeds::NoWrites);
    connect(&turn_, &QTimer::timeout, this, &TRunControl::RunSlice);
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        screen && screen->refreshRate() > 1)
        frameMs_ = std::max(1, static_cast<int>(std::lround(1000.0 / screen->refreshRate())));
}

TRunControl::~TRunControl() {
    if (!sim_) return;
    sim_->RemoveObserver(this);
    sim_->StopRun();
}

void TRunControl::Start() {
    Begin(false, -1);
}

void TRunControl::StartBack() {
    Begin(true, -1);
}

void TRunControl::StartTo(int address) {
    Begin(false, address);
}

void TRunControl::Begin(bool back, int to) {
    if (!sim_ || sim_->Running()) return;
    if (to >= 0)
        sim_->StartRunTo(to);
    else
        sim_->StartRun(back);
    sinceFrame_.start();
    SetRate(rate_);
}

void TRunControl::SetRate(int perSecond) {
    rate_ = std::max(0, perSecond);
    if (!Running()) return;
    sinceStart_.start();
    dueBase_ = Executed();
    turn_.start(0);  // at a set rate the first instruction runs at once
}

void TRunControl::Stop() {
    if (sim_) sim_->StopRun();
}

void TRunControl::Stopped(TRunOutcome) {
    turn_.stop();
}

void TRunControl::RunSlice() {
    if (!Running()) return turn_.stop();
    if (QApplication::activeModalWidget()) {
        sim_->FreezeViews(false);
        turn_.setInterval(ModalPollMs);
        return;
    }
    if (rate_ > 0) return RunAtRate();
    turn_.setInterval(0);
    sim_->FreezeViews(true);
    QElapsedTimer slice;
    slice.start();
    TRunOutcome outcome = TRunOutcome::Limit;
    do {
        outcome = sim_->RunSlice(Chunk);
    } while (outcome == TRunOutcome::Limit && slice.elapsed() < SliceMs);

    if (outcome == TRunOutcome::Limit && sinceFrame_.elapsed() >= frameMs_) {
        sinceFrame_.restart();
        sim_->FreezeViews(false);
    }
}

// Instruction k of the rate's count is due k / rate seconds after the start; each turn runs
// those due by now and waits for the next.
void TRunControl::RunAtRate() {
    sim_->FreezeViews(false);
    // A millisecond early counts as on time, as timers may fire a little early.
    long long due = (sinceStart_.elapsed() + 1) * rate_ / 1000 + 1 - (Executed() - dueBase_);
    if (due > MaxCatchUp) {  // held up: go on from now rather than race
        sinceStart_.start();
        dueBase_ = Executed();
        due = 1;
    }
    TRunOutcome outcome = TRunOutcome::Limit;
    for (long long i = 0; i < due && outcome == TRunOutcome::Limit; ++i)
        outcome = sim_->RunSlice(1);
    if (outcome != TRunOutcome::Limit) return;
    const long long next = (Executed() - dueBase_) * 1000 / rate_;
    turn_.setInterval(static_cast<int>(std::max(0LL, next - sinceStart_.elapsed())));
}
