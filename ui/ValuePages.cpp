#include "ValuePages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zeb {

CValuePage::CValuePage(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent)
    : QWidget(parent), m_set(set), m_limit(limit) {}

void CValuePage::SetInputsEnabled(bool on) {
    for (QWidget* child : findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(child)) {
            child->setEnabled(on);
        }
    }
}

void CValuePage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            focusNextChild();
            event->accept();
            return;
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

QLabel* CValuePage::UnitLabel() {
    return new QLabel(m_limit.m_strUnit, this);
}

CValueFixDlg::CValueFixDlg(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent)
    : CValuePage(set, limit, parent), m_field(new CValueEdit(this, CValueEdit::kSwallowEscape)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    auto* row = new QHBoxLayout;
    column->addLayout(row);
    column->addStretch(1);
    auto* caption = new QLabel(tr("Value:"), this);
    row->addWidget(caption);
    row->addWidget(m_field);
    row->addWidget(UnitLabel());
    row->addStretch(1);
    m_field->SetName(tr("Value"));
    connect(m_field, &CValueEdit::Committed, this, [this] {
        Apply(BoundedAfterEdit(m_field->Text(), m_limit.m_lMin, m_limit.m_lMax, m_limit));
    });
    connect(m_field, &CValueEdit::Spun, this, [this](bool up) {
        Apply(BoundedAfterSpin(m_field->Text(), up, m_limit.m_lMin, m_limit.m_lMax, m_limit));
    });
    Refresh();
}

void CValueFixDlg::Apply(int32_t value) {
    m_set.m_lValue = value;
    Refresh();
}

void CValueFixDlg::Refresh() {
    m_field->SetText(FormatFixed(m_set.m_lValue, m_limit));
}

CValueSweepDlg::CValueSweepDlg(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent)
    : CValuePage(set, limit, parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    const QString captions[3] = {tr("Start:"), tr("End:"), tr("Step:")};
    const QString names[3] = {tr("Start"), tr("End"), tr("Step")};
    for (int i = 0; i < 3; ++i) {
        auto* field =
            new CValueEdit(this, CValueEdit::kSwallowEscape | CValueEdit::kSelectAllOnFocus);
        m_fields[i] = field;
        field->SetName(names[i]);
        grid->addWidget(new QLabel(captions[i], this), i, 0);
        grid->addWidget(field, i, 1);
        grid->addWidget(UnitLabel(), i, 2);
        const auto which = SweepField(i);
        connect(field, &CValueEdit::Committed, this, [this, which, field] {
            SweepAfterEdit(m_set, which, field->Text(), m_limit);
            Refresh();
        });
        connect(field, &CValueEdit::Spun, this, [this, which, field](bool up) {
            SweepAfterSpin(m_set, which, field->Text(), up, m_limit);
            Refresh();
        });
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
    Refresh();
}

void CValueSweepDlg::Refresh() {
    m_fields[0]->SetText(FormatFixed(m_set.m_lStart, m_limit));
    m_fields[1]->SetText(FormatFixed(m_set.m_lEnd, m_limit));
    m_fields[2]->SetText(FormatFixed(m_set.m_lStep, m_limit));
}

CValueListPage::CValueListPage(VALUE& set, const VALUE_LIMIT& limit, bool twoFlags, QWidget* parent)
    : CValuePage(set, limit, parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    if (twoFlags) {
        AddHeading(grid);
    }
    const int firstRow = twoFlags ? 1 : 0;
    for (int i = 0; i < kValueRows; ++i) {
        const int r = firstRow + i;
        int col = 0;
        auto* use = new QCheckBox(twoFlags ? QString() : QString::number(i + 1), this);
        m_use[i] = use;
        use->setAccessibleName(twoFlags ? tr("NORMAL %1").arg(i + 1) : tr("Use %1").arg(i + 1));
        grid->addWidget(use, r, col++, Qt::AlignCenter);
        // Toggled, not clicked: a screen reader's toggle action emits no click.
        connect(use, &QCheckBox::toggled, this, [this, i](bool on) {
            m_set.m_abUse[i] = on ? 1 : 0;
            Refresh();
        });
        if (twoFlags) {
            auto* common = new QCheckBox(this);
            m_common[i] = common;
            common->setAccessibleName(tr("COMMON %1").arg(i + 1));
            grid->addWidget(common, r, col++, Qt::AlignCenter);
            connect(common, &QCheckBox::toggled, this, [this, i](bool on) {
                m_set.m_abUse2[i] = on ? 1 : 0;
                Refresh();
            });
        }
        auto* field = new CValueEdit(this, CValueEdit::kSwallowEscape);
        m_fields[i] = field;
        field->SetName(tr("Value %1").arg(i + 1));
        grid->addWidget(field, r, col++);
        grid->addWidget(UnitLabel(), r, col++);
        connect(field, &CValueEdit::Committed, this, [this, i, field] {
            m_set.m_alValue[i] =
                BoundedAfterEdit(field->Text(), m_limit.m_lMin, m_limit.m_lMax, m_limit);
            Refresh();
        });
        connect(field, &CValueEdit::Spun, this, [this, i, field](bool up) {
            m_set.m_alValue[i] =
                BoundedAfterSpin(field->Text(), up, m_limit.m_lMin, m_limit.m_lMax, m_limit);
            Refresh();
        });
    }
    grid->setColumnStretch(grid->columnCount(), 1);
    grid->setRowStretch(grid->rowCount(), 1);
    Refresh();
}

void CValueListPage::AddHeading(QGridLayout* grid) {
    // Line-to-line (differential) and line-to-earth (common mode) surges.
    auto* normal = new QLabel(QStringLiteral("NORMAL\n(L-L)"), this);
    auto* common = new QLabel(QStringLiteral("COMMON \n(L-PE)"), this);
    for (QLabel* l : {normal, common}) {
        l->setAlignment(Qt::AlignCenter);
    }
    grid->addWidget(normal, 0, 0);
    grid->addWidget(common, 0, 1);
}

void CValueListPage::Refresh() {
    for (int i = 0; i < kValueRows; ++i) {
        // Showing the set writes nothing back into it.
        const QSignalBlocker quietUse(m_use[i]);
        m_use[i]->setChecked(m_set.m_abUse[i] != 0);
        if (m_common[i]) {
            const QSignalBlocker quietCommon(m_common[i]);
            m_common[i]->setChecked(m_set.m_abUse2[i] != 0);
        }
        m_fields[i]->SetText(FormatFixed(m_set.m_alValue[i], m_limit));
    }
}

}  // namespace zeb
