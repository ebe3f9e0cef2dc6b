#pragma once

#include <QString>

// How logic talks to the user without knowing about widgets. The windows implement these;
// tests implement them with recorders.
namespace huddlex {

// Message boxes: OK button only, application title.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void showMessage(const QString& text) = 0;
};

// Panel 2's count of captured plays: "Plays: 12".
inline QString PlaysText(qint64 count) {
    return QStringLiteral("Plays: ") + QString::number(count);
}

// Panel 2's count of unknown plays: "UK-P: 3".
inline QString UnknownCountText(qint64 count) {
    return QStringLiteral("UK-P: ") + QString::number(count);
}

// The two panels of the status bar (1-based, as the window numbers them).
class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void setPanelText(int panel, const QString& text) = 0;
    virtual QString panelText(int panel) const = 0;
};

// The progress bar of a validation run, range 0 to 100.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setProgressVisible(bool visible) = 0;
    virtual void setProgressValue(double value) = 0;
    virtual double progressValue() const = 0;
};

// The list of captured plays (`File1`): a folder listing with a fixed pattern.
class PlayListView {
public:
    virtual ~PlayListView() = default;
    virtual void refresh() = 0;
    virtual int count() const = 0;
};

// The list of unknown plays (`lstUnknown`).
class UnknownListView {
public:
    virtual ~UnknownListView() = default;
    virtual void clear() = 0;
    virtual void add(const QString& entry) = 0;
    virtual int count() const = 0;
    virtual void setShown(bool shown) = 0;
    virtual bool isShown() const = 0;
};

// Capture failures, shown without a modal box (boxes would pile up while capture runs) and
// kept until the next successful capture.
class CaptureProblemSink {
public:
    virtual ~CaptureProblemSink() = default;
    virtual void showCaptureProblem(const QString& text) = 0;
    virtual void clearCaptureProblem() = 0;
};

} // namespace huddlex
