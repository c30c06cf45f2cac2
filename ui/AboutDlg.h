#pragma once
// The about box: what the program is and which version runs.

#include <QDialog>

namespace zeb {

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace zeb
