// The whole program as an operator meets it: the real main window with the simulated instrument
// running fast, driven only through its controls (clicks and keys on buttons, combo boxes, check
// boxes, fields and menu commands, found by their accessible names). Modal dialogs are driven
// from a timer once they are open, the way a person answers them while exec() waits.

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <memory>
#include <vector>

#include "AppFixture.h"
#include "ChildFrame.h"
#include "DocManager.h"
#include "DocumentJson.h"
#include "ExecDlg.h"
#include "FileRunJournal.h"
#include "IssueReportDlg.h"
#include "JournalReader.h"
#include "JournalRecovery.h"
#include "JudgeDlg.h"
#include "MainFrame.h"
#include "PdfText.h"
#include "RecordingOpener.h"
#include "RunSequencer.h"
#include "SettingDlg.h"
#include "SettingsDoc.h"
#include "StepCommands.h"
#include "TestInfoDlg.h"
#include "TestReport.h"
#include "XlsxReader.h"
#include "ZebM40Cntl.h"
#include "ZebM40SettingsView.h"

namespace zeb {
namespace {

using test::RecordingOpener;

// HOME pointed at a temporary folder, so the report folder below the documents folder is ours.
class TempHome {
public:
    TempHome() : m_saved(qgetenv("HOME")) { qputenv("HOME", m_dir.path().toUtf8()); }
    ~TempHome() { qputenv("HOME", m_saved); }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};

// The visible control of type W below `root` with the accessible name `name`, or nullptr (the
// test then fails, and the helpers below do nothing with it).
template <class W>
W* Named(QWidget* root, const QString& name) {
    if (root) {
        for (W* w : root->findChildren<W*>()) {
            if (w->accessibleName() == name && w->isVisible()) {
                return w;
            }
        }
    }
    ADD_FAILURE() << "no visible control named \"" << name.toStdString() << "\"";
    return nullptr;
}

void Click(QWidget* w) {
    if (w) {
        EXPECT_TRUE(w->isEnabled()) << w->accessibleName().toStdString();
        QTest::mouseClick(w, Qt::LeftButton);
    }
}

QPushButton* OkOf(QWidget* dlg) {
    auto* box = dlg ? dlg->findChild<QDialogButtonBox*>() : nullptr;
    QPushButton* ok = box ? box->button(QDialogButtonBox::Ok) : nullptr;
    EXPECT_NE(ok, nullptr) << "no OK button";
    return ok;
}

// Replaces a field's text by typing, then Enter, as an operator commits a value.
void Type(QLineEdit* edit, const QString& text) {
    if (!edit) {
        return;
    }
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Picks the entry `text` with the keyboard: Home, then Down until it is current.
void Choose(QComboBox* combo, const QString& text) {
    if (!combo) {
        return;
    }
    ASSERT_GE(combo->findText(text), 0) << text.toStdString();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < combo->count() && combo->currentText() != text; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
    EXPECT_EQ(combo->currentText(), text);
}

QString TextOf(const QLabel* label) {
    return label ? label->text() : QString();
}

void SetChecked(QAbstractButton* box, bool on) {
    if (box && box->isChecked() != on) {
        Click(box);
    }
}

class WholeProgram : public test::AppFixture {
protected:
    void TearDown() override {
        for (auto& t : m_waiting) {
            t->stop();
        }
        app.reset();
        SimFixture::TearDown();
    }

    // The program as `zeb --simulate [FILE]` starts it, with a fast instrument and its lock
    // and recent-file list in the test's folder.
    std::unique_ptr<CZebM40App> StartProgram(const QStringList& args) {
        AppEnvironment env;
        env.lockFolder = dir.path();
        env.recentFilesPath = dir.filePath(QStringLiteral("recent.ini"));
        env.openingMs = 0;
        env.select = [](quint32&) {
            ADD_FAILURE() << "the simulated instrument was not found";
            return 0;
        };
        env.simTimeScale = 200.0;
        env.simPacing9600 = false;
        const AppOptions options = ParseCommandLine(args);
        EXPECT_TRUE(options.error.isEmpty());
        return std::make_unique<CZebM40App>(options, env);
    }

    // Drives the next modal dialog of type D once exec() has it on screen. Should the driver
    // leave it open (a failed expectation), the dialog is ended so the test cannot hang.
    template <class D>
    void WhenOpen(std::function<void(D&)> drive) {
        auto timer = std::make_unique<QTimer>();
        QTimer* t = timer.get();
        t->setInterval(10);
        ++m_expected;
        QObject::connect(t, &QTimer::timeout, t, [this, t, drive] {
            auto* dlg = dynamic_cast<D*>(QApplication::activeModalWidget());
            if (!dlg || !dlg->isVisible()) {
                return;
            }
            t->stop();
            ++m_driven;
            QPointer<QDialog> guard(dlg);
            drive(*dlg);
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "dialog \"" << guard->windowTitle().toStdString()
                              << "\" left open";
                guard->done(QDialog::Rejected);
            }
        });
        t->start();
        m_waiting.push_back(std::move(timer));
    }
    void ExpectAllDriven() { EXPECT_EQ(m_driven, m_expected) << "a dialog never opened"; }

    CZebM40SettingsView* ActiveView() {
        CChildFrame* child = app->MainFrame()->ActiveChild();
        CZebM40SettingsView* view = child ? child->View() : nullptr;
        // A new window is laid out and shown from the event loop.
        EXPECT_TRUE(view && QTest::qWaitFor([view] { return view->isVisible(); }, 5000));
        return view;
    }
    // Opens the menu `title` from the menu bar and clicks the entry of `action`, as the mouse
    // does; the File menu fills in its recent files while it opens.
    void MenuCommand(const QString& title, QAction* action) {
        CMainFrame* frame = app->MainFrame();
        ASSERT_TRUE(action);
        // Back from a dialog, the window manager gives the main window the focus again.
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
        QMenuBar* bar = frame->menuBar();
        QMenu* menu = nullptr;
        for (QAction* entry : bar->actions()) {
            if (entry->text() == title) {
                menu = entry->menu();
            }
        }
        ASSERT_NE(menu, nullptr) << title.toStdString();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        ASSERT_TRUE(action->isVisible() && action->isEnabled()) << action->text().toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }
    QWidget* ToolButton(const char* action) {
        auto* bar = app->MainFrame()->findChild<QToolBar*>(QStringLiteral("toolBar"));
        return bar ? bar->widgetForAction(app->MainFrame()->Action(action)) : nullptr;
    }

    TempHome home;
    RecordingOpener opener;
    std::unique_ptr<CZebM40App> app;

private:
    std::vector<std::unique_ptr<QTimer>> m_waiting;
    int m_expected = 0;
    int m_driven = 0;
};

// The test condition of the run: AC line output, two voltages as a list, the first two lines
// the output offers (their names go to `lines`), both polarities, one discharge every 10 s.
void EditCondition(CSettingDlg& dlg, QStringList& lines) {
    Choose(Named<QComboBox>(&dlg, QStringLiteral("Output port")), QStringLiteral("AC LINE OUTPUT"));
    Type(Named<QLineEdit>(&dlg, QStringLiteral("Count")), QStringLiteral("1"));
    Type(Named<QLineEdit>(&dlg, QStringLiteral("Interval")), QStringLiteral("10"));

    QGroupBox* voltage = nullptr;
    for (QGroupBox* g : dlg.findChildren<QGroupBox*>()) {
        if (g->title() == QStringLiteral("Voltage")) {
            voltage = g;
        }
    }
    ASSERT_NE(voltage, nullptr);
    Click(Named<QPushButton>(voltage, QStringLiteral("Variable")));
    for (int i = 1; i <= 2; ++i) {
        SetChecked(Named<QCheckBox>(voltage, QStringLiteral("Use %1").arg(i)), true);
        Type(Named<QLineEdit>(voltage, QStringLiteral("Value %1").arg(i)),
             QString::number(i) + QStringLiteral(".0"));
    }
    for (QCheckBox* use : voltage->findChildren<QCheckBox*>()) {
        const QString name = use->accessibleName();
        if (use->isVisible() && name.startsWith(QStringLiteral("Use ")) &&
            name.mid(4).toInt() > 2) {
            SetChecked(use, false);
        }
    }

    // Line boxes: the first two the output lines allow, every other one off.
    int chosen = 0;
    for (QGroupBox* g : dlg.findChildren<QGroupBox*>()) {
        if (!g->title().startsWith(QStringLiteral("INJ - RET")) || !g->isVisible()) {
            continue;
        }
        for (QCheckBox* line : g->findChildren<QCheckBox*>()) {
            if (line->isVisible() && line->isEnabled()) {
                SetChecked(line, chosen < 2);
                if (chosen++ < 2) {
                    lines << line->text().simplified();
                }
            }
        }
    }
    EXPECT_GE(chosen, 2);
    Click(Named<QRadioButton>(&dlg, QStringLiteral("Polarity +/-")));
    Click(OkOf(&dlg));
}

// Texts of one row of an item model, blanks simplified.
QStringList RowTexts(const QAbstractItemModel* model, int row) {
    QStringList texts;
    for (int c = 0; c < model->columnCount(); ++c) {
        texts << model->index(row, c).data().toString().simplified();
    }
    return texts;
}

// Every combination of voltage, line and polarity appears in exactly one row.
void ExpectEveryCombination(const QAbstractItemModel* model, const QStringList& lines) {
    QStringList seen;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QStringList cells = RowTexts(model, row);
        for (const QString& v : {QStringLiteral("1.0"), QStringLiteral("2.0")}) {
            for (const QString& l : lines) {
                for (const QString& p : {QStringLiteral("+"), QStringLiteral("-")}) {
                    if (cells.contains(v) && cells.contains(l) && cells.contains(p)) {
                        seen << v + QLatin1Char(' ') + l + QLatin1Char(' ') + p;
                    }
                }
            }
        }
    }
    seen.sort();
    seen.removeDuplicates();
    EXPECT_EQ(seen.size(), 8) << seen.join(QStringLiteral(", ")).toStdString();
}

TEST_F(WholeProgram, EditRunJudgeReportSaveAndReopen) {
    app = StartProgram({QStringLiteral("--simulate")});
    ASSERT_TRUE(app->InitInstance());
    CMainFrame* frame = app->MainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    const size_t startDocs = app->Documents().Documents().size();

    // A new document, and its test condition in the editor.
    Click(ToolButton("new"));
    ASSERT_EQ(app->Documents().Documents().size(), startDocs + 1);
    CZebM40SettingsView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    QStringList lines;
    WhenOpen<CSettingDlg>([&lines](CSettingDlg& dlg) { EditCondition(dlg, lines); });
    Click(Named<QPushButton>(view, QStringLiteral("Test condition settings")));
    ExpectAllDriven();

    // The summary shows the condition and the eight steps (2 voltages x 2 lines x 2 polarities).
    EXPECT_EQ(TextOf(Named<QLabel>(view, QStringLiteral("Output port"))),
              QStringLiteral("AC LINE OUTPUT"));
    EXPECT_EQ(TextOf(Named<QLabel>(view, QStringLiteral("Polarity"))), QStringLiteral("+/-"));
    const QString volts = TextOf(Named<QLabel>(view, QStringLiteral("Voltage [kV]")));
    EXPECT_TRUE(volts.contains(QStringLiteral("1.0")) && volts.contains(QStringLiteral("2.0")))
        << volts.toStdString();
    ASSERT_EQ(lines.size(), 2);
    QStringList listed =
        TextOf(Named<QLabel>(view, QStringLiteral("INJ - RET"))).split(QLatin1Char(','));
    for (QString& l : listed) {
        l = l.simplified();
    }
    EXPECT_EQ(listed, lines);
    QTableView* steps = Named<QTableView>(view, QStringLiteral("Test steps"));
    ASSERT_NE(steps, nullptr);
    ASSERT_EQ(steps->model()->rowCount(), 8);
    ExpectEveryCombination(steps->model(), lines);
    const CZebM40SettingsDoc& doc = view->Document();
    ASSERT_EQ(doc.Steps().size(), 8u);
    EXPECT_TRUE(doc.IsModified());

    // Test execution: the environment dialog, then the run to its end, a FAIL with a comment,
    // and the report on the way out.
    WhenOpen<CTestInfoDlg>([](CTestInfoDlg& dlg) { Click(OkOf(&dlg)); });
    QString judgedRow;
    WhenOpen<CExecDlg>([&](CExecDlg& dlg) {
        dlg.SetReportOpener(&opener);
        QPushButton* start = Named<QPushButton>(&dlg, QStringLiteral("START"));
        ASSERT_NE(start, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }, 5000));
        sink.Expect(QStringLiteral("Test starting."));
        sink.Expect(QStringLiteral("Test is complete."));
        Click(start);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return !sink.Shown().empty() &&
                       sink.Shown().back() == QStringLiteral("Test is complete.");
            },
            30000))
            << "the run did not finish";
        ASSERT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }, 5000));

        QTableView* list = Named<QTableView>(&dlg, QStringLiteral("Test steps"));
        ASSERT_NE(list, nullptr);
        const int row = 2;
        WhenOpen<CJudgeDlg>([](CJudgeDlg& judge) {
            Choose(Named<QComboBox>(&judge, QStringLiteral("Result")), QStringLiteral("FAIL"));
            auto* comment = Named<QPlainTextEdit>(&judge, QStringLiteral("Comment"));
            if (comment) {
                comment->setFocus();
                QTest::keyClicks(comment, QStringLiteral("EUT restarted"));
            }
            Click(OkOf(&judge));
        });
        const QRect cell = list->visualRect(list->model()->index(row, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        judgedRow = RowTexts(list->model(), row).join(QLatin1Char('|'));
        EXPECT_TRUE(judgedRow.contains(QStringLiteral("FAIL"))) << judgedRow.toStdString();
        EXPECT_TRUE(judgedRow.contains(QStringLiteral("EUT restarted")));

        // After the workbook, the issue window of the signed report.
        WhenOpen<CIssueReportDlg>([](CIssueReportDlg& issue) {
            issue.NameEdit()->setText(QStringLiteral("Dr. A. Signer"));
            Click(issue.SaveButton());
            EXPECT_TRUE(issue.NoteLabel()->text().contains(QStringLiteral("saved as")))
                << issue.NoteLabel()->text().toStdString();
            issue.reject();
        });
        sink.Expect(QStringLiteral("Do you make the test report?"), MsgAnswer::Yes);
        Click(Named<QPushButton>(&dlg, QStringLiteral("Close")));
    });
    Click(Named<QPushButton>(view, QStringLiteral("Test execution")));
    ExpectAllDriven();

    for (size_t i = 0; i < doc.Steps().size(); ++i) {
        EXPECT_EQ(doc.Steps()[i].m_nResult, i == 2 ? kResultFail : kResultPass) << "step " << i;
    }
    EXPECT_EQ(doc.Steps()[2].m_strComment, QStringLiteral("EUT restarted"));

    // The report: every step with its result, the comment of the failed one, FAIL overall.
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_TRUE(opener.opened[0].startsWith(home.Path())) << opener.opened[0].toStdString();
    // The status bar says where it went.
    EXPECT_TRUE(
        frame->statusBar()->currentMessage().endsWith(QDir::toNativeSeparators(opener.opened[0])))
        << frame->statusBar()->currentMessage().toStdString();
    std::vector<test::XlsxSheet> sheets;
    QString error;
    ASSERT_TRUE(test::ReadXlsx(opener.opened[0], sheets, error)) << error.toStdString();
    ASSERT_GE(sheets.size(), 2u);
    const test::XlsxSheet& content = sheets[1];
    EXPECT_EQ(content.At(QStringLiteral("H3")), QStringLiteral("FAIL"));
    for (int k = 0; k < 8; ++k) {
        const QString row = QString::number(11 + k);
        EXPECT_EQ(content.At(QStringLiteral("H") + row),
                  k == 2 ? QStringLiteral("FAIL") : QStringLiteral("PASS"))
            << "step " << k + 1;
        EXPECT_EQ(content.At(QStringLiteral("I") + row),
                  k == 2 ? QStringLiteral("EUT restarted") : QString())
            << "step " << k + 1;
    }
    EXPECT_EQ(content.At(QStringLiteral("A19")), QStringLiteral("<absent>"));

    // The issued report lies beside the workbook; the run's journal names it and its number.
    QJsonObject issued;
    const JournalCheck check =
        ReadJournalFile(view->LastJournalPath(), [&issued](const JournalEntry& e) {
            if (e.event == QLatin1String("report") && e.line.contains(QLatin1String("pdf"))) {
                issued = e.line;
            }
        });
    EXPECT_TRUE(check.IsWhole()) << check.Describe().toStdString();
    const QString pdf = issued.value(QLatin1String("pdf")).toString();
    EXPECT_EQ(QFileInfo(pdf).absolutePath(), QFileInfo(opener.opened[0]).absolutePath());
    const QString pdfText = test::PdfText(pdf);
    EXPECT_TRUE(pdfText.contains(issued.value(QLatin1String("report_number")).toString()));
    EXPECT_TRUE(pdfText.contains(QStringLiteral("Authorised by Dr. A. Signer")));
    EXPECT_TRUE(pdfText.contains(QStringLiteral("The EUT does not conform: 1 of 8")));
    EXPECT_TRUE(pdfText.contains(QFileInfo(view->LastJournalPath()).fileName()));

    // Save As through the file dialog, close, and open again from the recent-file list.
    const QString saved = dir.filePath(QStringLiteral("run.zms"));
    WhenOpen<QFileDialog>([&](QFileDialog& dlg) {
        auto* name = dlg.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dlg.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_TRUE(name && buttons);
        // Browsing to the folder is the file dialog's business; the name is typed.
        dlg.setDirectory(dir.path());
        name->setFocus();
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, QStringLiteral("run"));
        // The name completer's list may pop up while typing; it would take the click.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            QTest::keyClick(popup, Qt::Key_Escape);
        }
        Click(buttons->button(QDialogButtonBox::Save));
    });
    MenuCommand(QStringLiteral("&File"), frame->Action("saveAs"));
    ExpectAllDriven();
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_FALSE(doc.IsModified());
    // The file keeps the record and the steps, not the judgements and comments of a run.
    const QJsonValue record = DocumentToJson(doc).value(QStringLiteral("record"));
    ExecDataList stored = doc.Steps();
    for (CExecData& step : stored) {
        step.m_nResult = kResultNone;
        step.m_strComment.clear();
    }

    MenuCommand(QStringLiteral("&File"), frame->Action("close"));
    // The window goes at once; its document when the event loop deletes the window.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return app->Documents().Documents().size() == startDocs; }, 5000));
    QAction* recent = frame->Action("recent1");
    MenuCommand(QStringLiteral("&File"), recent);
    EXPECT_EQ(recent->text(), QStringLiteral("&1 run.zms"));
    CZebM40SettingsView* reopened = ActiveView();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->Document().PathName(), saved);
    EXPECT_EQ(DocumentToJson(reopened->Document()).value(QStringLiteral("record")), record);
    EXPECT_TRUE(reopened->Document().Steps() == stored);
    EXPECT_EQ(Named<QTableView>(reopened, QStringLiteral("Test steps"))->model()->rowCount(), 8);
    app->ExitInstance();
}

