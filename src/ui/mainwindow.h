#pragma once

#include "common/userinterfaces.h"
#include "ui/statusbar.h"

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
class StatusBar;
class UnknownList;

// The menus whose items are addressed by a 1-based index, separators counted.
enum class MenuArray { mnuFile, mnuEdit, mnuView, mnuHelp };

// Those indexes by name.
struct FileItem {
    enum : int { Start = 1, Stop = 2, Exit = 4 };
};
struct EditItem {
    enum : int { ValidatePlays = 1, UpdateLog = 2, DeleteFiles = 4 };
};
struct ViewItem {
    enum : int { AllPlays = 1, UnknownPlays = 2, Settings = 4, Report = 5 };
};
struct HelpItem {
    enum : int { Contents = 1, About = 3 };
};

// `frmMain`: toolbar, the two play lists, progress bar, status bar and menus. Widgets only:
// every click is passed on as a signal for the controller to route.
class MainWindow final : public QMainWindow, public ProgressSink {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    FileListBox& File1() const { return *file1_; }
    StatusBar& StatusBar1() const { return *statusBar_; }
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

    // ProgressSink
    void setProgressVisible(bool visible) override;
    void setProgressValue(double value) override;
    double progressValue() const override { return progress_; }

signals:
    void menuClicked(huddlex::ui::MenuArray array, int index);
    void onTopClicked();
    void toolbarClicked(const QString& key);
    void command1Clicked();
    void unloading(); // the window is closing: Form_UnLoad

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar(QWidget* client);
    double fontScale() const;
    int scaled(int twips) const;
    QRect scaledRect(int left, int top, int width, int height) const;
    void layoutControls();

    FileListBox* file1_ = nullptr;
    UnknownList* unknown_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* command1_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    QVector<QAction*> toolbarButtons_;
    QVector<QAction*> menus_[4];
    QAction* onTop_ = nullptr;
    double progress_ = 0;
    bool placed_ = false;
    double scale_ = 1.0;
};

} // namespace huddlex::ui
