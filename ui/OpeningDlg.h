#pragma once
// The opening dialog shown during start-up, after the serial ports were scanned: the
// program's title and version on a light grey ground.

#include <QDialog>

class QLabel;

namespace zeb {

class COpeningDlg : public QDialog {
public:
    // Shortest time the opening dialog stays up, even when the port scan is quick.
    static constexpr int kMinimumShowMs = 2000;

    explicit COpeningDlg(QWidget* parent = nullptr);

    QLabel* TitleLabel() const { return m_title; }
    QLabel* VersionLabel() const { return m_version; }

private:
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
};

}  // namespace zeb
