#include "editor/asmtests.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "asm/asmparse.h"
#include "asm/warnings.h"
#include "core/fileerror.h"
#include "core/simulation.h"
#include "editor/asmedit.h"
#include "editor/backgroundtests.h"
#include "editor/menukeys.h"
#include "editor/testprogress.h"
#include "gui/busycursor.h"
#include "gui/helpcontexts.h"
#include "gui/listfocus.h"
#include "gui/liveregion.h"
#include "gui/localpath.h"
#include "gui/prompt.h"
#include "gui/theme.h"
#include "gui/zoom.h"

namespace {

constexpr int PassedRole = Qt::UserRole;  // whether the row's test passed; unset without a result

void ColourResult(QListWidgetItem& item) {
    const QVariant passed = item.data(PassedRole);
    if (!passed.isValid()) return;
    item.setForeground(
        ThemeColour(passed.toBool() ? TThemeColour::TestPassed : TThemeColour::TestFailed));
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

TAsmTests::TAsmTests(TAssemblerEditor& editor) : QObject(&editor), editor_(editor) {
    TestsMenu = new QMenu(QStringLiteral("&Tests"), &editor);
    TestsMenu->setObjectName(QStringLiteral("TestsMenu"));
    editor.AsmMainMenu->insertMenu(editor.HelpMenu->menuAction(), TestsMenu);
    MenuOpenTests = TestsMenu->addAction(QStringLiteral("&Open Tests..."));
    MenuOpenTests->setObjectName(QStringLiteral("MenuOpenTests"));
    connect(MenuOpenTests, &QAction::triggered, this, &TAsmTests::OpenTestsClick);
    MenuRunTests = TestsMenu->addAction(QStringLiteral("&Run Tests"));
    MenuRunTests->setObjectName(QStringLiteral("MenuRunTests"));
    MenuRunTests->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(MenuRunTests, &QAction::triggered, this, &TAsmTests::RunTestsClick);
    editor.menuKeys_->Add(MenuRunTests, TestsMenu);
    MenuStopTests = TestsMenu->addAction(QStringLiteral("&Stop Tests"));
    MenuStopTests->setObjectName(QStringLiteral("MenuStopTests"));
    MenuStopTests->setShortcut(QKeySequence(Qt::Key_Escape));
    MenuStopTests->setEnabled(false);
    connect(MenuStopTests, &QAction::triggered, this, &TAsmTests::StopTestsClick);
    editor.menuKeys_->Add(MenuStopTests, TestsMenu);
    const QList<QAction*> entries = TestsMenu->actions() << TestsMenu->menuAction();
    for (QAction* entry : entries) entry->setProperty(HelpContextProperty, TestsMenuContext);

    TestSummary = new QLabel;
    TestSummary->setObjectName(QStringLiteral("TestSummary"));
    TestSummary->setTextFormat(Qt::PlainText);  // a test's name is never markup
    TestSummary->setContentsMargins(4, 2, 2, 2);
    TestSummary->hide();
    summaryVoice_ = new TLiveRegion(TestSummary);  // said once when a run ends
    editor.listColumn_->addWidget(TestSummary);
    TestBox = new QListWidget;
    TestBox->setObjectName(QStringLiteral("TestBox"));
    TestBox->setSelectionMode(QAbstractItemView::SingleSelection);
    CurrentOnlyWithFocus(*TestBox);
    TestBox->setFont(editor.ErrorBox->font());
    TestBox->hide();
    TestBox->installEventFilter(this);
    TestBox->setProperty(HelpContextProperty, TestsMenuContext);
    editor.listColumn_->addWidget(TestBox, 2);  // the error list above has 1
    editor.menuKeys_->Watch(TestBox);
    const QAbstractItemModel* errors = editor.ErrorBox->model();
    for (auto change : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(errors, change, this, &TAsmTests::SharePanel);
    connect(errors, &QAbstractItemModel::modelReset, this, &TAsmTests::SharePanel);
    // After the window has grown and scaled its panes with the zoom, so that the room made
    // is measured in the new sizes.
    connect(&ZoomNotifier(), &TZoomNotifier::Changed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (!TestBox->isHidden()) MakeRoom();
        });
    });
    testsWatch_ = new QFileSystemWatcher(this);
    connect(testsWatch_, &QFileSystemWatcher::fileChanged, this,
            [this] { StopRun(QStringLiteral("the test file was changed")); });
    TestProgress = new TTestProgress;
    editor.listColumn_->addWidget(TestProgress);
    connect(TestProgress->StopTestsButton, &QPushButton::clicked, this, &TAsmTests::StopTestsClick);
    connect(TestBox, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { LoadTest(TestBox->row(item)); });
    FollowTheme(this, [this] {
        for (int row = 0; row < TestBox->count(); ++row) ColourResult(*TestBox->item(row));
    });
}

