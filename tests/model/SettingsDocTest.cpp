// The settings document: new document, store and load, refusal codes and their messages, the
// golden byte image of a new document, saving.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Archive.h"
#include "ArchiveElements.h"
#include "ScriptedMessageSink.h"
#include "SettingsDoc.h"

namespace zeb {
namespace {

using test::Element;
using test::ScriptedMessageSink;

const QString kNotData = QStringLiteral("This file is not data for ZEB-M40 / ZEB-M50.");
const QString kVersionError = QStringLiteral("File version error.");
const QString kOtherMachine =
    QStringLiteral("This data is for a type different from the connected machine.");

QByteArray NewDocumentBytes(uint32_t machine) {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(machine, 0);
    return doc.Store();
}

// A document for machine 5 with five steps that differ from each other.
CZebM40SettingsDoc FiveStepDocument() {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 1);
    CSettingData rec = doc.Record();
    rec.m_valVolt.m_nValueType = kValueSweep;
    rec.m_valVolt.m_lStart = 1000;
    rec.m_valVolt.m_lEnd = 5000;
    rec.m_valVolt.m_lStep = 1000;
    doc.ApplyRecord(rec);
    return doc;
}

class DocFile : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes, const QString& name = QStringLiteral("f.zms")) {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // Opens bytes on the given machine and expects the refusal message.
    void ExpectRefused(const QByteArray& bytes, const QString& message, uint32_t machine = 5) {
        ScriptedMessageSink sink;
        sink.Expect(message);
        CZebM40SettingsDoc doc;
        doc.OnNewDocument(5, 0);
        const QByteArray before = doc.Store();
        EXPECT_FALSE(doc.OnOpenDocument(Write(bytes), machine, 0));
        EXPECT_EQ(doc.LoadError(), 1);
        EXPECT_EQ(doc.Store(), before);  // a refused file changes nothing
    }
    QTemporaryDir m_dir;
};

