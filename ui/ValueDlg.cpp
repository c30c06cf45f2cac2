#include "ValueDlg.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "NameTables.h"
#include "ValuePages.h"

namespace zeb {

CValueDlg::CValueDlg(VALUE& set, const VALUE_LIMIT& limit, QWidget* parent)
    : QWidget(parent),
      m_set(set),
      m_limit(limit),
      m_tabs(new QButtonGroup(this)),
      m_stack(new QStackedWidget(this)),
      m_blank(new QWidget(m_stack)),
      m_fix(new CValueFixDlg(m_set, m_limit, m_stack)),
      m_sweep(new CValueSweepDlg(m_set, m_limit, m_stack)),
      m_list(new CValueVariableDlg(m_set, m_limit, m_stack)),
      m_normalCommon(new CValueVariableVoltDlg(m_set, m_limit, m_stack)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* tabRow = new QHBoxLayout;
    tabRow->setSpacing(0);
    for (int tab = kValueFixed; tab <= kValueVariable; ++tab) {
        auto* button = new QPushButton(names::kValueType.Lookup(tab), this);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setAccessibleName(button->text());
        m_tabs->addButton(button, tab);
        tabRow->addWidget(button);
    }
    tabRow->addStretch(1);
    column->addLayout(tabRow);
    m_stack->setFrameShape(QFrame::StyledPanel);
    for (QWidget* page :
         std::initializer_list<QWidget*>{m_blank, m_fix, m_sweep, m_list, m_normalCommon}) {
        m_stack->addWidget(page);
    }
    column->addWidget(m_stack, 1);

    // A set of unknown type selects no tab: it stays as it is until the operator picks one.
    if (QAbstractButton* b = m_tabs->button(m_set.m_nValueType)) {
        b->setChecked(true);
    }
    // The tab that becomes checked shows its page, whether it was clicked or toggled by a
    // screen reader (which emits no click).
    connect(m_tabs, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) {
            ShowPage();
        }
    });
    ShowPage();
}

CValueDlg::~CValueDlg() = default;

int CValueDlg::SelectedTab() const {
    return m_tabs->checkedId();
}

QAbstractButton* CValueDlg::TabButton(int tab) const {
    return m_tabs->button(tab);
}

void CValueDlg::SelectTab(int tab) {
    if (QAbstractButton* b = m_tabs->button(tab)) {
        b->click();
    }
}

void CValueDlg::ShowPage() {
    const int tab = SelectedTab();
    if (tab >= 0) {
        m_set.m_nValueType = tab;
    }
    m_visible = tab >= 0 ? PageFor(tab, m_set.m_nVariableKind) : ValuePage::None;
    QWidget* page = m_blank;
    switch (m_visible) {
        case ValuePage::Fixed:
            page = m_fix;
            break;
        case ValuePage::Sweep:
            page = m_sweep;
            break;
        case ValuePage::List:
            m_list->Refresh();
            page = m_list;
            break;
        case ValuePage::NormalCommon:
            m_normalCommon->Refresh();
            page = m_normalCommon;
            break;
        case ValuePage::None:
            break;
    }
    m_stack->setCurrentWidget(page);
}

void CValueDlg::SetInputsEnabled(bool on) {
    m_fix->SetInputsEnabled(on);
    m_sweep->SetInputsEnabled(on);
    m_list->SetInputsEnabled(on);
    m_normalCommon->SetInputsEnabled(on);
}

void CValueDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zeb
