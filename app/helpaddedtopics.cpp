#include "app/helpaddedtopics.h"

#include "app/helptext.h"

namespace {

// A table of two columns: what is pressed or written, and what it does.
QString Table(const QList<QPair<QString, QString>>& rows) {
    QString html = "<table cellspacing=\"0\" cellpadding=\"2\">";
    for (const auto& [left, right] : rows)
        html += "<tr><td style=\"padding-right:12px\">" + left + "</td><td>" + right + "</td></tr>";
    return html + "</table>";
}

QString Preformatted(const QString& text) {
    return "<pre style=\"margin:0px 0px 6px 0px\"><code>" + Escaped(text) + "</code></pre>";
}

QString EditorNote() {
    return Paragraph("<i>In the assembler editor, opened with the <b>Asm</b> button.</i>");
}

const char* const TestFileExample = R"(# sum.tests.toml: R3 := 1 + 2 + ... + R1, then halt.
program = "sum.asm"
max-steps = 2000

[[test]]
name = "1 to 5"
registers = { R1 = 5 }
expect = { status = "halted", registers = { R3 = 15 } }

[[test]]
name = "1 to 23 wraps past FF"
points = 2
registers = { R1 = 23 }
expect.registers = { R3 = 0x14 }
expect.status = "halted")";

}  // namespace

