#pragma once

#include "ui/helpviewer.h"

#include <QList>

namespace huddlex::test {

// Stands in for the help window while alive: records what the program asked for.
class HelpRecorder final : public help::HelpViewer {
public:
    HelpRecorder() : previous_(help::setHelpViewer(this)) {}
    ~HelpRecorder() override { help::setHelpViewer(previous_); }
    HelpRecorder(const HelpRecorder&) = delete;
    HelpRecorder& operator=(const HelpRecorder&) = delete;

    void showContents() override { ++contents; }
    void showTopic(int contextId) override { topics << contextId; }
    void quit() override { ++quits; }

    int contents = 0;
    int quits = 0;
    QList<int> topics;

private:
    help::HelpViewer* previous_;
};

} // namespace huddlex::test
