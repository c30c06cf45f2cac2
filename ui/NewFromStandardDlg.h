#pragma once
// File > "New from standard...": the operator picks a standard profile, a port and a line
// configuration of the machine, a level (a voltage for level X) and the paths to test (at
// first every path the rules ask for); the plan generator makes the test conditions from
// them. What the machine cannot do is said under the choices; a plan it cannot make at all
// (a level above the machine's voltage) keeps OK disabled and says why.

#include <QDialog>

#include <vector>

#include "PlanGenerator.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QPushButton;

namespace zeb {

struct ProfileSet;

class CNewFromStandardDlg : public QDialog {
public:
    CNewFromStandardDlg(const ProfileSet& profiles, uint32_t machineType, int32_t hwVersion,
                        QWidget* parent = nullptr);

    QComboBox* ProfileCombo() const { return m_profile; }
    QComboBox* PortCombo() const { return m_port; }
    QComboBox* ConfigurationCombo() const { return m_configuration; }
    QComboBox* LevelCombo() const { return m_level; }
    QDoubleSpinBox* VoltageSpin() const { return m_voltage; }
    const std::vector<QCheckBox*>& PathBoxes() const { return m_paths; }
    QLabel* NoteLabel() const { return m_note; }
    QPushButton* OkButton() const { return m_ok; }

    // The plan for the choices shown, and the standard it is made to; valid when OK is enabled.
    const PlanResult& Plan() const { return m_plan; }
    const StandardRef& Standard() const { return m_request.standard; }

private:
    void FillPorts();
    void FillConfigurations();
    void FillLevels();
    void FillPaths();
    // Makes the plan of the current choices and shows what it says.
    void Remake();

    const ProfileSet& m_profiles;
    uint32_t m_machineType;
    int32_t m_hwVersion;
    PlanRequest m_request;
    PlanResult m_plan;
    QComboBox* m_profile = nullptr;
    QComboBox* m_port = nullptr;
    QComboBox* m_configuration = nullptr;
    QComboBox* m_level = nullptr;
    QDoubleSpinBox* m_voltage = nullptr;
    QGridLayout* m_pathGrid = nullptr;
    std::vector<QCheckBox*> m_paths;
    QLabel* m_note = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace zeb
