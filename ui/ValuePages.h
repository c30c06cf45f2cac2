#pragma once
// The four pages of a value panel: one fixed value, a sweep (start, end, step), a list of five
// values with a use box each, and a list of five values with a NORMAL and a COMMON box each.
// Each page is bound to a value set of the working record and to the panel's limits, and writes
// every accepted change into the set at once.

#include <QWidget>

#include <array>

#include "SettingData.h"
#include "ValueEdit.h"
#include "ValueRules.h"

class QCheckBox;
class QGridLayout;
class QLabel;

namespace zeb {

class CValuePage : public QWidget {
    Q_OBJECT
public:
    CValuePage(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent);
    // Shows the set's values again.
    virtual void Refresh() = 0;
    // Enables or disables every input of the page.
    virtual void SetInputsEnabled(bool on);

protected:
    // Enter moves on to the next field (validating the one left); Esc does nothing.
    void keyPressEvent(QKeyEvent* event) override;
    QLabel* UnitLabel();

    VALUE& m_set;
    const VALUE_LIMIT& m_limit;
};

class CValueFixDlg : public CValuePage {
    Q_OBJECT
public:
    CValueFixDlg(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent = nullptr);
    void Refresh() override;
    CValueEdit* Field() const { return m_field; }

private:
    void Apply(int32_t value);
    CValueEdit* m_field;
};

class CValueSweepDlg : public CValuePage {
    Q_OBJECT
public:
    CValueSweepDlg(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent = nullptr);
    void Refresh() override;
    CValueEdit* Field(SweepField which) const { return m_fields[int(which)]; }

private:
    std::array<CValueEdit*, 3> m_fields{};
};

// The list page (`kind` 0) and the NORMAL/COMMON page (`kind` 1) share their rows.
class CValueListPage : public CValuePage {
    Q_OBJECT
public:
    CValueListPage(VALUE& set, const VALUE_LIMIT& limit, bool twoFlags, QWidget* parent);
    void Refresh() override;
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
    CValueVariableDlg(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent = nullptr)
        : CValueListPage(set, limit, false, parent) {}
};

class CValueVariableVoltDlg : public CValueListPage {
    Q_OBJECT
public:
    CValueVariableVoltDlg(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent = nullptr)
        : CValueListPage(set, limit, true, parent) {}
};

}  // namespace zeb
