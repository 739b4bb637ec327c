#pragma once
// A shown main window for each test of a window test class: prompts are answered by the
// test, the settings start fresh, and the window goes without asking about memory.

#include <QString>
#include <QtTest>
#include <memory>

#include "app/mainwin.h"
#include "gui/processvalues.h"
#include "testprompt.h"

class TMainWinFixture {
protected:
    std::unique_ptr<TTestPrompt> prompt;
    std::unique_ptr<TMainWin> w;

    // Fresh prompts and settings; a non-empty tempDir becomes the program's temporary folder.
    void StartFresh(const QString& tempDir = QString()) {
        prompt = std::make_unique<TTestPrompt>();
        ProcessValues() = TProcessValues{};
        if (!tempDir.isEmpty()) ProcessValues().TempDir = tempDir + "/";
    }
    // False when the window was never exposed.
    [[nodiscard]] bool ShowWindow() {
        w = std::make_unique<TMainWin>();
        w->show();
        return QTest::qWaitForWindowExposed(w.get());
    }
    void CloseWindow() {
        if (w) w->SetMemModified(false);
        w.reset();
        prompt.reset();
    }
};
