#pragma once
// The versions this build carries: the package's (what dpkg and --version show) and the
// short text the About box shows, made from the same record so the two always agree.

#include <string>
#include <string_view>

// The file version up to its second dot ("2.0.0.252" gives "2.0"; fewer dots keep it
// whole), then "a" for a debug build or else "b" for a pre-release.
std::string ShortVersionText(std::string_view fileVersion, bool debug, bool preRelease);

// The package version: the file version, with "~beta" for a pre-release so that the
// release itself sorts after it.
std::string PackageVersion();

// What --version prints for program: "quarzel 2.0.0.252~beta (About box: v2.0b)".
std::string VersionLine(std::string_view program);
