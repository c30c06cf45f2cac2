// The step list side of the run: the step the operator picks, and the judgements and comments
// of the steps.

#include "MessageSeam.h"
#include "RunSequencer.h"
#include "SettingsDoc.h"

namespace zeb {

void CRunSequencer::OnRowSelected(int row) {
    SelectRow(row);
    // While a test is under way a click in the list does not move the run.
    if (HasStep(row) && MayPickStep(m_phase)) {
        m_doc.SetCurrentStep(row);
        m_facts.numberStep = row;
        SetRemaining(row, 0);
    }
    Changed();
}

bool CRunSequencer::CanJudge(int row) const {
    return HasStep(row) && MayJudge(m_phase);
}

// Sets one step's result and tells the observer who did.
void CRunSequencer::Judge(int row, int result, JudgedBy by) {
    CExecData& step = m_doc.Steps()[static_cast<size_t>(row)];
    step.m_nResult = result;
    m_list.RefreshRow(row);
    m_observer->OnJudgement(row, result, step.m_strComment, by);
}

void CRunSequencer::ApplyJudgement(int row, int result, const QString& comment, JudgedBy by) {
    if (!HasStep(row)) {
        return;
    }
    m_reportPending = true;
    m_doc.Steps()[static_cast<size_t>(row)].m_strComment = comment;
    Judge(row, result, by);
    Changed();
}

void CRunSequencer::OnBulkJudgement(int result) {
    if (ShowMessage(QStringLiteral("All the test results are rewritten.\nIs it ok?"),
                    MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok) {
        return;
    }
    ExecDataList& steps = m_doc.Steps();
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].m_nResult = result;
        m_observer->OnJudgement(static_cast<int>(i), result, steps[i].m_strComment, JudgedBy::Bulk);
    }
    m_list.Refill();
    SelectRow(m_doc.CurrentStep());
    Changed();
}

void CRunSequencer::OnDeleteComments() {
    if (ShowMessage(QStringLiteral("All the comments are deleted.\nIs it ok?"),
                    MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok) {
        return;
    }
    for (CExecData& step : m_doc.Steps()) {
        step.m_strComment.clear();
    }
    m_observer->OnCommentsCleared();
    m_list.Refill();
    SelectRow(m_doc.CurrentStep());
    Changed();
}

}  // namespace zeb
