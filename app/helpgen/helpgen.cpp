// Writes the HTML manual, made from the built-in help topics, to the file named by its
// one argument.

#include <QFile>
#include <cstdio>

#include "app/helptopics.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarzel_helpgen OUTPUT.htm\n");
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(HelpManual().toUtf8()) < 0 || !out.flush()) {
        std::fprintf(stderr, "quarzel_helpgen: %s\n", qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
