#include "editor/backgroundtests.h"

#include <QCoreApplication>

TBackgroundTests::TBackgroundTests(TTestFile file, const TProgramImage& program, QObject* parent)
    : QObject(parent) {
    worker_ = std::jthread([this, file = std::move(file), program](const std::stop_token& stop) {
        for (std::size_t i = 0; i < file.Tests.size(); ++i) {
            std::optional<TTestResult> result =
                RunTest(file.Tests[i], program, [&stop] { return stop.stop_requested(); });
            if (!result) return;
            // Posting is the one thing here that may touch this object from the worker.
            QMetaObject::invokeMethod(
                this,
                [this, index = int(i), r = std::move(*result)] { emit TestFinished(index, r); },
                Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(
            this, [this] { emit AllFinished(); }, Qt::QueuedConnection);
    });
}

void TBackgroundTests::Stop() {
    if (!worker_.joinable()) return;
    worker_.request_stop();
    worker_.join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
