#pragma once
// Printing the trace: the history's lines in the trace's columns, as many pages as they
// fill, each under the column names; the printer's page range limits the pages.

class QPrinter;
class THistory;

void PrintTrace(const THistory& history, QPrinter& printer);
