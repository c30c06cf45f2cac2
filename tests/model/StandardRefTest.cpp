// The document's test standard: its JSON form, the standard file beside a settings file, and
// how save, save as a new file and open keep the two together.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "DocumentJson.h"
#include "ScriptedMessageSink.h"
#include "SettingsDoc.h"
#include "StandardRef.h"

namespace zeb {
namespace {

using test::ScriptedMessageSink;

const StandardRef kLevel2{QStringLiteral("iec61000-4-5-2005"), QStringLiteral("2"), 0};
const StandardRef kLevelX{QStringLiteral("lab-own"), QStringLiteral("X"), 3000};

QJsonObject Json(const char* text) {
    return QJsonDocument::fromJson(text).object();
}

TEST(StandardRefJson, RoundTripsAndRefusesWhatItCannotMean) {
    for (const StandardRef& ref : {kLevel2, kLevelX}) {
        StandardRef back;
        QString error;
        ASSERT_TRUE(StandardRefFromJson(StandardRefToJson(ref), back, error))
            << error.toStdString();
        EXPECT_EQ(back, ref);
    }
    EXPECT_FALSE(StandardRefToJson(kLevel2).contains(QStringLiteral("voltage")));

    const char* bad[] = {
        R"({"profile": "", "level": "2"})",
        R"({"profile": "p", "level": 2})",
        R"({"profile": "p", "level": "X"})",
        R"({"profile": "p", "level": "X", "voltage": 20000})",
        R"({"profile": "p", "level": "X", "voltage": 1.5})",
        R"({"profile": "p", "level": "2", "voltage": 1000})",
        R"({"profile": "p", "level": "2", "colour": "red"})",
    };
    for (const char* text : bad) {
        StandardRef ref = kLevel2;
        QString error;
        EXPECT_FALSE(StandardRefFromJson(Json(text), ref, error)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
        EXPECT_EQ(ref, kLevel2) << "changed by a refused text: " << text;
    }
}

TEST(StandardRefJson, TheDocumentFormCarriesItUnderStandard) {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 1);
    EXPECT_FALSE(DocumentToJson(doc).contains(QStringLiteral("standard")));
    doc.SetStandard(kLevelX);
    const QJsonObject json = DocumentToJson(doc);
    EXPECT_EQ(json.value(QStringLiteral("standard")).toObject(), StandardRefToJson(kLevelX));

    CZebM40SettingsDoc back;
    QString error;
    ASSERT_TRUE(DocumentFromJson(json, kNoMachineType, 0, back, error)) << error.toStdString();
    EXPECT_EQ(back.Standard(), kLevelX);

    QJsonObject broken = json;
    broken.insert(QStringLiteral("standard"), Json(R"({"profile": "p", "level": "X"})"));
    EXPECT_FALSE(DocumentFromJson(broken, kNoMachineType, 0, back, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Field \"standard\""))) << error.toStdString();
    EXPECT_EQ(back.Standard(), kLevelX);
}

class StandardSidecar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_doc.OnNewDocument(5, 1);
        m_path = m_dir.filePath(QStringLiteral("plan.zms"));
    }
    QString Sidecar() const { return m_path + QStringLiteral(".std"); }
    void WriteSidecar(const QByteArray& bytes) {
        QFile f(Sidecar());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir m_dir;
    CZebM40SettingsDoc m_doc;
    QString m_path;
};

TEST_F(StandardSidecar, SaveWritesItOpenReadsItAndASaveWithoutOneRemovesIt) {
    m_doc.SetStandard(kLevel2);
    ASSERT_TRUE(m_doc.OnSaveDocument(m_path));
    ASSERT_TRUE(QFile::exists(Sidecar()));

    CZebM40SettingsDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(m_path, 5, 1));
    EXPECT_EQ(opened.Standard(), kLevel2);
    CZebM40SettingsDoc loaded;
    QString error;
    ASSERT_TRUE(LoadDocumentFile(m_path, std::nullopt, 0, loaded, error));
    EXPECT_EQ(loaded.Standard(), kLevel2);

    // The standard was taken away: the file beside must not give it back at the next open.
    opened.SetStandard(StandardRef());
    ASSERT_TRUE(opened.OnSaveDocument(m_path));
    EXPECT_FALSE(QFile::exists(Sidecar()));
    CZebM40SettingsDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(m_path, 5, 1));
    EXPECT_FALSE(reopened.Standard().IsSet());
}

TEST_F(StandardSidecar, ADamagedOneIsNamedAndTheDocumentOpensWithoutAStandard) {
    m_doc.SetStandard(kLevel2);
    ASSERT_TRUE(m_doc.OnSaveDocument(m_path));
    for (const QByteArray& damage :
         {QByteArray("{\"profile\": \"p\""), QByteArray("[1, 2]"),
          QByteArray(R"({"profile": "p", "level": "X", "voltage": -5})")}) {
        WriteSidecar(damage);
        ScriptedMessageSink sink;
        sink.ExpectAny();
        CZebM40SettingsDoc opened;
        ASSERT_TRUE(opened.OnOpenDocument(m_path, 5, 1));
        EXPECT_FALSE(opened.Standard().IsSet());
        ASSERT_EQ(sink.Shown().size(), 1u);
        EXPECT_TRUE(sink.Shown().front().contains(Sidecar())) << sink.Shown().front().toStdString();
        EXPECT_TRUE(sink.Shown().front().contains(QStringLiteral("without a test standard")));
        EXPECT_EQ(opened.Steps().size(), m_doc.Steps().size());
    }
}

TEST_F(StandardSidecar, ANewFileNeverReplacesOneAndNeverInheritsAStrangerOne) {
    WriteSidecar(QJsonDocument(StandardRefToJson(kLevelX)).toJson());
    QString error;
    // With or without a standard of its own: the file beside belongs to someone else.
    for (const StandardRef& ref : {kLevel2, StandardRef()}) {
        m_doc.SetStandard(ref);
        EXPECT_FALSE(m_doc.SaveNewFile(m_path, &error));
        EXPECT_TRUE(error.contains(Sidecar())) << error.toStdString();
        EXPECT_FALSE(QFile::exists(m_path));
    }
    QFile::remove(Sidecar());
    m_doc.SetStandard(kLevel2);
    ASSERT_TRUE(m_doc.SaveNewFile(m_path, &error)) << error.toStdString();
    StandardRef back;
    ASSERT_TRUE(ReadStandardSidecar(m_path, back, error));
    EXPECT_EQ(back, kLevel2);
}

TEST_F(StandardSidecar, WhatIsNotAPlainFileIsLeftAlone) {
    ASSERT_TRUE(QDir().mkdir(Sidecar()));
    QString error;
    StandardRef ref;
    EXPECT_FALSE(ReadStandardSidecar(m_path, ref, error));
    EXPECT_TRUE(error.contains(Sidecar()));
    // Saving without a standard does not delete a folder of that name.
    ScriptedMessageSink sink;
    sink.ExpectAny();
    EXPECT_FALSE(m_doc.OnSaveDocument(m_path));
    EXPECT_TRUE(QFileInfo(Sidecar()).isDir());
    EXPECT_TRUE(QFile::exists(m_path)) << "the settings file itself is saved";
}

}  // namespace
}  // namespace zeb
