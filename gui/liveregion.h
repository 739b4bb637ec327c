#pragma once
// A label a screen reader speaks politely when its text is set: everything set while one
// command runs is spoken once, after it (as a notification), and while quiet() holds (a run
// at full speed) the same text is not spoken again.

#include <QObject>
#include <QString>
#include <functional>

class QLabel;

class TLiveRegion : public QObject {
public:
    TLiveRegion(QLabel* label, std::function<bool()> quiet = {});

    // The label's text was set, perhaps to what it was: a step that leaves "Ready" is
    // still a result to hear.
    void Changed();

private:
    void Speak();

    QLabel* label_;
    std::function<bool()> quiet_;
    QString spoken_;
    bool pending_ = false;
};
