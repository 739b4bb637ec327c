#include "app/helptopics.h"

#include <QStringList>

#include "app/helpaddedtopics.h"
#include "app/helptext.h"
#include "core/hex.h"
#include "core/instruction.h"
#include "gui/processvalues.h"

namespace {

QString Hex(int value, int digits) {
    return QString::fromStdString(FormatHex(value, digits));
}

// The space between an example's source and its bytes, and between bytes and note.
constexpr int ExampleGap = 16;

// One example: the source in navy, the bytes it gives in dark red. The source keeps its
// lines and blanks, also when it is copied as plain text.
QString ExampleRows(const QList<THelpExample>& examples) {
    const QString cell = QString("<td style=\"padding-right:%1px\">").arg(ExampleGap);
    QString rows;
    for (const THelpExample& example : examples) {
        const QString source = "<pre style=\"margin:0px\"><code style=\"color:#000080\">" +
                               Escaped(example.Source) + "</code></pre>";
        QString bytes = "<code style=\"color:#800000\">" + Escaped(example.Bytes) + "</code>";
        if (example.Address != 0) bytes += " at " + Hex(example.Address, 2);
        rows += "<tr>" + cell + source + "</td>" + cell + bytes + "</td><td>" + example.Note +
                "</td></tr>";
    }
    return rows;
}

QString ExampleTable(const QList<THelpExample>& examples) {
    return "<table cellspacing=\"0\" cellpadding=\"2\">" + ExampleRows(examples) + "</table>";
}

// ---- the instruction set ----------------------------------------------------------------

QString InstructionTable() {
    QString rows =
        "<tr><td><b>Opcode</b></td><td><b>Operands</b></td><td><b>Assembly</b></td>"
        "<td><b>Operation</b></td></tr>";
    for (const TInstructionInfo& info : InstructionSet) {
        for (const TInstructionForm& form : info.Forms) {
            if (!form.Assembly) continue;
            rows += QString(
                        "<tr><td><code>%1</code></td><td><code>%2</code></td><td>%3</td><td>%4</td>"
                        "</tr>")
                        .arg(Hex(static_cast<int>(info.Op), 1), form.Nibbles, Code(form.Assembly),
                             form.Operation);
        }
    }
    return "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">" + rows + "</table>";
}

QString InstructionsBody() {
    QString body;
    body += Paragraph(
        "Every instruction takes two bytes: the first at its address, the second at the "
        "next address (after FF comes 00). The two bytes hold four hexadecimal digits "
        "(nibbles), called <code>op R X Y</code> here: <code>op</code> is the opcode, "
        "<code>R</code>, <code>X</code> and <code>Y</code> are register numbers 0..F or "
        "a count, and <code>XY</code> together is the whole second byte, an address or a "
        "value 00..FF.");
    body += Paragraph(
        "<b>Register operands.</b> In assembly forms, here and in the Assembler Syntax help, "
        "<code>RR</code>, <code>RX</code> and <code>RY</code> stand for the register whose "
        "number is in the nibble <code>R</code>, <code>X</code> or <code>Y</code>: for "
        "<code>R</code> = 5, <code>RR</code> is written <code>R5</code>.");
    body += Paragraph(
        "To execute an instruction the machine reads the two bytes at PC, puts them in IR, "
        "adds 2 to PC and then carries out the operation; a jump simply sets PC to its "
        "target.");
    body += InstructionTable();
    body += Paragraph(
        "Opcode 0 is no instruction. These words are <b>invalid</b> too: a <code>ror</code> "
        "whose X nibble is not 0, a <code>halt</code> other than exactly <code>C000</code>, "
        "and an indirect <code>load</code> or <code>store</code> whose R nibble is not 0. "
        "Executing an invalid word stops the program with the status <b>Invalid "
        "instruction</b>; the disassembly shows it as <code>invalid</code>.");
    body += Paragraph(
        "<b>Notes.</b> <code>addi</code> wraps around: FF + 01 gives 00. <code>ror</code> "
        "rotates by Y modulo 8, so counts 0 and 8 change nothing. <code>jmpLE</code> reads "
        "both registers as signed numbers, 80..FF being -128..-1, so FF (-1) is less than "
        "01. Writing register RF shows the value as a character in the output window. There "
        "are no flags: compare by loading the value to compare with into R0 and using "
        "<code>jmpEQ</code> or <code>jmpLE</code>.");
    body += Paragraph(
        "<b>Floating point.</b> <code>addf</code> reads each byte as <code>s eee mmmm</code>: "
        "sign bit s (1 is negative), exponent e 0..7 and mantissa m 0..15, with the value "
        "m &times; 2<sup>e</sup>. So 04 and 12 are both 4, and 7F is 1920. The exact sum is "
        "stored with the smallest exponent whose mantissa fits in four bits; bits that do not "
        "fit are dropped (17 gives 18, that is 16), and an exponent above 7 wraps around.");
    body += "<p><b>Worked examples</b></p>";
    body += ExampleTable(InstructionExamples());
    return body;
}

// ---- the assembler syntax ---------------------------------------------------------------

struct TMnemonicDoc {
    const char* Name;
    const char* Forms;
    const char* Meaning;
    QList<THelpExample> Examples;
};

const QList<TMnemonicDoc>& MnemonicDocs() {
    static const QList<TMnemonicDoc> docs = {
        {"load",
         "load RR,value &nbsp; load RR,[address] &nbsp; load RX,[RY]",
         "Immediate, direct or indirect load, chosen by the operand. A value is a number "
         "-128..255 or a label; an address is a number 0..255 or a label.",
         {{"load R5,8Ah", 0, "25 8A", ""},
          {"load R1,-128", 0, "21 80", ""},
          {"load R4,[8]", 0, "14 08", ""},
          {"load R5,[R2]", 0, "D0 52", ""}}},
        {"store",
         "store RR,[address] &nbsp; store RX,[RY]",
         "Direct or indirect store. A store needs the brackets: there is no store to an "
         "immediate value.",
         {{"store R4,[20h]", 0, "34 20", ""}, {"store R4,[R8]", 0, "E0 48", ""}}},
        {"move",
         "move RY,RX",
         "Copies register RX into register RY: the destination comes first.",
         {{"move R1,R2", 0, "40 21", ""}}},
        {"addi",
         "addi RR,RX,RY",
         "RR := RX + RY, integers modulo 256.",
         {{"addi R7,R1,R2", 0, "57 12", ""}}},
        {"addf",
         "addf RR,RX,RY",
         "RR := RX + RY, floating point (see the Instructions help).",
         {{"addf R3,R1,R2", 0, "63 12", ""}}},
        {"or", "or RR,RX,RY", "RR := RX OR RY, bit by bit.", {{"or R0,R1,R2", 0, "70 12", ""}}},
        {"and", "and RR,RX,RY", "RR := RX AND RY, bit by bit.", {{"and RA,RB,RC", 0, "8A BC", ""}}},
        {"xor",
         "xor RR,RX,RY",
         "RR := RX XOR RY, bit by bit; XOR with itself clears a register.",
         {{"xor R3,R3,R3", 0, "93 33", ""}}},
        {"ror",
         "ror RR,count",
         "Rotates RR right; the count is a number 0..15.",
         {{"ror RC,3", 0, "AC 03", ""}}},
        {"jmp",
         "jmp address",
         "Jumps to the address (a number 0..255 or a label).",
         {{"jmp 42h", 0, "B0 42", ""}}},
        {"jmpEQ",
         "jmpEQ RR=R0,address",
         "Jumps when RR equals R0. The second register is always R0.",
         {{"jmpEQ R7=R0,42h", 0, "B7 42", ""}}},
        {"jmpLE",
         "jmpLE RR&lt;=R0,address",
         "Jumps when RR is less than or equal to R0, both read as signed numbers.",
         {{"jmpLE R7<=R0,42h", 0, "F7 42", ""}}},
        {"halt", "halt", "Stops the program.", {{"halt", 0, "C0 00", ""}}},
        {"org",
         "org address",
         "Directive: the next byte goes to the address, a number 0..255. Without it the "
         "program starts at 00. Two pieces of code may not use the same address.",
         {{"org 60h\nhalt", 0x60, "C0 00", ""}}},
        {"db",
         "db item,item,...",
         "Directive: data bytes. An item is a number -128..255 (a negative number is stored as "
         "its two's complement) or a string, which gives one byte per character.",
         {{"db 1,4,9,16,25,36", 0, "01 04 09 10 19 24", ""},
          {"db \"Hi\",0", 0, "48 69 00", ""},
          {"db -1", 0, "FF", ""}}},
    };
    return docs;
}

QString MnemonicTable() {
    QString rows;
    for (const TMnemonicDoc& doc : MnemonicDocs()) {
        rows += QString("<tr><td colspan=\"3\"><b>%1</b> &nbsp; <code>%2</code><br>%3</td></tr>")
                    .arg(Escaped(doc.Name), doc.Forms, doc.Meaning);
        rows += ExampleRows(doc.Examples);
    }
    return "<table cellspacing=\"0\" cellpadding=\"2\">" + rows + "</table>";
}

const QList<THelpExample>& NumberExamples() {
    static const QList<THelpExample> examples = {
        {"db 100,-100,12d", 0, "64 9C 0C", "decimal, optionally with a trailing d"},
        {"db 0x1F,$1F,1Fh", 0, "1F 1F 1F", "hexadecimal: 0x or $ before, or h after"},
        {"db 0ABh", 0, "AB", "with h, the number must start with a digit"},
        {"db 1011b", 0, "0B", "binary, with a trailing b"},
        {"db 'A',\"ok\"", 0, "41 6F 6B", "strings in single or double quotes"},
    };
    return examples;
}

const QList<THelpExample>& ProgramExamples() {
    static const QList<THelpExample> examples = {
        {"        org 10h\n"
         "start:  load R0,0        ; R0 := 0\n"
         "        load R1,[data]   ; R1 := the byte at data\n"
         "        jmpEQ R1=R0,start\n"
         "        halt\n"
         "data:   db 5,'A'",
         0x10, "20 00 11 18 B1 10 C0 00 05 41",
         "<i>data</i> is used before it is defined: its address 18 is filled in later"},
    };
    return examples;
}

// The highlighting legend: each class with a sample drawn the way the editor draws it.
QString HighlightLegend() {
    struct TLegendRow {
        const char* Class;
        const char* Style;
        const char* Sample;  // samples separated by |
        const char* Covers;
    };
    constexpr TLegendRow rows[] = {
        {"Normal", "", "start:|R1 , [ ]", "labels, registers, punctuation and blanks"},
        {"Keyword", "font-weight:bold", "load|db", "mnemonics and directives"},
        {"Numeric", "color:#0000ff", "42|0x2A|101010b", "well-formed numbers"},
        {"String", "color:#0000ff", "'text'", "strings, also when the closing quote is missing"},
        {"Comment", "color:#000080; font-style:italic; font-size:9pt", "; a comment",
         "from ; to the end of the line"},
        {"Error", "text-decoration:underline", "12A3|-0x10",
         "malformed numbers and characters that start no token"},
    };
    QString table = "<table cellspacing=\"0\" cellpadding=\"2\">";
    for (const TLegendRow& row : rows) {
        // Samples are styled one by one: the blank between two belongs to no class.
        QStringList samples;
        for (const QString& sample : QString(row.Sample).split('|'))
            samples << QString("<code style=\"%1\">%2</code>").arg(row.Style, Escaped(sample));
        table += QString("<tr><td><b>%1</b></td><td>%2</td><td>%3</td></tr>")
                     .arg(row.Class, samples.join("<code> &nbsp;</code>"), row.Covers);
    }
    return table + "</table>";
}

QString SyntaxBody() {
    QString body;
    body += Paragraph(
        "A source line holds, in this order and each optional: a label definition, one "
        "instruction or directive with its operands, and a comment:");
    body += Paragraph(
        "<code style=\"color:#000080\">loop: &nbsp;addi R1,R1,R2 &nbsp;; add step</code>");
    body += Paragraph(
        "Blanks and tabs may stand between any two parts and must separate a word from a "
        "following word or number. An empty line, or a line with only a comment, is allowed.");
    body += Paragraph(
        "<b>Label.</b> A name followed by <code>:</code> at the start of the line defines the "
        "label as the address of the next byte. A name starts with a letter, <code>#</code>, "
        "<code>_</code> or <code>~</code> and goes on with letters, digits, <code>#</code>, "
        "<code>_</code> and <code>~</code>. A label may be used before it is defined, as a "
        "jump target, an address or an immediate value. Label names are case-sensitive: "
        "<code>Loop</code> and <code>loop</code> are two labels. A name that is a mnemonic, a "
        "directive or a register (<code>R0</code>..<code>RF</code>) cannot be a label.");
    body += Paragraph(
        "<b>Case.</b> Mnemonics, directives, registers and the letters in numbers may be "
        "written in any case: <code>load</code>, <code>LOAD</code> and <code>Load</code> are "
        "the same, and so are <code>rf</code> and <code>RF</code>.");
    body += Paragraph(
        "<b>Comment.</b> A <code>;</code> starts a comment, which runs to the end of the "
        "line.");
    body += Paragraph(
        "<b>Numbers and strings.</b> A number is decimal unless it says otherwise; a string is "
        "enclosed in single or double quotes and cannot contain its own quote character.");
    body += ExampleTable(NumberExamples());
    body += Paragraph(
        "<b>Highlighting.</b> The assembler editor colours the source the way the assembler "
        "reads it:");
    body += HighlightLegend();
    body += Paragraph(
        "So <code>12A3</code> and <code>-0x10</code> are shown as errors, and in "
        "<code>1+1</code> both digits are numbers while the <code>+</code> is an error.");
    body += Paragraph("<b>Instructions and directives</b> (source, bytes):");
    body += MnemonicTable();
    body += Paragraph("<b>A complete program</b>:");
    body += ExampleTable(ProgramExamples());
    body += Paragraph(
        "<b>Assembling.</b> The <b>assemble</b> button (Ctrl+F9) assembles the whole text. "
        "Errors are listed as <code>line n: message</code>; click one, or use <b>Next</b> "
        "(Ctrl+N) and <b>Previous</b> (Ctrl+P) in the <b>Errors</b> menu, to go to its place. "
        "Without errors the program replaces all 256 bytes of main memory and PC becomes 00.");
    return body;
}

// ---- the output window ------------------------------------------------------------------

QString PrintableCodesTable() {
    constexpr int first = 0x20, last = 0x7E, rowsPerColumn = 32;
    QString table = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"1\">";
    for (int row = 0; row < rowsPerColumn; ++row) {
        table += "<tr>";
        for (int column = 0; column < 3; ++column) {
            const int code = first + column * rowsPerColumn + row;
            if (code > last) break;
            const QString glyph = code == 0x20 ? QStringLiteral("space") : Escaped(QChar(code));
            table += QString("<td><code>%1</code></td><td><code>%2</code></td>")
                         .arg(Hex(code, 2), glyph);
        }
        table += "</tr>";
    }
    return table + "</table>";
}

QString OutputBody() {
    return Paragraph(
               "Every value written to register RF, by a program or by typing it into the "
               "register, appears here as one character. Characters fill a line; a full line, "
               "or the code 0A (line feed), goes on at the next line, and the text scrolls up "
               "when the window is full. 09 (tab) moves to the next multiple of 8 columns, 08 "
               "(backspace) removes the last character of the line, and 00 adds nothing. "
               "Writing the same value twice shows it twice. Nothing clears the window: its "
               "text stays until the program ends.") +
           Paragraph("The printable character codes (hexadecimal):") + PrintableCodesTable();
}

// ---- the table ----------------------------------------------------------------------------

// Where a dialog's topics belong: the dialog and how to open it.
QString AssembleDialogNote() {
    return Paragraph(
        "<i>In the <b>Asseble Instruction</b> dialog, which opens when a line "
        "of the disassembly window is clicked with the right mouse "
        "button.</i>");
}
QString OptionsDialogNote() {
    return Paragraph(
        "<i>In the <b>Options</b> dialog, opened with <b>Options...</b> in the "
        "<b>Help</b> menu.</i>");
}

QList<THelpTopic> BuildTopics() {
    return QList<THelpTopic>{
               {{NoContext, NoHelpContext}, 150, "No help available", "", ""},
               {{MainMemoryContext},
                450,
                "Main memory",
                "",
                Paragraph(
                    "The 256 cells of main memory, addresses 00 to FF, hold the program and its "
                    "data alike: every instruction takes two cells. The row label gives the "
                    "high digit of an address, the column label the low digit; the status "
                    "bar shows the address of the chosen cell in decimal.") +
                    Paragraph(
                        "<b>Editing.</b> Double-click a cell, press Enter, or simply type a "
                        "hexadecimal digit to edit it; Enter stores the value and moves on to "
                        "the next cell, so a program can be typed in byte after byte. The "
                        "cell changed last is shown in bold red; the mark moves on with the next "
                        "change.") +
                    Paragraph("<b>Selecting.</b> Drag the mouse over cells to select a range; "
                              "<b>Select All</b> (Ctrl+A) selects all of memory.") +
                    Paragraph(
                        "<b>Cut</b> (Ctrl+X), <b>Copy</b> (Ctrl+C) and <b>Paste</b> (Ctrl+V) "
                        "in the <b>Edit</b> menu and in the pop-up menu of the right mouse "
                        "button work on the selected range with a clipboard of the simulator's "
                        "own. To paste, select one cell where the copy is to start; bytes that "
                        "would go beyond FF are dropped. <b>Clear</b> (Del) in the pop-up menu "
                        "sets the selected cells to 00, or all memory when nothing is "
                        "selected.")},
               {{RegistersContext},
                400,
                "General purpose registers",
                "",
                Paragraph(
                    "The sixteen registers R0 to RF each hold one byte. Edit a register as a "
                    "memory cell: double-click it or type hexadecimal digits. <b>Clear</b> in "
                    "the pop-up menu of the right mouse button sets all of them to 00.") +
                    Paragraph("Register RF is also the output: every value written to it, by an "
                              "instruction or by typing, is shown in the output window as a "
                              "character.")},
               {{SysRegsContext},
                400,
                "System registers",
                "",
                Paragraph(
                    "<b>PC</b>, the program counter, holds the address of the next instruction. "
                    "You may edit it, set it to 00 with the <b>=0</b> button, or double-click "
                    "a line of the disassembly window to set it to that line's address.") +
                    Paragraph("<b>IR</b>, the instruction register, holds the last executed "
                              "instruction (four hexadecimal digits). It is read-only.")},
               {{ZeroPCContext},
                0,
                "Zero program counter (PC)",
                "",
                Paragraph("The <b>=0</b> button sets PC to 00, so that <b>Run</b> and <b>Step</b> "
                          "start with the instruction at address 00.")},
               {{OpenButtonContext},
                0,
                "Open file button",
                "",
                Paragraph("<b>Open...</b> (Ctrl+O) loads a memory image (<code>*.prg</code>) into "
                          "main memory and sets PC to 00. Choose <b>Assembly Files (*.asm)</b> in "
                          "the dialog to open assembly source in a new assembler editor instead. "
                          "When memory has been changed you are asked whether to save it first.")},
               {{SaveButtonContext},
                0,
                "Save file button",
                "",
                Paragraph("<b>Save</b> (Ctrl+S) writes main memory to a memory image file "
                          "(<code>*.prg</code>). The first save asks for a file name; <b>Save "
                          "As...</b> in the <b>File</b> menu always does. The button is enabled "
                          "while memory is modified.")},
               {{RunButtonContext},
                0,
                "Run program button",
                "",
                Paragraph(
                    "<b>Run</b> (F9) executes instructions from PC on, one after another, until "
                    "a <code>halt</code> (status <b>Halted</b>), an invalid instruction "
                    "(<b>Invalid instruction</b>) or <b>Break</b> (<b>Ready</b>). You may edit "
                    "cells and use the other commands while it runs.")},
               {{StepButtonContext},
                0,
                "Step program button",
                "",
                Paragraph("<b>Step</b> (F8) executes the one instruction at PC: IR receives it, PC "
                          "moves on by 2 or to the jump target, and the status bar shows the "
                          "result.")},
               {{BreakButtonContext},
                0,
                "Break when running button",
                "",
                Paragraph("<b>Break</b> stops a running program after the current instruction. PC "
                          "then points to the next instruction, so <b>Run</b> or <b>Step</b> goes "
                          "on from there.")},
               {{ResetButtonContext},
                0,
                "Clear Memory/Registers button",
                "",
                Paragraph("<b>Clear...</b> (Ctrl+F2) opens the dialog <b>Clear What?</b>: check "
                          "<b>Main Memory</b>, <b>Registers</b> and/or <b>Program Counter</b> and "
                          "press <b>OK</b> to set them to zero. IR is never cleared.")},
               {{OutputBoxContext}, 0, "Output window", "", OutputBody()},
               {{ViewAsmButtonContext},
                0,
                "View assembly listing button",
                "",
                Paragraph(
                    "<b>Disasm</b> writes the disassembly of the whole of memory to the "
                    "temporary list file (set in <b>Options...</b>) and opens it in the text "
                    "viewer. A line with an instruction ends in <code>;...</code>, after which "
                    "comments may be written, so the listing can be annotated. It is a listing, "
                    "not "
                    "assembly "
                    "source: the assembler does not read its address and byte columns. Runs "
                    "of empty words are shortened to ditto lines.")},
               {{DisasmWinContext},
                400,
                "Disasseble window",
                "",
                Paragraph("This list shows every memory location as an instruction; the selected "
                          "line is the instruction at PC. A line reads:") +
                    Paragraph(
                        "<code>04:&nbsp;&nbsp;21,A0&nbsp;&nbsp;load&nbsp;&nbsp;R1,A0&nbsp;&nbsp;"
                        "&nbsp;&nbsp;&nbsp;&nbsp;;... ($A0=-96)</code>") +
                    Paragraph(
                        "<code>04</code> is the address, <code>21,A0</code> are the two bytes "
                        "of the instruction, <code>load R1,A0</code> is the instruction in "
                        "assembler notation (<code>invalid</code> for a word that is no "
                        "instruction), and the comment after <code>;...</code> gives an "
                        "immediate value in decimal, read as a signed number.") +
                    Paragraph("Double-click a line to set PC to it. Click it with the right mouse "
                              "button to change that instruction by choosing its parts from "
                              "lists. With an odd PC the lines show the odd addresses.") +
                    Paragraph("From the keyboard: <b>Enter</b> sets PC to the selected line, "
                              "and the <b>Menu</b> key or <b>Shift+F10</b> changes its "
                              "instruction.")},
               {{MemoryRowLabelsContext, MemoryColumnLabelsContext}, 150, "Memory address", "", ""},
               {{RegisterLabelsContext}, 250, "General purpose register name", "", ""},
               {{SysRegLabelsContext},
                0,
                "System register name",
                "",
                Paragraph("PC = Program Counter<br>IR = Instruction Register")},
               {{StatusBarContext},
                0,
                "Status bar",
                "",
                Paragraph("From left to right: <b>Address:</b> and the address of the chosen "
                          "memory cell in decimal; <b>Modified</b> while memory differs from the "
                          "last file opened or saved; the execution status (<b>Ready</b>, "
                          "<b>Running...</b>, <b>Halted</b>, <b>Invalid instruction</b>) or the "
                          "selected memory range (<b>Selected:</b> and the addresses in "
                          "decimal).") +
                    Paragraph(
                        "Going back and breakpoints add <b>Running back...</b> (Run Back), "
                        "<b>Start of history</b> (nothing left to take back), <b>Breakpoint "
                        "at</b> and the address (a run stopped there); a run at a set speed "
                        "reads <b>Running at</b> and its rate, as <b>Running at 10/s...</b>.")},
               {{AssemblerButtonContext},
                0,
                "Start up Assembler Editor",
                "",
                Paragraph("The <b>Asm</b> button opens a new assembler editor window, in which "
                          "assembly source is written, saved and assembled into main memory. Each "
                          "press opens another one.")},
               {{OpcodeBoxContext},
                0,
                "Instruction box",
                "",
                AssembleDialogNote() +
                    Paragraph(
                        "Choose the instruction's operation; the operand boxes then show the "
                        "operands it takes. See <b>Instructions</b> in the <b>Help</b> menu.")},
               {{Operand1Context},
                0,
                "First instruction operand",
                " (if applicable)",
                AssembleDialogNote() +
                    Paragraph("Choose the first operand. <b>N/A</b> means the instruction has "
                              "none.")},
               {{Operand2Context},
                0,
                "Second instruction operand",
                " (if applicable)",
                AssembleDialogNote() +
                    Paragraph("Choose the second operand. <b>N/A</b> means the instruction has "
                              "none.")},
               {{Operand3Context},
                0,
                "Third instruction operand",
                " (if applicable)",
                AssembleDialogNote() +
                    Paragraph("Choose the third operand. <b>N/A</b> means the instruction has "
                              "none.")},
               {{InstructionsContext, EditorInstructionsContext},
                540,
                "Quarzel Simulator instructions:",
                "",
                InstructionsBody()},
               {{SyntaxContext, EditorSyntaxContext, SyntaxOnFirstStartContext},
                540,
                "Quarzel Assembler syntax",
                "",
                SyntaxBody()},
               {{ProgramInfoContext},
                500,
                "Quarzel Simulator voor ICT",
                "",
                Paragraph(
                    "De Quarzel Simulator is een simulator van een eenvoudige 8-bits computer "
                    "in machinetaal, gemaakt voor de inleidende cursus informatie- en "
                    "communicatietechnologie (ICT). Je zet een programma in het geheugen, "
                    "met de hand of met de assembler, en voert het stap voor stap of in zijn "
                    "geheel uit; zo zie je hoe geheugen, registers en instructies "
                    "samenwerken.") +
                    Paragraph("Alle instructies staan onder <b>Help</b>, <b>Instructions</b>.")},
               {{WebHelpAdrContext},
                350,
                "Additional help address",
                "",
                OptionsDialogNote() +
                    Paragraph("The address that <b>Web help</b> in the <b>Help</b> menu opens: an "
                              "internet address or the path of a local file.")},
               {{DefaultWebHelpAdrContext},
                0,
                "Set default additional help address",
                "",
                OptionsDialogNote() +
                    Paragraph("The <b>Default</b> button puts the default help address, the manual "
                              "next to the program, into the field; <b>OK</b> stores it.")},
               {{TempLstFileContext},
                0,
                "Temporary assembly list file",
                "",
                OptionsDialogNote() +
                    Paragraph(
                        "The file that the <b>Disasm</b> button of the main window writes and "
                        "shows. A name without a folder is created in the temporary folder.")},
               {{DefaultTempLstFileContext},
                0,
                "Set default temporary assembly list file",
                "",
                OptionsDialogNote() +
                    Paragraph(
                        QString("The <b>Default</b> button puts <code>%1</code> into the field; "
                                "<b>OK</b> stores it.")
                            .arg(DefaultTempLstFile))},
               {{AboutContext},
                0,
                "About Dialog",
                "",
                Paragraph(
                    "<b>Close</b> closes the about box; <b>Info</b> shows information about "
                    "the program. The lower part of that text comes from the file "
                    "<code>" +
                    QString(InfoFileName) +
                    "</code> next to the program, or else in <code>/etc/quarzel</code> or the "
                    "folder of the installed manual.")},
           } +
           AddedTopics();
}

}  // namespace

