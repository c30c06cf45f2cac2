// The JSON form of a document: round trip, defaults for absent fields, and refusals that name
// the field.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "DocumentJson.h"

namespace zeb {
namespace {

bool FromJson(const char* text, CZebM40SettingsDoc& doc, QString& error) {
    return DocumentFromJsonText(QByteArray(text), kNoMachineType, 0, doc, error);
}

TEST(DocumentJson, RoundTripKeepsStoredFieldsResultsAndComments) {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(0x400F, 1);
    CSettingData rec = doc.Record();
    rec.m_ulPola = 3;
    rec.m_outOutput.m_aopOutputPort[7].m_aulInjRetBit[9] = 0xFFFFFFFFu;
    rec.m_valVolt.m_alValue[9] = INT32_MIN;
    doc.ApplyRecord(rec);
    doc.Steps()[1].m_nResult = kResultFail;
    doc.Steps()[1].m_strComment = QStringLiteral("arc \"over\" – ü");

    const QJsonObject json = DocumentToJson(doc);
    const QJsonObject port7 =
        json["record"]["m_outOutput"]["m_aopOutputPort"].toArray().at(7).toObject();
    EXPECT_EQ(port7["m_aulInjRetBit"].toArray().at(9).toDouble(), 4294967295.0);
    EXPECT_EQ(json["steps"].toArray().at(0).toObject().size(), 16);

    CZebM40SettingsDoc back;
    QString error;
    ASSERT_TRUE(DocumentFromJsonText(DocumentToJsonText(doc), 5, 0, back, error))
        << error.toStdString();
    EXPECT_EQ(back.Store(), doc.Store());
    ASSERT_EQ(back.Steps().size(), doc.Steps().size());
    EXPECT_EQ(back.Steps()[1], doc.Steps()[1]);
}

TEST(DocumentJson, AbsentFieldsTakeDefaultsForTheMachineAndStepsAreExpanded) {
    CZebM40SettingsDoc doc;
    QString error;
    ASSERT_TRUE(FromJson(R"({"record": {"m_ulMachineType": 16388, "m_ulPola": 2}})", doc, error));
    EXPECT_EQ(doc.Record().m_ulMachineType, 0x4004u);
    EXPECT_EQ(doc.Record().m_outOutput.m_aopOutputPort[0].m_nOutputDetail, 3);
    ASSERT_EQ(doc.Steps().size(), 1u);
    EXPECT_EQ(doc.Steps()[0].m_nPola, 1);

    // Steps given: defaults for absent step fields, the record's machine type for every step.
    ASSERT_TRUE(FromJson(R"({"record": {"m_ulMachineType": 5},
                             "steps": [{"m_lVolt": 2000, "m_ulMachineType": 9}, {}]})",
                         doc, error));
    ASSERT_EQ(doc.Steps().size(), 2u);
    EXPECT_EQ(doc.Steps()[0].m_lVolt, 2000);
    EXPECT_EQ(doc.Steps()[0].m_ulMachineType, 5u);
    EXPECT_EQ(doc.Steps()[1].m_lRept, 10);
    ASSERT_TRUE(FromJson(R"({"steps": []})", doc, error));
    EXPECT_TRUE(doc.Steps().empty());
}

TEST(DocumentJson, RefusalsNameTheField) {
    const struct {
        const char* json;
        const char* mentions;
    } cases[] = {
        {R"({"record": {"m_lDisc": "5"}})", "record.m_lDisc"},
        {R"({"record": {"m_lDisc": 5.5}})", "record.m_lDisc"},
        {R"({"record": {"m_lDisc": 2147483648}})", "record.m_lDisc"},
        {R"({"record": {"m_ulPola": -1}})", "record.m_ulPola"},
        {R"({"record": {"m_ulMachineType": 4294967296}})", "record.m_ulMachineType"},
        {R"({"record": {"m_nColour": 1}})", "record.m_nColour"},
        {R"({"record": {"m_valVolt": {"m_abUse": [1, 0]}}})", "record.m_valVolt.m_abUse"},
        {R"({"record": {"m_valVolt": {"m_alValue": [1,2,3,4,5,6,7,8,9,"x"]}}})",
         "record.m_valVolt.m_alValue[9]"},
        {R"({"record": {"m_outOutput": {"m_aopOutputPort": [{}]}}})",
         "record.m_outOutput.m_aopOutputPort"},
        {R"({"record": {"m_outOutput": {"m_aopOutputPort": [{},{},{},{"m_valAngle": {"x": 1}},{},{},{},{},{},{}]}}})",
         "record.m_outOutput.m_aopOutputPort[3].m_valAngle.x"},
        {R"({"record": [], "steps": []})", "record"},
        {R"({"steps": [{"m_strComment": 5}]})", "steps[0].m_strComment"},
        {R"({"steps": [1]})", "steps[0]"},
        {R"({"steps": {}})", "steps"},
        {R"({"step": []})", "step"},
        {R"({"record": )", "Malformed JSON"},
        {R"([1, 2])", "object"},
    };
    for (const auto& c : cases) {
        CZebM40SettingsDoc doc;
        doc.OnNewDocument(5, 0);
        const QByteArray before = doc.Store();
        QString error;
        EXPECT_FALSE(FromJson(c.json, doc, error)) << c.json;
        EXPECT_TRUE(error.contains(QLatin1String(c.mentions)))
            << c.json << " -> " << error.toStdString();
        EXPECT_EQ(doc.Store(), before);
    }
}

TEST(DocumentJson, RefusesExpansionBeyondTheStepLimit) {
    CZebM40SettingsDoc doc;
    QString error;
    EXPECT_FALSE(FromJson(R"({"record": {"m_valVolt": {"m_nValueType": 1, "m_lStart": 0,
                             "m_lEnd": 2000000000, "m_lStep": 1}}})",
                          doc, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("The number of test step exceeds limit.")));
}

TEST(DocumentJson, LoadDocumentFileTellsZmsFromJson) {
    QTemporaryDir dir;
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(13, 0);
    const QString zms = dir.filePath(QStringLiteral("a.zms"));
    const QString json = dir.filePath(QStringLiteral("a.txt"));  // found by its content
    ASSERT_TRUE(doc.SaveFile(zms));
    QFile f(json);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("  \n" + DocumentToJsonText(doc));
    f.close();

    for (const QString& path : {zms, json}) {
        CZebM40SettingsDoc back;
        QString error;
        ASSERT_TRUE(LoadDocumentFile(path, std::nullopt, 0, back, error)) << error.toStdString();
        EXPECT_EQ(back.Store(), doc.Store());
        EXPECT_TRUE(LoadDocumentFile(path, 13u, 0, back, error));
        EXPECT_FALSE(LoadDocumentFile(path, 5u, 0, back, error));
        EXPECT_EQ(error,
                  QStringLiteral("This data is for a type different from the connected machine."));
    }
    CZebM40SettingsDoc back;
    QString error;
    EXPECT_FALSE(LoadDocumentFile(dir.filePath(QStringLiteral("none.json")), 5u, 0, back, error));
    EXPECT_TRUE(error.contains(QStringLiteral("none.json")));
}

}  // namespace
}  // namespace zeb
