#pragma once

#include "ui/wineprefixrow.h"

#include <QComboBox>
#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace huddlex {
class GamePaths;
class SettingsStore;
} // namespace huddlex

namespace huddlex::ui {

// `Drive1`: the drive list. It reads the machine's drives again each time it drops down, so
// a drive that came or went while the dialog was open shows as it now is.
// It takes the mouse wheel only while it has the keyboard focus.
class DriveList final : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);
    void showPopup() override;

signals:
    void aboutToPopup();

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// `frmSettings`: edits the five settings, and on Linux the Wine prefix. There is nothing to
// confirm: each change is written the moment it is made, and drive, version and prefix also
// move the game folder at once. Under the controls it says where the game folder is, and when
// it does not exist.
class frmSettings final : public QDialog {
    Q_OBJECT
public:
    // The drives the list offers, "c:" style; the file-system layer's list by default.
    using DriveSource = std::function<QStringList()>;

    frmSettings(SettingsStore& store, GamePaths& paths, QWidget* parent = nullptr,
                DriveSource drives = {}, PrefixSources prefixes = {});

    // Reads the machine's drives again, keeping the drive shown even if it has gone.
    void refreshDrives();
    // Runs as soon as a change moves the game folder: drive, version or Wine prefix.
    void setGameFolderMoved(std::function<void()> moved) { gameFolderMoved_ = std::move(moved); }

private:
    void buildControls(PrefixSources prefixes);
    void fitCaptions();
    void buildGameFolderHint();
    void showGameFolder();
    void gameFolderMoved();
    void Form_Load();
    void selectDrive(const QString& drive);
    void Drive1_Change();
    void optVersion_Click(int index);
    void writeSetting(const QString& key, const QString& value);
    void showSaved(const std::optional<QString>& notSaved);

    SettingsStore& store_;
    GamePaths& paths_;
    DriveSource drives_;
    DriveList* Drive1 = nullptr;
    QLineEdit* txtPlayFolder = nullptr;
    QRadioButton* optVersion[2] = {};
    QCheckBox* chkCapPlans = nullptr;
    QCheckBox* chkCapPlays = nullptr;
    QLabel* lblGameFolder = nullptr;
    QLabel* lblNotSaved = nullptr; // why the last change could not be saved
    std::function<void()> gameFolderMoved_;
    bool loading_ = false;
    double scale_ = 1.0; // the factor the designed layout grew by to fit the captions
};

} // namespace huddlex::ui
