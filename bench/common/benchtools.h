#pragma once

// What the benchmarks share: best-of timing, peak memory and a notifier that keeps quiet.

#include "common/userinterfaces.h"
#include "processstats.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

struct QuietNotifier : huddlex::Notifier {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

inline double peakMegabytes() {
    return huddlex::bench::peakMemoryKb() / 1024.0;
}

// Best of `runs`, in milliseconds: the least disturbed measurement.
template <class F> double bestOf(int runs, F&& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// Best of `rounds` for each piece of work, taking turns so that a change in the machine's
// load hits them all alike.
inline std::vector<double> bestInterleaved(int rounds,
                                           const std::vector<std::function<void()>>& works) {
    std::vector<double> best(works.size(), 1e300);
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < works.size(); ++i)
            best[i] = std::min(best[i], bestOf(1, works[i]));
    }
    return best;
}

// Runs this program again with `arguments`, so that the peak memory it prints is its own.
inline int runChild(const QStringList& arguments) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    return child.exitCode();
}
