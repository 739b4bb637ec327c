// The output terminal's line model: wrap before the character, line feed, scroll,
// tab stops, backspace, code 0, re-layout after a resize, and the glyph table.

#include <QTest>
#include <string>
#include <vector>

#include "controls/showtext.h"
#include "core/cp437.h"

namespace {

using TLines = std::vector<std::string>;

// A terminal measured to exactly cols x rows characters of its font.
struct TTerminal {
    TShowText Text;

    TTerminal(int cols, int rows) {
        const QFontMetrics metrics(Text.font());
        const QMargins frame = Text.contentsMargins();
        Text.resize(cols * metrics.horizontalAdvance(u'x') + frame.left() + frame.right(),
                    rows * metrics.height() + frame.top() + frame.bottom());
        Text.CalcWinSize();
    }

    void Write(const std::string& bytes) {
        for (const char c : bytes) Text.Write(c);
    }
};

}  // namespace

class TShowTextTest : public QObject {
    Q_OBJECT

private slots:
    void measure();
    void writes_data();
    void writes();
    void takeBackUndoesEachWrite_data();
    void takeBackUndoesEachWrite();
    void lineFeedOnLastRowScrolls();
    void resizeCutsAtNextWrite();
    void tinyAreaCountsAsOneByOne();
    void tabWithFewerColumnsThanAStop();
    void writeTextStopsAtZero();
    void glyphs_data();
    void glyphs();
};

void TShowTextTest::measure() {
    TTerminal t(18, 4);
    QCOMPARE(t.Text.Columns(), 18);
    QCOMPARE(t.Text.Rows(), 4);
    QVERIFY(t.Text.Lines().empty());
    QCOMPARE(t.Text.CurLine(), 0);
}

// All on a 10 x 3 terminal.
void TShowTextTest::writes_data() {
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<TLines>("lines");
    QTest::addColumn<int>("curLine");
    QTest::newRow("Hello") << std::string{72, 101, 108, 108, 111} << TLines{"Hello"} << 0;
    QTest::newRow("full line wraps before the next character")
        << std::string("0123456789A") << TLines{"0123456789", "A"} << 1;
    QTest::newRow("exactly full stays") << std::string("0123456789") << TLines{"0123456789"} << 0;
    QTest::newRow("line feed") << std::string("ab\ncd") << TLines{"ab", "cd"} << 1;
    QTest::newRow("line feed first") << std::string("\nx") << TLines{"", "x"} << 1;
    QTest::newRow("carriage return is a character") << std::string("ab\rc") << TLines{"ab\rc"} << 0;
    QTest::newRow("bell and form feed are characters")
        << std::string("\a\f") << TLines{"\a\f"} << 0;
    QTest::newRow("tab on empty line") << std::string("\t") << TLines{"        "} << 0;
    QTest::newRow("tab after 3") << std::string("abc\tZ") << TLines{"abc     Z"} << 0;
    QTest::newRow("tab after 8 wraps")
        << std::string("12345678\t") << TLines{"12345678  ", "        "} << 1;
    QTest::newRow("backspace") << std::string("abc\b") << TLines{"ab"} << 0;
    QTest::newRow("backspace on empty line") << std::string("\b") << TLines{} << 0;
    QTest::newRow("backspace on full line moves on")
        << std::string("0123456789\b") << TLines{"0123456789", ""} << 1;
    QTest::newRow("code 0 adds nothing") << std::string("a\0b", 3) << TLines{"ab"} << 0;
    QTest::newRow("code 0 on full line moves on")
        << std::string("0123456789\0", 11) << TLines{"0123456789", ""} << 1;
    QTest::newRow("equal characters both shown") << std::string("AA") << TLines{"AA"} << 0;
    QTest::newRow("high bytes stored as they are")
        << std::string("\x80\xFF") << TLines{"\x80\xFF"} << 0;
}

void TShowTextTest::writes() {
    QFETCH(std::string, bytes);
    QFETCH(TLines, lines);
    QFETCH(int, curLine);
    TTerminal t(10, 3);
    t.Write(bytes);
    QCOMPARE(t.Text.Lines(), lines);
    QCOMPARE(t.Text.CurLine(), curLine);
}

void TShowTextTest::lineFeedOnLastRowScrolls() {
    TTerminal t(10, 3);
    t.Write("one\ntwo\nthree\nfour");
    QCOMPARE(t.Text.Lines(), (TLines{"two", "three", "four"}));
    QCOMPARE(t.Text.CurLine(), 2);
    t.Write("56789012");  // wrapping off the last row scrolls as well
    QCOMPARE(t.Text.Lines(), (TLines{"three", "four567890", "12"}));
    QCOMPARE(t.Text.CurLine(), 2);
}

