#include "capture/captureengine.h"

#include "capture/capturedplays.h"
#include "fs/folderops.h"

#include <QDebug>
#include <array>
#include <limits>
#include <utility>

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

const QString kRunning = QStringLiteral("Status: Running");
const QString kStopped = QStringLiteral("Status: Stop");

} // namespace

struct CaptureEngine::Impl {
    Parts parts;
    std::array<std::unique_ptr<Timer>, 6> timers;

    int playCount = 0;
    std::optional<QDateTime> lastPlayTime;
    // LastPlayTime as it was before the pending copy was armed: a failed copy puts it back
    // so the same play is taken again while the temp file is still there.
    std::optional<QDateTime> lastPlayTimeBeforeArm;
    // Modification time of the temp file the last captured play was copied from: a pending
    // copy that finds it again (a retry after a failure, a game folder switched away and
    // back) would only make a duplicate and shift every later name in the play log.
    std::optional<QDateTime> lastCapturedTime;
    bool forcedCopy = false; // Command1 copies the temp file whatever it holds
    int plan1Ticks = 0;
    int plan2Ticks = 0;
    bool running = false;
    std::optional<QString> problem; // the last copy failure, until the next good capture

    explicit Impl(Parts p) : parts(p) {}

    Timer& timer(TimerId id) { return *timers[static_cast<size_t>(id)]; }

    // The folders resolved by the last look at the game folder: a tick resolves nothing itself.
    const std::optional<fs::Folder>& game() const { return parts.folders.game(); }
    const std::optional<fs::Folder>& capture() const { return parts.folders.capture(); }

    bool existsInGameFolder(const QString& name) const {
        return game() && fs::existsExactly(*game(), name, fs::Search::Files);
    }

    // Why a copy has nowhere to come from or go to; nothing when both folders are there.
    std::optional<fs::Error> missingFolder() const {
        const GamePaths& paths = parts.folders.paths();
        if (!game())
            return fs::Error{fs::ErrorKind::PathNotFound,
                             QStringLiteral("the game folder \"%1\" does not exist")
                                 .arg(fs::shownPath(paths.gameFolder()))};
        if (!capture())
            return fs::Error{fs::ErrorKind::PathNotFound,
                             QStringLiteral("the capture folder \"%1\" does not exist")
                                 .arg(fs::shownPath(paths.captureFolder()))};
        return std::nullopt;
    }

    fs::Status copyToCapture(const QString& source, const QString& captured) const {
        if (auto missing = missingFolder())
            return *missing;
        return fs::copyFile(*game(), source, *capture(), captured);
    }

    QString stateText() const { return running ? kRunning : kStopped; }

    void reportProblem(const QString& text) {
        problem = text;
        if (parts.problems)
            parts.problems->showCaptureProblem(text);
        else
            qWarning().noquote() << text;
    }

    // After a good copy panel 1 shows the state capture is in again.
    void clearProblem() {
        if (!problem)
            return;
        problem.reset();
        if (parts.problems)
            parts.problems->clearCaptureProblem();
        parts.status.setPanelText(1, stateText());
    }

    // A name in any letter case, or a folder of that name, is taken: a capture never replaces
    // anything (a file a failed Delete Files left behind, or one that appeared since start-up).
    bool isTaken(int number) const {
        return capture() && fs::find(*capture(), CapturedPlays::canonicalName(number),
                                     fs::Search::FilesAndFolders)
                                .ok();
    }

    int nextFreeNumber() const {
        int number = playCount;
        while (number < std::numeric_limits<int>::max() && isTaken(number))
            ++number;
        return number;
    }

    // Copies one plan file; on failure returns the line that explains it.
    QString copyPlan(const QString& source, const QString& captured) {
        const fs::Status st = copyToCapture(source, captured);
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
        if (!t5.isEnabled()) {
            lastPlayTimeBeforeArm = lastPlayTime;
            forcedCopy = false;
        }
        t5.setEnabled(true);
    }

    void onTimerPlay() {
        if (!existsInGameFolder(kPlayTemp))
            return;
        const fs::Result<QDateTime> t = fs::modificationTime(*game(), kPlayTemp);
        if (!t)
            return; // gone between the search and the stat: the next tick looks again
        // Before the first capture of a numbering (PlayCount 0) the first sighting is taken,
        // unless it is the very play taken last (still lying there after Delete Files).
        const bool isNew =
            !lastPlayTime || (playCount <= 0 ? *t != *lastPlayTime : *t > *lastPlayTime);
        if (isNew) {
            armTimer5(); // before LastPlayTime moves, so a failed copy can put it back
            lastPlayTime = *t;
        }
    }

    void onTimer5() {
        timer(TimerId::Timer5).setEnabled(false);
        const bool forced = std::exchange(forcedCopy, false);
        // Read before the copy: a rewrite during it then counts as a new play, never as
        // this one.
        const fs::Result<QDateTime> time =
            game() ? fs::modificationTime(*game(), kPlayTemp) : fs::Result<QDateTime>(fs::Error{});
        if (time && !forced && lastCapturedTime && *time == *lastCapturedTime) {
            lastPlayTime = *time; // so the watch waits for a later play
            return;
        }
        const int number = nextFreeNumber();
        const fs::Status st = copyToCapture(kPlayTemp, CapturedPlays::canonicalName(number));
        if (!st) {
            lastPlayTime = lastPlayTimeBeforeArm;
            reportProblem(QStringLiteral("Play %1 not captured: %2")
                              .arg(QString::number(number), st.message()));
            return;
        }
        if (time)
            lastCapturedTime = *time;
        playCount = number + 1;
        parts.status.setPanelText(2, PlaysText(playCount));
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
    d->running = true;
    d->problem.reset(); // the panel's text replaces it
    d->parts.status.setPanelText(1, kRunning);
}

void CaptureEngine::StopCapture() {
    for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3, TimerId::Timer4,
                       TimerId::Timer5, TimerId::timerPlay})
        d->timer(id).setEnabled(false);
    d->running = false;
    d->problem.reset();
    d->parts.status.setPanelText(1, kStopped);
}

void CaptureEngine::Command1Click() {
    d->armTimer5();
    d->forcedCopy = true;
}

void CaptureEngine::showState() {
    if (d->problem && d->parts.problems)
        d->parts.problems->showCaptureProblem(*d->problem);
    else
        d->parts.status.setPanelText(1, d->stateText());
}

int CaptureEngine::PlayCount() const {
    return d->playCount;
}

void CaptureEngine::setPlayCount(int count) {
    d->playCount = count;
    // A new numbering (start-up, Delete Files): the earlier captures are no longer there to
    // be duplicated, and the next play is taken at its first sighting.
    d->lastCapturedTime.reset();
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
