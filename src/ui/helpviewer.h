#pragma once

#include <QString>

namespace huddlex::help {

// What the program asks of the help viewer. The help window answers in the program;
// tests put a recorder in its place to see which topic F1 asked for.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showContents() = 0;
    virtual void showTopic(int contextId) = 0;
    virtual void quit() = 0;
};

// Replaces the viewer (nullptr restores the built-in one); returns the one it replaced,
// or nullptr when that was the built-in one. The caller keeps ownership.
HelpViewer* setHelpViewer(HelpViewer* viewer);

// The help file in use: set by InitHelp, found on first use otherwise.
QString currentHelpFile();

} // namespace huddlex::help
