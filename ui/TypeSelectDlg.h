#pragma once
// The machine selection dialog, shown at start-up when no instrument answered: start with a
// model chosen from the list, look for the instrument again, or end the program.

#include <QDialog>
#include <QtGlobal>

#include "TypeSelectRules.h"

class QListWidget;
class QPushButton;

namespace zeb {

class CTypeSelectDlg : public QDialog {
public:
    // `accessProblems`: lines naming serial devices that exist but may not be opened (shown
    // under the instructions when not empty).
    explicit CTypeSelectDlg(const QString& accessProblems = QString(), QWidget* parent = nullptr);

    // typeselect::kStart, kRetry or kExit (the latter also when closed otherwise).
    int Result() const { return m_nResult; }
    quint32 ChosenType() const { return m_ulChosenType; }

    QListWidget* ModelList() const { return m_list; }
    QPushButton* StartButton() const { return m_start; }
    QPushButton* RetryButton() const { return m_retry; }
    QPushButton* ExitButton() const { return m_exit; }

private:
    void OnStart();
    void OnRetry();

    int m_nResult = typeselect::kExit;
    quint32 m_ulChosenType = typeselect::kDefaultType;
    QListWidget* m_list = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_retry = nullptr;
    QPushButton* m_exit = nullptr;
};

}  // namespace zeb
