#include "app/traceprint.h"

#include <QDate>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <array>

#include "app/tracemodel.h"
#include "core/history.h"
#include "core/trace.h"

namespace {

// Where each column starts, in characters: the widest step number, then fixed widths.
std::array<int, TraceColumnCount> ColumnStarts(const THistory& history) {
    const int stepWidth = std::max(4, static_cast<int>(QString::number(history.LastStep()).size()));
    const int widths[TraceColumnCount - 1] = {stepWidth, 2, 4, 15};
    std::array<int, TraceColumnCount> starts{};
    for (int c = 1; c < TraceColumnCount; ++c) starts[c] = starts[c - 1] + widths[c - 1] + 2;
    return starts;
}

}  // namespace

void PrintTrace(const THistory& history, QPrinter& printer, const QString& title) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    TTracePrint print;
    print.Title = title;
    print.Date = QLocale().toString(QDate::currentDate(), QLocale::LongFormat);
    print.FromPage = std::max(1, printer.fromPage());
    print.ToPage = printer.toPage();
    PaintTrace(history, painter, print, [&printer] { printer.newPage(); });
    painter.end();
}

void PaintTrace(const THistory& history, QPainter& painter, const TTracePrint& print,
                const std::function<void()>& newPage) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const int lineHeight = metrics.lineSpacing();
    const int charWidth = metrics.horizontalAdvance(u'0');
    const QRect page = painter.viewport();
    // The heading and a gap, the column names and a gap, and the page number below.
    const int linesPerPage = std::max(1, page.height() / lineHeight - 6);
    const long long pages = std::max(1LL, (history.Size() + linesPerPage - 1) / linesPerPage);
    const long long lastPage = print.ToPage > 0 ? std::min<long long>(print.ToPage, pages) : pages;
    const std::array<int, TraceColumnCount> starts = ColumnStarts(history);

    for (long long p = print.FromPage; p <= lastPage; ++p) {
        if (p > print.FromPage) newPage();
        int y = metrics.ascent();
        painter.drawText(0, y, print.Title);
        painter.drawText(page.width() - metrics.horizontalAdvance(print.Date), y, print.Date);
        const QString number = QString("Page %1 of %2").arg(p).arg(pages);
        painter.drawText((page.width() - metrics.horizontalAdvance(number)) / 2,
                         page.height() - metrics.descent(), number);
        y += 2 * lineHeight;
        for (int c = 0; c < TraceColumnCount; ++c)
            painter.drawText(starts[c] * charWidth, y, TraceColumnName(c));
        y += 2 * lineHeight;
        const long long from = (p - 1) * linesPerPage;
        const long long to = std::min(history.Size(), from + linesPerPage);
        for (long long i = from; i < to; ++i, y += lineHeight) {
            const THistoryEntry entry = history.Entry(i);
            for (int c = 0; c < TraceColumnCount; ++c) {
                char text[MaxTraceLine];
                const char* end = FormatTraceColumn(text, entry, static_cast<TTraceColumn>(c));
                painter.drawText(starts[c] * charWidth, y, QString::fromLatin1(text, end - text));
            }
        }
    }
}
