#include "ValueDlg.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "NameTables.h"
#include "ValuePages.h"

namespace zeb {

CValueDlg::CValueDlg(ValuePanel panel, QWidget* parent)
    : QWidget(parent),
      m_tabs(new QButtonGroup(this)),
      m_stack(new QStackedWidget(this)),
      m_blank(new QWidget(m_stack)),
      m_fix(new CValueFixDlg(panel, m_stack)),
      m_sweep(new CValueSweepDlg(panel, m_stack)),
      m_list(new CValueVariableDlg(panel, m_stack)),
      m_normalCommon(new CValueVariableVoltDlg(panel, m_stack)) {
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
    for (CValuePage* page : Pages()) {
        connect(page, &CValuePage::Sent, this, &CValueDlg::Sent);
    }
    for (QWidget* page :
         std::initializer_list<QWidget*>{m_blank, m_fix, m_sweep, m_list, m_normalCommon}) {
        m_stack->addWidget(page);
    }
    column->addWidget(m_stack, 1);

    // The tab that becomes checked picks the type, whether it was clicked or toggled by a
    // screen reader (which emits no click).
    connect(m_tabs, &QButtonGroup::idToggled, this, [this, panel](int id, bool on) {
        if (on) {
            emit Sent(intent::SelectValueType(panel, id));
        }
    });
}

CValueDlg::~CValueDlg() = default;

std::array<CValuePage*, 4> CValueDlg::Pages() const {
    return {m_fix, m_sweep, m_list, m_normalCommon};
}

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

void CValueDlg::Render(const ValuePanelView& view) {
    {
        // A set of unknown type selects no tab: it stays as it is until the operator picks one.
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setExclusive(false);
        for (QAbstractButton* b : m_tabs->buttons()) {
            const QSignalBlocker quietButton(b);
            b->setChecked(m_tabs->id(b) == view.tab);
        }
        m_tabs->setExclusive(true);
    }
    m_visible = view.page;
    QWidget* page = m_blank;
    switch (m_visible) {
        case ValuePage::Fixed:
            page = m_fix;
            break;
        case ValuePage::Sweep:
            page = m_sweep;
            break;
        case ValuePage::List:
            page = m_list;
            break;
        case ValuePage::NormalCommon:
            page = m_normalCommon;
            break;
        case ValuePage::None:
            break;
    }
    for (CValuePage* p : Pages()) {
        p->Render(view);
    }
    m_stack->setCurrentWidget(page);
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
