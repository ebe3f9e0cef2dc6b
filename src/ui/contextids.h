#pragma once

class QWidget;

// Help for the whole program: the help file beside the program (or in the installed data
// folder), its contents, topics by context number, and closing it.
namespace huddlex::ContextIDs {

// Context numbers of the windows and menu items.
inline constexpr int frmMain = 10;
inline constexpr int frmAbout = 40;
inline constexpr int frmExistingFiles = 300;
inline constexpr int frmSettings = 310;
inline constexpr int mnuFileStart = 210;
inline constexpr int mnuFileStop = 220;
inline constexpr int mnuFileExit = 230;
inline constexpr int mnuEditValidate = 240;
inline constexpr int mnuEditUpdateLog = 250;
inline constexpr int mnuEditDeleteFiles = 260;
inline constexpr int mnuViewAllPlays = 270;
inline constexpr int mnuViewUnknownPlays = 280;
inline constexpr int mnuViewSettings = 290;
// The validation report: the View menu's "&Report" and its window share one topic.
inline constexpr int mnuViewReport = 320;
inline constexpr int frmReport = 320;

// Widgets and menu actions carry their number in this dynamic property; F1 reads it.
inline constexpr char contextProperty[] = "helpContextId";

void InitHelp(QWidget* owner);
void ShowHelpContents();
void ShowHelpContext(int contextId);
void QuitHelp();

} // namespace huddlex::ContextIDs
