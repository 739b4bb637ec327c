#include "gui/prompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QRegularExpression>

namespace {

// "csv" for "CSV Files (*.csv)", empty unless the filter's first pattern is "*.ext".
QString FirstSuffix(const QString& filter) {
    static const QRegularExpression first(QStringLiteral(R"(\(\*\.(\w+)[ )])"));
    return first.match(filter).captured(1);
}

class TDialogPrompt final : public TPrompt {
public:
    void Error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, QStringLiteral("Error"), text);
    }
    void Warning(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox::warning(parent, caption, text);
    }
    void Information(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox::information(parent, caption, text);
    }
    TAnswer AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text) override {
        const auto button = QMessageBox::question(
            parent, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            QMessageBox::Yes);
        if (button == QMessageBox::Yes) return TAnswer::Yes;
        if (button == QMessageBox::No) return TAnswer::No;
        return TAnswer::Cancel;
    }
    QString OpenFileName(QWidget* parent, const TFileDialogRequest& request) override {
        QFileDialog dialog(parent, request.Title, request.Directory);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(request.Filters);
        if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
        if (dialog.exec() != QDialog::Accepted) return QString();
        if (request.SelectedFilter) *request.SelectedFilter = dialog.selectedNameFilter();
        return dialog.selectedFiles().value(0);
    }
    QString SaveFileName(QWidget* parent, const TFileDialogRequest& request) override {
        QFileDialog dialog(parent, request.Title, request.Directory);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters(request.Filters);
        dialog.setDefaultSuffix(request.DefaultSuffix);
        if (!request.DefaultSuffix.isEmpty())
            QObject::connect(
                &dialog, &QFileDialog::filterSelected, &dialog,
                [&dialog, &request](const QString& filter) {
                    const QString suffix = FirstSuffix(filter);
                    dialog.setDefaultSuffix(suffix.isEmpty() ? request.DefaultSuffix : suffix);
                });
        if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
        if (dialog.exec() != QDialog::Accepted) return QString();
        if (request.SelectedFilter) *request.SelectedFilter = dialog.selectedNameFilter();
        return dialog.selectedFiles().value(0);
    }
    bool PrintSetup(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

TPrompt* installed = nullptr;

}  // namespace

TPrompt& Prompt() {
    static TDialogPrompt dialogs;
    return installed ? *installed : dialogs;
}

void SetPrompt(TPrompt* prompt) {
    installed = prompt;
}

bool SaveBeforeGoingOn(QWidget* parent, const QString& text, const std::function<void()>& save,
                       const std::function<bool()>& modified) {
    const TAnswer answer = Prompt().AskYesNoCancel(parent, QStringLiteral("Save?"), text);
    if (answer != TAnswer::Yes) return answer == TAnswer::No;
    save();
    return !modified();
}

QString BoundedMessage(const QString& text) {
    QStringList lines = text.split(u'\n');
    constexpr int kept = (MaxMessageLine - 3) / 2;
    for (QString& line : lines)
        if (line.size() > MaxMessageLine) line = line.left(kept) + "..." + line.right(kept);
    return lines.join(u'\n');
}

QString NotLoadedText(const QString& name) {
    return BoundedMessage(QStringLiteral("Cannot open file %1\nThere was not enough memory to "
                                         "complete the operation.")
                              .arg(name));
}
