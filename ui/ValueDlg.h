#pragma once
// A value panel: tabs "Fix", "Sweep" and "Variable" over the four value pages, bound to one
// value set of the working record. The editor embeds one for the voltages and the AC page one
// for the phase angles. The panel keeps its own copy of the limits, which the owner may
// narrow later and then asks the panel to show its page again.

#include <QWidget>

#include "SettingData.h"
#include "ValueRules.h"

class QAbstractButton;
class QButtonGroup;
class QStackedWidget;

namespace zeb {

class CValueFixDlg;
class CValueSweepDlg;
class CValueVariableDlg;
class CValueVariableVoltDlg;

class CValueDlg : public QWidget {
    Q_OBJECT
public:
    CValueDlg(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent = nullptr);
    ~CValueDlg() override;

    // The panel's own limits.
    VALUE_LIMIT& Limits() { return m_limit; }
    // Re-reads the selected tab into the set's type and shows the page for it (none while no
    // tab is selected); the list pages show the set's rows again first.
    void ShowPage();
    // Enables or disables the inputs of every page (the tabs stay usable).
    void SetInputsEnabled(bool on);

    ValuePage VisiblePage() const { return m_visible; }
    // Selected tab (0 Fix, 1 Sweep, 2 Variable), -1 while none is.
    int SelectedTab() const;
    // Selects a tab as the operator's click does.
    void SelectTab(int tab);
    QAbstractButton* TabButton(int tab) const;

    CValueFixDlg* FixPage() const { return m_fix; }
    CValueSweepDlg* SweepPage() const { return m_sweep; }
    CValueVariableDlg* ListPage() const { return m_list; }
    CValueVariableVoltDlg* NormalCommonPage() const { return m_normalCommon; }

protected:
    // Enter and Esc in the panel do nothing, so neither closes the editor.
    void keyPressEvent(QKeyEvent* event) override;

private:
    VALUE& m_set;
    VALUE_LIMIT m_limit;
    QButtonGroup* m_tabs;
    QStackedWidget* m_stack;
    QWidget* m_blank;
    CValueFixDlg* m_fix;
    CValueSweepDlg* m_sweep;
    CValueVariableDlg* m_list;
    CValueVariableVoltDlg* m_normalCommon;
    ValuePage m_visible = ValuePage::None;
};

}  // namespace zeb
