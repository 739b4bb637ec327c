#include "core/trace.h"

#include <array>
#include <cstring>
#include <string>

#include "core/disasm.h"
#include "core/hex.h"

const std::string_view TraceHeader = "step\tpc\tword\tinstruction\tchange\n";

namespace {

char* Decimal(char* out, long long value) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (n > 0) *out++ = digits[--n];
    return out;
}

char* Text(char* out, std::string_view text) {
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// "OLD->NEW"
char* Change(char* out, const TStepWrite& write) {
    out = WriteHex(out, write.Old, 2);
    out = Text(out, "->");
    return WriteHex(out, write.New, 2);
}

// The instruction column of every word, made the first time the word is traced.
struct TInstructionColumn {
    char Text[23];
    signed char Length = -1;
};

}  // namespace

std::string_view TraceInstruction(int word) {
    static std::array<TInstructionColumn, 65536> table;
    TInstructionColumn& column = table[word & 0xFFFF];
    if (column.Length < 0) {
        std::string text = InstructionText(word & 0xFFFF);
        text = text.substr(0, text.find(';'));
        text.erase(text.find_last_not_of(' ') + 1);
        text.resize(std::min(text.size(), sizeof column.Text));
        std::memcpy(column.Text, text.data(), text.size());
        column.Length = static_cast<signed char>(text.size());
    }
    return {column.Text, static_cast<size_t>(column.Length)};
}

char* FormatTraceColumn(char* out, const THistoryEntry& e, TTraceColumn column) {
    switch (column) {
        case TTraceColumn::Step:
            return Decimal(out, e.Step);
        case TTraceColumn::Pc:
            return WriteHex(out, e.Pc, 2);
        case TTraceColumn::Word:
            return WriteHex(out, e.Word, 4);
        case TTraceColumn::Instruction:
            return Text(out, TraceInstruction(e.Word));
        case TTraceColumn::Change:
            break;
    }
    switch (e.Write.Kind) {
        case TWriteKind::Register:
            *out++ = 'R';
            out = WriteHex(out, e.Write.Index, 1);
            *out++ = ' ';
            return Change(out, e.Write);
        case TWriteKind::Memory:
            *out++ = '[';
            out = WriteHex(out, e.Write.Index, 2);
            out = Text(out, "] ");
            return Change(out, e.Write);
        case TWriteKind::Pc:
            out = Text(out, "PC ");
            return Change(out, e.Write);
        case TWriteKind::None:
            break;
    }
    const TStepResult result = e.Result();
    return Text(out, result == TStepResult::Halted    ? "halt"
                     : result == TStepResult::Invalid ? "invalid"
                                                      : "-");
}

char* FormatTraceLine(char* out, const THistoryEntry& e) {
    for (int c = 0; c < TraceColumnCount; ++c) {
        out = FormatTraceColumn(out, e, static_cast<TTraceColumn>(c));
        *out++ = c + 1 < TraceColumnCount ? '\t' : '\n';
    }
    return out;
}

namespace {

void AppendCsvField(std::string& text, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        text += field;
        return;
    }
    text += '"';
    for (const char c : field) {
        if (c == '"') text += '"';
        text += c;
    }
    text += '"';
}

void AppendCsvLine(std::string& text, const THistoryEntry& e) {
    char field[MaxTraceLine];
    for (int c = 0; c < TraceColumnCount; ++c) {
        const char* end = FormatTraceColumn(field, e, static_cast<TTraceColumn>(c));
        AppendCsvField(text, {field, static_cast<size_t>(end - field)});
        text += c + 1 < TraceColumnCount ? "," : "\r\n";
    }
}

}  // namespace

void WriteTrace(const THistory& history, TTraceFormat format,
                const std::function<void(std::string_view)>& sink) {
    constexpr size_t PieceBytes = 1 << 20;
    std::string text;
    text.reserve(PieceBytes + 2 * MaxTraceLine);
    if (format == TTraceFormat::Tabs) {
        text = TraceHeader;
    } else {  // the header's names, with commas for the tabs and CRLF for the LF
        for (const char c : TraceHeader.substr(0, TraceHeader.size() - 1))
            text += c == '\t' ? ',' : c;
        text += "\r\n";
    }
    char line[MaxTraceLine];
    for (long long i = 0; i < history.Size(); ++i) {
        if (format == TTraceFormat::Tabs)
            text.append(line, FormatTraceLine(line, history.Entry(i)));
        else
            AppendCsvLine(text, history.Entry(i));
        if (text.size() >= PieceBytes) {
            sink(text);
            text.clear();
        }
    }
    if (!text.empty()) sink(text);
}
