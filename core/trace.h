#pragma once
// The trace: the history as tab-separated text, one line per executed instruction
// under a header line. Columns are formatted by hand into the caller's buffer, so that
// millions of lines a second can be written.

#include <functional>
#include <string>
#include <string_view>

#include "core/history.h"

enum class TTraceColumn : int { Step, Pc, Word, Instruction, Change };
constexpr int TraceColumnCount = 5;

// "step\tpc\tword\tinstruction\tchange\n"
extern const std::string_view TraceHeader;

// Room one line needs at most, line end included.
constexpr int MaxTraceLine = 80;

// The instruction column: the instruction text of the word up to its comment, without
// trailing blanks ("invalid" for an invalid word).
std::string_view TraceInstruction(int word);

// Writes one column of e at out (room for MaxTraceLine bytes) and returns its end.
char* FormatTraceColumn(char* out, const THistoryEntry& e, TTraceColumn column);

// Writes the whole line of e, LF included.
char* FormatTraceLine(char* out, const THistoryEntry& e);

// The whole history as a file: the trace as above, or CSV with the same header and
// columns (comma-separated, CRLF line ends, a field that holds a comma, quote or line
// break in quotes with its quotes doubled).
// It goes to sink in pieces of about a mebibyte, so that no more is held at once.
enum class TTraceFormat { Tabs, Csv };
void WriteTrace(const THistory& history, TTraceFormat format,
                const std::function<void(std::string_view)>& sink);