QString TAsmTests::TestsFileName() const {
    if (!opened_.isEmpty()) return opened_;
    const QFileInfo source(editor_.FileName());
    if (editor_.FileName().isEmpty()) return {};
    const QString beside =
        source.dir().filePath(source.completeBaseName() + QStringLiteral(".tests.toml"));
    return QFileInfo::exists(beside) ? beside : QString();
}

void TAsmTests::OpenTestsClick() {
    TFileDialogRequest request;
    request.Title = QStringLiteral("Open Tests");
    request.Filters = {QStringLiteral("Test Files (*.tests.toml *.toml)"),
                       QStringLiteral("All Files (*)")};
    const QString current = TestsFileName();
    request.Directory =
        current.isEmpty() ? QFileInfo(editor_.FileName()).path() : QFileInfo(current).path();
    const QString name = Prompt().OpenFileName(&editor_, request);
    if (name.isEmpty()) return;
    StopRun({});
    opened_ = name;
    ClearRows();
}

void TAsmTests::ClearRows() {
    file_.reset();
    TestBox->clear();
    TestBox->hide();
    TestProgress->hide();
    TestSummary->hide();
    textChanged_ = false;
    SharePanel();
}

void TAsmTests::RunTestsClick() {
    const QString name = TestsFileName();
    if (name.isEmpty()) {
        Prompt().Error(&editor_,
                       QStringLiteral("No test file: open one with Tests, Open Tests..., or "
                                      "save the source beside its NAME.tests.toml."));
        return;
    }
    StopRun({});
    ClearRows();
    std::optional<TTestFile> file;
    bool assembled = false;
    {
        TBusyCursor busy;
        assembled = editor_.AssembleText();
        try {
            file = ReadTestFile(LocalPath(name));
        } catch (const ETestFileError& e) {
            ListMistakes(e, name);
        } catch (const EFileError& e) {
            editor_.AddListedError(FileErrorText(e));
        }
    }
    if (!assembled || !file) return;
    for (int a = 0; a < 256; ++a) {
        image_.Memory[a] = editor_.parser_->MemoryByte(a);
        image_.Set[size_t(a)] = editor_.parser_->SourceLine(a) >= 0;
    }
    file_ = std::move(file);
    if (file_->WarningsFail && !AsmWarnings(*editor_.parser_).empty()) {
        // As the grader would: every test fails unrun, and the Hints say why.
        for (int row = 0; row < int(file_->Tests.size()); ++row) {
            new QListWidgetItem(TestBox);
            ShowResult(row, NotRun(file_->Tests[size_t(row)], WarningsNotAllowed));
        }
        TestBox->show();
        MakeRoom();
        emit RunFinished();
        return;
    }
    StartRun(name);
}

void TAsmTests::ListMistakes(const ETestFileError& error, const QString& name) {
    const QString source = editor_.FileName();
    const QString shown = source.isEmpty() ? name : QFileInfo(source).dir().relativeFilePath(name);
    for (const std::string& line : error.Lines(shown.toStdString()))
        editor_.AddListedError(FromUtf8(line));
}

void TAsmTests::StartRun(const QString& testsFile) {
    report_ = TProgramReport();
    report_.Assembled = true;
    for (int row = 0; row < int(file_->Tests.size()); ++row) {
        new QListWidgetItem(TestBox);
        Label(row, QStringLiteral("waiting"));
        report_.MaxPoints += file_->Tests[size_t(row)].Points;
    }
    TestBox->show();
    SharePanel();
    done_ = 0;
    run_ = new TBackgroundTests(*file_, image_, this);
    connect(run_, &TBackgroundTests::TestFinished, this, &TAsmTests::ShowResult);
    connect(run_, &TBackgroundTests::AllFinished, this, &TAsmTests::ShowFinished);
    MenuStopTests->setEnabled(true);
    testsWatch_->addPath(testsFile);
    ShowRunning();  // a test file holds at least one test
    MakeRoom();
}

void TAsmTests::Label(int row, const QString& state) {
    TestBox->item(row)->setText(state + QStringLiteral(": ") +
                                FromUtf8(file_->Tests[size_t(row)].Name));
}

void TAsmTests::ShowRunning() {
    Label(done_, QStringLiteral("running"));
    TestProgress->ShowRunning(done_, TestBox->count(), FromUtf8(file_->Tests[size_t(done_)].Name));
}