void TShowTextTest::resizeCutsAtNextWrite() {
    TTerminal t(10, 3);
    t.Write("0123456789\nabcdefgh\nxyz");
    TTerminal smaller(4, 2);
    t.Text.resize(smaller.Text.size());
    QCOMPARE(t.Text.Lines().size(), size_t(3));  // nothing happens until the next write
    t.Write("!");
    QCOMPARE(t.Text.Columns(), 4);
    QCOMPARE(t.Text.Rows(), 2);
    QCOMPARE(t.Text.Lines(), (TLines{"abcd", "!"}));  // cut, clamped, full: scrolled
    QCOMPARE(t.Text.CurLine(), 1);
}

void TShowTextTest::tinyAreaCountsAsOneByOne() {
    TShowText text;
    text.resize(1, 1);
    text.Write("ab");
    QCOMPARE(text.Columns(), 1);
    QCOMPARE(text.Rows(), 1);
    QCOMPARE(text.Lines(), TLines{"b"});
}

// No line of fewer than 8 columns reaches a tab stop: the tab fills the line and ends.
void TShowTextTest::tabWithFewerColumnsThanAStop() {
    TTerminal t(5, 2);
    t.Write("ab\tc");
    QCOMPARE(t.Text.Lines(), (TLines{"ab   ", "c"}));
}

void TShowTextTest::writeTextStopsAtZero() {
    TTerminal t(10, 3);
    t.Text.Write("");
    QVERIFY(t.Text.Lines().empty());
    const char text[] = {'H', 'i', '\0', 'X', '\0'};
    t.Text.Write(text);
    QCOMPARE(t.Text.Lines(), TLines{"Hi"});
}

void TShowTextTest::glyphs_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<uint>("glyph");
    QTest::newRow("0 blank") << 0x00 << uint(0x20);
    QTest::newRow("01 face") << 0x01 << uint(0x263A);
    QTest::newRow("0D note") << 0x0D << uint(0x266A);
    QTest::newRow("1F down") << 0x1F << uint(0x25BC);
    QTest::newRow("A") << 0x41 << uint('A');
    QTest::newRow("7F house") << 0x7F << uint(0x2302);
    QTest::newRow("80 C cedilla") << 0x80 << uint(0x00C7);
    QTest::newRow("B3 box line") << 0xB3 << uint(0x2502);
    QTest::newRow("DB block") << 0xDB << uint(0x2588);
    QTest::newRow("E1 sharp s") << 0xE1 << uint(0x00DF);
    QTest::newRow("FE square") << 0xFE << uint(0x25A0);
    QTest::newRow("FF no-break space") << 0xFF << uint(0x00A0);
}

void TShowTextTest::glyphs() {
    QFETCH(int, byte);
    QFETCH(uint, glyph);
    QCOMPARE(uint(Cp437Glyph(static_cast<std::uint8_t>(byte))), glyph);
}

void TShowTextTest::takeBackUndoesEachWrite_data() {
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::addColumn<std::string>("bytes");
    QTest::newRow("text and wrap") << 4 << 2 << std::string("Hello, world");
    QTest::newRow("scrolled-off lines") << 5 << 2 << std::string("one\ntwo\nthree\nfour\n\n");
    QTest::newRow("tab and backspace") << 10 << 3 << std::string("ab\tc\b\b\b\t\t\bx") + '\0';
    std::string many;
    for (int i = 0; i < 10000; ++i)
        many.push_back(static_cast<char>(i % 7 == 0 ? '\n' : 'a' + i % 26));
    QTest::newRow("past several checkpoints") << 8 << 3 << many;
}

// Each byte's state is restored exactly by taking back the bytes after it.
void TShowTextTest::takeBackUndoesEachWrite() {
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(std::string, bytes);
    TTerminal t(cols, rows);
    t.Write("before");
    t.Text.ForgetWritten();
    std::vector<std::pair<TLines, int>> states;
    for (const char c : bytes) {
        states.push_back({t.Text.Lines(), t.Text.CurLine()});
        t.Text.Write(c);
    }
    for (size_t i = bytes.size(); i-- > 0;) {
        QVERIFY(t.Text.TakeBack());
        QCOMPARE(t.Text.Lines(), states[i].first);
        QCOMPARE(t.Text.CurLine(), states[i].second);
    }
    QVERIFY(!t.Text.TakeBack());  // "before" was forgotten
    t.Write("x");
    t.Text.resize(t.Text.width() + 40, t.Text.height());
    QVERIFY(!t.Text.TakeBack());  // not across a change of layout
}

QTEST_MAIN(TShowTextTest)
#include "showtext_test.moc"
