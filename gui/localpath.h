#pragma once
// File names between Qt and the file layer (core/, asm/). The file layer takes a path as
// the bytes the system knows the file by, and its error texts embed those bytes as they
// are; each is decoded here the way its name was encoded.

#include <QString>
#include <exception>
#include <string>

// The path as the file layer takes it: the file name in the locale's encoding.
std::string LocalPath(const QString& path);

// A path the file layer answered, as Qt names the file.
QString FromLocalPath(const std::string& path);

// The text of an error the file layer raised, as the user reads it: the path it names
// reads as it was typed or chosen.
QString FileErrorText(const std::exception& error);
