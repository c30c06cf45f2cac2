#include "JudgeDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "NameTables.h"
#include "NamedComboAccessible.h"

namespace zeb {

void FillJudgementCombo(QComboBox* combo, int code) {
    combo->clear();
    for (const CodeName& entry : names::kResult) {
        combo->addItem(QString::fromLatin1(entry.name), entry.code);
    }
    const int index = combo->findData(code);
    combo->setCurrentIndex(index >= 0 ? index : 0);
}

CJudgeDlg::CJudgeDlg(QWidget* parent)
    : QDialog(parent), m_combo(new QComboBox(this)), m_comment(new QPlainTextEdit(this)) {
    InstallNamedComboAccessibility();
    setWindowTitle(QStringLiteral("Judgement"));
    auto* form = new QFormLayout;
    auto* resultLabel = new QLabel(QStringLiteral("&Result:"), this);
    resultLabel->setBuddy(m_combo);
    m_combo->setAccessibleName(QStringLiteral("Result"));
    form->addRow(resultLabel, m_combo);
    auto* commentLabel = new QLabel(QStringLiteral("&Comment:"), this);
    commentLabel->setBuddy(m_comment);
    m_comment->setAccessibleName(QStringLiteral("Comment"));
    m_comment->setTabChangesFocus(true);  // Enter starts a new line, Tab leaves the field
    m_comment->setMinimumSize(320, 96);
    form->addRow(commentLabel, m_comment);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CJudgeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CJudgeDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CJudgeDlg::SetStep(int step) {
    const QString title = QStringLiteral("Judgement of step %1").arg(step);
    setWindowTitle(title);
    setAccessibleName(title);
}

int CJudgeDlg::exec() {
    FillJudgementCombo(m_combo, m_nJudgement);
    m_comment->setPlainText(m_strComment);
    return QDialog::exec();
}

void CJudgeDlg::accept() {
    m_nJudgement = m_combo->currentData().toInt();
    m_strComment = m_comment->toPlainText();
    QDialog::accept();
}

}  // namespace zeb
