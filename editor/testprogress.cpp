#include "editor/testprogress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "gui/liveregion.h"

TTestProgress::TTestProgress() {
    setObjectName(QStringLiteral("TestProgress"));
    ProgressLabel = new QLabel;
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressLabel->setTextFormat(Qt::PlainText);  // a test's name is never markup
    // A long test name is cut rather than widening the window.
    ProgressLabel->setMinimumWidth(1);
    ProgressLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ProgressBar = new QProgressBar;
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setTextVisible(false);
    ProgressBar->setMaximumWidth(120);
    StopTestsButton = new QPushButton(QStringLiteral("Stop"));
    StopTestsButton->setObjectName(QStringLiteral("StopTestsButton"));
    StopTestsButton->setToolTip(QStringLiteral("Stop the tests (Esc)"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 2, 2);
    row->addWidget(ProgressLabel, 1);
    row->addWidget(ProgressBar);
    row->addWidget(StopTestsButton);
    voice_ = new TLiveRegion(ProgressLabel);
    hide();
}

void TTestProgress::ShowRunning(int done, int count, const QString& name) {
    ProgressLabel->setText(
        QStringLiteral("Running test %1 of %2: %3").arg(done + 1).arg(count).arg(name));
    ProgressBar->setRange(0, count);
    ProgressBar->setValue(done);
    StopTestsButton->setEnabled(true);
    show();
}

void TTestProgress::ShowStopped(int done, int count, const QString& why) {
    QString text = QStringLiteral("Stopped after %1 of %2 tests").arg(done).arg(count);
    if (!why.isEmpty()) text += QStringLiteral(": ") + why;
    ProgressLabel->setText(text);
    ProgressBar->setValue(done);
    StopTestsButton->setEnabled(false);
    voice_->Changed();
}
