#pragma once
// The options dialog: the company name and the test place, which head every report, what heads
// the issued report (the lab's address, its logo, the prefix of its report numbers), and the
// lab's default test standard; they rarely change. OK stores them in the record and in the INI
// file.

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace zeb {

class CTestProperty;

class CPropertyDlg : public QDialog {
public:
    explicit CPropertyDlg(CTestProperty& property, QWidget* parent = nullptr);

    QLineEdit* CompanyEdit() const { return m_company; }
    QLineEdit* PlaceEdit() const { return m_place; }
    QLineEdit* AddressEdit() const { return m_address; }
    QLineEdit* LogoEdit() const { return m_logo; }
    QPushButton* BrowseButton() const { return m_browse; }
    QLineEdit* PrefixEdit() const { return m_prefix; }
    // Asks for the logo file (tests replace the file dialog); an empty answer keeps the path.
    void SetLogoAsker(std::function<QString()> ask) { m_askLogo = std::move(ask); }
    QComboBox* StandardCombo() const { return m_standard; }
    QComboBox* LevelCombo() const { return m_level; }

    void accept() override;

private:
    // The levels of the profile the standard combo shows; the level kept where it still exists.
    void FillLevels(const QString& keep);

    CTestProperty& m_property;
    QLineEdit* m_company = nullptr;
    QLineEdit* m_place = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_logo = nullptr;
    QPushButton* m_browse = nullptr;
    QLineEdit* m_prefix = nullptr;
    std::function<QString()> m_askLogo;
    QComboBox* m_standard = nullptr;
    QComboBox* m_level = nullptr;
};

}  // namespace zeb
