#include "ExecWidgets.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTableView>
#include <QVBoxLayout>

#include "ElidingHeader.h"
#include "JudgeDlg.h"
#include "MonitorGate.h"
#include "NamedComboAccessible.h"
#include "ValueLabel.h"

// The icons and lamp images live in the library's resource file; a static library must pull
// them in by hand.
static void InitExecutionResources() {
    Q_INIT_RESOURCE(execution);
}

namespace zeb {

namespace {

QPixmap Render(const QString& name, QSize size) {
    QSvgRenderer renderer(QStringLiteral(":/execution/icons/%1.svg").arg(name));
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon Icon(const QString& name) {
    return QIcon(Render(name, QSize(32, 32)));
}

QPushButton* IconButton(QDialog* dlg, const QString& text, const QIcon& icon) {
    auto* b = new QPushButton(icon, text, dlg);
    b->setIconSize(QSize(32, 32));
    b->setAutoDefault(false);
    b->setMinimumWidth(120);
    b->setAccessibleName(text);
    return b;
}

QLabel* Value(QDialog* dlg, const QString& name, Qt::Alignment align = Qt::AlignRight) {
    auto* l = new QLabel(dlg);
    l->setAlignment(align | Qt::AlignVCenter);
    SetValueCaption(l, name);
    l->setMinimumWidth(48);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

QLabel* Caption(QDialog* dlg, const QString& text) {
    return new QLabel(text, dlg);
}

QPushButton* Button(QDialog* dlg, const QString& text) {
    auto* b = new QPushButton(text, dlg);
    b->setAutoDefault(false);
    b->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    return b;
}

}  // namespace

void CExecWidgets::ShowStartAction(bool pauses, bool resumes) {
    start->setIcon(pauses ? pauseIcon : playIcon);
    const QString name = pauses    ? QStringLiteral("PAUSE")
                         : resumes ? QStringLiteral("RESUME")
                                   : QStringLiteral("START");
    if (start->accessibleName() != name) {
        start->setAccessibleName(name);
    }
}

void CExecWidgets::Build(QDialog* dlg) {
    InitExecutionResources();
    InstallNamedComboAccessibility();
    playIcon = Icon(QStringLiteral("play"));
    pauseIcon = Icon(QStringLiteral("pause"));
    lampLit = Render(QStringLiteral("lamp_lit"), QSize(52, 51));
    lampDark = Render(QStringLiteral("lamp_dark"), QSize(52, 51));

    // The EUT line: a pair of push-like radio buttons.
    lineOn = IconButton(dlg, QStringLiteral("LINE ON"), Icon(QStringLiteral("line_on")));
    lineOff = IconButton(dlg, QStringLiteral("LINE OFF"), Icon(QStringLiteral("line_off")));
    lineOn->setCheckable(true);
    lineOff->setCheckable(true);
    auto* lineGroup = new QButtonGroup(dlg);
    lineGroup->setExclusive(true);
    lineGroup->addButton(lineOn);
    lineGroup->addButton(lineOff);
    auto* lineBox = new QGroupBox(QStringLiteral("EUT LINE"), dlg);
    auto* lineLayout = new QVBoxLayout(lineBox);
    lineLayout->addWidget(lineOn);
    lineLayout->addWidget(lineOff);

    start = IconButton(dlg, QStringLiteral("START"), playIcon);
    stop = IconButton(dlg, QStringLiteral("STOP"), Icon(QStringLiteral("stop")));
    start->setEnabled(false);
    stop->setEnabled(false);
    auto* testBox = new QGroupBox(QStringLiteral("TEST"), dlg);
    auto* testLayout = new QVBoxLayout(testBox);
    testLayout->addWidget(start);
    testLayout->addWidget(stop);

    lamp = new QLabel(dlg);
    lamp->setPixmap(lampDark);
    lamp->setFixedSize(52, 51);
    lamp->setAccessibleName(QStringLiteral("High voltage lamp"));
    pauseLabel = new QLabel(QStringLiteral("* PAUSE *"), dlg);
    QFont bold = pauseLabel->font();
    bold.setBold(true);
    pauseLabel->setFont(bold);
    pauseLabel->setAlignment(Qt::AlignCenter);
    processingLabel = new QLabel(QStringLiteral("Processing..."), dlg);
    processingLabel->setAlignment(Qt::AlignCenter);
    notConnectedLabel = new QLabel(QStringLiteral("Not connected"), dlg);
    notConnectedLabel->setAlignment(Qt::AlignCenter);
    notConnectedLabel->setStyleSheet(QStringLiteral("color: #c62828; font-weight: bold;"));
    checkingLabel = new QLabel(CheckingText(), dlg);
    checkingLabel->setAlignment(Qt::AlignCenter);
    checkingLabel->setWordWrap(true);
    journalLabel = new QLabel(QStringLiteral("The run journal cannot be written"), dlg);
    journalLabel->setAlignment(Qt::AlignCenter);
    journalLabel->setWordWrap(true);
    journalLabel->setStyleSheet(QStringLiteral("color: #c62828;"));
    for (QLabel* l :
         {pauseLabel, processingLabel, notConnectedLabel, checkingLabel, journalLabel}) {
        l->setVisible(false);
        l->setMinimumWidth(110);
    }
    // A fixed column, so the figures do not move when a status label appears.
    auto* lampColumn = new QWidget(dlg);
    lampColumn->setFixedWidth(130);
    auto* lampLayout = new QVBoxLayout(lampColumn);
    lampLayout->setContentsMargins(0, 0, 0, 0);
    lampLayout->addWidget(lamp, 0, Qt::AlignHCenter);
    lampLayout->addWidget(pauseLabel);
    lampLayout->addWidget(processingLabel);
    lampLayout->addWidget(notConnectedLabel);
    lampLayout->addWidget(checkingLabel);
    lampLayout->addWidget(journalLabel);
    lampLayout->addStretch();

    // Step figures: current / total for steps, discharges and the interval.
    stepNumber = Value(dlg, QStringLiteral("Step No."));
    stepTotal = Value(dlg, QStringLiteral("Step total"));
    stepSpin = new CStepSpin(dlg);
    stepSpin->setAccessibleName(QStringLiteral("Step up-down"));
    stepSpin->setVisible(false);
    dischargeDone = Value(dlg, QStringLiteral("Discharges done"));
    dischargeTotal = Value(dlg, QStringLiteral("Discharge count"));
    countdown = Value(dlg, QStringLiteral("Interval countdown"));
    interval = Value(dlg, QStringLiteral("Interval"));
    outputPort = Value(dlg, QStringLiteral("Output port"), Qt::AlignLeft);
    outputLines = Value(dlg, QStringLiteral("Output"), Qt::AlignLeft);
    waveform = Value(dlg, QStringLiteral("Waveform"), Qt::AlignLeft);
    impedanceCaption = Caption(dlg, QStringLiteral("Impedance"));
    impedanceColon = Caption(dlg, QStringLiteral(":"));
    impedance = Value(dlg, QStringLiteral("Impedance"), Qt::AlignLeft);
    remaining = Value(dlg, QStringLiteral("Remaining test time"));
    remaining->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    remaining->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* figures = new QGridLayout;
    int row = 0;
    auto pair = [&](const QString& caption, QLabel* done, QLabel* total, const QString& unit) {
        figures->addWidget(Caption(dlg, caption), row, 0);
        figures->addWidget(Caption(dlg, QStringLiteral(":")), row, 1);
        figures->addWidget(done, row, 2);
        figures->addWidget(Caption(dlg, QStringLiteral("/")), row, 3, Qt::AlignCenter);
        figures->addWidget(total, row, 4);
        if (!unit.isEmpty()) {
            figures->addWidget(Caption(dlg, unit), row, 5);
        }
        ++row;
    };
    pair(QStringLiteral("Step No."), stepNumber, stepTotal, QString());
    figures->addWidget(stepSpin, 0, 5);
    pair(QStringLiteral("Discharge"), dischargeDone, dischargeTotal, QString());
    pair(QStringLiteral("Interval"), countdown, interval, QStringLiteral("[s]"));
    auto single = [&](const QString& caption, QLabel* value) {
        figures->addWidget(Caption(dlg, caption), row, 0);
        figures->addWidget(Caption(dlg, QStringLiteral(":")), row, 1);
        figures->addWidget(value, row, 2, 1, 5);
        ++row;
    };
    single(QStringLiteral("Output port"), outputPort);
    single(QStringLiteral("Output"), outputLines);
    single(QStringLiteral("Waveform"), waveform);
    figures->addWidget(impedanceCaption, row, 0);
    figures->addWidget(impedanceColon, row, 1);
    figures->addWidget(impedance, row, 2, 1, 5);
    ++row;
    single(QStringLiteral("Remaining time"), remaining);
    for (QLabel* number :
         {stepNumber, stepTotal, dischargeDone, dischargeTotal, countdown, interval}) {
        number->setFixedWidth(72);
    }
    figures->setColumnStretch(6, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(lineBox);
    top->addWidget(testBox);
    top->addWidget(lampColumn);
    top->addSpacing(12);
    top->addLayout(figures, 1);

    auto* note = new QLabel(
        QStringLiteral("While the test is stopped, select a step in the list to start from it."),
        dlg);

    list = new QTableView(dlg);
    list->setHorizontalHeader(new CElidingHeader(list));
    list->setAccessibleName(QStringLiteral("Test steps"));
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setSortingEnabled(false);
    list->setWordWrap(false);
    list->verticalHeader()->setVisible(false);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setHighlightSections(false);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setMinimumHeight(180);

    bulkCombo = new QComboBox(dlg);
    FillJudgementCombo(bulkCombo, 0);
    bulkCombo->setAccessibleName(QStringLiteral("Result of all steps"));
    auto* bulkLabel = new QLabel(QStringLiteral("Result of all steps:"), dlg);
    bulkLabel->setBuddy(bulkCombo);
    bulkApply = Button(dlg, QStringLiteral("Set all"));
    deleteComments = Button(dlg, QStringLiteral("Delete all comments"));
    report = Button(dlg, QStringLiteral("Report..."));
    close = Button(dlg, QStringLiteral("Close"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bulkLabel);
    bottom->addWidget(bulkCombo);
    bottom->addWidget(bulkApply);
    bottom->addSpacing(12);
    bottom->addWidget(deleteComments);
    bottom->addStretch();
    bottom->addWidget(report);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(dlg);
    layout->addLayout(top);
    layout->addWidget(note);
    layout->addWidget(list, 1);
    layout->addLayout(bottom);
}

}  // namespace zeb
