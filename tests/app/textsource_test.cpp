// The read-only stream the help viewer loads its topics through.

#include <QtTest>

#include "app/textsource.h"

class TTextSourceTest : public QObject {
    Q_OBJECT
private slots:
    void SizeIsTheBytesBeforeTheZero() {
        QCOMPARE(TTextSource("").Size(), 0);
        QCOMPARE(TTextSource("hello").Size(), 5);
        const char embedded[] = "ab\0cd";
        QCOMPARE(TTextSource(embedded).Size(), 2);
    }

    void Seek_data() {
        QTest::addColumn<int>("start");  // position before the seek
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("origin");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("position");  // position after the seek
        const int begin = int(TSeekOrigin::Beginning), current = int(TSeekOrigin::Current),
                  end = int(TSeekOrigin::End);
        // The text is "0123456789", size 10.
        QTest::newRow("beginning") << 4 << 7 << begin << 7 << 7;
        QTest::newRow("beginning to size") << 4 << 10 << begin << 10 << 10;
        QTest::newRow("beginning past size") << 4 << 11 << begin << -1 << 4;
        QTest::newRow("beginning negative") << 4 << -1 << begin << -1 << 4;
        QTest::newRow("current forward") << 4 << 3 << current << 7 << 7;
        QTest::newRow("current back") << 4 << -4 << current << 0 << 0;
        QTest::newRow("current before start") << 4 << -5 << current << -1 << 4;
        QTest::newRow("current past end") << 4 << 7 << current << -1 << 4;
        QTest::newRow("end offset 0 is the size") << 4 << 0 << end << 10 << 10;
        QTest::newRow("end counts back") << 4 << 3 << end << 7 << 7;
        QTest::newRow("end back to start") << 4 << 10 << end << 0 << 0;
        QTest::newRow("end beyond start") << 4 << 11 << end << -1 << 4;
        QTest::newRow("end negative") << 4 << -1 << end << -1 << 4;
        QTest::newRow("unknown origin") << 4 << 0 << 7 << -1 << 4;
    }
    void Seek() {
        QFETCH(int, start);
        QFETCH(int, offset);
        QFETCH(int, origin);
        QFETCH(int, result);
        QFETCH(int, position);
        TTextSource source("0123456789");
        QCOMPARE(source.Seek(start, TSeekOrigin::Beginning), start);
        QCOMPARE(source.Seek(offset, static_cast<TSeekOrigin>(origin)), result);
        QCOMPARE(source.Position(), position);
    }

    void ReadGivesTheTextInPiecesThenZero() {
        TTextSource source("0123456789");
        char buffer[8] = {};
        QCOMPARE(source.Read(buffer, 4), 4);
        QCOMPARE(QByteArray(buffer, 4), QByteArray("0123"));
        QCOMPARE(source.Read(buffer, 8), 6);
        QCOMPARE(QByteArray(buffer, 6), QByteArray("456789"));
        QCOMPARE(source.Position(), 10);
        QCOMPARE(source.Read(buffer, 8), 0);
        QCOMPARE(source.Seek(-3, TSeekOrigin::Current), 7);
        QCOMPARE(source.Read(buffer, 0), 0);
        QCOMPARE(source.Read(buffer, 8), 3);
        QCOMPARE(QByteArray(buffer, 3), QByteArray("789"));
    }

    void WriteWritesNothing() {
        char text[] = "abc";
        TTextSource source(text);
        QCOMPARE(source.Write("xyz", 3), 0);
        QCOMPARE(QByteArray(text), QByteArray("abc"));
        QCOMPARE(source.Position(), 0);
    }

    void TheTextIsBorrowedNotCopied() {
        char text[] = "abc";
        TTextSource source(text);
        text[0] = 'X';
        char buffer[3];
        QCOMPARE(source.Read(buffer, 3), 3);
        QCOMPARE(buffer[0], 'X');
    }
};

QTEST_MAIN(TTextSourceTest)
#include "textsource_test.moc"
