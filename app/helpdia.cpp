#include "app/helpdia.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/helptopics.h"
#include "app/textsource.h"
#include "core/cp437.h"
#include "core/fileerror.h"
#include "core/readfile.h"
#include "gui/helpcontexts.h"
#include "gui/helphook.h"
#include "gui/localpath.h"
#include "gui/prompt.h"
#include "gui/theme.h"
#include "gui/zoom.h"

namespace {

// "Courier New" where installed, else the system's fixed-pitch font.
QString CodeFontFamily() {
    const QString preferred = QStringLiteral("Courier New");
    if (QFontDatabase::families().contains(preferred)) return "'" + preferred + "'";
    return "'" + QFontDatabase::systemFont(QFontDatabase::FixedFont).family() + "'";
}

QByteArray ReadWhole(TTextSource& source) {
    QByteArray text;
    char chunk[4096];
    for (std::int64_t n; (n = source.Read(chunk, sizeof chunk)) > 0;) text.append(chunk, n);
    return text;
}

}  // namespace

const QByteArray& HelpDocument(int context) {
    static QHash<int, QByteArray> documents;
    auto found = documents.find(context);
    if (found == documents.end()) {
        const THelpTopic* topic = FindHelpTopic(context);
        const QString document = topic ? TopicDocument(*topic, CodeFontFamily())
                                       : TopicDocument(NotAClueTopic(context), CodeFontFamily());
        found = documents.insert(context, document.toUtf8());
    }
    return *found;
}

THelpDialog::THelpDialog(QWidget* parent)
    : QDialog(parent, Qt::Tool),
      InfoFolders(InfoFoldersFor(QCoreApplication::applicationDirPath())) {
    setObjectName("HelpDialog");
    setWindowTitle("Help");
    setAttribute(Qt::WA_DeleteOnClose);
    setProperty(HelpContextProperty, NoHelpContext);

    HelpText = new QTextEdit(this);
    HelpText->setObjectName("HelpText");
    HelpText->setReadOnly(true);
    HelpText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    HelpText->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont body = font();
    body.setPointSize(10);
    HelpText->setFont(body);
    HelpText->document()->setDefaultFont(body);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HelpText);
    resize(Zoomed(InitialWidth), Zoomed(InitialHeight));

    resizeRequest_ = connect(HelpText->document()->documentLayout(),
                             &QAbstractTextDocumentLayout::documentSizeChanged, this,
                             &THelpDialog::HelpTextResizeRequest);
    // A tooltip's colours, in the current theme.
    FollowTheme(this, [this] {
        QPalette colours = QApplication::palette();
        colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
        colours.setColor(QPalette::Base, colours.color(QPalette::ToolTipBase));
        colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
        colours.setColor(QPalette::Text, colours.color(QPalette::ToolTipText));
        setPalette(colours);
        ThemeDocument(*HelpText->document());
    });
    // The reference a class reads most on the projector: text and sizes follow the zoom.
    FollowZoom(this, [this] {
        HelpText->document()->setDefaultFont(HelpText->font());
        ZoomDocument(*HelpText->document());
    });
}

void THelpDialog::ShowTopic(int context) {
    const THelpTopic* topic = FindHelpTopic(context);
    if (topic && topic->Width > 0) resize(Zoomed(topic->Width), height());

    TTextSource source(HelpDocument(context).constData());
    HelpText->setHtml(QString::fromUtf8(ReadWhole(source)));

    if (context == ProgramInfoContext) AppendInfoFile();
    ThemeDocument(*HelpText->document());
    ZoomDocument(*HelpText->document());
    HelpText->moveCursor(QTextCursor::Start);
}

QStringList InfoFoldersFor(const QString& programFolder) {
    return {programFolder, QStringLiteral("/etc/quarzel"),
            QDir::cleanPath(programFolder + "/" QUARZEL_MANUAL_FROM_PROGRAM)};
}

void THelpDialog::AppendInfoFile() {
    const auto folder = std::find_if(InfoFolders.begin(), InfoFolders.end(), [](const QString& f) {
        return QFileInfo::exists(QDir(f).filePath(InfoFileName));
    });
    if (folder == InfoFolders.end()) return;
    const QString name = QDir(*folder).filePath(InfoFileName);
    QByteArray contents;
    try {
        // Far more than any course note; a larger file is not one.
        constexpr std::size_t MaxInfoBytes = 16 << 20;
        const std::string bytes = ReadFileStart(LocalPath(name), MaxInfoBytes + 1);
        if (bytes.size() > MaxInfoBytes)
            throw EFileError("The file " + LocalPath(name) + " is too large to be shown.");
        contents = QByteArray::fromStdString(bytes);
    } catch (const EFileError& error) {
        Prompt().Error(this, FileErrorText(error));
        return;
    }
    if (contents.isEmpty()) return;
    // Read as a source file is: UTF-8, or else code page 437 byte for byte. The newline
    // that ends the last line starts no further line.
    QString text = QString::fromStdString(
        SourceFileToUtf8(std::string_view(contents.constData(), size_t(contents.size()))));
    if (text.endsWith('\n')) text.chop(1);
    QTextCursor cursor(HelpText->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat plain;
    plain.setFont(HelpText->document()->defaultFont());
    QTextBlockFormat block;
    for (const QString& line : text.split('\n')) {
        cursor.insertBlock(block, plain);
        cursor.insertText(QString(line).remove('\r'), plain);
    }
}

void THelpDialog::HelpTextResizeRequest() {
    const int contentHeight = static_cast<int>(std::ceil(HelpText->document()->size().height()));
    const int bottom = contentHeight + 2 * HelpText->frameWidth() - 1;
    const int most = Zoomed(MaxRequestedHeight);
    resize(width(), bottom <= most ? bottom + 1 : most);
}

void THelpDialog::DetachResizeRequest() {
    disconnect(resizeRequest_);
}

THelpDialog* OpenHelpViewer(int context) {
    // Asked for inside a modal dialog, the viewer belongs to that dialog: it comes up in
    // front of it and takes input while the dialog waits.
    auto* viewer = new THelpDialog(QApplication::activeModalWidget());
    viewer->ShowTopic(context);
    viewer->show();
    QCoreApplication::processEvents();
    viewer->DetachResizeRequest();
    const QScreen* screen = viewer->screen() ? viewer->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    if (context == SyntaxOnFirstStartContext) {
        // At its full size: a strip a few lines high hid the syntax it is opened to show.
        viewer->move(room.topLeft());  // the frame's corner, so the title bar is on the screen
    } else {
        // Centred with its final size, and never further up or left than the screen.
        const QRect frame = viewer->frameGeometry();
        QPoint corner = room.center() - QPoint(frame.width() / 2, frame.height() / 2);
        corner.setX(std::max(corner.x(), room.left()));
        corner.setY(std::max(corner.y(), room.top()));
        viewer->move(corner);
    }
    // Asked for from the keyboard, it is read from the keyboard: Escape closes it again.
    viewer->activateWindow();
    viewer->HelpText->setFocus();
    return viewer;
}

void InstallHelpViewers() {
    HelpHook().SetViewerOpener([](int context) { OpenHelpViewer(context); });
}
