#pragma once
// A prompt that answers from a script and records what was asked.

#include <QPrinter>
#include <QStringList>
#include <deque>

#include "gui/prompt.h"

class TTestPrompt final : public TPrompt {
public:
    TTestPrompt() { SetPrompt(this); }
    ~TTestPrompt() override { SetPrompt(nullptr); }

    std::deque<TAnswer> Answers;    // for AskYesNoCancel; Cancel when empty
    std::deque<QString> FileNames;  // for Open/SaveFileName; "" when empty
    std::deque<QString> Filters;    // chosen filter of an open dialog; the first when empty
    QStringList Shown;              // "caption|text" of every box shown
    QList<TFileDialogRequest> Requests;
    QString PrintFile;     // print dialog: confirmed as a PDF to this file; "" cancels
    int PrintDialogs = 0;  // how often the print dialog was shown

    void Error(QWidget*, const QString& text) override { Shown << "Error|" + text; }
    void Warning(QWidget*, const QString& caption, const QString& text) override {
        Shown << caption + "|" + text;
    }
    void Information(QWidget*, const QString& caption, const QString& text) override {
        Shown << caption + "|" + text;
    }
    TAnswer AskYesNoCancel(QWidget*, const QString& caption, const QString& text) override {
        Shown << caption + "|" + text;
        if (Answers.empty()) return TAnswer::Cancel;
        const TAnswer a = Answers.front();
        Answers.pop_front();
        return a;
    }
    QString OpenFileName(QWidget*, const TFileDialogRequest& request) override {
        return Next(request);
    }
    QString SaveFileName(QWidget*, const TFileDialogRequest& request) override {
        return Next(request);
    }
    bool PrintSetup(QWidget*, QPrinter& printer) override {
        ++PrintDialogs;
        if (PrintFile.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PrintFile);
        return true;
    }

private:
    QString Next(const TFileDialogRequest& request) {
        Requests << request;
        if (request.SelectedFilter) {
            *request.SelectedFilter = Filters.empty() ? request.Filters.value(0) : Filters.front();
            if (!Filters.empty()) Filters.pop_front();
        }
        if (FileNames.empty()) return QString();
        const QString name = FileNames.front();
        FileNames.pop_front();
        return name;
    }
};
