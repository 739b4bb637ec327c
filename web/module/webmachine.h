#pragma once
// The machine the page drives: a simulation on plain stores with what the desktop's main
// window and assembler editor keep beside it (the status line, the output's writes and
// take-backs, the program's source lines) and what changed since the page last looked.
// The page polls Changes() once a frame instead of being told of every write, which
// keeps a run as fast as the tool's. It watches runs for the classic mistakes and keeps the
// newest note, and predict mode's score, until another program is loaded.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/machine.h"
#include "core/predict.h"
#include "core/runstatus.h"
#include "grading/testrun.h"
#include "web/module/assembly.h"

struct TMachineChanges {
    std::vector<int> Memory;     // addresses, ascending
    std::vector<int> Registers;  // numbers, ascending
    bool Pc = false;
    bool Ir = false;
    std::vector<int16_t> Output;  // 0..255 written to RF; -1 the last one taken back
    bool HistoryCleared = false;
    bool Breakpoints = false;
    bool Loaded = false;
};

struct TSliceResult {
    TRunOutcome Outcome;
    long long Executed;
    bool Running;
};

class TWebMachine final : private TSimulationObserver {
public:
    TWebMachine();
    ~TWebMachine() override;
    TWebMachine(const TWebMachine&) = delete;
    TWebMachine& operator=(const TWebMachine&) = delete;

    TMachine& Machine() { return machine_; }
    TSimulation& Simulation() { return machine_.Simulation; }
    const TRunStatus& Status() const { return status_; }
    TMachineChanges TakeChanges();

    // The user's writes; a cell outside its store is left alone, a value is taken as a byte
    // (IR as a word).
    void SetMemory(int address, int value);
    void SetRegister(int number, int value);
    void SetPc(int value);
    void SetIr(int value);
    void ClearMemory();
    void ClearRegisters();

    TRunOutcome Step();
    // Predict mode's Step: the prediction typed, judged after the step and counted in the
    // score; nothing, and no step, for a text that is no prediction.
    std::optional<TVerdict> PredictStep(std::string_view text);
    const TPredictScore& Score() const { return score_; }
    // The newest note of the last step or run; "" for none.
    const std::string& Note() const { return note_; }
    TRunOutcome StepBack();
    void StartRun(bool back);
    TSliceResult RunSlice(long long count);
    void Stop();

    // The disassembly list's 128 lines at PC's alignment.
    std::vector<std::string> Disassembly() const;

    // Assembles the editor's text (UTF-8); without errors the program goes into memory
    // with its source lines and PC 00.
    TAssembly Assemble(std::string_view text);
    int BreakpointAddressOfLine(int line) const;
    int MarkedLine() const;
    void SourceEdited() { marking_ = false; }

    // "" when the .prg image loaded (PC 00), else why not.
    std::string OpenImage(std::string_view bytes);
    void LoadStart(const TStartState& start);

private:
    void OutputWritten(int value) override;
    void OutputTakenBack() override;
    void HistoryCleared() override { changes_.HistoryCleared = true; }
    void BreakpointsChanged() override { changes_.Breakpoints = true; }
    void ImageLoaded() override;
    void Stopped(TRunOutcome outcome) override;
    void Noted(const TRunNote& note) override { note_ = RunNoteText(note); }

    // A user's write: the editor no longer follows PC.
    void UserWrite(CellStore& store, int index, int value);

    TMachine machine_{THistory::DefaultCapacity};
    TRunStatus status_ = ReadyStatus();
    TMachineChanges changes_;
    std::array<int, 256> shownMemory_{};
    std::array<int, 16> shownRegisters_{};
    std::array<int, 2> shownSysRegs_{};
    int sourceOwner_;
    TSourceMap editorMap_ = NoSourceMap;  // of the editor's last assembly into memory
    bool marking_ = false;                // PC's line is marked in the editor
    TPredictScore score_;
    std::string note_;
};
