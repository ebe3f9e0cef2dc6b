#pragma once

#include "app/maincontroller.h"
#include "settings/settingsstore.h"
#include "support/recorders.h"
#include "support/simclock.h"
#include "support/tempenvironment.h"
#include "ui/helpviewer.h"

#include <QStringList>
#include <memory>

namespace huddlex::test {

class RecordingHelp final : public help::HelpViewer {
public:
    void showContents() override { calls << QStringLiteral("contents"); }
    void showTopic(int id) override { calls << QStringLiteral("topic %1").arg(id); }
    void quit() override { calls << QStringLiteral("quit"); }
    QStringList calls;
};

// A main window and its controller over a scratch Wine prefix and an in-memory store, with
// every dialog answered in advance and every call out recorded.
struct ControllerFixture {
    TempEnvironment env;
    MemorySettingsStore store;
    SimClock clock;
    RecordingNotifier notifier;
    RecordingHelp help;
    help::HelpViewer* previousHelp = help::setHelpViewer(&help);
    bool answerYes = false;
    QString sessionPrefix;            // huddlex --wine-prefix
    std::function<void()> settingsDo; // what the user does in the Settings dialog
    int prompts = 0, settingsOpened = 0, aboutOpened = 0, exits = 0, eventPasses = 0;
    std::unique_ptr<MainController> controller;

    ControllerFixture() { env.makeDirs(QStringLiteral("Sierra/FBPro97")); }
    ~ControllerFixture() {
        controller.reset();
        help::setHelpViewer(previousHelp);
    }

    // Host path of a file in the default game folder.
    QString game(const QString& name) const { return env.hostPath("Sierra/FBPro97/" + name); }

    MainController& load() {
        MainController::Seams seams;
        seams.notifier = &notifier;
        seams.askDeleteLeftovers = [this] {
            ++prompts;
            return answerYes;
        };
        seams.openSettings = [this] {
            ++settingsOpened;
            if (settingsDo)
                settingsDo();
        };
        seams.openAbout = [this] { ++aboutOpened; };
        seams.exitProgram = [this] { ++exits; };
        seams.processPendingEvents = [this] { ++eventPasses; };
        controller = std::make_unique<MainController>(store, clock, seams);
        controller->useWinePrefixForSession(sessionPrefix);
        controller->Form_Load();
        return *controller;
    }
};

} // namespace huddlex::test
