#pragma once

#include <QDialog>

class QLabel;

namespace huddlex::ui {

// `frmAbout`: which program, which version, who made it. OK (also Enter and Esc) closes it.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

private:
    void Form_Load();

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
};

// A caption as displayed: "&" marks an access key and is dropped, "&&" shows one "&".
QString displayedCaption(const QString& caption);

} // namespace huddlex::ui