QString InfoSeparatorLine() {
    return QString(" - - - - - - - - (contents of %1 follows below) - - - - - - - -")
        .arg(InfoFileName);
}

const QList<THelpTopic>& HelpTopics() {
    static const QList<THelpTopic> topics = BuildTopics();
    return topics;
}

const THelpTopic* FindHelpTopic(int context) {
    for (const THelpTopic& topic : HelpTopics()) {
        if (topic.Contexts.contains(context)) return &topic;
    }
    return nullptr;
}

THelpTopic NotAClueTopic(int context) {
    return {{},
            0,
            "Not a clue",
            "",
            Paragraph("Please report this error with the following details:") +
                Paragraph(QString("HelpContext: %1").arg(context))};
}

namespace {

// The viewer sets the body face itself; a browser is told to use a sans-serif one.
QString DocumentHead(const QString& title, const QString& codeFontFamily,
                     const QString& bodyFontFamily = QString()) {
    const QString bodyFace =
        bodyFontFamily.isEmpty() ? QString() : " font-family:" + bodyFontFamily + ";";
    return "<html><head><meta charset=\"utf-8\"><title>" + Escaped(title) +
           "</title><style>body { font-size:10pt;" + bodyFace +
           " }"
           "p { margin-top:0px; margin-bottom:6px; }"
           "table { margin-bottom:6px; }"
           "code { font-family:" +
           codeFontFamily + "; }</style></head><body>";
}

// The title line and the body of a topic.
QString TopicSection(const THelpTopic& topic, const QString& anchor = QString()) {
    QString title = Escaped(topic.Title);
    if (!topic.TitleSuffix.isEmpty()) {
        title += "<span style=\"font-weight:normal; color:#000000; font-size:10pt\">" +
                 Escaped(topic.TitleSuffix) + "</span>";
    }
    const QString id = anchor.isEmpty() ? QString() : " id=\"" + anchor + "\"";
    return "<p" + id +
           " style=\"font-size:13pt; font-weight:bold; color:#0000ff; margin-bottom:4px\">" +
           title + "</p>" + topic.Body;
}

}  // namespace

