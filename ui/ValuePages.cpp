#include "ValuePages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zeb {

CValuePage::CValuePage(ValuePanel panel, QWidget* parent) : QWidget(parent), m_panel(panel) {}

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
    m_units.push_back(new QLabel(this));
    return m_units.back();
}

void CValuePage::RenderUnits(const QString& unit) {
    for (QLabel* label : m_units) {
        label->setText(unit);
    }
}

CValueEdit* CValuePage::MakeField(Field field, int row, int options) {
    auto* edit = new CValueEdit(this, options);
    connect(edit, &CValueEdit::Committed, this, [this, edit, field, row] {
        emit Sent(intent::CommitField(field, edit->Text(), m_panel, row));
    });
    connect(edit, &CValueEdit::Spun, this, [this, edit, field, row](bool up) {
        emit Sent(intent::SpinField(field, edit->Text(), up, m_panel, row));
    });
    return edit;
}

CValueFixDlg::CValueFixDlg(ValuePanel panel, QWidget* parent)
    : CValuePage(panel, parent),
      m_field(MakeField(zeb::Field::Fixed, 0, CValueEdit::kSwallowEscape)) {
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
}

void CValueFixDlg::Render(const ValuePanelView& view) {
    RenderUnits(view.unit);
    SetInputsEnabled(view.inputsEnabled);
    m_field->Show(view.fixed.text);
}

CValueSweepDlg::CValueSweepDlg(ValuePanel panel, QWidget* parent) : CValuePage(panel, parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    const QString captions[3] = {tr("Start:"), tr("End:"), tr("Step:")};
    const QString names[3] = {tr("Start"), tr("End"), tr("Step")};
    const zeb::Field fields[3] = {zeb::Field::SweepStart, zeb::Field::SweepEnd,
                                  zeb::Field::SweepStep};
    for (int i = 0; i < 3; ++i) {
        CValueEdit* field =
            MakeField(fields[i], 0, CValueEdit::kSwallowEscape | CValueEdit::kSelectAllOnFocus);
        m_fields[i] = field;
        field->SetName(names[i]);
        grid->addWidget(new QLabel(captions[i], this), i, 0);
        grid->addWidget(field, i, 1);
        grid->addWidget(UnitLabel(), i, 2);
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
}

void CValueSweepDlg::Render(const ValuePanelView& view) {
    RenderUnits(view.unit);
    SetInputsEnabled(view.inputsEnabled);
    for (int i = 0; i < 3; ++i) {
        m_fields[i]->Show(view.sweep[i].text);
    }
}

CValueListPage::CValueListPage(ValuePanel panel, bool twoFlags, QWidget* parent)
    : CValuePage(panel, parent) {
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
        connect(use, &QCheckBox::toggled, this,
                [this, i](bool on) { emit Sent(intent::ToggleUse(m_panel, i, false, on)); });
        if (twoFlags) {
            auto* common = new QCheckBox(this);
            m_common[i] = common;
            common->setAccessibleName(tr("COMMON %1").arg(i + 1));
            grid->addWidget(common, r, col++, Qt::AlignCenter);
            connect(common, &QCheckBox::toggled, this,
                    [this, i](bool on) { emit Sent(intent::ToggleUse(m_panel, i, true, on)); });
        }
        CValueEdit* field = MakeField(zeb::Field::ListValue, i, CValueEdit::kSwallowEscape);
        m_fields[i] = field;
        field->SetName(tr("Value %1").arg(i + 1));
        grid->addWidget(field, r, col++);
        grid->addWidget(UnitLabel(), r, col++);
    }
    grid->setColumnStretch(grid->columnCount(), 1);
    grid->setRowStretch(grid->rowCount(), 1);
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

void CValueListPage::Render(const ValuePanelView& view) {
    RenderUnits(view.unit);
    SetInputsEnabled(view.inputsEnabled);
    for (int i = 0; i < kValueRows; ++i) {
        const QSignalBlocker quietUse(m_use[i]);
        m_use[i]->setChecked(view.use[i]);
        if (m_common[i]) {
            const QSignalBlocker quietCommon(m_common[i]);
            m_common[i]->setChecked(view.common[i]);
        }
        m_fields[i]->Show(view.list[i].text);
    }
}

}  // namespace zeb
