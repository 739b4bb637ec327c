#pragma once
// The assembler editor's tests: a test file that the user opens, or else NAME.tests.toml
// beside the source NAME.asm, run on the assembled text in the background, each test on a
// machine of its own (the main window's memory is not touched). One row per test appears
// under the error list and fills in as its test finishes, with a progress row and Stop
// (Esc) below and a summary above once all have run; a double click on a row (or Enter)
// puts the program and that test's starting state into the main window's machine, so that
// the student can step through it.

#include <QObject>
#include <QString>
#include <optional>

#include "grading/testfile.h"
#include "grading/testreport.h"
#include "grading/testrun.h"

class QAction;
class QFileSystemWatcher;
class QLabel;
class QListWidget;
class QMenu;
class TAssemblerEditor;
class TBackgroundTests;
class TLiveRegion;
class TTestProgress;
struct TTestResult;

class TAsmTests final : public QObject {
    Q_OBJECT
public:
    // Adds the Tests menu and the list of results to editor, which owns this object.
    explicit TAsmTests(TAssemblerEditor& editor);

    // Controls (objectName = field name).
    QMenu* TestsMenu;
    QAction* MenuOpenTests;
    QAction* MenuRunTests;
    QAction* MenuStopTests;       // enabled while tests run
    QLabel* TestSummary;          // "3 of 4 tests passed, 4 of 6 points" after a run
    QListWidget* TestBox;         // hidden until tests have run
    TTestProgress* TestProgress;  // shown while tests run, and after a stop

    // The test file the next run reads: the one opened, else the one beside the source
    // when it exists; empty when there is none.
    QString TestsFileName() const;

    void OpenTestsClick();
    // Starts a run, stopping the one going.
    void RunTestsClick();
    void StopTestsClick();
    bool Running() const { return run_ != nullptr; }
    // The text the tests run on has changed: their results would belong to another program.
    void TextEdited();
    // Loads the program as the text is now and the starting state of the test in row into
    // the main window, after asking about unsaved memory. When the text has changed since
    // the run, the tests run again first, and the test is loaded when they have.
    void LoadTest(int row);

signals:
    void RunFinished();  // every test has its result

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // No rows, no file of theirs.
    void ClearRows();
    void StartRun(const QString& testsFile);
    // Row's text: "STATE: NAME", for a test without a result.
    void Label(int row, const QString& state);
    // The test after those done is running.
    void ShowRunning();
    // Enough height below the text for the rows shown, and a share of the window's growth.
    void MakeRoom();
    // The results and the error list share the panel; an empty error list takes no room.
    void SharePanel();
    // The test file's mistakes, named relative to the source's folder.
    void ListMistakes(const ETestFileError& error, const QString& name);
    void ShowResult(int index, const TTestResult& result);
    void ShowFinished();
    void EndRun();  // after run_ has gone or is going
    // Ends the run going, if any: the test that was running reads "stopped", those after
    // it "not run", and the progress row says so, with why unless the user asked.
    void StopRun(const QString& why);

    TAssemblerEditor& editor_;
    TBackgroundTests* run_ = nullptr;  // while tests run
    // The test file while its tests run: a change to it stops them, as their rows would
    // belong to a file that is no longer there.
    QFileSystemWatcher* testsWatch_;
    int done_ = 0;                             // tests of the run with their results
    TProgramReport report_;                    // the results so far, for the summary
    TLiveRegion* summaryVoice_;                // says the summary when a run ends
    bool textChanged_ = false;                 // since the rows were run
    std::optional<std::string> loadAfterRun_;  // the test to load once the run has ended
    QString opened_;
    // What the rows of TestBox were run on: the bytes the text placed are set by the image.
    std::optional<TTestFile> file_;
    TProgramImage image_;
};
