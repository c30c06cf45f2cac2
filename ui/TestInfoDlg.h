#pragma once
// The test environment dialog: the EUT, the operator, the standard, the ambient conditions,
// two free fields, the customer, the date of receipt and the required performance criterion of
// the one test property record, with the moment of the current test. OK
// takes the texts for this run of the program; Save also stores them in the INI file.

#include <QDialog>

#include <array>

#include "TestInfoFields.h"

class QComboBox;
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
    // The issued report's customer, date of receipt and required performance criterion.
    QLineEdit* CustomerNameEdit() const { return m_customerName; }
    QLineEdit* CustomerAddressEdit() const { return m_customerAddress; }
    QLineEdit* ReceiptEdit() const { return m_receipt; }
    QComboBox* CriterionBox() const { return m_criterion; }

    void accept() override;

private:
    TestInfoTexts Texts() const;
    ReportInfoTexts ReportTexts() const;
    void OnSave();

    CTestProperty& m_property;
    std::array<QLineEdit*, kTestInfoFieldCount> m_edits{};
    QLineEdit* m_date = nullptr;
    QLineEdit* m_time = nullptr;
    QPushButton* m_save = nullptr;
    QLineEdit* m_customerName = nullptr;
    QLineEdit* m_customerAddress = nullptr;
    QLineEdit* m_receipt = nullptr;
    QComboBox* m_criterion = nullptr;
};

}  // namespace zeb
