// The main window's files (memory images, the listing), web help and closing.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <optional>
#include <sstream>

#include "app/mainwin.h"
#include "app/webhelp.h"
#include "controls/hexgrid.h"
#include "core/atomicfile.h"
#include "core/disasm.h"
#include "core/memfile.h"
#include "gui/busycursor.h"
#include "gui/dialogpaths.h"
#include "gui/localpath.h"
#include "gui/processvalues.h"
#include "gui/prompt.h"
#include "gui/shellopen.h"

namespace {

const QString ProgramFilter = QStringLiteral("Program Files (*.prg)");
const QString AssemblyFilter = QStringLiteral("Assembly Files (*.asm)");

}  // namespace

// ---------------------------------------------------------------------------------------
// Files

void TMainWin::OpenFileClick() {
    if (memModified_ &&
        !SaveBeforeGoingOn(
            this, "Memory Changed.\nDo you want to save before you open another file?",
            [this] { SaveFileClick(); }, [this] { return memModified_; }))
        return;
    TProcessValues& values = ProcessValues();
    QString chosenFilter;
    TFileDialogRequest request;
    request.Title = "Open Program File";
    request.Filters = {ProgramFilter};
    if (openEditor_) request.Filters << AssemblyFilter;
    request.Directory =
        values.CurrentMemFile.isEmpty() ? values.TempDir : DialogFolder(values.CurrentMemFile);
    request.SelectedFilter = &chosenFilter;
    const QString path = Prompt().OpenFileName(this, request);
    if (path.isEmpty()) return;
    if (openEditor_ && chosenFilter == AssemblyFilter) {
        openEditor_(path);
        return;
    }
    LoadMemoryFile(path);
}

void TMainWin::LoadMemoryFile(const QString& path) {
    ProcessValues().CurrentMemFile = path;
    std::optional<TMemoryImage> image;
    try {
        TBusyCursor busy;
        image = ReadMemoryFile(LocalPath(path));
    } catch (const EFileError& error) {
        Prompt().Error(this, BoundedMessage(FileErrorText(error)));
    } catch (const std::exception&) {  // memory ran out: the window stays as it was
        Prompt().Error(this, NotLoadedText(path));
        return;
    }
    if (image) {
        sim_->LoadImage(TProgramLoad(*image));
        SetCaption(path);
        memFileName_.clear();  // Save asks for a name, so the loaded file is not overwritten
    } else {
        sim_->Restart();
    }
    SetMemModified(false);
}

bool TMainWin::SaveFileClick() {
    if (memFileName_.isEmpty()) return MenuSaveAsFileClick();
    SaveToName(memFileName_);
    return !memModified_;
}

bool TMainWin::MenuSaveAsFileClick() {
    const TProcessValues& values = ProcessValues();
    const QString base = memFileName_.isEmpty() ? values.CurrentMemFile : memFileName_;
    TFileDialogRequest request;
    request.Title = "Save Program File";
    request.Filters = {ProgramFilter};
    request.DefaultSuffix = "prg";
    request.Directory = base.isEmpty() ? values.TempDir : DialogFolder(base);
    request.FileName = base.isEmpty() ? QString() : ProposedBaseName(base);
    const QString name = Prompt().SaveFileName(this, request);
    if (name.isEmpty()) return false;
    SaveToName(name);
    return !memModified_;
}

void TMainWin::SaveToName(const QString& name) {
    MainMemory->UpdateText();  // a value being typed is saved as typed
    TMemoryImage image;
    for (int a = 0; a < 256; ++a) image[a] = MainMemory->GetContents(a);
    try {
        WriteMemoryFile(LocalPath(name), image);
    } catch (const EFileError& error) {
        Prompt().Error(this, BoundedMessage(FileErrorText(error)));
        return;
    }
    SetCaption(name);
    memFileName_ = name;
    ProcessValues().CurrentMemFile = name;
    SetMemModified(false);
}

void TMainWin::ViewAsmButtonClick() {
    const TProcessValues& values = ProcessValues();
    const std::string path =
        ListingFileName(LocalPath(values.TempLstFile), LocalPath(values.TempDir));
    std::ostringstream listing;
    WriteListing(listing, *MainMemory, pc_);
    try {
        WriteFileAtomically(path, listing.str());
    } catch (const EFileError& error) {
        Prompt().Error(this, BoundedMessage(FileErrorText(error)));
        return;
    }
    // The desktop opens nothing for a relative file address, so the path is made whole.
    const QString listingFile = QFileInfo(FromLocalPath(path)).absoluteFilePath();
    if (!ShellOpen(QUrl::fromLocalFile(listingFile)))
        Prompt().Error(this, BoundedMessage(QString("The listing %1 could not be opened: the "
                                                    "desktop has no program for it.")
                                                .arg(QDir::toNativeSeparators(listingFile))));
}

// ---------------------------------------------------------------------------------------
// Other windows, help, closing

void TMainWin::MenuWWWHelpClick() {
    const QString text = WebHelpErrorText(OpenWebHelp(ProcessValues().WebHelpAddress));
    if (!text.isEmpty()) Prompt().Error(this, "Cannot open Web help.\n" + text);
}

void TMainWin::AssemblerButtonClick() {
    OpenAssemblerEditor(QString());
}

void TMainWin::OpenAssemblerEditor(const QString& sourceFile) {
    if (openEditor_) openEditor_(sourceFile);
}

void TMainWin::EnableAssemblerEditor(std::function<void(const QString&)> open) {
    openEditor_ = std::move(open);
    AssemblerButton->setEnabled(static_cast<bool>(openEditor_));
}

void TMainWin::RegisterWindow(QWidget* window, std::function<bool()> closeQuery) {
    std::erase_if(windows_, [](const auto& entry) { return entry.first.isNull(); });  // closed ones
    windows_.emplace_back(window, std::move(closeQuery));
}

void TMainWin::MenuExitClick() {
    close();
}

bool TMainWin::FormCloseQuery() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        const auto& [window, query] = *it;
        if (window && window->isVisible() && query && !query()) return false;
    }
    if (!memModified_) return true;
    activateWindow();
    setFocus();
    return SaveBeforeGoingOn(
        this, "Memory Changed.\nDo you want to save before you exit?", [this] { SaveFileClick(); },
        [this] { return memModified_; });
}

void TMainWin::FormClose() {
    if (Running()) BreakSimulator();
    // The other windows have agreed to go; hiding them lets the program end with this one.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible()) window->hide();
}

void TMainWin::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}
