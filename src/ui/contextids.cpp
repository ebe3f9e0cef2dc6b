#include "ui/contextids.h"

#include "help/helppath.h"
#include "ui/f1filter.h"
#include "ui/helpplacement.h"
#include "ui/helpviewer.h"
#include "ui/helpwindow.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace huddlex {

namespace {

QPointer<QWidget> gHelpOwner;
QString gHelpFile;
help::HelpViewer* gReplacement = nullptr;

QString helpFile() {
    if (gHelpFile.isEmpty())
        gHelpFile = help::locateHelpFile();
    return gHelpFile;
}

// The help window, created on first use and closed on request.
class WindowViewer final : public help::HelpViewer {
public:
    void showContents() override { open().showContents(); }
    void showTopic(int contextId) override { open().showTopic(contextId); }
    void quit() override {
        if (window_)
            window_->close();
    }

private:
    help::HelpWindow& open() {
        if (!window_) {
            window_ = new help::HelpWindow(helpFile());
            window_->setAttribute(Qt::WA_DeleteOnClose);
            place(*window_);
            // A top-level window without a parent outlives nothing: it goes when the program does.
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, window_.data(),
                             [w = window_]() { delete w.data(); });
        }
        present(*window_);
        return *window_;
    }

    // Beside the main window, so it stays in sight: the help is read while the game runs.
    static void place(QWidget& window) {
        if (gHelpOwner)
            help::moveBeside(window, *gHelpOwner);
    }

    // A modal dialog blocks every other window; help asked for from inside one must stay
    // usable, so it is shown modal over it until closed.
    static void present(QWidget& window) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != &window) {
            const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
            if (window.windowModality() != wanted) {
                window.hide();
                window.setWindowModality(wanted);
            }
        }
        window.show();
        window.raise();
        window.activateWindow();
    }

    QPointer<help::HelpWindow> window_;
};

help::HelpViewer& viewer() {
    static WindowViewer builtIn;
    return gReplacement ? *gReplacement : builtIn;
}

} // namespace

help::HelpViewer* help::setHelpViewer(HelpViewer* replacement) {
    HelpViewer* previous = gReplacement;
    gReplacement = replacement;
    return previous;
}

QString help::currentHelpFile() {
    return helpFile();
}

void ContextIDs::InitHelp(QWidget* owner) {
    gHelpOwner = owner;
    gHelpFile = help::locateHelpFile();
    static QPointer<help::F1Filter> filter;
    if (!filter && qApp) {
        filter = new help::F1Filter(qApp);
        qApp->installEventFilter(filter);
    }
}

void ContextIDs::ShowHelpContents() {
    viewer().showContents();
}

void ContextIDs::ShowHelpContext(int contextId) {
    viewer().showTopic(contextId);
}

void ContextIDs::QuitHelp() {
    viewer().quit();
}

} // namespace huddlex
