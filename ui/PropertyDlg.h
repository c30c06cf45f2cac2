#pragma once
// The options dialog: the company name and the test place, which head every report and rarely
// change. OK stores both in the record and in the INI file.

#include <QDialog>

class QLineEdit;

namespace zeb {

class CTestProperty;

class CPropertyDlg : public QDialog {
public:
    explicit CPropertyDlg(CTestProperty& property, QWidget* parent = nullptr);

    QLineEdit* CompanyEdit() const { return m_company; }
    QLineEdit* PlaceEdit() const { return m_place; }

    void accept() override;

private:
    CTestProperty& m_property;
    QLineEdit* m_company = nullptr;
    QLineEdit* m_place = nullptr;
};

}  // namespace zeb
