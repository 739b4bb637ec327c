#pragma once
// The program's command line: "quarzel [--help | --version] [--] [FILE ...]". Memory images
// (*.prg in any letter case) load into memory as the Open command loads them; every other
// file opens in a new assembler editor, as the Open command's assembly filter does.

#include <QString>
#include <QStringList>

class TMainWin;

struct TCommandLine {
    enum class TAction { Start, Help, Version, Error };
    TAction Action = TAction::Start;
    QStringList Files;  // in the order given
    QString Message;    // for Help and Version the text to print, for Error the one line
};

// args without the program's name. "--" ends the options; after it every argument is a file.
TCommandLine ParseCommandLine(const QStringList& args);

// Whether the Open command's program filter takes this name.
bool IsMemoryImageName(const QString& file);

// Opens each file as its full path, in order: a memory image into memory (so with several
// the last one that loads wins), any other file in a new assembler editor. A file that
// fails is told in its message box and the rest are still opened.
void OpenCommandLineFiles(TMainWin& mainWin, const QStringList& files);
