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

Identification IdentifyPlays(const FBPlan& plan, const GamePaths& paths, const CapturedPlays& plays,
                             const std::function<void()>& afterEach,
                             const std::optional<fs::Folder>& root) {
    PlayIdentifier identifier =
        root ? PlayIdentifier(*root, plan.gPlayFiles) : PlayIdentifier(paths, plan.gPlayFiles);
    return IdentifyPlays(identifier, paths, plays, afterEach);
}

Identification IdentifyPlays(PlayIdentifier& identifier, const GamePaths& paths,
                             const CapturedPlays& plays, const std::function<void()>& afterEach) {
    Identification run;
    run.outcomes.reserve(plays.count());
    for (qint64 i = 0; i < plays.count(); ++i) {
        // A gap costs no disk access: the listing already said there is no file. The folder
        // was resolved once by that listing, so a play is one open, whatever the letter case.
        const std::optional<QString> name = plays.name(i);
        fs::Result<fs::InputFile> play = !name            ? fs::Result<fs::InputFile>(fs::Error{})
                                         : plays.folder() ? plays.folder()->openFile(*name)
                                                          : fs::openFile(paths.captureFile(*name));
        if (play) {
            run.captures.insert(i, fs::stampOf(play.value()));
            run.outcomes.append(identifier.identify(play.value()));
        } else {
            run.outcomes.append(UnknownPlay);
        }
        if (afterEach) {
            afterEach();
        }
    }
    run.unreadable = identifier.unreadableCandidates();
    run.candidates = identifier.candidateStamps();
    return run;
}

QString UnreadableCandidatesText(const QList<CandidateFiles::Unreadable>& unreadable) {
    if (unreadable.isEmpty()) {
        return {};
    }
    QStringList lines;
    lines << (unreadable.size() == 1
                  ? QStringLiteral("1 play file that the plans name could not be read:")
                  : QStringLiteral("%1 play files that the plans name could not be read:")
                        .arg(unreadable.size()));
    for (const CandidateFiles::Unreadable& file : unreadable) {
        lines << file.error.message;
    }
    lines << QStringLiteral("A play that matches one of them is counted as unknown. Make the "
                            "files readable and validate again.");
    return lines.join(QLatin1Char('\n'));
}

QString UnknownEntry(qint64 captureNumber) {
    return QStringLiteral("FBPlay%1.ply").arg(captureNumber);
}

Identification ValidatePlays(FBPlan& plan, const GamePaths& paths, const CapturedPlays& plays,
                             ValidationView view, const std::optional<fs::Folder>& root) {
    const int step = ProgressStep(plays.count());
    // Each run lists only its own unknown plays, so panel 2 and the message agree.
    view.lstUnknown.clear();
    Identification run = IdentifyPlays(
        plan, paths, plays, [&] { UpDateProg(view.progress, step); }, root);
    plan.gPlayResults = run.outcomes;

    qint64 unknown = 0;
    for (qsizetype i = 0; i < plan.gPlayResults->size(); ++i) {
        if (plan.gPlayResults->at(i) == UnknownPlay) {
            view.lstUnknown.add(UnknownEntry(i));
            ++unknown;
        }
    }
    view.lstUnknown.setShown(true);
    view.status.setPanelText(2, UnknownCountText(view.lstUnknown.count()));
    UpDateProg(view.progress, 100);
    // The count is the designed message; what this computer failed to read follows it, so no
    // unknown play reads as the opponent's doing when it is the local disk's.
    QString message = QStringLiteral("%1 Unknown Plays").arg(unknown);
    if (const QString unreadable = UnreadableCandidatesText(run.unreadable); !unreadable.isEmpty())
        message += QStringLiteral("\n\n") + unreadable;
    view.notifier.showMessage(message);
    return run;
}

} // namespace huddlex
