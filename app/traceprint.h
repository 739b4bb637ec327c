#pragma once
// Printing the trace: the history's lines in the trace's columns, as many pages as they
// fill, each under a heading (the program's name and the date), the column names and with
// its number below; the printer's page range limits the pages.

#include <QString>
#include <functional>

class QPainter;
class QPrinter;
class THistory;

struct TTracePrint {
    QString Title;  // the program's name
    QString Date;
    int FromPage = 1;
    int ToPage = 0;  // 0: to the last
};

void PrintTrace(const THistory& history, QPrinter& printer, const QString& title);
// The same on painter's device, whose pages newPage turns.
void PaintTrace(const THistory& history, QPainter& painter, const TTracePrint& print,
                const std::function<void()>& newPage);
