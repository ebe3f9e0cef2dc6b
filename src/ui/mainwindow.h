#pragma once

#include "common/userinterfaces.h"

#include <QMainWindow>
#include <QVector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolBar;

namespace huddlex::ui {

class FileListBox;
class UnknownList;

// The menus whose items are addressed by a 1-based index, separators counted.
enum class MenuArray { mnuFile, mnuEdit, mnuView, mnuHelp };

// `frmMain`: toolbar, the two play lists, progress bar, status bar and menus. Widgets only:
// every click is passed on as a signal for the controller to route.
class MainWindow final : public QMainWindow,
                         public StatusSink,
                         public ProgressSink,
                         public CaptureProblemSink {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    FileListBox& File1() const { return *file1_; }
    UnknownList& lstUnknown() const { return *unknown_; }

    // Toolbar button by 1-based index (3 is the separator and gives nullptr).
    QAction* toolbarButton(int index) const;
    // Menu item by array and 1-based index.
    QAction* menuItem(MenuArray array, int index) const;
    QAction* mnuOnTop() const { return onTop_; }

    // "Always &On Top": flips the check mark, then the window's stacking to match.
    void ToggleOnTop();

    // Where the window's frame goes: the lower right corner of its client area (`client`,
    // relative to the frame) as far from the lower right corner of `available` as the design
    // puts it from the corner of a 1024 x 768 screen, so a window of the designed size lands
    // exactly on the designed spot there. Moved inside `available` when it would not fit.
    static QPoint placement(const QRect& available, const QSize& frame, const QRect& client);

    // Every text panel 1 shows; the window is laid out so the longest fits in its font.
    static const QStringList& panel1Texts();

    // StatusSink
    void setPanelText(int panel, const QString& text) override;
    QString panelText(int panel) const override;
    // ProgressSink
    void setProgressVisible(bool visible) override;
    void setProgressValue(double value) override;
    double progressValue() const override { return progress_; }

    // A problem with capture: panel 1 reads "Copy failed" in red until the next good capture
    // or the next status text; a click on it asks for the reason (captureProblemClicked).
    void showCaptureProblem(const QString& reason) override;
    void clearCaptureProblem() override;
    QString captureProblem() const { return problem_; }

    // The game folder is missing: panel 1 reads "No game folder" in red, ahead of a copy problem
    // and the status text (which its tool tip still gives), until an empty reason clears it; a
    // click asks for the reason (captureProblemClicked).
    void setGameFolderHint(const QString& reason);
    QString gameFolderHint() const { return hint_; }

    // A short note over the whole status bar, such as the result of Update Log, until
    // clearStatusMessage(); whoever shows it decides how long it stays. Its tool tip gives
    // `details`, or the note itself when it is cut.
    void showStatusMessage(const QString& text, const QString& details = {});
    void clearStatusMessage();
    QString statusMessage() const;

signals:
    void menuClicked(huddlex::ui::MenuArray array, int index);
    void onTopClicked();
    void toolbarClicked(const QString& key);
    void command1Clicked();
    void captureProblemClicked(const QString& reason);
    void unloading(); // the window is closing: Form_UnLoad

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar(QWidget* client);
    void buildStatusBar(QWidget* client);
    double fontScale() const;
    int scaled(int twips) const;
    QRect scaledRect(int left, int top, int width, int height) const;
    void layoutControls();
    void showPanel1();

    FileListBox* file1_ = nullptr;
    UnknownList* unknown_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* command1_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QFrame* statusBar_ = nullptr;
    QLabel* panels_[2] = {};
    QLabel* message_ = nullptr;
    QString messageText_;
    QString panel1Text_;
    QString problem_;
    QString hint_;
    QVector<QAction*> toolbarButtons_;
    QVector<QAction*> menus_[4];
    QAction* onTop_ = nullptr;
    double progress_ = 0;
    bool placed_ = false;
    double scale_ = 1.0;
};

} // namespace huddlex::ui
