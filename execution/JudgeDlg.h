#pragma once
// The judgement of one step: PASS, FAIL or not judged, and a free comment of several lines.
// The caller names the step, fills the two members, runs the dialog and, on OK, reads them back.

#include <QDialog>
#include <QString>

class QComboBox;
class QPlainTextEdit;

namespace zeb {

// Fills a combo box with the judgement codes ("------", "FAIL", "PASS"), each item carrying
// its code, and selects `code` (the first item when no item has it).
void FillJudgementCombo(QComboBox* combo, int code);

class CJudgeDlg : public QDialog {
public:
    explicit CJudgeDlg(QWidget* parent = nullptr);

    // The step judged (1-based), in the title and the accessible name: "Judgement of step 5".
    void SetStep(int step);

    int exec() override;
    void accept() override;

    int m_nJudgement = 0;
    QString m_strComment;

    QComboBox* JudgementCombo() const { return m_combo; }
    QPlainTextEdit* CommentField() const { return m_comment; }

private:
    QComboBox* m_combo;
    QPlainTextEdit* m_comment;
};

}  // namespace zeb
