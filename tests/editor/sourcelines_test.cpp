// The editor and the command-line tool read a source file into the same lines and assemble
// it to the same reports and bytes; the editor's loader refuses what the tool refuses.

#include <sys/stat.h>

#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <sstream>

#include "asm/asmparse.h"
#include "cli/program.h"
#include "core/fileerror.h"
#include "editor/editortextsource.h"
#include "editor/sourcefile.h"

namespace {

// Reports as the tool prints them, and the image; "!" and the message when it refused.
std::string ByTool(const std::string& path) {
    std::ostringstream reports;
    TMemoryImage image{};
    try {
        std::istringstream noInput;
        image = AssembleSourceFile(path, noInput, reports, false).Image;
    } catch (const EAssemblyFailed&) {
    } catch (const EFileError& e) {
        return std::string("!") + e.what();
    }
    for (int byte : image) reports << ' ' << byte;
    return reports.str();
}

std::string ByEditor(const std::string& path) {
    QString text;
    try {
        text = ReadSourceText(QString::fromStdString(path));
    } catch (const EFileError& e) {
        return std::string("!") + e.what();
    }
    QTextDocument document;
    document.setPlainText(text);
    const TEditorTextSource source(document);
    TAsmParser parser(source);
    std::ostringstream reports;
    parser.Assemble([&](void*, int line, int column, std::string_view message) {
        reports << path << ':' << line + 1 << ':' << column + 1 << ": " << message << '\n';
    });
    // The tool gives no image when there were errors.
    const bool failed = !reports.str().empty();
    for (int a = 0; a < 256; ++a) reports << ' ' << (failed ? 0 : parser.MemoryByte(a));
    return reports.str();
}

}  // namespace

class SourceLines : public QObject {
    Q_OBJECT

private slots:
    void BothSidesSplitAndAssembleAlike_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("lone CR") << QByteArray("halt\rhalt 1\rdb 7");
        QTest::newRow("mixed ends") << QByteArray("db 1\r\n\rdb 2\n\r\ndb 3\r");
        QTest::newRow("CR before CR LF") << QByteArray("db 1\r\r\njmp x");
        QTest::newRow("line separator") << QByteArray("db 'a\xE2\x80\xA8' ; x\nhalt 1");
        QTest::newRow("paragraph separator") << QByteArray("db 'a\xE2\x80\xA9', 5 halt\nmove");
        QTest::newRow("frame marks") << QByteArray("db '\xEF\xB7\x90\xEF\xB7\x91' x\nhalt 2");
        QTest::newRow("VT FF NEL") << QByteArray("db 1\x0B\x0C \xC2\x85 2\nhalt 3");
        QTest::newRow("not UTF-8") << QByteArray("db '\xDC'\rdb '\x85\x0D'x");
        QTest::newRow("byte order mark, not UTF-8") << QByteArray(
            "\xEF\xBB\xBF"
            "db '\xFF'\rx");
        QTest::newRow("byte order mark, UTF-8") << QByteArray(
            "\xEF\xBB\xBF"
            "db '\xC3\x9C'\rx");
        QTest::newRow("empty lines") << QByteArray("\r\n\n\r\r\njmp y\r");
    }
    void BothSidesSplitAndAssembleAlike() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("tricky.asm"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const std::string path = name.toStdString();
        const std::string tool = ByTool(path);
        QCOMPARE(QString::fromStdString(ByEditor(path)), QString::fromStdString(tool));
    }

    void LoaderRefusesSpecialAndHugeFiles() {
        QTemporaryDir dir;
        const std::string fifo = dir.filePath(QStringLiteral("pipe.asm")).toStdString();
        QCOMPARE(::mkfifo(fifo.c_str(), 0666), 0);
        const std::string huge = dir.filePath(QStringLiteral("huge.asm")).toStdString();
        QFile file(QString::fromStdString(huge));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(16 * 1024 * 1024 + 1));  // sparse
        file.close();
        const struct {
            std::string path, refusal;
        } cases[] = {
            {fifo, "!Cannot open file " + fifo + ": it is a pipe, not a regular file."},
            {"/dev/zero", "!Cannot open file /dev/zero: it is a device, not a regular file."},
            {huge, "!The file " + huge + " is too large for an assembly source file."},
        };
        for (const auto& c : cases) QCOMPARE(ByEditor(c.path), c.refusal);
    }
};

QTEST_MAIN(SourceLines)
#include "sourcelines_test.moc"