QList<THelpTopic> AddedTopics() {
    return {
        {{StepBackContext},
         400,
         "Step Back",
         "",
         Paragraph("<b>Step Back</b> (Shift+F8) in the <b>Run</b> menu takes back the last "
                   "executed instruction: the memory cell or register it wrote gets its old "
                   "value again, PC and IR are as before the step, and a character it wrote to "
                   "the output window is taken away. Repeat it to go back further.") +
             Paragraph("The simulator remembers the last eleven million steps. Anything you "
                       "change yourself (typing in a cell, Paste, <b>Clear...</b>, opening or "
                       "assembling a program) starts a new history, as the older steps then "
                       "describe another machine. With nothing left to take back the status bar "
                       "reads <b>Start of history</b>.")},
        {{RunBackContext},
         400,
         "Run Back",
         "",
         Paragraph("<b>Run Back</b> (Shift+F9) in the <b>Run</b> menu takes back one step after "
                   "another, as <b>Step Back</b> does, until the start of the history "
                   "(<b>Start of history</b>), a breakpoint (<b>Breakpoint at</b> and the "
                   "address) or <b>Break</b>. While it runs the status bar reads <b>Running "
                   "back...</b>; the chosen <b>Speed</b> applies as it does to <b>Run</b>.")},
        {{TraceWinContext},
         450,
         "Trace window",
         "",
         Paragraph("<b>Trace...</b> in the <b>Run</b> menu opens the trace: one row for every "
                   "executed instruction still in the history, the newest last. The columns "
                   "are <b>step</b> (its number since the history began), <b>pc</b> (where it "
                   "was), <b>word</b> (its two bytes), <b>instruction</b> and <b>change</b> "
                   "(the cell, register or PC it wrote, as " +
                   Code("old->new") +
                   ", or how the run ended). The trace follows a running program.") +
             Paragraph("Double-click a row, or choose it and press Enter, to take the machine "
                       "back to just after that step.") +
             Paragraph("<b>Export...</b> (Ctrl+S) saves the trace as tab-separated text (" +
                       Code("*.tsv") + ", " + Code("*.txt") + ") or as CSV (" + Code("*.csv") +
                       ": commas, CR LF line ends, a field with a comma or quote in quotes), "
                       "each with the header line " +
                       Code("step pc word instruction change") +
                       "; it is the trace that the command-line tool writes. <b>Print...</b> "
                       "(Ctrl+P) prints it with the program's name, the date and page numbers. "
                       "<b>Close</b> (Esc, Ctrl+W) closes the window.")},
        {{BreakpointsContext},
         450,
         "Breakpoints",
         "",
         Paragraph("A breakpoint stops <b>Run</b> before the instruction at its address, with "
                   "<b>Breakpoint at</b> and the address in the status bar; the first "
                   "instruction of a run executes wherever it is, so <b>Run</b> goes on from a "
                   "breakpoint. <b>Run Back</b> stops when PC reaches one.") +
             Paragraph("<b>Main window.</b> Click the left margin of a line of the disassembly "
                       "window, or choose the line and press F5 (<b>Toggle Breakpoint</b> in "
                       "the <b>Run</b> menu); a red dot marks it. Do the same again to remove "
                       "it. <b>Remove All Breakpoints</b> removes every one.") +
             Paragraph("<b>Assembler editor.</b> Click the margin beside a line of the program "
                       "the editor assembled into memory, or press F5 on it (<b>Toggle "
                       "Breakpoint</b> in the <b>Debug</b> menu). The breakpoint belongs to "
                       "that line; the disassembly window shows it too.")},
        {{SpeedContext},
         0,
         "Speed",
         "",
         Paragraph("<b>Speed</b> in the <b>Run</b> menu sets how fast <b>Run</b> and <b>Run "
                   "Back</b> go: <b>Full speed</b>, or 1000, 100, 10 or 2 instructions per "
                   "second, at which every step can be watched in the windows. While a run "
                   "goes at a set rate the status bar says so (<b>Running at 10/s...</b>). "
                   "The choice is remembered for the next start.")},
        {{ValueCardContext},
         400,
         "Value card",
         "",
         Paragraph("Hold the mouse pointer over a memory cell, a register, PC or IR to see its "
                   "value card: the value in hex, unsigned and signed, as an 8-bit "
                   "floating-point number, as a character, and for memory the instruction "
                   "that starts there.") +
             Paragraph("When an executed instruction wrote the value, the card also says which: "
                       "<b>written by step</b> and its number, where it was and what it was, "
                       "then <b>value before hex</b> and the value it replaced.")},
        {{ViewMenuContext},
         0,
         "View menu",
         "",
         Paragraph("<b>Zoom In</b> (Ctrl++), <b>Zoom Out</b> (Ctrl+-) and <b>Actual "
                   "Size</b> (Ctrl+0) make every window of the simulator larger or smaller, in "
                   "steps from 100 % to 300 %; the keys work in every window.") +
             Paragraph("<b>Theme</b> chooses the colours of every window: <b>System</b> (the "
                       "desktop's), <b>Light</b>, <b>Dark</b> or <b>High Contrast</b>, which "
                       "also underlines changed cells. Zoom and theme are remembered.")},
        {{TestsMenuContext},
         450,
         "Tests menu",
         "",
         EditorNote() +
             Paragraph("<b>Run Tests</b> (Ctrl+T) assembles the text as it is and runs the "
                       "tests of its test file, each on a machine of its own: main memory is "
                       "not touched. The test file is the one chosen with <b>Open "
                       "Tests...</b>, else " +
                       Code("NAME.tests.toml") + " beside the source " + Code("NAME.asm") +
                       ". See <b>Test files</b> for what it holds.") +
             Paragraph("The results appear below the text, a summary first (" +
                       Code("3 of 4 tests passed, 4 of 6 points") +
                       "), then one row per test: passed in green, failed in red with what was "
                       "wrong, such as " +
                       Code("R3 is 14 (0E), expected 15 (0F)") +
                       ". Values are shown as the test file writes them: decimal with their hex, "
                       "or hex. Mistakes in the test file go to the error list.") +
             Paragraph("While the tests run, a row below them shows which one runs; "
                       "<b>Stop</b> or <b>Stop Tests</b> (Esc) ends the run. Changing the text "
                       "or the test file stops it too.") +
             Paragraph("Double-click a result, or choose it and press Enter, to load the "
                       "program and that test's starting state into the simulator, so that you "
                       "can step through it. When the text was changed since the tests ran, "
                       "they run again first, and then the test is loaded.")},
        {{TestFilesContext},
         540,
         "Test files",
         "",
         Paragraph("A test file is a text file in the TOML format that describes tests of "
                   "a program: for each test the machine's starting state and what must hold "
                   "when the program has run. For example:") +
             Preformatted(TestFileExample) +
             Paragraph("<b>The file</b> may name its " + Code("program") +
                       " (relative to its own folder) and give " + Code("max-steps") +
                       " (100000 unless given), " + Code("fill") + " and " + Code("seed") +
                       " for every test. Each " + Code("[[test]]") + " holds:") +
             Table({
                 {Code("name"), "the test's name (required, unique)"},
                 {Code("description"), "a line shown with the result"},
                 {Code("points"), "what passing it is worth (1 unless given)"},
                 {Code("hidden"), Code("true") + ": students see only whether it passed"},
                 {Code("registers"), "starting values, such as " + Code("{ R1 = 5 }")},
                 {Code("memory"), "starting bytes from an address: " + Code("{ 80 = [1, 2, 3] }")},
                 {Code("pc"), "where the program starts (00 unless given)"},
                 {Code("max-steps"), "the most instructions the run may take"},
                 {Code("fill"), Code("\"zero\"") + " or " + Code("\"random\"") +
                                    ": what the other registers and cells hold"},
                 {Code("seed"), "the start of the random values"},
                 {Code("expect"), "what must hold after the run (required)"},
             }) +
             Paragraph(Code("expect") + " may hold " + Code("status") + " (" + Code("\"halted\"") +
                       ", " + Code("\"invalid\"") + " or " + Code("\"limit\"") + "), " +
                       Code("output") + " (the text written to RF), " + Code("registers") + ", " +
                       Code("memory") + " and " + Code("pc") + ". Give " +
                       Code("status = \"halted\"") +
                       " when the program must halt: without it, a program that loops for ever "
                       "may pass a test whose registers happen to hold the right values.") +
             Paragraph("Numbers are decimal, or hex with " + Code("0x") +
                       "; a failed test shows the values in the same form.")},
        {{DebugMenuContext},
         450,
         "Debug menu",
         "",
         EditorNote() +
             Paragraph("The <b>Debug</b> menu steers the simulator from the editor, on the "
                       "program it assembled into memory; the line of the next instruction is "
                       "marked in the text.") +
             Table({
                 {"<b>Step</b> (F8)", "executes one instruction"},
                 {"<b>Step Back</b> (Shift+F8)", "takes back the last one"},
                 {"<b>Run</b> (F9)", "runs until a halt, a breakpoint or <b>Break</b>"},
                 {"<b>Run Back</b> (Shift+F9)",
                  "takes back steps until the start of the "
                  "history, a breakpoint or <b>Break</b>"},
                 {"<b>Break</b> (Shift+F5)", "stops a run"},
                 {"<b>Toggle Breakpoint</b> (F5)",
                  "sets or removes a breakpoint on the caret's line"},
                 {"<b>Run to Cursor</b> (Ctrl+F10)",
                  "runs until the program reaches the caret's line"},
                 {"<b>Remove All Breakpoints</b>", "removes every breakpoint"},
             }) +
             Paragraph("The commands are those of the main window's <b>Run</b> menu.")},
        {{CommandLineContext},
         450,
         "Command line",
         "",
         Preformatted("quarzel [FILE ...]\nquarzel --help | --version") +
             Paragraph("Each " + Code("FILE") + " ending in " + Code(".prg") +
                       " (in any letter case) is loaded into memory as <b>Open...</b> loads it; "
                       "with several, the last one that loads wins. Every other file, such as "
                       "an " +
                       Code(".asm") +
                       " source, opens in a new assembler editor. A file that cannot be opened "
                       "is reported, and the others still open. After " +
                       Code("--") + " every argument is a file name.") +
             Paragraph("The command-line tool " + Code("quarzel-cli") +
                       " assembles, disassembles, runs and traces programs, and grades "
                       "them with test files, without a window; " +
                       Code("quarzel-cli --help") + " lists its commands.")},
    };
}
