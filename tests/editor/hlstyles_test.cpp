#include <QtTest>

#include "editor/hlstyles.h"

class THighlightStylesTest : public QObject {
    Q_OBJECT
private slots:
    void Records_data();
    void Records();
    void FormatCarriesEveryAppliedAttribute_data();
    void FormatCarriesEveryAppliedAttribute();
    void FormatLeavesOutUnappliedAttributes();
    void HiddenKeywordFollowsNormal();
};

void THighlightStylesTest::Records_data() {
    QTest::addColumn<int>("cls");
    QTest::addColumn<int>("height");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    const QColor black(0, 0, 0), blue(0, 0, 255), navy(0, 0, 128), red(255, 0, 0);
    QTest::newRow("normal") << int(THighlightClass::Normal) << 200 << black << false << false
                            << false;
    QTest::newRow("keyword") << int(THighlightClass::Keyword) << 200 << black << true << false
                             << false;
    QTest::newRow("numeric") << int(THighlightClass::Numeric) << 200 << blue << false << false
                             << false;
    QTest::newRow("string") << int(THighlightClass::String) << 200 << blue << false << false
                            << false;
    QTest::newRow("comment") << int(THighlightClass::Comment) << 180 << navy << false << true
                             << false;
    QTest::newRow("error") << int(THighlightClass::Error) << 200 << black << false << false << true;
    QTest::newRow("hidden") << int(THighlightClass::HiddenKeyword) << 600 << red << true << false
                            << false;
}

void THighlightStylesTest::Records() {
    QFETCH(int, cls);
    const THighlightStyle& style = HighlightStyle(THighlightClass(cls));
    QCOMPARE(style.FaceName, QStringLiteral("Courier New"));
    QTEST(style.Height, "height");
    QTEST(style.Color, "color");
    QTEST(style.Bold, "bold");
    QTEST(style.Italic, "italic");
    QTEST(style.Underline, "underline");
    QVERIFY(!style.StrikeOut);
    QVERIFY(style.OemCharSet);
    QCOMPARE(style.Applied, unsigned(saAll));
}

void THighlightStylesTest::FormatCarriesEveryAppliedAttribute_data() {
    QTest::addColumn<int>("cls");
    for (int cls = 0; cls < HighlightClassCount; ++cls)
        QTest::newRow(QByteArray::number(cls)) << cls;
}

// Every style sets all effects, face, colour and size, so applying one fully replaces
// whatever style the characters had.
void THighlightStylesTest::FormatCarriesEveryAppliedAttribute() {
    QFETCH(int, cls);
    const THighlightStyle& style = HighlightStyle(THighlightClass(cls));
    const QTextCharFormat format = style.Format();
    QCOMPARE(format.fontWeight(), style.Bold ? int(QFont::Bold) : int(QFont::Normal));
    QVERIFY(format.hasProperty(QTextFormat::FontItalic));
    QCOMPARE(format.fontItalic(), style.Italic);
    QVERIFY(format.hasProperty(QTextFormat::TextUnderlineStyle));
    QCOMPARE(format.fontUnderline(), style.Underline);
    QVERIFY(format.hasProperty(QTextFormat::FontStrikeOut));
    QCOMPARE(format.foreground().color(), style.Color);
    QCOMPARE(format.fontPointSize(), style.Height / 20.0);
    QVERIFY(format.fontFixedPitch());
    QCOMPARE(style.Font().pointSizeF(), style.Height / 20.0);
    QCOMPARE(style.Font().bold(), style.Bold);
    QCOMPARE(style.Font().italic(), style.Italic);
    QCOMPARE(style.Font().underline(), style.Underline);
}

void THighlightStylesTest::FormatLeavesOutUnappliedAttributes() {
    THighlightStyle style;
    style.Applied = saAll & ~(saColor | saSize);
    const QTextCharFormat format = style.Format();
    QVERIFY(!format.hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!format.hasProperty(QTextFormat::FontPointSize));
    QVERIFY(format.hasProperty(QTextFormat::FontWeight));
}

void THighlightStylesTest::HiddenKeywordFollowsNormal() {
    THighlightStyle& normal = HighlightStyle(THighlightClass::Normal);
    const THighlightStyle saved = normal;
    normal.Italic = true;
    normal.Color = QColor(1, 2, 3);
    SetUpHiddenKeywordStyle();
    const THighlightStyle hidden = HighlightStyle(THighlightClass::HiddenKeyword);
    normal = saved;
    SetUpHiddenKeywordStyle();
    QVERIFY(hidden.Italic);
    QVERIFY(hidden.Bold);
    QCOMPARE(hidden.Height, 600);
    QCOMPARE(hidden.Color, QColor(255, 0, 0));
    QVERIFY(!HighlightStyle(THighlightClass::HiddenKeyword).Italic);
}

QTEST_MAIN(THighlightStylesTest)
#include "hlstyles_test.moc"
