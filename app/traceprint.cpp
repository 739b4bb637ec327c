#include "app/traceprint.h"

#include <QFontDatabase>
#include <QFontMetrics>
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

void PrintTrace(const THistory& history, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const int lineHeight = metrics.lineSpacing();
    const int charWidth = metrics.horizontalAdvance(u'0');
    const QRect page = painter.viewport();
    const int linesPerPage = std::max(1, page.height() / lineHeight - 2);  // header, gap
    const long long pages = std::max(1LL, (history.Size() + linesPerPage - 1) / linesPerPage);
    const long long firstPage = printer.fromPage() > 0 ? printer.fromPage() : 1;
    const long long lastPage =
        printer.toPage() > 0 ? std::min<long long>(printer.toPage(), pages) : pages;
    const std::array<int, TraceColumnCount> starts = ColumnStarts(history);

    for (long long p = firstPage; p <= lastPage; ++p) {
        if (p > firstPage) printer.newPage();
        int y = metrics.ascent();
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
    painter.end();
}
