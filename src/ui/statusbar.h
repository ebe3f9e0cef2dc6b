#pragma once

#include "common/userinterfaces.h"

#include <QFrame>
#include <QStringList>

class QLabel;

namespace huddlex::ui {

// `StatusBar1`: two text panels, and over them for a while a short note. Panel 1 shows, first
// to apply: the missing game folder ("No game folder"), a capture problem ("Copy failed") or
// the status text; both red ones keep the status text in their tool tip, and a click on them
// asks for the whole reason (problemClicked).
class StatusBar final : public QFrame, public StatusSink, public CaptureProblemSink {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    // Every text panel 1 shows; the window is laid out so the longest fits in its font.
    static const QStringList& panel1Texts();

    // Places the two panels, each `panelWidth` wide (panel 2 may run past the edge).
    void layoutPanels(int panelWidth);

    // StatusSink
    void setPanelText(int panel, const QString& text) override;
    QString panelText(int panel) const override;

    // CaptureProblemSink: "Copy failed" in red until the next good capture or status text.
    void showCaptureProblem(const QString& reason) override;
    void clearCaptureProblem() override;
    QString captureProblem() const { return problem_; }

    // The game folder is missing: "No game folder" in red, ahead of a copy problem and the
    // status text, until an empty reason clears it.
    void setGameFolderHint(const QString& reason);
    QString gameFolderHint() const { return hint_; }

    // A short note over both panels until clearMessage(); whoever shows it decides how long it
    // stays. Its tool tip gives `details`, or the note itself when it is cut.
    void showMessage(const QString& text, const QString& details = {});
    void clearMessage();
    QString message() const;

signals:
    void problemClicked(const QString& reason);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPanel1();

    QLabel* panels_[2] = {};
    QLabel* message_ = nullptr;
    QString messageText_;
    QString panel1Text_;
    QString problem_;
    QString hint_;
};

} // namespace huddlex::ui
