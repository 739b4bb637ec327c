#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <cstdio>

#include "app/appicon.h"
#include "app/asmeditors.h"
#include "app/commandline.h"
#include "app/display.h"
#include "app/helpdia.h"
#include "app/mainwin.h"
#include "core/version.h"
#include "gui/helpcontexts.h"
#include "gui/helphook.h"
#include "gui/localpath.h"
#include "gui/prompt.h"
#include "gui/theme.h"
#include "gui/zoom.h"

namespace {

constexpr char ZoomEntry[] = "Zoom";
constexpr char ThemeEntry[] = "Theme";
constexpr char ExplainEntry[] = "Explain";

// The six settings, in the order they are read and written.
struct TPersistentSetting {
    const char* Name;
    QString TProcessValues::*Field;
};
constexpr TPersistentSetting PersistentSettings[] = {
    {"CurrentMemFile", &TProcessValues::CurrentMemFile},
    {"CurrentAsmFile", &TProcessValues::CurrentAsmFile},
    {"WebHelpAddress", &TProcessValues::WebHelpAddress},
    {"DefaultWebHelpAddress", &TProcessValues::DefaultWebHelpAddress},
    {"TempLstFile", &TProcessValues::TempLstFile},
    {"RunSpeed", &TProcessValues::RunSpeed},
};

// Longer than any path the system takes: a value this long is no setting, however it came.
constexpr qsizetype MaxSettingLength = 4096;

// A stored string; nothing when the value is missing, of another type or of absurd
// length, so the caller keeps its default and writes a good value back at exit.
std::optional<QString> StoredString(const QSettings& store, const QString& name) {
    if (!store.contains(name)) return std::nullopt;
    const QVariant value = store.value(name);
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    QString text = value.toString();
    if (text.size() > MaxSettingLength) return std::nullopt;
    return text;
}

QString StoredVersion(const QSettings& store) {
    return StoredString(store, "Version").value_or(QString());
}

}  // namespace

TVersionRecord BuiltInVersionRecord() {
    return {QStringLiteral(QUARZEL_FILE_VERSION), QStringLiteral(QUARZEL_LEGAL_COPYRIGHT),
            QUARZEL_PRERELEASE ? VersionFlagPreRelease : 0u};
}

QString VersionTextOf(const std::optional<TVersionRecord>& record) {
    if (!record) return QString();
    return QString::fromStdString(ShortVersionText(record->FileVersion.toStdString(),
                                                   record->Flags & VersionFlagDebug,
                                                   record->Flags & VersionFlagPreRelease));
}

QString TempDirFrom(const QProcessEnvironment& environment, const QString& systemTempFolder) {
    for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
        const QString folder = environment.value(name);
        if (!folder.isEmpty()) return folder + QDir::separator();
    }
    // On most desktops none of the variables is set; the current folder is then the home
    // folder, no place for temporary files.
    if (!systemTempFolder.isEmpty()) return systemTempFolder + QDir::separator();
    return QStringLiteral(".") + QDir::separator();
}