TEST_F(WholeProgram, SecondStartIsRefusedAndANamedFileIsOpened) {
    app = StartProgram({QStringLiteral("--simulate")});
    ASSERT_TRUE(app->InitInstance());
    auto second = StartProgram({QStringLiteral("--simulate")});
    sink.Expect(QStringLiteral("The application has been activated."));
    EXPECT_FALSE(second->InitInstance());
    EXPECT_EQ(second->MainFrame(), nullptr);
    second->ExitInstance();
    second.reset();
    EXPECT_NE(app->MainFrame()->ActiveChild(), nullptr);  // the first one carries on
    app->ExitInstance();
    app.reset();

    const QString path = dir.filePath(QStringLiteral("named.zms"));
    {
        CZebM40SettingsDoc doc;
        ASSERT_TRUE(doc.OnNewDocument(5, 1));
        doc.Record().m_lDisc = 7;
        doc.ApplyRecord(doc.Record());
        ASSERT_TRUE(doc.OnSaveDocument(path));
    }
    app = StartProgram({QStringLiteral("--simulate"), path});
    ASSERT_TRUE(app->InitInstance());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    ASSERT_EQ(app->Documents().Documents().size(), 1u);
    CZebM40SettingsView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Document().PathName(), path);
    EXPECT_EQ(view->Document().Record().m_lDisc, 7);
    EXPECT_TRUE(
        app->MainFrame()->ActiveChild()->windowTitle().contains(QStringLiteral("named.zms")))
        << app->MainFrame()->ActiveChild()->windowTitle().toStdString();
    app->ExitInstance();
}

