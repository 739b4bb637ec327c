#pragma once
// The help viewer: a small tool window that shows one built-in topic. Every help
// request opens a new one; earlier viewers stay open until the user closes them.

#include <QDialog>
#include <QMetaObject>
#include <QString>
#include <QStringList>

class QTextEdit;

class THelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit THelpDialog(QWidget* parent = nullptr);

    // Loads the topic of a help context ("Not a clue" for an unknown one), setting the
    // topic's width first; the program topic gets the info file's lines appended.
    void ShowTopic(int context);
    // From now on the window keeps its size unless the user changes it.
    void DetachResizeRequest();

    QTextEdit* HelpText;
    QStringList InfoFolders;  // where the info file is looked for, first found wins

    // The client height the viewer asks for: just tall enough, at most this.
    static constexpr int MaxRequestedHeight = 450;
    static constexpr int InitialWidth = 308;
    static constexpr int InitialHeight = 120;

private:
    void HelpTextResizeRequest();
    void AppendInfoFile();

    QMetaObject::Connection resizeRequest_;
};

// The folders the info file is looked for in: the program's own folder, so a copy beside
// the program keeps working; then, for an installed program, where an administrator puts
// settings (/etc/quarzel) and the installed program's shared folder, which needs no
// writing into the folder of programs.
QStringList InfoFoldersFor(const QString& programFolder);

// Opens a new viewer on a help context as a help request does: load the topic, show it
// centred, let it take its size, then fix that size. Context 700 (the syntax help of a
// first start) opens in the top-left corner instead.
THelpDialog* OpenHelpViewer(int context);

// From now on the help hook answers every help request with a new viewer.
void InstallHelpViewers();

// A complete topic document as the viewer loads it, with the code font of this system.
// The documents are made once and stay in memory for the whole run.
const QByteArray& HelpDocument(int context);
