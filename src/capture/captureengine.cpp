#include "capture/captureengine.h"

#include "fs/filesystem.h"

#include <QDebug>
#include <array>

namespace huddlex {

namespace {

const QString kOff1Temp = QStringLiteral("FBOff1~.pln");
const QString kDef1Temp = QStringLiteral("FBDef1~.pln");
const QString kOff2Temp = QStringLiteral("FBOff2~.pln");
const QString kDef2Temp = QStringLiteral("FBDef2~.pln");
const QString kPlayTemp = QStringLiteral("FBPlay~.tmp");

constexpr int kPlanLookMs = 30000;
constexpr int kPlanWaitMs = 60000;
constexpr int kPlayLookMs = 1000;
constexpr int kPlayCopyDelayMs = 5000;
constexpr int kPlanWaitTicks = 10;

QString capturedPlayName(int number) {
    return QStringLiteral("FBplay") + QString::number(number) + QStringLiteral(".ply");
}

} // namespace

struct CaptureEngine::Impl {
    Parts parts;
    std::array<std::unique_ptr<Timer>, 6> timers;

    int playCount = 0;
    std::optional<QDateTime> lastPlayTime;
    // LastPlayTime as it was before the pending copy was armed: a failed copy puts it back
    // so the same play is taken again while the temp file is still there.
    std::optional<QDateTime> lastPlayTimeBeforeArm;
    int plan1Ticks = 0;
    int plan2Ticks = 0;

    explicit Impl(Parts p) : parts(p) {}

    Timer& timer(TimerId id) { return *timers[static_cast<size_t>(id)]; }

    bool existsInGameFolder(const QString& name) const {
        return fs::existsExactly(parts.paths.gameFile(name), fs::Search::Files);
    }

    void reportProblem(const QString& text) {
        if (parts.problems)
            parts.problems->showCaptureProblem(text);
        else
            qWarning().noquote() << text;
    }

    void clearProblem() {
        if (parts.problems)
            parts.problems->clearCaptureProblem();
    }

    // Copies one plan file; on failure returns the line that explains it.
    QString copyPlan(const QString& source, const QString& captured) {
        const fs::Status st =
            fs::copyFile(parts.paths.gameFile(source), parts.paths.captureFile(captured));
        if (st)
            return {};
        return QStringLiteral("Game plan %1 not captured: %2").arg(captured, st.message());
    }

    void copyPlanPair(const QString& offSource, const QString& offCaptured,
                      const QString& defSource, const QString& defCaptured) {
        // Both copies are tried: one missing file must not cost the other.
        QStringList problems;
        for (const QString& line :
             {copyPlan(offSource, offCaptured), copyPlan(defSource, defCaptured)}) {
            if (!line.isEmpty())
                problems << line;
        }
        if (problems.isEmpty())
            clearProblem();
        else
            reportProblem(problems.join(QStringLiteral("; ")));
    }

    void onTimer1() {
        if (!existsInGameFolder(kOff1Temp))
            return;
        timer(TimerId::Timer2).setEnabled(true);
        timer(TimerId::Timer1).setEnabled(false);
    }

    void onTimer2() {
        if (++plan1Ticks != kPlanWaitTicks)
            return;
        copyPlanPair(kOff1Temp, QStringLiteral("XOff1.pln"), kDef1Temp,
                     QStringLiteral("XDef1.pln"));
        plan1Ticks = 0;
        timer(TimerId::Timer2).setEnabled(false);
        timer(TimerId::Timer3).setEnabled(true);
    }

    void onTimer3() {
        if (!existsInGameFolder(kOff2Temp))
            return;
        timer(TimerId::Timer4).setEnabled(true);
        timer(TimerId::Timer3).setEnabled(false);
    }

    void onTimer4() {
        if (++plan2Ticks != kPlanWaitTicks)
            return;
        copyPlanPair(kOff2Temp, QStringLiteral("XOff2.pln"), kDef2Temp,
                     QStringLiteral("XDef2.pln"));
        plan2Ticks = 0;
        timer(TimerId::Timer4).setEnabled(false);
    }

    void armTimer5() {
        Timer& t5 = timer(TimerId::Timer5);
        if (!t5.isEnabled())
            lastPlayTimeBeforeArm = lastPlayTime;
        t5.setEnabled(true);
    }

    void onTimerPlay() {
        if (!existsInGameFolder(kPlayTemp))
            return;
        const fs::Result<QDateTime> t = fs::modificationTime(parts.paths.gameFile(kPlayTemp));
        if (!t)
            return; // gone between the search and the stat: the next tick looks again
        if (playCount <= 0 || !lastPlayTime || *t > *lastPlayTime) {
            armTimer5(); // before LastPlayTime moves, so a failed copy can put it back
            lastPlayTime = *t;
        }
    }

    void onTimer5() {
        const int number = playCount;
        const fs::Status st = fs::copyFile(parts.paths.gameFile(kPlayTemp),
                                           parts.paths.captureFile(capturedPlayName(number)));
        timer(TimerId::Timer5).setEnabled(false);
        if (!st) {
            lastPlayTime = lastPlayTimeBeforeArm;
            reportProblem(QStringLiteral("Play %1 not captured: %2")
                              .arg(QString::number(number), st.message()));
            return;
        }
        playCount = number + 1;
        parts.status.setPanelText(2, QStringLiteral("Plays: ") + QString::number(playCount));
        parts.file1.refresh();
        clearProblem();
    }
};

CaptureEngine::CaptureEngine(Parts parts) : d(std::make_unique<Impl>(parts)) {
    auto make = [this](int ms, void (Impl::*tick)()) {
        Impl* impl = d.get();
        return d->parts.timers.create(ms, [impl, tick] { (impl->*tick)(); });
    };
    d->timers[0] = make(kPlanLookMs, &Impl::onTimer1);
    d->timers[1] = make(kPlanWaitMs, &Impl::onTimer2);
    d->timers[2] = make(kPlanWaitMs, &Impl::onTimer3);
    d->timers[3] = make(kPlanWaitMs, &Impl::onTimer4);
    d->timers[4] = make(kPlayCopyDelayMs, &Impl::onTimer5);
    d->timers[5] = make(kPlayLookMs, &Impl::onTimerPlay);
}

CaptureEngine::~CaptureEngine() = default;

void CaptureEngine::StartCapture() {
    if (captureSwitchOn(d->parts.store, keys::CapPlans))
        d->timer(TimerId::Timer1).setEnabled(true);
    if (captureSwitchOn(d->parts.store, keys::CapPlays))
        d->timer(TimerId::timerPlay).setEnabled(true);
    d->parts.status.setPanelText(1, QStringLiteral("Status: Running"));
}

void CaptureEngine::StopCapture() {
    for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3, TimerId::Timer4,
                       TimerId::Timer5, TimerId::timerPlay})
        d->timer(id).setEnabled(false);
    d->parts.status.setPanelText(1, QStringLiteral("Status: Stop"));
}

void CaptureEngine::Command1Click() {
    d->armTimer5();
}

int CaptureEngine::PlayCount() const {
    return d->playCount;
}

void CaptureEngine::setPlayCount(int count) {
    d->playCount = count;
}

std::optional<QDateTime> CaptureEngine::LastPlayTime() const {
    return d->lastPlayTime;
}

int CaptureEngine::Plan1Ticks() const {
    return d->plan1Ticks;
}

int CaptureEngine::Plan2Ticks() const {
    return d->plan2Ticks;
}

bool CaptureEngine::isTimerEnabled(TimerId id) const {
    return d->timers[static_cast<size_t>(id)]->isEnabled();
}

} // namespace huddlex
