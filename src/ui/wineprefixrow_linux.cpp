// Linux: the game's drives come from a Wine prefix, which the user may choose.
#include "fs/drivemap.h"
#include "settings/settingsstore.h"
#include "ui/twips.h"
#include "ui/wineprefixrow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

namespace huddlex::ui {

namespace {

constexpr int valueRole = Qt::UserRole; // what choosing the entry stores: a folder, or empty

QString pickFolderWithDialog(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Wine prefix"), start);
}

class WinePrefixRow final : public QObject {
public:
    using Changed = std::function<void(const std::optional<QString>& notSaved)>;
    WinePrefixRow(QWidget& dialog, SettingsStore& store, PrefixSources sources, Changed changed)
        : QObject(&dialog), dialog_(dialog), store_(store), sources_(std::move(sources)),
          changed_(std::move(changed)) {
        if (!sources_.prefixes)
            sources_.prefixes = [] { return fs::findWinePrefixes(); };
        if (!sources_.pickFolder)
            sources_.pickFolder = &pickFolderWithDialog;
    }

    int build(int top, QWidget* tabAfter) {
        auto* label = new QLabel(QStringLiteral("Wine prefix:"), &dialog_);
        label->setObjectName(QStringLiteral("Label3"));
        label->setGeometry(twipsRect(120, top, 3255, 255));
        list_ = new QComboBox(&dialog_);
        list_->setObjectName(QStringLiteral("cboWinePrefix"));
        list_->setGeometry(twipsRect(120, top + 255, 2895, 315));
        label->setBuddy(list_);
        auto* browse = new QToolButton(&dialog_);
        browse->setObjectName(QStringLiteral("cmdBrowsePrefix"));
        browse->setText(QStringLiteral("..."));
        browse->setToolTip(QStringLiteral("Choose any folder as the Wine prefix"));
        browse->setAccessibleName(QStringLiteral("Browse for a Wine prefix"));
        browse->setGeometry(twipsRect(3060, top + 255, 315, 315));
        browse->setFocusPolicy(Qt::StrongFocus);
        QWidget::setTabOrder(tabAfter, list_);
        QWidget::setTabOrder(list_, browse);

        fill();
        connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) { choose(index); });
        connect(browse, &QToolButton::clicked, this, [this] { this->browse(); });
        return 255 + 315 + 105;
    }

private:
    // The entries, the prefix in use selected; nothing is written.
    void fill() {
        const QSignalBlocker quiet(list_);
        const QString home = QDir::homePath();
        list_->addItem(QStringLiteral("Default: ") +
                           fs::withTilde(fs::DriveMap::defaultWinePrefix(), home),
                       QString());
        list_->setItemData(0,
                           QStringLiteral("$WINEPREFIX, else ~/.wine: ") +
                               QDir::toNativeSeparators(fs::DriveMap::defaultWinePrefix()),
                           Qt::ToolTipRole);
        for (const fs::WinePrefix& prefix : sources_.prefixes())
            addEntry(fs::describe(prefix, home), prefix.path);

        const QString inUse = fs::DriveMap::chosenWinePrefix();
        const QString stored = QDir::cleanPath(store_.read(keys::WinePrefix));
        for (const QString& folder : {stored, inUse}) {
            if (!folder.isEmpty() && find(folder) < 0)
                addFolder(folder);
        }
        const int current = find(inUse);
        if (!inUse.isEmpty() && inUse != stored) // --wine-prefix: shown, never stored by itself
            list_->setItemText(current,
                               list_->itemText(current) + QStringLiteral(" (this session)"));
        list_->setCurrentIndex(current);
        showCurrent();
        // The list drops down wide enough to read each entry whole.
        list_->view()->setMinimumWidth(list_->view()->sizeHintForColumn(0) +
                                       list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    }

    int find(const QString& folder) const {
        return list_->findData(folder.isEmpty() ? QString() : QDir::cleanPath(folder), valueRole);
    }

    int addEntry(const QString& text, const QString& folder) {
        list_->addItem(text, folder);
        const int index = list_->count() - 1;
        list_->setItemData(index, QDir::toNativeSeparators(folder), Qt::ToolTipRole);
        return index;
    }

    // A folder that is not among the prefixes found: chosen earlier, or just now.
    int addFolder(const QString& folder) {
        const fs::WinePrefix prefix{folder, fs::WinePrefix::Place::Chosen,
                                    fs::gameVersionsIn(folder)};
        const int index = addEntry(fs::describe(prefix, QDir::homePath()), folder);
        if (!QFileInfo(folder).isDir())
            list_->setItemData(index,
                               QStringLiteral("This folder does not exist now: ") +
                                   QDir::toNativeSeparators(folder),
                               Qt::ToolTipRole);
        return index;
    }

    void showCurrent() { list_->setToolTip(list_->currentData(Qt::ToolTipRole).toString()); }

    void choose(int index) {
        if (index < 0)
            return;
        const QString folder = list_->itemData(index, valueRole).toString();
        const SettingsStore::WriteFailure notSaved = store_.write(keys::WinePrefix, folder);
        fs::DriveMap::setWinePrefix(folder);
        showCurrent();
        changed_(notSaved);
    }

    void browse() {
        const QString inUse = fs::DriveMap::winePrefix();
        const QString start = QFileInfo(inUse).isDir() ? inUse : QDir::homePath();
        const QString picked = sources_.pickFolder(&dialog_, start);
        if (picked.isEmpty())
            return; // cancelled
        const QString folder = fs::prefixForPickedFolder(picked);
        int index = find(folder);
        if (index < 0)
            index = addFolder(folder);
        list_->setCurrentIndex(index);
    }

    QWidget& dialog_;
    SettingsStore& store_;
    PrefixSources sources_;
    Changed changed_;
    QComboBox* list_ = nullptr;
};

} // namespace

int addWinePrefixRow(QWidget& dialog, SettingsStore& store, int topTwips, QWidget* tabAfter,
                     PrefixSources sources,
                     std::function<void(const std::optional<QString>& notSaved)> changed) {
    auto* row = new WinePrefixRow(dialog, store, std::move(sources), std::move(changed));
    return row->build(topTwips, tabAfter);
}

} // namespace huddlex::ui
