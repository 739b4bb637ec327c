#pragma once
// A test file's tests run one after the other on a worker thread, so that a test of a
// billion steps leaves the window live. The worker has its own copies of the file and the
// image and a machine per test; it touches nothing of Qt's but the posting of its results
// to this object, which hands them on as signals on this object's thread.

#include <QObject>
#include <thread>

#include "core/memfile.h"
#include "grading/testfile.h"
#include "grading/testrun.h"

class TBackgroundTests final : public QObject {
    Q_OBJECT
public:
    // Starts at once. Destroying it stops the run and drops the results not yet told.
    TBackgroundTests(TTestFile file, const TProgramImage& program, QObject* parent = nullptr);

    // Ends the run within a slice of the test being run, then tells, before returning, the
    // results of the tests that finished before the stop (and AllFinished, had they all).
    void Stop();

signals:
    void TestFinished(int index, const TTestResult& result);
    void AllFinished();

private:
    // Last, so that it has stopped and ended before anything else goes; the results it
    // posted go with the QObject.
    std::jthread worker_;
};
