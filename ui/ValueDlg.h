#pragma once
// A value panel: tabs "Fix", "Sweep" and "Variable" over the four value pages. The editor
// embeds one for the voltages and the AC page one for the phase angles. The panel holds no
// value set: the tabs and fields send intents, and Render shows the panel's projection.

#include <QWidget>

#include <array>

#include "EditorView.h"

class QAbstractButton;
class QButtonGroup;
class QStackedWidget;

namespace zeb {

class CValueFixDlg;
class CValuePage;
class CValueSweepDlg;
class CValueVariableDlg;
class CValueVariableVoltDlg;

class CValueDlg : public QWidget {
    Q_OBJECT
public:
    explicit CValueDlg(ValuePanel panel, QWidget* parent = nullptr);
    ~CValueDlg() override;

    // Shows the tab, the page under it and its fields as the view says; writes nothing back.
    void Render(const ValuePanelView& view);

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

signals:
    void Sent(const zeb::Intent& intent);

protected:
    // Enter and Esc in the panel do nothing, so neither closes the editor.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::array<CValuePage*, 4> Pages() const;

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
