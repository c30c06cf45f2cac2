#pragma once
// The four pages of a value panel: one fixed value, a sweep (start, end, step), a list of five
// values with a use box each, and a list of five values with a NORMAL and a COMMON box each.
// A page holds no value set: its fields and boxes send intents, and Render shows the panel's
// projection.

#include <QWidget>

#include <array>
#include <vector>

#include "EditorView.h"
#include "ValueEdit.h"

class QCheckBox;
class QGridLayout;
class QLabel;

namespace zeb {

class CValuePage : public QWidget {
    Q_OBJECT
public:
    CValuePage(ValuePanel panel, QWidget* parent);
    // Shows the panel's values; writes nothing back.
    virtual void Render(const ValuePanelView& view) = 0;

signals:
    void Sent(const zeb::Intent& intent);

protected:
    // Enter moves on to the next field (validating the one left); Esc does nothing.
    void keyPressEvent(QKeyEvent* event) override;
    QLabel* UnitLabel();
    // A field that sends CommitField and SpinField for `field` (and `row`).
    CValueEdit* MakeField(Field field, int row, int options);
    // Enables or disables every input of the page.
    void SetInputsEnabled(bool on);
    // Shows the unit beside every field.
    void RenderUnits(const QString& unit);

    const ValuePanel m_panel;
    std::vector<QLabel*> m_units;
};

class CValueFixDlg : public CValuePage {
    Q_OBJECT
public:
    explicit CValueFixDlg(ValuePanel panel, QWidget* parent = nullptr);
    void Render(const ValuePanelView& view) override;
    CValueEdit* Field() const { return m_field; }

private:
    CValueEdit* m_field;
};

class CValueSweepDlg : public CValuePage {
    Q_OBJECT
public:
    explicit CValueSweepDlg(ValuePanel panel, QWidget* parent = nullptr);
    void Render(const ValuePanelView& view) override;
    CValueEdit* Field(SweepField which) const { return m_fields[int(which)]; }

private:
    std::array<CValueEdit*, 3> m_fields{};
};

// The list page (one flag per row) and the NORMAL/COMMON page (two flags) share their rows.
class CValueListPage : public CValuePage {
    Q_OBJECT
public:
    CValueListPage(ValuePanel panel, bool twoFlags, QWidget* parent);
    void Render(const ValuePanelView& view) override;
    CValueEdit* Field(int row) const { return m_fields[row]; }
    QCheckBox* UseBox(int row) const { return m_use[row]; }
    QCheckBox* CommonBox(int row) const { return m_common[row]; }

private:
    void AddHeading(QGridLayout* grid);
    std::array<CValueEdit*, kValueRows> m_fields{};
    std::array<QCheckBox*, kValueRows> m_use{};
    std::array<QCheckBox*, kValueRows> m_common{};
};

class CValueVariableDlg : public CValueListPage {
    Q_OBJECT
public:
    explicit CValueVariableDlg(ValuePanel panel, QWidget* parent = nullptr)
        : CValueListPage(panel, false, parent) {}
};

class CValueVariableVoltDlg : public CValueListPage {
    Q_OBJECT
public:
    explicit CValueVariableVoltDlg(ValuePanel panel, QWidget* parent = nullptr)
        : CValueListPage(panel, true, parent) {}
};

}  // namespace zeb