// What a killed program leaves of a run: the run dialog's journal before its close line. The
// dialog is run on the document at path without an instrument, the operator judges two steps,
// and the journal is copied aside before the dialog closes it.
QString InterruptedRun(const QString& path, const QString& runs) {
    CZebM40SettingsDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(path, 5, 1));
    doc.SetPathName(path);
    CZebM40Cntl cntl{SerialAccess::System()};
    CTestProperty property;
    CExecDlg dlg(doc, cntl, property, RunSessionSettings::Load());
    dlg.SetJournalFolder(runs);
    EXPECT_TRUE(dlg.Begin());
    dlg.Sequencer().ApplyJudgement(0, kResultFail, QStringLiteral("arc at L1"));
    dlg.Sequencer().ApplyJudgement(1, kResultPass, QStringLiteral("ok"));
    const QString journal = dlg.JournalPath();
    const QString crashed = runs + QStringLiteral("/crashed.zebrun");
    EXPECT_TRUE(QFile::copy(journal, crashed));
    dlg.End();
    QFile::remove(journal);  // closed: not what a killed program leaves
    return crashed;
}

class RestoreAtStart : public WholeProgram {
protected:
    void SetUp() override {
        runs = DefaultJournalFolder();
        QDir(runs).removeRecursively();
        path = dir.filePath(QStringLiteral("interrupted.zms"));
        CZebM40SettingsDoc doc;
        ASSERT_TRUE(doc.OnNewDocument(5, 1));
        doc.Record().m_ulPola = 3;  // both polarities: two steps
        doc.ApplyRecord(doc.Record());
        ASSERT_GE(doc.Steps().size(), 2u);
        ASSERT_TRUE(doc.OnSaveDocument(path));
    }
    void TearDown() override {
        WholeProgram::TearDown();
        QDir(runs).removeRecursively();
    }
    CZebM40SettingsDoc* Opened() {
        app = StartProgram({QStringLiteral("--simulate"), path});
        EXPECT_TRUE(app->InitInstance());
        CZebM40SettingsView* view = ActiveView();
        return view ? &view->Document() : nullptr;
    }
    QString runs;
    QString path;
};

