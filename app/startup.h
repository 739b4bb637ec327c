#pragma once
// The program's start and stop: the temporary folder, the version text, the defaults,
// reading the persistent settings and writing them back. The settings store is handed
// in, so the sequence runs against any QSettings (a temporary file in tests).

#include <QProcessEnvironment>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "gui/processvalues.h"

class QSettings;

// The program file's version record.
struct TVersionRecord {
    QString FileVersion;  // "2.0.0.252"
    QString LegalCopyright;
    unsigned Flags = 0;  // file flags AND file flags mask
};
inline constexpr unsigned VersionFlagDebug = 1u << 0;
inline constexpr unsigned VersionFlagPreRelease = 1u << 1;

// The record this program was built with.
TVersionRecord BuiltInVersionRecord();

// The file version up to its second dot ("2.0.0.252" gives "2.0"; fewer dots keep it
// whole), then "a" for a debug build or else "b" for a pre-release. Empty without a record.
QString VersionTextOf(const std::optional<TVersionRecord>& record);

// TMP, else TEMP, else TMPDIR, else the system's temporary folder, followed by a separator
// (added even when the text already ends in one); "./" only when all of them are empty.
QString TempDirFrom(const QProcessEnvironment& environment, const QString& systemTempFolder);

// The program's path with the extension of its file name replaced by ".htm": the HTML
// manual that the build puts beside the program. When that file is missing but the
// installed manual (the same name in QUARZEL_MANUAL_FROM_PROGRAM, seen from the program's
// folder) exists, the installed one.
QString DefaultWebHelpAddressFor(const QString& programPath);

// The texts written with the version at the first start of a version.
inline constexpr char SettingsDefaultValue[] = "Quarzel Simulator for ICT";
inline constexpr char SettingsAuthor[] = "The Quarzel Simulator developers";
// The settings entry that stands for the key's unnamed default value.
inline constexpr char SettingsDefaultEntry[] = "Default";

using TSettingsOpener = std::function<std::unique_ptr<QSettings>()>;

// What start-up takes from the platform.
struct TStartupPlatform {
    TSettingsOpener OpenSettings;  // the user's store, opened anew for reading and writing
    QProcessEnvironment Environment;
    QString ProgramPath;
    std::optional<TVersionRecord> Version;
    std::function<void(int command, int context)> HelpRequest;
};

// The real platform: QSettings of organisation "ovd", application "Vexlorn", the process
// environment, this program's path and version record, and the application's help hook.
TStartupPlatform RealStartupPlatform();

// Everything before the event loop but the window: TempDir, version and legal texts,
// defaults, the six settings, and the syntax help on the first start of this version.
// A stored value of a wrong type keeps its default. Returns whether this was the first
// start of this version.
bool StartUp(TProcessValues& values, const TStartupPlatform& platform);

// Everything after the event loop: the version entries when the stored version differs,
// then the six settings. Returns false when the store could not be written; the user
// has then been told.
bool ShutDown(const TProcessValues& values, const TStartupPlatform& platform);

// The program: --help and --version print and return, an unknown option or a missing
// display is one line on standard error and returns 1. Otherwise the application titled "Quarzel
// Simulator", the main window, StartUp, the files of the command line, the event loop until the
// main window closes, then ShutDown. An exception on the way is shown in an error box and ends the
// program without saving the settings.
int RunQuarzel(int argc, char** argv);
