// Lines per second for scanning (as the highlighter does: tokens and runs) and for
// assembling generated sources of 10,000 and 100,000 lines, and how the time grows with
// the size. The image holds 256 bytes, so only the program at the top emits code; the
// thousands of lines after it are what a long source is made of besides code: label
// definitions, comments, "org" lines, empty "db" strings and blank lines. Times are the
// processor time of the benchmark's thread. First, the peak of memory while assembling
// sources of one 8 MB line, as a multiple of the source's size.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "asm/asmparse.h"
#include "tests/support/resident.h"

namespace {

constexpr const char* Program =
    "        org 0\n"
    "start:  load R1,text        ; forward reference\n"
    "        load R2,1\n"
    "        load R0,0\n"
    "next:   load R3,[R1]\n"
    "        jmpEQ R3=R0,done    ; forward reference\n"
    "        move RF,R3\n"
    "        addi R1,R1,R2\n"
    "        jmp next\n"
    "done:   jmpLE R1<=R0,final\n"
    "        ror R1,3\n"
    "        store R1,[count]\n"
    "        store R1,[R2]\n"
    "        addf R4,R5,R6\n"
    "        or R4,R5,R6\n"
    "        and R4,R5,R6\n"
    "        xor R4,R5,R6\n"
    "        load R7,[count]\n"
    "final:  halt\n"
    "count:  db 0, -1, 0x7F, $10, 1011b, 0ABh\n"
    "text:   db \"Hello from a generated source\",10,0\n";

std::string Generate(int lines) {
    std::string text = Program;
    int n = 21;
    for (int i = 0; n < lines; ++i, ++n) {
        const std::string id = std::to_string(i);
        switch (i % 8) {
            case 0:
                text += "; section " + id + ": the loop below copies the text to RF\n";
                break;
            case 1:
                text += "label_" + id + ":   ; jmpEQ R3=R0,done\n";
                break;
            case 2:
                text += "        org " + std::to_string(i % 256) + "\n";
                break;
            case 3:
                text += "\n";
                break;
            case 4:
                text += "str_" + id + ": db \"\"   ; an empty string places nothing\n";
                break;
            case 5:
                text += "\t\t; indented comment with 'quotes' and \"more\"\n";
                break;
            case 6:
                text += "Loop_" + id + ":\n";
                break;
            default:
                text += "        ORG 0x" + std::to_string(i % 10) + "0 ; back again\n";
                break;
        }
    }
    return text;
}

// Processor time of this thread, so that other programs on a busy machine do not count.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Seconds per call of work in one round: as many calls as fit in a tenth of a second.
template <typename TWork>
double SecondsPerCall(TWork work) {
    int calls = 0;
    const double start = ThreadSeconds();
    double spent = 0;
    do {
        work();
        ++calls;
        spent = ThreadSeconds() - start;
    } while (spent < 0.1);
    return spent / calls;
}

// One generated source with its parser and the best times seen for it.
struct TSubject {
    explicit TSubject(int lines) : Source(Generate(lines)), Parser(Source) {}

    void Scan() {
        Runs = 0;
        for (int i = 0; i < Source.LineCount(); ++i) {
            Parser.ReadLine(i);
            Parser.Tokenize();
            Parser.AssignStyles();
            Runs += Parser.Tokens().size();
        }
    }
    void Assemble() {
        Parser.Assemble([this](void*, int, int, std::string_view) { ++Reports; });
    }

    TMemoryTextSource Source;
    TAsmParser Parser;
    std::size_t Runs = 0;  // highlight runs of the last scan
    int Reports = 0;
    double ScanSeconds = 1e300, AssembleSeconds = 1e300;
};

void Print(const TSubject& s) {
    const int lines = s.Source.LineCount();
    std::printf(
        "%7d lines (%zu KB, %.2f runs a line): scanning %6.2f M lines/s, "
        "assembling %6.2f M lines/s\n",
        lines, s.Source.Text().size() / 1024, static_cast<double>(s.Runs) / lines,
        lines / s.ScanSeconds / 1e6, lines / s.AssembleSeconds / 1e6);
}

// The text is copied into the source as an editor's or a file's text would be, so the
// figure counts the source, the parser's copy of the line and whatever assembling adds.
void PrintLongLineMemory() {
    std::string items = "db ";
    for (int i = 0; i < 4'000'000; ++i) items += "1,";
    std::string commas = "x:" + std::string(8'000'000, ',');
    for (const std::string* text : {&items, &commas}) {
        if (!std::ofstream("/proc/self/clear_refs") || Resident("VmHWM") < 0) {
            std::printf("peak memory: cannot be measured here\n");
            return;
        }
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from now
        const long long before = Resident("VmRSS");
        {
            TMemoryTextSource source(*text);
            TAsmParser parser(source);
            parser.Assemble([](void*, int, int, std::string_view) {});
        }
        const long long peak = Resident("VmHWM") - before;
        std::printf(
            "one line of %.1f MB (\"%.4s...\"): peak memory while assembling %.2fx its size\n",
            static_cast<double>(text->size()) / 1e6, text->c_str(),
            static_cast<double>(peak) / static_cast<double>(text->size()));
    }
}

}  // namespace

int main() {
    PrintLongLineMemory();
    TSubject small(10'000), large(100'000);
    small.Assemble();
    large.Assemble();
    if (small.Reports + large.Reports != 0) std::printf("warning: the sources have errors\n");
    // Rounds alternate between the sizes and the best of each counts, so that a stretch of
    // heavy load on the machine hits both alike.
    for (int round = 0; round < 7; ++round) {
        for (TSubject* s : {&small, &large}) {
            s->ScanSeconds = std::min(s->ScanSeconds, SecondsPerCall([s] { s->Scan(); }));
            s->AssembleSeconds =
                std::min(s->AssembleSeconds, SecondsPerCall([s] { s->Assemble(); }));
        }
    }
    Print(small);
    Print(large);
    std::printf("time 100,000 / 10,000 lines: scanning %.2fx, assembling %.2fx (linear: 10x)\n",
                large.ScanSeconds / small.ScanSeconds,
                large.AssembleSeconds / small.AssembleSeconds);
    return 0;
}
