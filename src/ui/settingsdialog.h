#pragma once

#include <QComboBox>
#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
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

// `frmSettings`: edits the five settings. There is nothing to confirm: each change is
// written the moment it is made, and drive and version also move the game folder at once.
class frmSettings final : public QDialog {
    Q_OBJECT
public:
    // The drives the list offers, "c:" style; the file-system layer's list by default.
    using DriveSource = std::function<QStringList()>;

    frmSettings(SettingsStore& store, GamePaths& paths, QWidget* parent = nullptr,
                DriveSource drives = {});

    // Reads the machine's drives again, keeping the drive shown even if it has gone.
    void refreshDrives();

private:
    void buildControls();
    void fitCaptions();
    void Form_Load();
    void selectDrive(const QString& drive);
    void Drive1_Change();
    void optVersion_Click(int index);
    void writeSetting(const QString& key, const QString& value);

    SettingsStore& store_;
    GamePaths& paths_;
    DriveSource drives_;
    DriveList* Drive1 = nullptr;
    QLineEdit* txtPlayFolder = nullptr;
    QRadioButton* optVersion[2] = {};
    QCheckBox* chkCapPlans = nullptr;
    QCheckBox* chkCapPlays = nullptr;
    bool loading_ = false;
};

} // namespace huddlex::ui
