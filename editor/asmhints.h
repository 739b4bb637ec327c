#pragma once
// The assembler editor's Hints: the assembler's warnings about a program that assembled,
// listed under the errors as "line N: TEXT". Choosing one puts the caret on its place.
// The list and its caption are hidden while there is no hint, so a program without
// warnings shows the window as it always was.

#include <QObject>
#include <vector>

#include "asm/warnings.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class TAssemblerEditor;

class TAsmHints final : public QObject {
    Q_OBJECT
public:
    // Adds the caption and the list under editor's error list; editor owns this object.
    explicit TAsmHints(TAssemblerEditor& editor);

    // Controls (objectName = field name).
    QLabel* HintsLabel;
    QListWidget* HintBox;

    // Lists warnings (none: hides the list).
    void Show(const std::vector<TAsmWarning>& warnings);

private:
    void GoToHint(const QListWidgetItem* item);

    TAssemblerEditor& editor_;
};
