#pragma once
// The few texts that exist once for the whole run: the persistent settings, the
// temporary folder, the version and legal texts. Start-up fills them and saves the
// persistent ones at exit; the windows read and change them while the program runs.

#include <QString>

// The listing file's name until the options say otherwise.
inline constexpr char DefaultTempLstFile[] = "QZasm.lst";

struct TProcessValues {
    QString CurrentMemFile;
    QString CurrentAsmFile;
    QString WebHelpAddress;
    QString DefaultWebHelpAddress;
    QString TempLstFile = DefaultTempLstFile;
    QString RunSpeed;      // instructions per second as a decimal, empty or "0": full speed
    bool Explain = false;  // the main window's explanation panel is shown
    QString TempDir;       // always ends in a separator
    QString VersionText;
    QString LegalText;
};

// The one instance of the run.
TProcessValues& ProcessValues();
