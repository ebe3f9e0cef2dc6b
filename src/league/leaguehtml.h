#pragma once

#include "report/validationreport.h"

#include <QString>

// Pieces of the league check's page.
namespace huddlex::league::html {

// Text made safe for HTML.
QString text(const QString& plain);

// The style sheet of the page, screen and print.
QString style();

// A modified play's differing bytes beside the pool's play, as a table.
QString modifiedBytes(const PlayEntry& play);

} // namespace huddlex::league::html
