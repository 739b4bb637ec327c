#pragma once
// The help viewer: a small tool window that shows one built-in topic. Every help
// request opens a new one; earlier viewers stay open until the user closes them.

#include <QDialog>
#include <QMetaObject>
#include <QString>

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
    QString InfoFolder;  // where the info file is looked for: the program's own folder

    // The client height the viewer asks for: just tall enough, at most this.
    static constexpr int MaxRequestedHeight = 450;
    static constexpr int InitialWidth = 308;
    static constexpr int InitialHeight = 120;

private:
    void HelpTextResizeRequest();
    void AppendInfoFile();

    QMetaObject::Connection resizeRequest_;
};

// Opens a new viewer on a help context as a help request does: load the topic, show it
// centred, let it take its size, then fix that size. Context 700 (the syntax help of a
// first start) is moved to the top-left corner and made 90 pixels high.
THelpDialog* OpenHelpViewer(int context);

// From now on the help hook answers every help request with a new viewer.
void InstallHelpViewers();

// A complete topic document as the viewer loads it, with the code font of this system.
// The documents are made once and stay in memory for the whole run.
const QByteArray& HelpDocument(int context);