TEST_F(RestoreAtStart, YesBringsTheResultsAndCommentsBack) {
    const QString crashed = InterruptedRun(path, runs);
    JournalState state;
    QString error;
    ASSERT_TRUE(ReadJournalState(crashed, state, error)) << error.toStdString();
    const QString question = RestoreQuestion(state);
    EXPECT_TRUE(question.startsWith(QStringLiteral("The test run of interrupted.zms on ")));
    sink.Expect(question, MsgAnswer::Yes);

    CZebM40SettingsDoc* doc = Opened();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Steps()[0].m_nResult, kResultFail);
    EXPECT_EQ(doc->Steps()[0].m_strComment, QStringLiteral("arc at L1"));
    EXPECT_EQ(doc->Steps()[1].m_nResult, kResultPass);
    EXPECT_EQ(doc->Steps()[1].m_strComment, QStringLiteral("ok"));
    EXPECT_EQ(doc->CurrentStep(), 0);
    EXPECT_TRUE(doc->IsModified());
    app->ExitInstance();
}

// No closes the journal as abandoned and keeps it; a damaged journal is never offered but named
// when the document opens, and the program opens the document untouched.
TEST_F(RestoreAtStart, NoAbandonsAndADamagedJournalIsNeverApplied) {
    const QString crashed = InterruptedRun(path, runs);
    QFile file(crashed);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const QString damaged = runs + QStringLiteral("/damaged.zebrun");
    bytes[bytes.indexOf("arc at L1")] = 'A';
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    JournalState read;
    QString why;
    ASSERT_FALSE(ReadJournalState(damaged, read, why));
    const BrokenJournal broken{damaged, why.mid(damaged.size() + 2)};
    sink.Expect(BrokenJournalNotice(broken));
    sink.ExpectAny(MsgAnswer::No);  // one question only: the damaged journal is not offered
    CZebM40SettingsDoc* doc = Opened();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Steps()[0].m_nResult, kResultNone);
    EXPECT_FALSE(doc->IsModified());
    app->ExitInstance();
    app.reset();

    JournalState state;
    QString error;
    ASSERT_TRUE(ReadJournalState(crashed, state, error)) << error.toStdString();
    EXPECT_TRUE(state.closed);
    EXPECT_EQ(state.outcome, QStringLiteral("abandoned"));
    EXPECT_TRUE(QFile::exists(damaged));
    sink.Expect(BrokenJournalNotice(broken));
    doc = Opened();  // nothing left to ask about
    ASSERT_NE(doc, nullptr);
    app->ExitInstance();
}

