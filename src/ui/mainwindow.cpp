#include "ui/mainwindow.h"

#include "common/keptinside.h"
#include "ui/contextids.h"
#include "ui/icons.h"
#include "ui/playlists.h"
#include "ui/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

// The icons live in this static library, so their resource must be registered by hand.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace huddlex::ui {

namespace {

struct ButtonSpec {
    const char* key;
    const char* image;
    const char* toolTip; // as designed: "&&" shows one "&"
};

const ButtonSpec buttonSpecs[] = {
    {"bStart", "start", "Start - capture plans && plays"},
    {"bStop", "stop", "Stop - capture plans && plays"},
    {nullptr, nullptr, nullptr},
    {"bValidate", "validate", "Validate Plans && Plays"},
    {"bLog", "log", "Update Log file with play names"},
    {"bView", "view", "Toggle - View Plays or Unknown Plays"},
    {"bHelp", "help", "Help"},
};

struct MenuSpec {
    const char* title;
    const char* arrayName;
    QVector<QPair<const char*, int>> items; // caption ("-" separator), help context
};

QString shownText(const char* designed) {
    return QString::fromLatin1(designed).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::CustomizeWindowHint) {
    initIconResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Huddlex"));
    setWindowIcon(programIcon(QStringLiteral("huddlex")));
    setProperty(ContextIDs::contextProperty, ContextIDs::frmMain);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    statusBar_ = new StatusBar(client);

    file1_ = new FileListBox(QStringLiteral("*.ply"), client);
    file1_->setObjectName(QStringLiteral("File1"));

    buildToolbar(client);

    progressBar_ = new QProgressBar(client);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->hide();

    unknown_ = new UnknownList(client);
    unknown_->setObjectName(QStringLiteral("lstUnknown"));
    unknown_->hide();

    // Lies outside the client area: never seen, yet reachable with Tab.
    command1_ = new QPushButton(QStringLiteral("Command1"), client);
    command1_->setObjectName(QStringLiteral("Command1"));
    connect(command1_, &QPushButton::clicked, this, &MainWindow::command1Clicked);

    progressBar_->raise();
    setTabOrder(file1_, toolbar_);
    setTabOrder(toolbar_, unknown_);
    setTabOrder(unknown_, command1_);

    buildMenus();
    layoutControls();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// The design's twips were drawn for a narrower system font than today's defaults. When a text
// of panel 1 would be cut, the whole window grows by one factor, as frmSettings does for its
// captions: the arrangement and proportions stay as designed, panel 2 keeps its designed share
// of the status bar (cut at the window's edge), and the status texts can be read.
double MainWindow::fontScale() const {
    QLabel probe;
    probe.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    probe.setFont(font());
    int needed = 0;
    for (const QString& text : StatusBar::panel1Texts()) {
        probe.setText(text);
        needed = std::max(needed, probe.sizeHint().width());
    }
    const int designed = twips(1440) - 2;
    return std::clamp(double(needed) / std::max(1, designed), 1.0, 3.0);
}

int MainWindow::scaled(int twipsValue) const {
    return int(std::lround(twips(twipsValue) * scale_));
}

QRect MainWindow::scaledRect(int left, int top, int width, int height) const {
    return QRect(scaled(left), scaled(top), scaled(width), scaled(height));
}

void MainWindow::layoutControls() {
    scale_ = fontScale();
    centralWidget()->setFixedSize(scaled(2325), scaled(1485));
    statusBar_->setGeometry(scaledRect(0, 1155, 2325, 330));
    statusBar_->layoutPanels(scaled(1440) - 2);
    file1_->setGeometry(scaledRect(0, 480, 2295, 675));
    toolbar_->setGeometry(scaledRect(0, 0, 2325, 420));
    for (QAction* action : std::as_const(toolbarButtons_)) {
        if (QWidget* button = action ? toolbar_->widgetForAction(action) : nullptr)
            button->setFixedSize(scaled(345), scaled(330));
    }
    progressBar_->setGeometry(scaledRect(0, 1200, 2265, 255));
    // Designed 30 twips shorter than File1, which then showed a sliver of its rows beneath;
    // the list is meant to hide File1 while it is shown.
    unknown_->setGeometry(file1_->geometry());
    command1_->setGeometry(scaledRect(2640, 3120, 855, 495));
}

void MainWindow::buildToolbar(QWidget* client) {
    toolbar_ = new QToolBar(client);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Seven 23-pixel buttons fill the narrow window only without Qt's extra margins.
    toolbar_->setStyleSheet(
        QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
    toolbar_->layout()->setContentsMargins(0, 0, 0, 0);
    for (const ButtonSpec& spec : buttonSpecs) {
        if (!spec.key) {
            toolbarButtons_ << nullptr;
            toolbar_->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(spec.key);
        auto* action =
            toolbar_->addAction(programIcon(QLatin1String(spec.image)), shownText(spec.toolTip));
        action->setObjectName(key);
        action->setToolTip(shownText(spec.toolTip));
        if (key == QLatin1String("bStart"))
            action->setCheckable(true); // drawn pressed while capture runs
        if (QWidget* button = toolbar_->widgetForAction(action))
            button->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { emit toolbarClicked(key); });
        toolbarButtons_ << action;
    }
}

void MainWindow::buildMenus() {
    const MenuSpec specs[] = {
        {"&File", "mnuFile", {{"&Start", 210}, {"Sto&p", 220}, {"-", 0}, {"E&xit", 230}}},
        {"&Edit",
         "mnuEdit",
         {{"&Validate Plays", 240}, {"&Update Log", 250}, {"-", 0}, {"&Delete Files", 260}}},
        {"&View",
         "mnuView",
         {{"&All Plays", 270}, {"&Unknown Plays", 280}, {"-", 0}, {"&Settings", 290}}},
        {"&Help", "mnuHelp", {{"&Contents", 0}, {"-", 0}, {"&About", 0}}},
    };
    // The four titles must fit the narrow window on one line.
    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar { spacing: 0px; padding: 0px; } QMenuBar::item { padding: 1px 3px; }"));
    for (int m = 0; m < 4; ++m) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(specs[m].title));
        menu->setObjectName(QString::fromLatin1(specs[m].arrayName));
        int index = 0;
        for (const auto& [caption, context] : specs[m].items) {
            ++index;
            QAction* action = QString::fromLatin1(caption) == QLatin1String("-")
                                  ? menu->addSeparator()
                                  : menu->addAction(QString::fromLatin1(caption));
            action->setObjectName(QStringLiteral("%1_%2").arg(specs[m].arrayName).arg(index));
            if (context)
                action->setProperty(ContextIDs::contextProperty, context);
            const auto array = MenuArray(m);
            connect(action, &QAction::triggered, this,
                    [this, array, index] { emit menuClicked(array, index); });
            menus_[m] << action;
        }
        if (m == int(MenuArray::mnuView)) {
            menu->addSeparator()->setObjectName(QStringLiteral("mnuSepz"));
            onTop_ = menu->addAction(QStringLiteral("Always &On Top"));
            onTop_->setObjectName(QStringLiteral("mnuOnTop"));
            onTop_->setCheckable(true);
            // The check mark is the state: the toggle reads and flips it itself.
            connect(onTop_, &QAction::triggered, this, [this] {
                onTop_->setChecked(!onTop_->isChecked()); // undo Qt's own flip
                emit onTopClicked();
            });
            // Last, after the designed items, so they keep their places and numbers.
            menu->addSeparator()->setObjectName(QStringLiteral("mnuSepr"));
            QAction* report = menu->addAction(QStringLiteral("&Report"));
            report->setObjectName(QStringLiteral("mnuView_5"));
            report->setProperty(ContextIDs::contextProperty, ContextIDs::mnuViewReport);
            connect(report, &QAction::triggered, this,
                    [this] { emit menuClicked(MenuArray::mnuView, ViewItem::Report); });
            menus_[m] << report;
        }
    }
}

QAction* MainWindow::toolbarButton(int index) const {
    return index >= 1 && index <= toolbarButtons_.size() ? toolbarButtons_.at(index - 1) : nullptr;
}

QAction* MainWindow::menuItem(MenuArray array, int index) const {
    const auto& items = menus_[int(array)];
    return index >= 1 && index <= items.size() ? items.at(index - 1) : nullptr;
}

void MainWindow::ToggleOnTop() {
    const bool wasOnTop = onTop_->isChecked();
    onTop_->setChecked(!wasOnTop);
    const bool visible = isVisible();
    const QPoint at = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, !wasOnTop);
    if (visible) {
        // Changing the flag re-creates the native window; show it where it was, activated.
        move(at);
        show();
        activateWindow();
        raise();
    }
}

QPoint MainWindow::placement(const QRect& available, const QSize& frame, const QRect& client) {
    // The design puts the client area at 12480 x 9195 twips on the 1024 x 768 screen it was
    // made for (15 twips to a pixel there): that is its distance from the lower right corner.
    const QPoint gap(twips(1024 * 15 - 12480 - 2325), twips(768 * 15 - 9195 - 1485));
    return keptInside(available, frame, available.bottomRight() - gap - client.bottomRight());
}

void MainWindow::setProgressVisible(bool visible) {
    progressBar_->setVisible(visible);
    if (visible)
        progressBar_->repaint();
}

void MainWindow::setProgressValue(double value) {
    progress_ = value;
    progressBar_->setValue(int(value));
    // Validation does not return to the event loop until it ends: paint the step now.
    if (progressBar_->isVisible())
        progressBar_->repaint();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange && statusBar_)
        layoutControls();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit unloading();
    event->accept();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    if (const QScreen* screen = this->screen()) {
        const QPoint clientOffset =
            geometry().topLeft() - frameGeometry().topLeft() + centralWidget()->pos();
        move(placement(screen->availableGeometry(), frameGeometry().size(),
                       QRect(clientOffset, centralWidget()->size())));
    }
}

} // namespace huddlex::ui
