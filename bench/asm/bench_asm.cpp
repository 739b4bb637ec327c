// Lines per second for scanning (as the highlighter does: tokens and runs) and for
// assembling generated sources of 10,000 and 100,000 lines, and how the time grows with
// the size. The image holds 256 bytes, so only the program at the top emits code; the
// thousands of lines after it are what a long source is made of besides code: label
// definitions, comments, "org" lines, empty "db" strings and blank lines. Times are the
// processor time of the benchmark's thread.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "asm/asmparse.h"

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

std::string Source(int lines) {
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

// Seconds per call of work: the best of five rounds, each of as many calls as fit in a
// tenth of a second, so that a round disturbed by other programs does not count.
template <typename TWork>
double SecondsPerRun(TWork work) {
    work();  // warm up
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        int runs = 0;
        const double start = ThreadSeconds();
        double spent = 0;
        do {
            work();
            ++runs;
            spent = ThreadSeconds() - start;
        } while (spent < 0.1);
        best = std::min(best, spent / runs);
    }
    return best;
}

struct TFigures {
    double Scan, Assemble;
};

TFigures Measure(int lines) {
    const TMemoryTextSource source(Source(lines));
    TAsmParser parser(source);
    int reports = 0;
    const TErrorSink sink = [&](void*, int, int, std::string_view) { ++reports; };
    parser.Assemble(sink);
    if (reports != 0) std::printf("warning: the generated source has %d errors\n", reports);

    std::size_t tokens = 0;
    const double scan = SecondsPerRun([&] {
        for (int i = 0; i < source.LineCount(); ++i) {
            parser.ReadLine(i);
            parser.Tokenize();
            parser.AssignStyles();
            tokens += parser.Tokens().size();
        }
    });
    const double assemble = SecondsPerRun([&] { parser.Assemble(sink); });
    std::printf("%7d lines (%zu KB): scanning %6.2f M lines/s, assembling %6.2f M lines/s\n",
                source.LineCount(), source.Text().size() / 1024, source.LineCount() / scan / 1e6,
                source.LineCount() / assemble / 1e6);
    return {scan, assemble};
}

}  // namespace

int main() {
    const TFigures small = Measure(10'000);
    const TFigures large = Measure(100'000);
    std::printf("time 100,000 / 10,000 lines: scanning %.2fx, assembling %.2fx (linear: 10x)\n",
                large.Scan / small.Scan, large.Assemble / small.Assemble);
    return 0;
}
