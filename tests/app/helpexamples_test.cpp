// The examples in the instruction and syntax help assemble to the bytes the help shows.

#include <QtTest>

#include "app/helptopics.h"
#include "asm/asmparse.h"

class THelpExamplesTest : public QObject {
    Q_OBJECT
private slots:
    void ExamplesAssembleAsShown_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("bytes");
        for (const QList<THelpExample>* examples : {&InstructionExamples(), &SyntaxExamples()}) {
            for (const THelpExample& example : *examples) {
                QTest::newRow(qPrintable(example.Source.section('\n', 0, 0) + " @" +
                                         QString::number(example.Address)))
                    << example.Source << example.Address << example.Bytes;
            }
        }
    }
    void ExamplesAssembleAsShown() {
        QFETCH(QString, source);
        QFETCH(int, address);
        QFETCH(QString, bytes);
        TMemoryTextSource text(source.toStdString());
        TAsmParser parser(text);
        QStringList errors;
        parser.Assemble([&](void*, int line, int column, std::string_view message) {
            errors << QString("%1:%2 %3")
                          .arg(line)
                          .arg(column)
                          .arg(QString::fromUtf8(message.data(), qsizetype(message.size())));
        });
        QCOMPARE(errors, QStringList());

        QStringList expected = bytes.split(' ');
        QStringList image;
        for (int a = 0; a < 256; ++a) {
            image << QString::number(parser.MemoryByte(a), 16).toUpper().rightJustified(2, '0');
        }
        QCOMPARE(image.mid(address, expected.size()), expected);
        // Nothing else was placed.
        image.remove(address, expected.size());
        QCOMPARE(image.count("00"), 256 - int(expected.size()));
    }

    void EveryMnemonicAndDirectiveHasAnExample() {
        QSet<QString> shown;
        for (const THelpExample& example : SyntaxExamples()) {
            for (const QString& line : example.Source.split('\n')) {
                const QString code = line.section(';', 0, 0).section(':', -1).trimmed();
                shown << code.section(' ', 0, 0).toLower();
            }
        }
        for (const char* word : {"load", "store", "move", "addi", "addf", "or", "and", "xor", "ror",
                                 "jmp", "jmpeq", "jmple", "halt", "org", "db"}) {
            QVERIFY2(shown.contains(word), word);
        }
    }
};

QTEST_MAIN(THelpExamplesTest)
#include "helpexamples_test.moc"
