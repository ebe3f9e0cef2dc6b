#pragma once

#include "common/userinterfaces.h"

#include <QMainWindow>
#include <QVector>

class QAction;
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

    // Where the window goes: the designed spot near the lower right of a 1024 x 768
    // screen, moved inside `available` when it would not fit there.
    static QPoint placement(const QRect& available, const QSize& frame, const QPoint& clientOffset);

    // StatusSink
    void setPanelText(int panel, const QString& text) override;
    QString panelText(int panel) const override;
    // ProgressSink
    void setProgressVisible(bool visible) override;
    void setProgressValue(double value) override;
    double progressValue() const override { return progress_; }

    // A problem with capture, kept beside the status until the next good capture.
    void showCaptureProblem(const QString& reason) override;
    void clearCaptureProblem() override;

signals:
    void menuClicked(huddlex::ui::MenuArray array, int index);
    void onTopClicked();
    void toolbarClicked(const QString& key);
    void command1Clicked();
    void unloading(); // the window is closing: Form_UnLoad

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildToolbar(QWidget* client);
    void buildStatusBar(QWidget* client);

    FileListBox* file1_ = nullptr;
    UnknownList* unknown_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* command1_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QLabel* panels_[2] = {};
    QVector<QAction*> toolbarButtons_;
    QVector<QAction*> menus_[4];
    QAction* onTop_ = nullptr;
    double progress_ = 0;
    bool placed_ = false;
};

} // namespace huddlex::ui