void TAsmTests::SharePanel() {
    const bool results = !TestBox->isHidden();
    QListWidget& errors = *editor_.ErrorBox;
    errors.setVisible(!results || errors.count() > 0);
    // With results the panel takes a share of the window's growth; without, the text all.
    editor_.BottomSplitter->setStretchFactor(1, results ? 1 : 0);
    if (results) MakeRoom();
}

void TAsmTests::MakeRoom() {
    static constexpr int MostRows = 8;
    // How much a shown list lacks of the height its rows (up to MostRows) take: measured on
    // the list itself, so the panel's margins and rows, at any zoom, are already counted.
    const auto lacks = [](const QListWidget& list) {
        if (list.isHidden()) return 0;
        const int rows = std::min(list.count(), MostRows) * list.sizeHintForRow(0);
        return std::max(0, 2 * list.frameWidth() + rows - list.height());
    };
    QList<int> sizes = editor_.BottomSplitter->sizes();
    const int grow = std::min(lacks(*TestBox) + lacks(*editor_.ErrorBox),
                              sizes[0] / 2);  // the text keeps half
    if (grow <= 0) return;
    sizes[0] -= grow;
    sizes[1] += grow;
    editor_.BottomSplitter->setSizes(sizes);
}

void TAsmTests::ShowResult(int index, const TTestResult& result) {
    QString text = (result.Passed ? QStringLiteral("passed: ") : QStringLiteral("failed: ")) +
                   FromUtf8(result.Name);
    // A hidden test tells only whether it passed.
    for (std::size_t i = 0; i < result.Failures.size() && !result.Hidden; ++i)
        text +=
            (i == 0 ? QStringLiteral(": ") : QStringLiteral("; ")) + FromUtf8(result.Failures[i]);
    QListWidgetItem& item = *TestBox->item(index);
    item.setText(text);
    item.setToolTip(FromUtf8(result.Hidden ? std::string() : result.Description));
    item.setData(PassedRole, result.Passed);
    ColourResult(item);
    report_.Tests.push_back(result);
    done_ = index + 1;
    if (done_ < TestBox->count()) ShowRunning();
}

void TAsmTests::ShowFinished() {
    run_->deleteLater();  // it is telling this
    EndRun();
    TestProgress->hide();
    TestSummary->setText(FromUtf8(Summary(report_)));
    TestSummary->show();
    summaryVoice_->Changed();
    MakeRoom();
    emit RunFinished();
    if (const std::optional<std::string> name = std::exchange(loadAfterRun_, std::nullopt)) {
        const auto& tests = file_->Tests;
        const auto test = std::find_if(tests.begin(), tests.end(),
                                       [&](const TTestCase& t) { return t.Name == *name; });
        if (test != tests.end()) LoadTest(int(test - tests.begin()));
    }
}

void TAsmTests::EndRun() {
    run_ = nullptr;
    MenuStopTests->setEnabled(false);
    if (const QStringList watched = testsWatch_->files(); !watched.isEmpty())
        testsWatch_->removePaths(watched);
}

void TAsmTests::StopTestsClick() {
    StopRun({});
}

void TAsmTests::TextEdited() {
    if (file_) textChanged_ = true;
    StopRun(QStringLiteral("the text was changed"));
}

void TAsmTests::StopRun(const QString& why) {
    loadAfterRun_.reset();
    if (!run_) return;
    run_->Stop();       // tells the results that came before the stop
    if (!run_) return;  // they were all there
    delete run_;
    EndRun();
    const int count = TestBox->count();
    for (int row = done_; row < count; ++row)
        Label(row, row == done_ ? QStringLiteral("stopped") : QStringLiteral("not run"));
    TestProgress->ShowStopped(done_, count, why);
}

void TAsmTests::LoadTest(int row) {
    if (!editor_.Simulation() || !file_ || row < 0 || row >= int(file_->Tests.size())) return;
    const TTestCase& test = file_->Tests[size_t(row)];
    if (textChanged_) {
        // The rows belong to the old text: they are brought up to date before anything loads.
        const std::string name = test.Name;
        RunTestsClick();
        if (!Running()) return;  // the text or the test file has mistakes, now listed
        loadAfterRun_ = name;
        TestSummary->setText(QStringLiteral("The text was changed since the tests ran: they run "
                                            "again, then \"%1\" is loaded.")
                                 .arg(FromUtf8(name)));
        TestSummary->show();
        return;
    }
    // The text is as it was run, and so is its image; assembling it again puts its source
    // lines where the machine's PC can be followed.
    if (!editor_.AssembleText() || !editor_.MayOverwriteMemory()) return;
    editor_.LoadIntoMemory(StartLoad(StartState(test, image_)));
}

bool TAsmTests::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TestBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LoadTest(SelectedRow(*TestBox));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
