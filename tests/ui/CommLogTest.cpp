// The communication log window: the list follows the log exchange by exchange and at its bound,
// Clear and Save as text reach the log, and the View menu command shows the window.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "CommLogDock.h"
#include "CommLogModel.h"
#include "ExchangeLog.h"
#include "ScriptedMessageSink.h"

namespace zeb {
namespace {

ExchangeRecord Exchange(const QString& command, const QString& reply = QString(),
                        ExchangeOutcome outcome = ExchangeOutcome::Acknowledged) {
    ExchangeRecord record;
    record.time = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53, 589));
    record.command = command;
    record.reply = reply;
    record.query = !reply.isEmpty();
    record.outcome = outcome;
    return record;
}

QString Cell(const QAbstractItemModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

TEST(CommLogModel, FollowsAppendsAndTheBoundRowByRow) {
    CExchangeLog log(3);
    CCommLogModel model(log);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    log.OnExchange(
        Exchange(QStringLiteral("QA"), QStringLiteral("ZEB M40"), ExchangeOutcome::Acknowledged));
    log.OnExchange(Exchange(QStringLiteral("CA"), QString(), ExchangeOutcome::NoAck));
    log.OnExchange(Exchange(QStringLiteral("QB"), QString(), ExchangeOutcome::Timeout));
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(inserted.count(), 3);
    EXPECT_EQ(Cell(model, 0, CCommLogModel::kTime), QStringLiteral("2026-03-14 09:26:53.589"));
    EXPECT_EQ(Cell(model, 0, CCommLogModel::kReply), QStringLiteral("ZEB M40"));
    EXPECT_EQ(Cell(model, 2, CCommLogModel::kOutcome), QStringLiteral("time-out"));

    // Past the bound the oldest row goes from the top and the new one comes at the bottom.
    log.OnExchange(Exchange(QStringLiteral("QF"), QString(), ExchangeOutcome::BadBcc));
    log.OnExchange(Exchange(QStringLiteral("QE"), QString(), ExchangeOutcome::LinkLost));
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(removed.count(), 2);
    EXPECT_EQ(inserted.count(), 5);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(Cell(model, 0, CCommLogModel::kCommand), QStringLiteral("QB"));
    EXPECT_EQ(Cell(model, 1, CCommLogModel::kOutcome), QStringLiteral("bad BCC"));
    EXPECT_EQ(Cell(model, 2, CCommLogModel::kOutcome), QStringLiteral("link lost"));
    EXPECT_FALSE(model.data(model.index(3, 0)).isValid());
}

TEST(CommLogModel, ShowsControlCharactersEscapedAndFailuresApart) {
    CExchangeLog log;
    CCommLogModel model(log);
    log.OnExchange(Exchange(QStringLiteral("QA"), QStringLiteral("A\tB\x03")));
    log.OnExchange(Exchange(QStringLiteral("CA"), QString(), ExchangeOutcome::NoAck));
    EXPECT_EQ(Cell(model, 0, CCommLogModel::kReply), QStringLiteral("A\\x09B\\x03"));
    // A failure differs from a success in more than colour.
    const QModelIndex failed = model.index(1, CCommLogModel::kOutcome);
    EXPECT_TRUE(model.data(failed, Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(model.data(failed, Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.data(model.index(0, CCommLogModel::kOutcome), Qt::FontRole).isValid());
}

TEST(CommLogModel, ClearEmptiesAndALogChangedBehindItsBackIsReadAgain) {
    CExchangeLog log(5);
    CCommLogModel model(log);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int i = 0; i < 7; ++i) {
        log.OnExchange(Exchange(QStringLiteral("Q%1").arg(i)));
    }
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(log.Count(), 0);
    log.OnExchange(Exchange(QStringLiteral("QA")));
    EXPECT_EQ(model.rowCount(), 1);

    // Someone else empties the log; the next exchange must not leave stale rows behind.
    log.OnExchange(Exchange(QStringLiteral("QB")));
    log.Clear();
    log.OnExchange(Exchange(QStringLiteral("QC")));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(Cell(model, 0, CCommLogModel::kCommand), QStringLiteral("QC"));
}

TEST(CommLogModel, LetsGoOfTheLogWhenDestroyed) {
    CExchangeLog log;
    { CCommLogModel model(log); }
    log.OnExchange(Exchange(QStringLiteral("QA")));  // must not reach the dead model
    EXPECT_EQ(log.Count(), 1);
}

TEST(CommLogDock, SavesTheLinesAndTellsAFailure) {
    QTemporaryDir dir;
    CExchangeLog log;
    log.OnExchange(Exchange(QStringLiteral("QA"), QStringLiteral("ZEB M40")));
    log.OnExchange(Exchange(QStringLiteral("CA"), QString(), ExchangeOutcome::NoAck));
    CCommLogDock dock(log);

    const QString path = dir.filePath(QStringLiteral("log.txt"));
    dock.SetAskSavePath([&](const QString& suggested) {
        EXPECT_TRUE(suggested.endsWith(QStringLiteral(".txt")));
        return path;
    });
    dock.SaveButton()->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), log.TextLines().join(QLatin1Char('\n')) + '\n');

    // Cancelled: nothing written, nothing said.
    dock.SetAskSavePath([](const QString&) { return QString(); });
    EXPECT_FALSE(dock.SaveAsText());

    test::ScriptedMessageSink sink;
    sink.ExpectAny();
    dock.SetAskSavePath([&](const QString&) { return dir.filePath(QStringLiteral("no/such/x")); });
    EXPECT_FALSE(dock.SaveAsText());
    ASSERT_EQ(sink.Shown().size(), 1u);
    EXPECT_TRUE(
        sink.Shown()[0].startsWith(QStringLiteral("The communication log could not be saved to ")));

    dock.ClearButton()->click();
    EXPECT_EQ(log.Count(), 0);
    EXPECT_EQ(dock.Model().rowCount(), 0);
}

TEST(CommLogDock, ViewCommandShowsTheHiddenWindow) {
    CExchangeLog log;
    QMainWindow frame;
    auto* dock = new CCommLogDock(log, &frame);
    frame.addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
    frame.show();
    QAction* command = dock->toggleViewAction();
    EXPECT_EQ(command->text(), QStringLiteral("&Communication log"));
    EXPECT_FALSE(command->isChecked());
    command->trigger();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_TRUE(command->isChecked());
    command->trigger();
    EXPECT_FALSE(dock->isVisible());
}

TEST(CommLogDock, KeepsTheNewestInSightUnlessScrolledUp) {
    CExchangeLog log(200);
    CCommLogDock dock(log);
    dock.resize(600, 200);
    dock.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dock));
    QScrollBar* bar = dock.Table()->verticalScrollBar();
    for (int i = 0; i < 250; ++i) {
        log.OnExchange(Exchange(QStringLiteral("Q%1").arg(i)));
    }
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    bar->setValue(10);  // the operator reads older exchanges
    EXPECT_FALSE(dock.FollowsNewest());
    log.OnExchange(Exchange(QStringLiteral("QX")));
    EXPECT_EQ(bar->value(), 10);

    bar->setValue(bar->maximum());  // and comes back down
    log.OnExchange(Exchange(QStringLiteral("QY")));
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(dock.FollowsNewest());
}

}  // namespace
}  // namespace zeb
