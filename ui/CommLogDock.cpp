#include "CommLogDock.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "CommLogModel.h"
#include "ExchangeLog.h"
#include "MessageSeam.h"

namespace zeb {

CCommLogDock::CCommLogDock(CExchangeLog& log, QWidget* parent)
    : QDockWidget(QStringLiteral("Communication log"), parent) {
    setObjectName(QStringLiteral("commLogDock"));
    QAction* toggle = toggleViewAction();
    toggle->setObjectName(QStringLiteral("commLog"));
    toggle->setText(QStringLiteral("&Communication log"));
    toggle->setStatusTip(QStringLiteral("Show or hide the exchanges with the instrument"));

    m_model = new CCommLogModel(log, this);

    auto* body = new QWidget(this);
    m_table = new QTableView(body);
    m_table->setModel(m_model);
    m_table->setAccessibleName(QStringLiteral("Communication log"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->verticalHeader()->hide();
    // Every row one line high, fixed: ten thousand rows are then laid out without measuring.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setHighlightSections(false);

    m_count = new QLabel(body);
    m_count->setAccessibleName(QStringLiteral("Exchanges kept"));
    m_clear = new QPushButton(QStringLiteral("Clear"), body);
    m_clear->setAccessibleName(QStringLiteral("Clear"));
    m_save = new QPushButton(QStringLiteral("Save as text..."), body);
    m_save->setAccessibleName(QStringLiteral("Save as text"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    buttons->addWidget(m_clear);
    buttons->addWidget(m_save);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    setWidget(body);

    connect(m_clear, &QPushButton::clicked, this, [this] { m_model->Clear(); });
    connect(m_save, &QPushButton::clicked, this, [this] { SaveAsText(); });

    // The list follows the newest exchange while it is scrolled to the bottom, and stops once
    // the operator scrolls up to read. A growing list raises the maximum without moving the
    // value, so only a move of the operator's (or the clamp when rows fall out at the top of a
    // list sitting at the bottom) changes the choice.
    QScrollBar* bar = m_table->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { m_bFollow = value >= bar->maximum(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        UpdateCount();
        if (m_bFollow) {
            m_table->scrollToBottom();
        }
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_bFollow = true;
        UpdateCount();
    });
    UpdateCount();
}

CCommLogDock::~CCommLogDock() = default;

void CCommLogDock::UpdateCount() {
    const CExchangeLog& log = m_model->Log();
    // The log keeps only the newest exchanges; say so once older ones had to go.
    QString text = log.Count() == 1 ? QStringLiteral("1 exchange")
                                    : QStringLiteral("%1 exchanges").arg(log.Count());
    if (log.Dropped() == 1) {
        text += QStringLiteral(", 1 older one dropped");
    } else if (log.Dropped() > 1) {
        text += QStringLiteral(", %1 older ones dropped").arg(log.Dropped());
    }
    m_count->setText(text);
}

QString CCommLogDock::AskSave(const QString& suggested) {
    if (m_askSave) {
        return m_askSave(suggested);
    }
    return QFileDialog::getSaveFileName(this, QStringLiteral("Save as text"), suggested,
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

bool CCommLogDock::SaveAsText() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name =
        QStringLiteral("Communication log %1.txt")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hhmmss")));
    const QString path = AskSave(QDir(folder).filePath(name));
    if (path.isEmpty()) {
        return false;
    }
    QString error;
    if (!m_model->Log().SaveAsText(path, error)) {
        ShowMessage(QStringLiteral("The communication log could not be saved to %1.\n%2")
                        .arg(QDir::toNativeSeparators(path), error),
                    MsgButtons::Ok, MsgIcon::Error);
        return false;
    }
    return true;
}

void CCommLogDock::ApplyColumnWidths() {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_table);
    const int client = m_table->width() - 2 * m_table->frameWidth();
    // Room for the longest time stamp and the longest outcome, drawn bold when it failed.
    const QFontMetrics plain(m_table->font());
    QFont boldFont = m_table->font();
    boldFont.setBold(true);
    const int padding = 4 * m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    const int time = plain.horizontalAdvance(QStringLiteral("0000-00-00 00:00:00.000")) + padding;
    const int outcome =
        QFontMetrics(boldFont).horizontalAdvance(QStringLiteral("acknowledged")) + padding;
    const std::vector<int> widths = CCommLogModel::ColumnWidths(client, scrollBar, time, outcome);
    for (size_t c = 0; c < widths.size(); ++c) {
        m_table->horizontalHeader()->resizeSection(static_cast<int>(c), widths[c]);
    }
}

void CCommLogDock::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    ApplyColumnWidths();
}

void CCommLogDock::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    ApplyColumnWidths();
    // While hidden the list did not scroll; once laid out it shows the newest again.
    if (m_bFollow) {
        QTimer::singleShot(0, m_table, [this] { m_table->scrollToBottom(); });
    }
}

}  // namespace zeb
