#pragma once
// The test environment dialog: the EUT, the operator, the standard, the ambient conditions and
// two free fields of the one test property record, with the moment of the current test. OK
// takes the texts for this run of the program; Save also stores them in the INI file.

#include <QDialog>

#include <array>

#include "TestInfoFields.h"

class QLineEdit;
class QPushButton;

namespace zeb {

class CTestProperty;

class CTestInfoDlg : public QDialog {
public:
    explicit CTestInfoDlg(CTestProperty& property, QWidget* parent = nullptr);

    // The box of field `index` of TestInfoFieldTable(), and the two read-only moment boxes.
    QLineEdit* FieldEdit(int index) const { return m_edits[index]; }
    QLineEdit* DateEdit() const { return m_date; }
    QLineEdit* TimeEdit() const { return m_time; }
    QPushButton* SaveButton() const { return m_save; }

    void accept() override;

private:
    TestInfoTexts Texts() const;
    void OnSave();

    CTestProperty& m_property;
    std::array<QLineEdit*, kTestInfoFieldCount> m_edits{};
    QLineEdit* m_date = nullptr;
    QLineEdit* m_time = nullptr;
    QPushButton* m_save = nullptr;
};

}  // namespace zeb
