#pragma once

#include <QDialog>

namespace huddlex::ui {

// `frmExistingFiles`: asks at start-up whether plays left from an earlier game go.
// Accepted means "Yes"; "No" and the close box reject.
class frmExistingFiles final : public QDialog {
    Q_OBJECT
public:
    explicit frmExistingFiles(QWidget* parent = nullptr);
};

} // namespace huddlex::ui