// The viewer appends the info file below the separator; the manual has no info file.
QString TopicDocument(const THelpTopic& topic, const QString& codeFontFamily) {
    const QString separator =
        topic.Contexts.contains(ProgramInfoContext)
            ? "<p style=\"white-space:pre\">" + Escaped(InfoSeparatorLine()) + "</p>"
            : QString();
    return DocumentHead(topic.Title, codeFontFamily) + TopicSection(topic) + separator +
           "</body></html>";
}

QString HelpManual() {
    QString contents, sections;
    for (const THelpTopic& topic : HelpTopics()) {
        if (topic.Body.isEmpty()) continue;  // a title alone says nothing a manual needs
        const QString anchor = QString("topic%1").arg(topic.Contexts.first());
        contents += "<li><a href=\"#" + anchor + "\">" + Escaped(topic.Title) + "</a></li>";
        sections += "<hr>" + TopicSection(topic, anchor);
    }
    return "<!DOCTYPE html>" +
           DocumentHead("Quarzel Simulator help", "'Courier New', monospace", "sans-serif") +
           "<p style=\"font-size:16pt; font-weight:bold; color:#0000ff\">Quarzel Simulator "
           "help</p><ul>" +
           contents + "</ul>" + sections + "</body></html>";
}

const QList<THelpExample>& InstructionExamples() {
    static const QList<THelpExample> examples = {
        {"load R5,8Ah", 0, "25 8A", "immediate load is opcode 2; R = 5; XY = 8A, the value itself"},
        {"move R5,R2", 0, "40 25",
         "opcode 4 with R = 0; the source R2 goes in X and the destination R5 in Y"},
        {"jmpLE R7<=R0,42h", 0, "F7 42",
         "opcode F; R = 7 is compared with R0; XY = 42 is "
         "the target"},
    };
    return examples;
}

const QList<THelpExample>& SyntaxExamples() {
    static const QList<THelpExample> examples = [] {
        QList<THelpExample> all = NumberExamples();
        for (const TMnemonicDoc& doc : MnemonicDocs()) all += doc.Examples;
        all += ProgramExamples();
        return all;
    }();
    return examples;
}