QString DefaultWebHelpAddressFor(const QString& programPath) {
    const QFileInfo program(programPath);
    const QString name = program.fileName();
    const int dot = name.lastIndexOf('.');
    const QString base = dot > 0 ? name.left(dot) : name;
    const QDir folder(program.path());
    const QString beside = folder.filePath(base + ".htm");
    const QString installed =
        QDir::cleanPath(folder.filePath(QUARZEL_MANUAL_FROM_PROGRAM "/" + base + ".htm"));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

TStartupPlatform RealStartupPlatform() {
    return {[] { return std::make_unique<QSettings>("ovd", "Vexlorn"); },
            QProcessEnvironment::systemEnvironment(), QCoreApplication::applicationFilePath(),
            BuiltInVersionRecord(),
            [](int command, int context) { HelpHook().FormHelp(command, context); }};
}

bool StartUp(TProcessValues& values, const TStartupPlatform& platform) {
    values.TempDir = TempDirFrom(platform.Environment, QDir::tempPath());
    values.VersionText = VersionTextOf(platform.Version);
    values.LegalText = platform.Version ? platform.Version->LegalCopyright : QString();

    values.CurrentMemFile.clear();
    values.CurrentAsmFile.clear();
    values.DefaultWebHelpAddress = DefaultWebHelpAddressFor(platform.ProgramPath);
    // The configured help address is the HTML manual beside the program, so Web help
    // works without a network.
    values.WebHelpAddress = values.DefaultWebHelpAddress;
    values.TempLstFile = DefaultTempLstFile;

    const std::unique_ptr<QSettings> store = platform.OpenSettings();
    for (const TPersistentSetting& setting : PersistentSettings) {
        if (auto stored = StoredString(*store, setting.Name)) values.*setting.Field = *stored;
    }
    if (store->contains(ZoomEntry)) SetZoomPercent(store->value(ZoomEntry).toInt());
    if (auto stored = StoredString(*store, ThemeEntry))
        if (auto theme = ThemeFromName(*stored)) SetTheme(*theme);
    values.Explain = store->value(ExplainEntry).toBool();
    const bool firstStart = StoredVersion(*store) != values.VersionText;
    if (firstStart && platform.HelpRequest) {
        platform.HelpRequest(HelpContextPopup, SyntaxOnFirstStartContext);
    }
    return firstStart;
}

bool ShutDown(const TProcessValues& values, const TStartupPlatform& platform) {
    const std::unique_ptr<QSettings> store = platform.OpenSettings();
    if (StoredVersion(*store) != values.VersionText) {
        store->setValue(SettingsDefaultEntry, SettingsDefaultValue);
        store->setValue("Version", values.VersionText);
        store->setValue("Copyright", values.LegalText);
        store->setValue("Author", SettingsAuthor);
    }
    for (const TPersistentSetting& setting : PersistentSettings) {
        store->setValue(setting.Name, values.*setting.Field);
    }
    // The view is kept only where it differs from the default, so a plain start writes
    // nothing more than it always did.
    if (ZoomPercent() != 100)
        store->setValue(ZoomEntry, ZoomPercent());
    else
        store->remove(ZoomEntry);
    if (CurrentTheme() != TTheme::System)
        store->setValue(ThemeEntry, ThemeName(CurrentTheme()));
    else
        store->remove(ThemeEntry);
    if (values.Explain)
        store->setValue(ExplainEntry, true);
    else
        store->remove(ExplainEntry);
    store->sync();
    if (store->status() == QSettings::NoError) return true;
    Prompt().Error(nullptr, BoundedMessage(QString("The settings could not be saved to %1.")
                                               .arg(QDir::toNativeSeparators(store->fileName()))));
    return false;
}

int RunQuarzel(int argc, char** argv) {
    // Read before the application exists, so --help and --version need no display.
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const TCommandLine commandLine = ParseCommandLine(args);
    if (commandLine.Action != TCommandLine::TAction::Start) {
        const bool error = commandLine.Action == TCommandLine::TAction::Error;
        std::fputs(commandLine.Message.toLocal8Bit().constData(), error ? stderr : stdout);
        return error ? 1 : 0;
    }
    const QString noDisplay = NoDisplayMessage(QProcessEnvironment::systemEnvironment());
    if (!noDisplay.isEmpty()) {
        std::fputs(noDisplay.toLocal8Bit().constData(), stderr);
        return 1;
    }
    // The toolkit sees no argument, so a file's name is never taken for one of its options.
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    try {
        application.setApplicationName("Quarzel Simulator");
        InstallApplicationIcon();
        RestyleApplication();  // the program's focus frames from the first window on
        TMainWin mainWindow;
        InstallAssemblerEditors(mainWindow);
        HelpHook().Install();
        InstallHelpViewers();
        const TStartupPlatform platform = RealStartupPlatform();
        StartUp(ProcessValues(), platform);
        mainWindow.SetExplainShown(ProcessValues().Explain);
        mainWindow.show();
        OpenCommandLineFiles(mainWindow, commandLine.Files);
        QApplication::exec();
        ShutDown(ProcessValues(), platform);
        return 0;
    } catch (const std::exception& error) {
        Prompt().Error(nullptr, FileErrorText(error));
        return 1;
    }
}
