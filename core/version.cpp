#include "core/version.h"

std::string ShortVersionText(std::string_view fileVersion, bool debug, bool preRelease) {
    const size_t firstDot = fileVersion.find('.');
    const size_t secondDot =
        firstDot == std::string_view::npos ? firstDot : fileVersion.find('.', firstDot + 1);
    std::string text(fileVersion.substr(0, secondDot));
    if (debug) {
        text += 'a';
    } else if (preRelease) {
        text += 'b';
    }
    return text;
}

std::string PackageVersion() {
    return QUARZEL_PACKAGE_VERSION;
}

std::string VersionLine(std::string_view program) {
    return std::string(program) + " " + PackageVersion() + " (About box: v" +
           ShortVersionText(QUARZEL_FILE_VERSION, false, QUARZEL_PRERELEASE) + ")";
}