// Killed during step 5 of 8, restored with Yes: Test execution goes on at step 5, START sends
// step 5's block, and the new journal names the old one, which is closed as resumed.
TEST_F(RestoreAtStart, TestExecutionAfterARestoreGoesOnWithTheFirstStepNotEnded) {
    CZebM40SettingsDoc saved;
    ASSERT_TRUE(saved.OnOpenDocument(path, 5, 1));
    const CExecData first = saved.Steps()[0];
    saved.Steps().clear();
    for (int i = 0; i < 8; ++i) {
        CExecData step = first;
        step.m_lVolt = 500 + 100 * i;
        step.m_lDisc = 2;
        saved.Steps().push_back(step);
    }
    ASSERT_TRUE(saved.OnSaveDocument(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    saved.SetPathName(path);
    const QString old = runs + QStringLiteral("/20240501-093000-interrupted.zebrun");
    {
        CFileRunJournal journal;
        QString error;
        ASSERT_TRUE(journal.Create(old, error));
        journal.Open(OpenInfoForDocument(saved, file.readAll()));
        for (int step = 1; step <= 4; ++step) {
            journal.StepStart(step, {});
            journal.StepEnd(step, kResultPass, 2);
            journal.Judgement(step, kResultPass, QString(), JudgedBy::Sequencer);
        }
        journal.StepStart(5, {});
    }
    JournalState state;
    QString error;
    ASSERT_TRUE(ReadJournalState(old, state, error)) << error.toStdString();
    sink.Expect(RestoreQuestion(state), MsgAnswer::Yes);
    CZebM40SettingsDoc* doc = Opened();
    ASSERT_NE(doc, nullptr);
    CZebM40SettingsView* view = ActiveView();
    ASSERT_NE(view, nullptr);

    QStringList expectedBlock;
    ASSERT_TRUE(StepParameterCommands(doc->Steps()[4], expectedBlock));
    QString journalPath;
    WhenOpen<CTestInfoDlg>([](CTestInfoDlg& dlg) { Click(OkOf(&dlg)); });
    WhenOpen<CExecDlg>([&](CExecDlg& dlg) {
        journalPath = dlg.JournalPath();
        EXPECT_EQ(TextOf(Named<QLabel>(&dlg, QStringLiteral("Step No."))), QStringLiteral("5"));
        QTableView* list = Named<QTableView>(&dlg, QStringLiteral("Test steps"));
        EXPECT_EQ(list ? list->currentIndex().row() : -1, 4);
        QPushButton* start = Named<QPushButton>(&dlg, QStringLiteral("START"));
        ASSERT_NE(start, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }, 5000));
        sink.Expect(QStringLiteral("Test starting."));
        sink.Expect(QStringLiteral("Test is complete."));
        Click(start);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !sink.Shown().empty() && sink.Shown().back() == "Test is complete."; },
            30000));
        sink.Expect(QStringLiteral("Do you make the test report?"), MsgAnswer::No);
        Click(Named<QPushButton>(&dlg, QStringLiteral("Close")));
    });
    Click(Named<QPushButton>(view, QStringLiteral("Test execution")));
    ExpectAllDriven();

    ASSERT_TRUE(ReadJournalState(old, state, error)) << error.toStdString();
    EXPECT_EQ(state.outcome, QStringLiteral("resumed"));
    JournalState resumed;
    ASSERT_TRUE(ReadJournalState(journalPath, resumed, error)) << error.toStdString();
    EXPECT_EQ(resumed.open.value(QLatin1String("resumes")).toString(), old);
    EXPECT_EQ(resumed.open.value(QLatin1String("current_step")).toInt(), 5);
    EXPECT_EQ(resumed.outcome, QStringLiteral("complete"));
    bool firstStart = true;
    ReadJournalFile(journalPath, [&](const JournalEntry& e) {
        if (e.event == QLatin1String("step-start") && firstStart) {
            firstStart = false;
            EXPECT_EQ(e.line.value(QLatin1String("step")).toInt(), 5);
            EXPECT_EQ(e.line.value(QLatin1String("block")).toVariant().toStringList(),
                      expectedBlock);
        }
    });
    EXPECT_FALSE(firstStart) << "no step was started";
    EXPECT_TRUE(doc->Resume().journal.isEmpty()) << "the next test begins at step 1";
    app->ExitInstance();
}

}  // namespace
}  // namespace zeb
