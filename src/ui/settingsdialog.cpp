#include "ui/settingsdialog.h"

#include "capture/gamefolders.h"
#include "fs/drivemap.h"
#include "settings/gamepaths.h"
#include "settings/settingsstore.h"
#include "ui/contextids.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <cmath>

namespace huddlex::ui {

namespace {

// Each entry carries the value its selection writes: a listed drive its letter and colon;
// a stored drive this machine does not know, the stored text exactly as it was.
constexpr int writeValueRole = Qt::UserRole;
constexpr int unavailableRole = Qt::UserRole + 1;

const QString unavailableTip =
    QStringLiteral("This drive is not available now. Pick another drive to replace it.");

int findDrive(const QComboBox& list, const QString& drive) {
    for (int i = 0; i < list.count(); ++i) {
        if (!list.itemData(i, unavailableRole).toBool() &&
            list.itemData(i, writeValueRole).toString().compare(drive, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int addUnavailable(QComboBox& list, const QString& value) {
    list.insertItem(0, value, value);
    list.setItemData(0, true, unavailableRole);
    list.setItemData(0, unavailableTip, Qt::ToolTipRole);
    return 0;
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    // The wheel only turns the list the user has moved into: a notch over it on the way
    // elsewhere must not move capture to another drive.
    setFocusPolicy(Qt::StrongFocus);
}

void DriveList::showPopup() {
    emit aboutToPopup();
    QComboBox::showPopup();
}

void DriveList::wheelEvent(QWheelEvent* event) {
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

frmSettings::frmSettings(SettingsStore& store, GamePaths& paths, QWidget* parent,
                         DriveSource drives, PrefixSources prefixes)
    : QDialog(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      store_(store), paths_(paths),
      drives_(drives ? std::move(drives) : DriveSource(&fs::DriveMap::drives)) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    setProperty(ContextIDs::contextProperty, ContextIDs::frmSettings);
    setFixedSize(twips(3495), twips(2295));

    buildControls(std::move(prefixes));
    fitCaptions();
    buildGameFolderHint();
    Form_Load();
    showGameFolder();
}

void frmSettings::buildControls(PrefixSources prefixes) {
    txtPlayFolder = new QLineEdit(QStringLiteral("VPNFL"), this);
    txtPlayFolder->setObjectName(QStringLiteral("txtPlayFolder"));
    txtPlayFolder->setGeometry(twipsRect(1560, 720, 1815, 285));

    auto* versionFrame = new QGroupBox(QStringLiteral("FBPro Version"), this);
    versionFrame->setObjectName(QStringLiteral("fraVersion"));
    versionFrame->setGeometry(twipsRect(120, 1080, 1575, 1095));
    auto* versions = new QButtonGroup(this);
    const QString captions[2] = {QStringLiteral("FBPro 97"), QStringLiteral("FBPro 98")};
    for (int index = 0; index < 2; ++index) {
        optVersion[index] = new QRadioButton(captions[index], versionFrame);
        optVersion[index]->setObjectName(QStringLiteral("optVersion_%1").arg(index));
        optVersion[index]->setGeometry(twipsRect(240, 360 + 240 * index, 1095, 255));
        versions->addButton(optVersion[index], index);
    }

    auto* driveLabel = new QLabel(QStringLiteral("Drive for FBPro:"), this);
    driveLabel->setObjectName(QStringLiteral("Label1"));
    driveLabel->setGeometry(twipsRect(120, 240, 1215, 255));
    auto* folderLabel = new QLabel(QStringLiteral("Main Play Folder:"), this);
    folderLabel->setObjectName(QStringLiteral("Label2"));
    folderLabel->setGeometry(twipsRect(120, 720, 1215, 255));

    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(twipsRect(1560, 240, 1815, 315));

    auto* captureFrame = new QGroupBox(QStringLiteral("Transfered Files"), this);
    captureFrame->setObjectName(QStringLiteral("fraCapture"));
    captureFrame->setGeometry(twipsRect(1800, 1080, 1575, 1095));
    chkCapPlans = new QCheckBox(QStringLiteral("Capture Plans"), captureFrame);
    chkCapPlans->setObjectName(QStringLiteral("chkCapPlans"));
    chkCapPlans->setGeometry(twipsRect(120, 360, 1335, 255));
    chkCapPlans->setChecked(true);
    chkCapPlays = new QCheckBox(QStringLiteral("Capture Plays"), captureFrame);
    chkCapPlays->setObjectName(QStringLiteral("chkCapPlays"));
    chkCapPlays->setGeometry(twipsRect(120, 720, 1335, 255));
    chkCapPlays->setChecked(true);

    setTabOrder(txtPlayFolder, optVersion[0]);
    setTabOrder(optVersion[0], optVersion[1]);
    setTabOrder(optVersion[1], Drive1);
    setTabOrder(Drive1, chkCapPlans);
    setTabOrder(chkCapPlans, chkCapPlays);

    // Linux only: the prefix row below the frames; the drive list follows a new prefix at once.
    const int rowHeight = addWinePrefixRow(*this, store_, 2280, chkCapPlays, std::move(prefixes),
                                           [this](const std::optional<QString>& notSaved) {
                                               showSaved(notSaved);
                                               refreshDrives();
                                               gameFolderMoved();
                                           });
    setFixedSize(width(), height() + twips(rowHeight));

    // The list starts on the current drive, as a drive list does: C: where there is one.
    refreshDrives();
    {
        const QSignalBlocker quiet(Drive1);
        const int c = findDrive(*Drive1, QStringLiteral("c:"));
        Drive1->setCurrentIndex(c >= 0 ? c : (Drive1->count() > 0 ? 0 : -1));
    }

    connect(Drive1, &DriveList::aboutToPopup, this, &frmSettings::refreshDrives);
    connect(Drive1, &QComboBox::currentIndexChanged, this, &frmSettings::Drive1_Change);
    connect(txtPlayFolder, &QLineEdit::textChanged, this,
            [this](const QString& text) { writeSetting(keys::FBPlayFolder, text); });
    connect(versions, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            optVersion_Click(index);
    });
    connect(chkCapPlans, &QCheckBox::toggled, this, [this](bool checked) {
        writeSetting(keys::CapPlans, checked ? QStringLiteral("1") : QStringLiteral("0"));
    });
    connect(chkCapPlays, &QCheckBox::toggled, this, [this](bool checked) {
        writeSetting(keys::CapPlays, checked ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

// The layout was drawn for a narrow system font; when the captions need more room, the whole
// dialog grows by one factor, so the arrangement and proportions stay as designed.
void frmSettings::fitCaptions() {
    QList<QWidget*> placed = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QGroupBox* frame : findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
        placed += frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    double factor = 1.0;
    for (QWidget* widget : placed) {
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget))
            factor =
                std::max(factor, double(widget->sizeHint().width()) / std::max(1, widget->width()));
    }
    factor = std::min(factor, 2.0);
    scale_ = factor;
    const auto scaled = [factor](int value) { return int(std::lround(value * factor)); };
    if (factor > 1.0) {
        for (QWidget* widget : placed) {
            const QRect at = widget->geometry();
            widget->setGeometry(scaled(at.x()), scaled(at.y()), scaled(at.width()),
                                scaled(at.height()));
        }
        setFixedSize(scaled(width()), scaled(height()));
    }
}

// Lines under the controls: whether the game folder exists, then where it is as the game names
// it and on this computer. Drawn in the dialog's font, so it is placed after the scaling.
void frmSettings::buildGameFolderHint() {
    lblGameFolder = new QLabel(this);
    lblGameFolder->setObjectName(QStringLiteral("lblGameFolder"));
    lblGameFolder->setTextFormat(Qt::RichText);
    const int margin = int(std::lround(twips(120) * scale_));
    // A host path of its own only where the drives are mapped (Linux).
    const int count = fs::DriveMap::mapsWinePrefix() ? 3 : 2;
    const int lines = count * lblGameFolder->fontMetrics().lineSpacing() + 2;
    lblGameFolder->setGeometry(margin, height() - margin / 2, width() - 2 * margin, lines);
    setFixedSize(width(), lblGameFolder->geometry().bottom() + 1 + margin);
    // One more line below, shown (and the dialog grown by it) once a change cannot be saved.
    lblNotSaved = new QLabel(this);
    lblNotSaved->setObjectName(QStringLiteral("lblNotSaved"));
    lblNotSaved->setStyleSheet(QStringLiteral("#lblNotSaved { color: #c00000; }"));
    lblNotSaved->setGeometry(margin, lblGameFolder->geometry().bottom() + 1, width() - 2 * margin,
                             lblNotSaved->fontMetrics().lineSpacing() + 2);
    lblNotSaved->hide();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSettings::showGameFolder() {
    if (!lblGameFolder)
        return;
    const GameFolderState state = gameFolderState(paths_);
    const QFontMetrics metrics(lblGameFolder->font());
    const int room = lblGameFolder->width();
    const QString heading =
        state.exists ? QStringLiteral("Game folder:") : QStringLiteral("Game folder not found:");
    const QString host = fs::withTilde(state.hostPath, QDir::homePath());
    QString text = state.exists ? heading.toHtmlEscaped()
                                : QStringLiteral("<span style=\"color:#c00000\">%1</span>")
                                      .arg(heading.toHtmlEscaped());
    text += QStringLiteral("<br>") +
            metrics.elidedText(state.windowsPath, Qt::ElideRight, room).toHtmlEscaped();
    if (!host.isEmpty())
        text += QStringLiteral("<br>") +
                metrics.elidedText(host, Qt::ElideMiddle, room).toHtmlEscaped();
    lblGameFolder->setText(text);
    const QString whole = !state.exists ? missingGameFolderText(state)
                          : state.hostPath.isEmpty()
                              ? QStringLiteral("Game folder:\n%1").arg(state.windowsPath)
                              : QStringLiteral("Game folder:\n%1\non this computer: %2")
                                    .arg(state.windowsPath, state.hostPath);
    lblGameFolder->setToolTip(whole);
}

// Filling a control that changes its state runs that control's change rule, which writes
// back the value just read; so opening and closing the dialog leaves the settings as they were.
// A default that filled a control for an absent key is not written: the store stays as it was,
// and a settings file that cannot be trusted is not replaced by merely looking at it.
void frmSettings::Form_Load() {
    loading_ = true;
    const auto done = qScopeGuard([this] { loading_ = false; });
    selectDrive(store_.read(keys::FBDrive, defaults::FBDrive));
    const QString folder = store_.read(keys::FBPlayFolder, defaults::FBPlayFolder);
    if (txtPlayFolder->text() != folder)
        txtPlayFolder->setText(folder);
    const QString version = store_.read(keys::FBVer);
    chkCapPlays->setChecked(captureSwitchOn(store_, keys::CapPlays));
    chkCapPlans->setChecked(captureSwitchOn(store_, keys::CapPlans));
    if (version == FBPro97Folder)
        optVersion[0]->setChecked(true);
    else if (version == FBPro98Folder)
        optVersion[1]->setChecked(true);
}

void frmSettings::selectDrive(const QString& drive) {
    const QString before = Drive1->currentText();
    const bool hadEntry = Drive1->currentIndex() >= 0;
    {
        const QSignalBlocker quiet(Drive1);
        int index = findDrive(*Drive1, drive);
        // A stored drive this machine does not offer is shown as stored, never refused.
        if (index < 0)
            index = addUnavailable(*Drive1, drive);
        Drive1->setCurrentIndex(index);
    }
    if (!hadEntry || Drive1->currentText() != before)
        Drive1_Change();
}

void frmSettings::refreshDrives() {
    const QSignalBlocker quiet(Drive1);
    const int current = Drive1->currentIndex();
    const QString value =
        current >= 0 ? Drive1->itemData(current, writeValueRole).toString() : QString();

    Drive1->clear();
    for (const QString& entry : drives_())
        Drive1->addItem(entry, entry.left(2));
    if (current < 0)
        return;
    // The drive shown stays shown; nothing is written, the setting has not changed.
    int index = findDrive(*Drive1, value);
    if (index < 0)
        index = addUnavailable(*Drive1, value);
    Drive1->setCurrentIndex(index);
}

void frmSettings::Drive1_Change() {
    const int index = Drive1->currentIndex();
    if (index < 0)
        return;
    const QString drive = Drive1->itemData(index, writeValueRole).toString();
    writeSetting(keys::FBDrive, drive);
    paths_.gFBDrive = drive;
    gameFolderMoved();
}

void frmSettings::optVersion_Click(int index) {
    const QString* folder = index == 0 ? &FBPro97Folder : index == 1 ? &FBPro98Folder : nullptr;
    if (!folder)
        return;
    writeSetting(keys::FBVer, *folder);
    paths_.gFBVer = *folder;
    gameFolderMoved();
}

void frmSettings::gameFolderMoved() {
    showGameFolder();
    if (gameFolderMoved_ && !loading_)
        gameFolderMoved_();
}

void frmSettings::writeSetting(const QString& key, const QString& value) {
    if (loading_ && !store_.contains(key))
        return;
    showSaved(store_.write(key, value));
}

// The change is in use either way; whether it will outlast the session is said under the
// controls, in red, until a write succeeds.
void frmSettings::showSaved(const std::optional<QString>& notSaved) {
    if (!lblNotSaved)
        return;
    if (!notSaved) {
        lblNotSaved->hide();
        return;
    }
    const QString text = QStringLiteral("Not saved: ") + *notSaved;
    lblNotSaved->setText(
        lblNotSaved->fontMetrics().elidedText(text, Qt::ElideRight, lblNotSaved->width()));
    lblNotSaved->setToolTip(text + QStringLiteral("\nThe change is used until Huddlex ends."));
    if (lblNotSaved->isHidden())
        setFixedSize(width(), height() + lblNotSaved->height());
    lblNotSaved->show();
}

} // namespace huddlex::ui
