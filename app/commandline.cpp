#include "app/commandline.h"

#include <QFileInfo>

#include "app/mainwin.h"
#include "core/version.h"

namespace {

const QString Usage = QStringLiteral(
    "usage: quarzel [FILE ...]\n"
    "Starts Quarzel Simulator. Each FILE ending in .prg is loaded into memory (with\n"
    "several, the last one wins); every other FILE opens in an assembler editor.\n"
    "\n"
    "  -h, --help  print this text and exit\n"
    "  --version   print the version and exit\n"
    "  --          every argument after it is a file name\n");

}  // namespace

TCommandLine ParseCommandLine(const QStringList& args) {
    TCommandLine line;
    bool options = true;
    for (const QString& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            return {TCommandLine::TAction::Help, {}, Usage};
        } else if (options && arg == "--version") {
            return {TCommandLine::TAction::Version,
                    {},
                    QString::fromStdString(VersionLine("quarzel") + "\n")};
        } else if (options && arg.size() > 1 && arg.startsWith('-')) {
            return {TCommandLine::TAction::Error,
                    {},
                    QStringLiteral("quarzel: unknown option %1 (try --help)\n").arg(arg)};
        } else {
            line.Files << arg;
        }
    }
    return line;
}

bool IsMemoryImageName(const QString& file) {
    return file.endsWith(QStringLiteral(".prg"), Qt::CaseInsensitive);
}

void OpenCommandLineFiles(TMainWin& mainWin, const QStringList& files) {
    for (const QString& file : files) {
        const QString path = QFileInfo(file).absoluteFilePath();
        if (IsMemoryImageName(path)) {
            mainWin.LoadMemoryFile(path);
        } else {
            mainWin.OpenAssemblerEditor(path);
        }
    }
}
