// Loads a 10,000-line source into an assembler editor with highlighting on, then types
// 1,000 characters into the middle of it, each keystroke followed by its repaint. Prints
// the load time and the median and worst time per keystroke.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "editor/asmedit.h"

namespace {

constexpr int SourceLines = 10000;
constexpr int Keystrokes = 1000;

// A mix of every kind of line: labels, instructions, directives, strings, comments,
// malformed numbers and the hidden keyword.
QByteArray Source() {
    const char* lines[] = {
        "start:  load R1,0x10     ; first value",
        "        load R2,[data]",
        "loop:   addi R3,R1,R2",
        "        jmpLE R3<=R0,loop",
        "        db \"Hello, world\",0Ah,13,-1",
        "        ror RA,3",
        "        db 12A3, 'unclosed",
        "vorlak: store R4,[R8]",
        "        halt",
        "",
    };
    QByteArray text;
    for (int i = 0; i < SourceLines; ++i) {
        text += lines[i % std::size(lines)];
        text += "\r\n";
    }
    return text;
}

// CPU time of this thread: what the keystroke itself costs, without the time other
// processes on a busy machine take the processor away.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Worst(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

void Key(QWidget* target, QChar c) {
    const int key = c == QLatin1Char('\n') ? int(Qt::Key_Return) : int(c.toUpper().unicode());
    const QString text = c == QLatin1Char('\n') ? QStringLiteral("\r") : QString(c);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("big.asm"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(Source()) < 0) return 1;
    file.close();

    TAssemblerEditor editor;
    editor.show();
    QApplication::setActiveWindow(&editor);
    editor.TextEditor->setFocus();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    if (!editor.LoadSourceFile(name)) return 1;
    QApplication::processEvents();
    const double loadMs = double(timer.nsecsElapsed()) / 1e6;

    QTextCursor cursor(editor.TextEditor->document()->findBlockByNumber(SourceLines / 2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor.TextEditor->setTextCursor(cursor);
    editor.TextEditor->centerCursor();
    QApplication::processEvents();

    const QString typing = QStringLiteral("  load R5,0ABh ; typed\nx: db 'str',12\n");
    std::vector<double> keyMs, cpuMs;
    keyMs.reserve(Keystrokes);
    for (int i = 0; i < Keystrokes; ++i) {
        const double cpuStart = ThreadCpuMs();
        timer.restart();
        Key(editor.TextEditor, typing[i % typing.size()]);
        QApplication::processEvents();  // the repaint belongs to the keystroke
        keyMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpuMs.push_back(ThreadCpuMs() - cpuStart);
    }
    std::printf("editor load of %d lines with highlighting: %.1f ms\n", SourceLines, loadMs);
    std::printf(
        "keystroke (%d typed mid-file, with repaint), wall clock: median %.3f ms, "
        "worst %.3f ms\n",
        Keystrokes, Median(keyMs), Worst(keyMs));
    std::printf("keystroke, CPU time of the GUI thread: median %.3f ms, worst %.3f ms\n",
                Median(cpuMs), Worst(cpuMs));
    std::printf("lines after typing: %d\n", editor.TextEditor->document()->blockCount());
    editor.SetFileModified(false);  // no question when the editor goes
    return 0;
}
