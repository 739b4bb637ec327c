#pragma once
// The assembler editor's tests: a test file that the user opens, or else NAME.tests.toml
// beside the source NAME.asm, run on the assembled text, each test on a machine of its
// own (the main window's memory is not touched). One row per test appears under the error
// list; a double click on a row puts the program and that test's starting state into the
// main window's machine, so that the student can step through it.

#include <QObject>
#include <QString>
#include <optional>

#include "grading/testfile.h"
#include "grading/testrun.h"

class QAction;
class QListWidget;
class QMenu;
class TAssemblerEditor;

class TAsmTests final : public QObject {
    Q_OBJECT
public:
    // Adds the Tests menu and the list of results to editor, which owns this object.
    explicit TAsmTests(TAssemblerEditor& editor);

    // Controls (objectName = field name).
    QMenu* TestsMenu;
    QAction* MenuOpenTests;
    QAction* MenuRunTests;
    QListWidget* TestBox;  // hidden until tests have run

    // The test file the next run reads: the one opened, else the one beside the source
    // when it exists; empty when there is none.
    QString TestsFileName() const;

    void OpenTestsClick();
    void RunTestsClick();
    // Loads the program and the starting state of the test in row into the main window,
    // after asking about unsaved memory.
    void LoadTest(int row);

private:
    void ShowResults();

    TAssemblerEditor& editor_;
    QString opened_;
    // What the rows of TestBox were run on: the bytes the text placed are set by the image.
    std::optional<TTestFile> file_;
    TProgramImage image_;
};
