#pragma once
// Edits two settings: the additional help address that Web help opens and the name of
// the temporary listing file. OK stores both fields exactly as typed; Cancel stores
// nothing. A hidden group holds a sample of each assembler editor highlight style.

#include <QDialog>

#include "editor/hlstyles.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the current settings; destroys itself when closed.
    explicit TOptionsDialog(QWidget* parent = nullptr);

    // The font of a style sample: the style's face and effects, its size in whole
    // points but at most 14.
    static QFont SampleFont(const THighlightStyle& style);
    static constexpr int MaxSamplePointSize = 14;

    QGroupBox* PathsOptionsGroup;
    QLabel* WebHelpAdrLabel;
    QLineEdit* WebHelpAdrInput;
    QPushButton* DefaultWebHelpAdrButton;
    QLabel* TempLstFileLabel;
    QLineEdit* TempLstFileInput;
    QPushButton* DefaultTempLstFileButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QGroupBox* FontsOptionsGroup;
    QLabel* NormalFontButton;
    QLabel* StringFontButton;
    QLabel* NumericFontButton;
    QLabel* KeywordFontButton;
    QLabel* CommentFontButton;
    QLabel* ErrorFontButton;

private:
    void OkButtonClick();
    void DefaultWebHelpAdrButtonClick();
    void DefaultTempLstFileButtonClick();
    QLabel* NewSample(const char* name, const char* caption, const QString& hint,
                      THighlightClass style);
};
