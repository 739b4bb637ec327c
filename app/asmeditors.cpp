#include "app/asmeditors.h"

#include "app/mainwin.h"
#include "editor/asmedit.h"

void InstallAssemblerEditors(TMainWin& mainWin) {
    mainWin.EnableAssemblerEditor([&mainWin](const QString& sourceFile) {
        auto* editor = new TAssemblerEditor(&mainWin.Simulation(), &mainWin);
        editor->SetSteering(mainWin.Steering());
        mainWin.RegisterWindow(editor, [editor] { return editor->FormCloseQuery(); });
        editor->show();
        if (!sourceFile.isEmpty()) editor->LoadSourceFile(sourceFile);
    });
}
