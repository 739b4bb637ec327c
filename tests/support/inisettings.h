#pragma once
// Start-up and shut-down against settings kept in an INI file, for tests of what a window
// keeps in the settings.

#include <QSettings>
#include <memory>

#include "app/startup.h"

inline TStartupPlatform IniSettingsPlatform(const QString& path) {
    return {[path] { return std::make_unique<QSettings>(path, QSettings::IniFormat); },
            {},
            "/opt/quarzel/bin/quarzel",
            BuiltInVersionRecord(),
            {}};
}
