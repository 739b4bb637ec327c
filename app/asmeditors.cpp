#include "app/asmeditors.h"

#include <algorithm>
#include <vector>

#include "app/mainwin.h"
#include "editor/asmedit.h"
#include "editor/asmtarget.h"

namespace {

// The main window as the owner of the memory that editors assemble into. A child of the
// main window, so it lives exactly as long as the editors it serves.
class TMainWinTarget final : public QObject, public TAssembleTarget {
public:
    explicit TMainWinTarget(TMainWin& mainWin) : QObject(&mainWin), mainWin_(mainWin) {
        connect(&mainWin, &TMainWin::BreakpointsEdited, this,
                [this] { Tell([](TMachineFollower* f) { f->BreakpointsChanged(); }); });
        connect(&mainWin, &TMainWin::PcShown, this,
                [this](int pc) { Tell([pc](TMachineFollower* f) { f->PcShown(pc); }); });
        connect(&mainWin, &TMainWin::MemoryEdited, this,
                [this] { Tell([](TMachineFollower* f) { f->MemoryEdited(); }); });
    }

    ~TMainWinTarget() override {
        Tell([](TMachineFollower* f) { f->TargetGone(); });
    }

    bool MemModified() const override { return mainWin_.MemModified(); }
    void SetMemModified(bool flag) override { mainWin_.SetMemModified(flag); }
    void SaveMemory() override { mainWin_.SaveFileClick(); }
    CellStore& MemoryStore() override { return mainWin_.MemoryStore(); }
    CellStore& RegisterStore() override { return mainWin_.RegisterStore(); }
    CellStore& SysRegStore() override { return mainWin_.SysRegStore(); }
    void WriteMemoryInBulk(const std::function<void()>& writes) override {
        mainWin_.WriteMemoryInBulk(writes);
    }
    void Activate() override {
        mainWin_.activateWindow();
        mainWin_.setFocus();
    }

    bool HasBreakpoint(int address) const override { return mainWin_.Breakpoints().Has(address); }
    void ToggleBreakpoint(int address) override { mainWin_.ToggleBreakpoint(address); }
    void AddFollower(TMachineFollower* follower) override { followers_.push_back(follower); }
    void RemoveFollower(TMachineFollower* follower) override { std::erase(followers_, follower); }

private:
    // A copy, as a follower may add or remove followers while it is told.
    template <class F>
    void Tell(F tell) {
        const std::vector<TMachineFollower*> followers = followers_;
        for (TMachineFollower* f : followers)
            if (std::find(followers_.begin(), followers_.end(), f) != followers_.end()) tell(f);
    }

    TMainWin& mainWin_;
    std::vector<TMachineFollower*> followers_;
};

}  // namespace

void InstallAssemblerEditors(TMainWin& mainWin) {
    auto* target = new TMainWinTarget(mainWin);
    mainWin.EnableAssemblerEditor([&mainWin, target](const QString& sourceFile) {
        auto* editor = new TAssemblerEditor(target, &mainWin);
        mainWin.RegisterWindow(editor, [editor] { return editor->FormCloseQuery(); });
        editor->show();
        if (!sourceFile.isEmpty()) editor->LoadSourceFile(sourceFile);
    });
}