TEST(SettingsDoc, NewDocumentIsExpandedOnceAndUnmodified) {
    CZebM40SettingsDoc doc;
    ASSERT_TRUE(doc.OnNewDocument(13, 1));
    EXPECT_EQ(doc.Record().m_ulMachineType, 13u);
    EXPECT_EQ(doc.Record().m_nHWVersion, 1);
    ASSERT_EQ(doc.Steps().size(), 1u);
    EXPECT_EQ(doc.Steps()[0].m_ulMachineType, 13u);
    EXPECT_EQ(doc.CurrentStep(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.PathName().isEmpty());

    CSettingData edited = doc.Record();
    edited.m_ulPola = 3;
    doc.ApplyRecord(edited);
    EXPECT_EQ(doc.Steps().size(), 2u);
    EXPECT_TRUE(doc.IsModified());
}

// The golden image was written once by this program for a new document on machine type 5,
// hardware version 0, and checked by hand with a hex dump (xxd): it starts with FF FE FF 1A
// and "Brakmoor ZEB-M40 Data File" in UTF-16LE, then "File Ver.2.0.0.0"; the section's version
// line is "Setting Data Ver.1.0.5.0", followed by "[m_ulMachineType]" and 05 00 00 00; the
// slot markers read ARRAY[0 / 9] .. ARRAY[9 / 9]; the voltage block holds F4 01 00 00 (500)
// with entries 500, 1000, 2000, 4000, 4000; "ExecDataCount" is followed by 01 00 00 00, the one
// entry marker reads ARRAY[0 / 0], the step holds port 0, line 0, 500 V, polarity 0,
// 5 discharges and 3C 00 00 00 (60 s); the file ends with "### END EXEC DATA ###".
TEST(SettingsDoc, NewDocumentMatchesGoldenImage) {
    QFile golden(QStringLiteral(ZEB_MODEL_TEST_DATA "/new_type5.zms"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(NewDocumentBytes(5), golden.readAll());
}

TEST(SettingsDoc, FileLayoutAndEntryMarkers) {
    const std::vector<Element> e = test::SplitElements(FiveStepDocument().Store());
    ASSERT_EQ(e.size(), 2u + 1152u + 3u + 5u * 28u + 1u);
    EXPECT_EQ(e[0].text, QStringLiteral("Brakmoor ZEB-M40 Data File"));
    EXPECT_EQ(e[1].text, QStringLiteral("File Ver.2.0.0.0"));
    EXPECT_EQ(e[1154].text, QStringLiteral("### START EXEC DATA ###"));
    EXPECT_EQ(e[1155].text, QStringLiteral("ExecDataCount"));
    EXPECT_EQ(e[1156].value, 5);
    EXPECT_EQ(e[1157 + 2 * 28].text, QStringLiteral("@ EXEC DATA STRUCTURE ARRAY[2 / 4] @"));
    EXPECT_EQ(e.back().text, QStringLiteral("### END EXEC DATA ###"));
}

TEST(SettingsDoc, StoreAndLoadReproduceRecordAndStepsButNotJudgements) {
    CZebM40SettingsDoc doc = FiveStepDocument();
    doc.Steps()[1].m_nResult = kResultFail;
    doc.Steps()[1].m_strComment = QStringLiteral("smoke");
    doc.SetCurrentStep(3);
    const QByteArray bytes = doc.Store();

    CZebM40SettingsDoc back;
    QString error;
    ASSERT_EQ(back.Load(bytes, 5u, 0, &error), CZebM40SettingsDoc::kLoadOk) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(back.Store(), bytes);
    ASSERT_EQ(back.Steps().size(), 5u);
    EXPECT_EQ(back.Steps()[1].m_nResult, kResultNone);
    EXPECT_TRUE(back.Steps()[1].m_strComment.isEmpty());
    EXPECT_EQ(back.Steps()[4].m_lVolt, 5000);
    EXPECT_EQ(back.Steps()[4].m_ulMachineType, 5u);
    EXPECT_EQ(back.CurrentStep(), 0);
}

TEST_F(DocFile, OpenAndSaveThroughFiles) {
    CZebM40SettingsDoc doc = FiveStepDocument();
    const QString path = m_dir.filePath(QStringLiteral("five.zms"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.PathName(), path);

    CZebM40SettingsDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path, 5, 0));
    EXPECT_EQ(back.LoadError(), 0);
    EXPECT_EQ(back.PathName(), path);
    EXPECT_EQ(back.Store(), doc.Store());
}

TEST_F(DocFile, SaveFailureIsReportedAndLeavesNoFile) {
    CZebM40SettingsDoc doc = FiveStepDocument();
    ScriptedMessageSink sink;
    sink.ExpectAny();
    const QString path = m_dir.filePath(QStringLiteral("missing/folder/x.zms"));
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(sink.Shown().at(0).contains(QStringLiteral("cannot be saved")));

    // A folder where the file should be: the folder stays as it was.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("taken.zms")));
    QString error;
    EXPECT_FALSE(doc.SaveFile(m_dir.filePath(QStringLiteral("taken.zms")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(m_dir.filePath(QStringLiteral("taken.zms"))).isDir());
}

TEST_F(DocFile, RefusesWrongHeaderWithCodeOne) {
    QByteArray bytes = NewDocumentBytes(5);
    bytes[4 + 2 * 22] = 'f';  // "Data File" -> "Data file": the header is case-sensitive
    ExpectRefused(bytes, kNotData);
    ExpectRefused(QByteArray("plain text, not a settings file\n"), kNotData);
    ExpectRefused(QByteArray(), kNotData);
}

TEST_F(DocFile, FileVersionLineNeedsOnlyTheFileVerText) {
    std::vector<Element> e = test::SplitElements(NewDocumentBytes(5));
    for (const char* line :
         {"File Ver.1.0.0.0", "File Ver.1.0.1.0", "File Ver.9.9", "xxFile Ver.yy"}) {
        e[1] = Element::Str(QLatin1String(line));
        CZebM40SettingsDoc doc;
        EXPECT_EQ(doc.Load(test::JoinElements(e), 5u, 0), CZebM40SettingsDoc::kLoadOk) << line;
    }
    e[1] = Element::Str(QStringLiteral("File Version 2"));
    ExpectRefused(test::JoinElements(e), kVersionError);
}

TEST_F(DocFile, RefusesUnknownSectionVersion) {
    std::vector<Element> e = test::SplitElements(NewDocumentBytes(5));
    e[3] = Element::Str(QStringLiteral("Setting Data Ver.1.0.5.1"));
    ExpectRefused(test::JoinElements(e), kVersionError);
}

TEST_F(DocFile, RefusesOtherMachineAfterReadingEverything) {
    ExpectRefused(NewDocumentBytes(13), kOtherMachine);
    CZebM40SettingsDoc doc;
    EXPECT_EQ(doc.Load(NewDocumentBytes(13), std::nullopt, 0), CZebM40SettingsDoc::kLoadOk);
    EXPECT_EQ(doc.Record().m_ulMachineType, 13u);
}

TEST_F(DocFile, OldSectionVersionIsTypeFive) {
    const QByteArray old = test::Downgrade(NewDocumentBytes(5), 1010);
    CZebM40SettingsDoc doc;
    EXPECT_EQ(doc.Load(old, 5u, 1), CZebM40SettingsDoc::kLoadOk);
    EXPECT_EQ(doc.Record().m_nHWVersion, 1);
    ExpectRefused(old, kOtherMachine, 13);
}

TEST_F(DocFile, StepCounts) {
    std::vector<Element> e = test::SplitElements(NewDocumentBytes(5));
    const size_t count = 1156;
    ASSERT_EQ(e[count - 1].text, QStringLiteral("ExecDataCount"));
    // Zero and negative counts open with no steps (the entry is then read as the end marker).
    for (int32_t n : {0, -1, INT32_MIN}) {
        std::vector<Element> f(e.begin(), e.begin() + count);
        f.push_back(Element::Int(n));
        f.push_back(Element::Str(QStringLiteral("### END EXEC DATA ###")));
        CZebM40SettingsDoc doc;
        EXPECT_EQ(doc.Load(test::JoinElements(f), 5u, 0), CZebM40SettingsDoc::kLoadOk) << n;
        EXPECT_TRUE(doc.Steps().empty());
    }
    // More steps than the bytes could hold: a read error, nothing allocated for them.
    e[count] = Element::Int(INT32_MAX);
    CZebM40SettingsDoc doc;
    QString error;
    EXPECT_EQ(doc.Load(test::JoinElements(e), 5u, 0, &error), CZebM40SettingsDoc::kLoadReadError);
    EXPECT_TRUE(error.contains(QStringLiteral("too short"))) << error.toStdString();

    // The bound is exact: twenty entries of the smallest possible form (8-bit strings, empty
    // marker and key lines, version 1.0.0.0) open; a count of one more is refused up front.
    QByteArray head = test::JoinElements(std::vector<Element>(e.begin(), e.begin() + count));
    QByteArray entries;
    for (int i = 0; i < 20; ++i) {
        entries += QByteArray(1, '\0') + char(21) + QByteArray("Exec Data Ver.1.0.0.0");
        for (int k = 0; k < 12; ++k) {
            entries += QByteArray(1, '\0') + QByteArray::fromHex("07000000");
        }
    }
    entries += QByteArray(1, '\0');  // end marker
    for (int32_t n : {20, 21}) {
        ArchiveWriter w;
        w.WriteInt(n);
        CZebM40SettingsDoc small;
        const int code = small.Load(head + w.Bytes() + entries, 5u, 0, &error);
        if (n == 20) {
            ASSERT_EQ(code, CZebM40SettingsDoc::kLoadOk) << error.toStdString();
            EXPECT_EQ(small.Steps().size(), 20u);
            EXPECT_EQ(small.Steps()[19].m_lRept, 7);
        } else {
            EXPECT_EQ(code, CZebM40SettingsDoc::kLoadReadError);
            EXPECT_TRUE(error.contains(QStringLiteral("too short"))) << error.toStdString();
        }
    }
}

TEST_F(DocFile, UnknownStepVersionStopsTheLoad) {
    const QByteArray good = FiveStepDocument().Store();
    std::vector<Element> e = test::SplitElements(good);
    const size_t thirdVersion = 1157 + 2 * 28 + 1;
    ASSERT_EQ(e[thirdVersion].text, QStringLiteral("Exec Data Ver.1.0.1.0"));
    e[thirdVersion] = Element::Str(QStringLiteral("Exec Data Ver.2.0.0.0"));
    ExpectRefused(test::JoinElements(e), kVersionError);
    // Version 1.0.0.0 entries are fine.
    e = test::SplitElements(good);
    e[thirdVersion] = Element::Str(QStringLiteral("Exec Data Ver.1.0.0.0"));
    e.erase(e.begin() + static_cast<long>(thirdVersion) + 13,
            e.begin() + static_cast<long>(thirdVersion) + 15);
    CZebM40SettingsDoc doc;
    ASSERT_EQ(doc.Load(test::JoinElements(e), 5u, 0), CZebM40SettingsDoc::kLoadOk);
    EXPECT_EQ(doc.Steps().size(), 5u);
    EXPECT_EQ(doc.Steps()[2].m_lVolt, 3000);
}

TEST_F(DocFile, UnreadableFileIsReported) {
    ScriptedMessageSink sink;
    sink.ExpectAny();
    CZebM40SettingsDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(m_dir.filePath(QStringLiteral("none.zms")), 5, 0));
    EXPECT_EQ(doc.LoadError(), 1);
    EXPECT_TRUE(sink.Shown().at(0).contains(QStringLiteral("none.zms")));
}

TEST(SettingsDoc, LoadMessages) {
    EXPECT_TRUE(CZebM40SettingsDoc::LoadMessage(0).isEmpty());
    EXPECT_EQ(CZebM40SettingsDoc::LoadMessage(1), kNotData);
    EXPECT_EQ(CZebM40SettingsDoc::LoadMessage(2), kVersionError);
    EXPECT_EQ(CZebM40SettingsDoc::LoadMessage(3), kOtherMachine);
    EXPECT_TRUE(CZebM40SettingsDoc::LoadMessage(4, QStringLiteral("why")).endsWith("why"));
}

}  // namespace
}  // namespace zeb
