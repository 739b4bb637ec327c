#pragma once
// Opening the web help address, with the error codes and texts the user is told.

#include <QString>

// Codes of a failed open; anything above 32 means the address was opened.
constexpr int WebHelpOpened = 33;
constexpr int WebHelpFileNotFound = 2;
constexpr int WebHelpPathNotFound = 3;
constexpr int WebHelpAccessDenied = 5;
constexpr int WebHelpNoAssociation = 31;

// Asks the desktop to open address: a web address, or a local file that must exist.
int OpenWebHelp(const QString& address);

// The text appended to "Cannot open Web help.\n"; empty when the code asks for no message.
QString WebHelpErrorText(int code);
