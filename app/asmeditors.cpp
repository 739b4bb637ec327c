#include "app/asmeditors.h"

#include "app/mainwin.h"
#include "editor/asmedit.h"
#include "editor/asmtarget.h"

namespace {

// The main window as the owner of the memory that editors assemble into. A child of the
// main window, so it lives exactly as long as the editors it serves.
class TMainWinTarget final : public QObject, public TAssembleTarget {
public:
    explicit TMainWinTarget(TMainWin& mainWin) : QObject(&mainWin), mainWin_(mainWin) {}

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

private:
    TMainWin& mainWin_;
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
