#include "editor/asmtests.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

#include "asm/asmparse.h"
#include "core/fileerror.h"
#include "core/simulation.h"
#include "editor/asmedit.h"
#include "editor/menukeys.h"
#include "grading/testrun.h"
#include "gui/busycursor.h"
#include "gui/localpath.h"
#include "gui/prompt.h"
#include "gui/theme.h"

namespace {

constexpr int PassedRole = Qt::UserRole;  // whether the row's test passed

void ColourResult(QListWidgetItem& item) {
    item.setForeground(ThemeColour(item.data(PassedRole).toBool() ? TThemeColour::TestPassed
                                                                  : TThemeColour::TestFailed));
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

    TestBox = new QListWidget;
    TestBox->setObjectName(QStringLiteral("TestBox"));
    TestBox->setSelectionMode(QAbstractItemView::SingleSelection);
    TestBox->setFont(editor.ErrorBox->font());
    TestBox->hide();
    editor.listColumn_->addWidget(TestBox, 1);
    editor.menuKeys_->Watch(TestBox);
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
    opened_ = name;
    file_.reset();
    TestBox->clear();
    TestBox->hide();
}

void TAsmTests::RunTestsClick() {
    const QString name = TestsFileName();
    if (name.isEmpty()) {
        Prompt().Error(&editor_,
                       QStringLiteral("No test file: open one with Tests, Open Tests..., or "
                                      "save the source beside its NAME.tests.toml."));
        return;
    }
    TBusyCursor busy;
    file_.reset();
    TestBox->clear();
    TestBox->hide();
    const bool assembled = editor_.AssembleText();
    std::optional<TTestFile> file;
    try {
        file = ReadTestFile(LocalPath(name));
    } catch (const ETestFileError& e) {
        for (const std::string& line : e.Lines()) editor_.AddListedError(FromUtf8(line));
    } catch (const EFileError& e) {
        editor_.AddListedError(FileErrorText(e));
    }
    if (!assembled || !file) return;
    for (int a = 0; a < 256; ++a) {
        image_.Memory[a] = editor_.parser_->MemoryByte(a);
        image_.Set[size_t(a)] = editor_.parser_->SourceLine(a) >= 0;
    }
    file_ = std::move(file);
    ShowResults();
}

void TAsmTests::ShowResults() {
    for (const TTestResult& result : RunTests(*file_, image_)) {
        QString text = (result.Passed ? QStringLiteral("passed: ") : QStringLiteral("failed: ")) +
                       FromUtf8(result.Name);
        // A hidden test tells only whether it passed.
        for (std::size_t i = 0; i < result.Failures.size() && !result.Hidden; ++i)
            text += (i == 0 ? QStringLiteral(": ") : QStringLiteral("; ")) +
                    FromUtf8(result.Failures[i]);
        auto* item = new QListWidgetItem(text, TestBox);
        item->setToolTip(FromUtf8(result.Hidden ? std::string() : result.Description));
        item->setData(PassedRole, result.Passed);
        ColourResult(*item);
    }
    TestBox->show();
}

void TAsmTests::LoadTest(int row) {
    if (!editor_.Simulation() || !file_ || row < 0 || row >= int(file_->Tests.size())) return;
    if (!editor_.MayOverwriteMemory()) return;
    const TStartState start = StartState(file_->Tests[size_t(row)], image_);
    TProgramLoad program(start.Memory, start.Pc);
    program.Registers = start.Registers;
    editor_.LoadIntoMemory(program);
}
