#pragma once
// Every message box, question and file dialog of the program goes through this one
// interface, so tests can answer them. The real one uses QMessageBox and QFileDialog.

#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

enum class TAnswer { Yes, No, Cancel };

struct TFileDialogRequest {
    QString Title;
    QStringList Filters;  // "Program Files (*.prg)", ...
    QString Directory;    // folder to start in
    QString FileName;     // proposed name (save) or empty
    // Added to a name typed without one (save); a chosen filter whose first pattern is
    // "*.ext" puts its ext here, so the overwrite question asks about the name saved.
    QString DefaultSuffix;
    // When set, receives the filter chosen when the dialog closed.
    QString* SelectedFilter = nullptr;
};

class TPrompt {
public:
    virtual ~TPrompt() = default;
    virtual void Error(QWidget* parent, const QString& text) = 0;  // caption "Error"
    virtual void Warning(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void Information(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual TAnswer AskYesNoCancel(QWidget* parent, const QString& caption,
                                   const QString& text) = 0;
    // An empty string when the user cancels.
    virtual QString OpenFileName(QWidget* parent, const TFileDialogRequest& request) = 0;
    virtual QString SaveFileName(QWidget* parent, const TFileDialogRequest& request) = 0;
    // The print dialog on printer; true when the user confirms printing.
    virtual bool PrintSetup(QWidget* parent, QPrinter& printer) = 0;
};

// The prompt in use; tests install their own with SetPrompt and restore with nullptr.
TPrompt& Prompt();
void SetPrompt(TPrompt* prompt);

// Before work that would lose changes: asks "Save?" with text, saves on Yes, and tells
// whether to go on: on No, or on Yes when the save left nothing modified.
bool SaveBeforeGoingOn(QWidget* parent, const QString& text, const std::function<void()>& save,
                       const std::function<bool()>& modified);

// A message that may quote a name of any length, cut to a size a message box can show:
// a line longer than MaxMessageLine keeps its start and its end around "...".
inline constexpr int MaxMessageLine = 300;
QString BoundedMessage(const QString& text);
// The message of a load that ran out of memory (or failed in another unexpected way).
QString NotLoadedText(const QString& name);
