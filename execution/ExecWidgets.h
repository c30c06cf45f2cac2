#pragma once
// The controls of the run dialog and their layout: instrument buttons, lamp, step figures,
// step list and judgement controls. Only construction lives here; CExecDlg renders the
// sequencer's state into them and forwards what the operator does.

#include <QIcon>
#include <QPixmap>
#include <QSpinBox>

#include <functional>

class QComboBox;
class QDialog;
class QLabel;
class QPushButton;
class QTableView;

namespace zeb {

// The step number's up-down control: only the direction of a click counts.
class CStepSpin : public QSpinBox {
public:
    explicit CStepSpin(QWidget* parent = nullptr) : QSpinBox(parent) { setRange(0, 1); }
    std::function<void(int)> onStep;
    void stepBy(int steps) override {
        if (onStep) {
            onStep(steps);
        }
    }
};

struct CExecWidgets {
    QPushButton* lineOn = nullptr;
    QPushButton* lineOff = nullptr;
    QPushButton* start = nullptr;
    QPushButton* stop = nullptr;
    QLabel* lamp = nullptr;
    QLabel* pauseLabel = nullptr;
    QLabel* processingLabel = nullptr;
    QLabel* notConnectedLabel = nullptr;
    QLabel* checkingLabel = nullptr;  // the EUT monitor judges the step that ended
    QLabel* journalLabel = nullptr;   // the run journal could not be written

    QLabel* stepNumber = nullptr;
    QLabel* stepTotal = nullptr;
    CStepSpin* stepSpin = nullptr;
    QLabel* dischargeDone = nullptr;
    QLabel* dischargeTotal = nullptr;
    QLabel* countdown = nullptr;
    QLabel* interval = nullptr;
    QLabel* outputPort = nullptr;
    QLabel* outputLines = nullptr;
    QLabel* waveform = nullptr;
    QLabel* impedanceCaption = nullptr;
    QLabel* impedanceColon = nullptr;
    QLabel* impedance = nullptr;
    QLabel* remaining = nullptr;

    QTableView* list = nullptr;
    QComboBox* bulkCombo = nullptr;
    QPushButton* bulkApply = nullptr;
    QPushButton* deleteComments = nullptr;
    QPushButton* report = nullptr;
    QPushButton* close = nullptr;

    QIcon playIcon;
    QIcon pauseIcon;
    QPixmap lampLit;
    QPixmap lampDark;

    // Creates every control as a child of `dlg` and lays them out.
    void Build(QDialog* dlg);
    // START keeps its text; its icon and its accessible name say what a press does now:
    // PAUSE while the test runs, RESUME while it is paused, START otherwise.
    void ShowStartAction(bool pauses, bool resumes);
};

}  // namespace zeb
