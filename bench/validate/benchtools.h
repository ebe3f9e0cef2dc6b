#pragma once

// What the benchmarks share: best-of timing, peak memory and a notifier that keeps quiet.

#include "common/userinterfaces.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <sys/resource.h>
#include <vector>

struct QuietNotifier : huddlex::Notifier {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

// The high-water mark of this process image in MB (ru_maxrss would carry the parent's over
// exec, so a child measured on its own would inherit the parent's peak).
inline double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
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
