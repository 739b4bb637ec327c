// File loads that run out of memory: the window says so and stays as it was. This test
// program replaces operator new so that a test can make one allocation fail.
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "app/mainwin.h"
#include "controls/hexgrid.h"
#include "core/memfile.h"
#include "editor/asmedit.h"
#include "gui/processvalues.h"
#include "testprompt.h"

namespace {

// The next operator new of at least this many bytes fails (then the limit is lifted).
std::size_t failFrom = SIZE_MAX;

void* Allocate(std::size_t size) {
    if (size >= failFrom) {
        failFrom = SIZE_MAX;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

class TOutOfMemoryTest : public QObject {
    Q_OBJECT

    const QString NoMemory =
        "Error|Cannot open file %1\nThere was not enough memory to complete the operation.";

private slots:
    void MainWindowKeepsMemoryPcAndCaption() {
        QTemporaryDir dir;
        TTestPrompt prompt;
        ProcessValues().TempDir = dir.path() + "/";
        const QString path = dir.filePath("big.prg");
        WriteMemoryFile(path.toStdString(), TMemoryImage{});
        TMainWin w;
        w.MainMemory->SetContents(0, 0x12);
        w.SysRegs->SetContents(0, 0x21);
        w.SetMemModified(false);
        prompt.FileNames = {path};
        failFrom = 1024;  // the buffer the image is read into
        w.OpenFileClick();
        failFrom = SIZE_MAX;
        QCOMPARE(prompt.Shown, QStringList{NoMemory.arg(path)});
        QCOMPARE(w.MainMemory->GetContents(0), 0x12);
        QCOMPARE(w.SysRegs->GetContents(0), 0x21);
        QCOMPARE(w.windowTitle(), QString("Quarzel Simulator"));
    }

    void EditorKeepsItsText() {
        QTemporaryDir dir;
        TTestPrompt prompt;
        const QString path = dir.filePath("big.asm");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("halt\n");
        file.close();
        TAssemblerEditor editor;
        editor.TextEditor->setPlainText("load R1,2");
        editor.SetFileModified(false);
        failFrom = 1;  // the first allocation of the load
        const bool loaded = editor.LoadSourceFile(path);
        failFrom = SIZE_MAX;
        QVERIFY(!loaded);
        QCOMPARE(prompt.Shown, QStringList{NoMemory.arg(path)});
        QCOMPARE(editor.TextEditor->toPlainText(), QString("load R1,2"));
        QCOMPARE(editor.FileName(), QString());
    }
};

QTEST_MAIN(TOutOfMemoryTest)
#include "outofmemory_test.moc"
