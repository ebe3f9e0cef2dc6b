#include "validate/validationrun.h"

#include "validate/playidentifier.h"

namespace huddlex {

int ProgressStep(qint64 n) {
    if (n <= 0) {
        return 0;
    }
    const qint64 quotient = 100 / n;
    const qint64 twiceRemainder = 2 * (100 % n);
    if (twiceRemainder > n || (twiceRemainder == n && quotient % 2 == 1)) {
        return static_cast<int>(quotient + 1);
    }
    return static_cast<int>(quotient);
}

double UpDateProg(double value, int amount) {
    if (amount == 100) {
        value = 100;
    }
    if (value + amount < 101) {
        value += amount;
    }
    return value;
}

void UpDateProg(ProgressSink& bar, int amount) {
    const double before = bar.progressValue();
    const double after = UpDateProg(before, amount);
    if (after != before) {
        bar.setProgressValue(after);
    }
}

QStringList IdentifyPlays(const FBPlan& plan, const GamePaths& paths, const CapturedPlays& plays,
                          const std::function<void()>& afterEach) {
    PlayIdentifier identifier(paths, plan.gPlayFiles);
    QStringList outcomes;
    outcomes.reserve(plays.count());
    for (qint64 i = 0; i < plays.count(); ++i) {
        // A gap costs no disk access: the listing already said there is no file. The folder
        // was resolved once by that listing, so a play is one open, whatever the letter case.
        const std::optional<QString> name = plays.name(i);
        if (!name) {
            outcomes.append(UnknownPlay);
        } else if (plays.folder()) {
            fs::Result<fs::InputFile> play = plays.folder()->openFile(*name);
            outcomes.append(play ? identifier.identify(play.value()) : UnknownPlay);
        } else {
            outcomes.append(identifier.identifyFile(paths.captureFile(*name)));
        }
        if (afterEach) {
            afterEach();
        }
    }
    return outcomes;
}

QString UnknownEntry(qint64 captureNumber) {
    return QStringLiteral("FBPlay%1.ply").arg(captureNumber);
}

qint64 ValidatePlays(FBPlan& plan, const GamePaths& paths, const CapturedPlays& plays,
                     ValidationView view) {
    const int step = ProgressStep(plays.count());
    // Each run lists only its own unknown plays, so panel 2 and the message agree.
    view.lstUnknown.clear();
    plan.gPlayResults = IdentifyPlays(plan, paths, plays, [&] { UpDateProg(view.progress, step); });

    qint64 unknown = 0;
    for (qsizetype i = 0; i < plan.gPlayResults->size(); ++i) {
        if (plan.gPlayResults->at(i) == UnknownPlay) {
            view.lstUnknown.add(UnknownEntry(i));
            ++unknown;
        }
    }
    view.lstUnknown.setShown(true);
    view.status.setPanelText(2, QStringLiteral("UK-P: %1").arg(view.lstUnknown.count()));
    UpDateProg(view.progress, 100);
    view.notifier.showMessage(QStringLiteral("%1 Unknown Plays").arg(unknown));
    return unknown;
}

} // namespace huddlex
