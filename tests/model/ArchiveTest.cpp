// The archive primitives and their byte images; the step format.

#include <gtest/gtest.h>

#include "Archive.h"
#include "ExecData.h"

namespace zeb {
namespace {

QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}

TEST(Archive, IntegerImages) {
    ArchiveWriter w;
    w.WriteInt(500);
    w.WriteInt(-1);
    w.WriteUInt(0x400Bu);
    EXPECT_EQ(w.Bytes(), Hex("f4010000"
                             "ffffffff"
                             "0b400000"));
    ArchiveReader r(w.Bytes());
    int32_t a = 0;
    uint32_t b = 0;
    int32_t c = 0;
    EXPECT_TRUE(r.ReadInt(a));
    EXPECT_TRUE(r.ReadUInt(b));
    EXPECT_TRUE(r.ReadInt(c));
    EXPECT_EQ(a, 500);
    EXPECT_EQ(b, 0xFFFFFFFFu);
    EXPECT_EQ(c, 0x400B);
    EXPECT_EQ(r.Remaining(), 0);
}

TEST(Archive, KeyLineImage) {
    ArchiveWriter w;
    w.WriteString(QStringLiteral("[m_lVolt]"));
    w.WriteInt(500);
    EXPECT_EQ(w.Bytes(), Hex("fffeff09"
                             "5b006d005f006c0056006f006c0074005d00"
                             "f4010000"));
}

TEST(Archive, StringLengthForms) {
    const struct {
        int length;
        QByteArray prefix;
    } cases[] = {
        {0, Hex("fffeff00")},
        {254, Hex("fffefffe")},
        {255, Hex("fffeffffff00")},
        {0xFFFD, Hex("fffefffffdff")},
        {0xFFFE, Hex("fffefffffffffeff0000")},
        {70000, Hex("fffeffffffff70110100")},
    };
    for (const auto& c : cases) {
        const QString text(c.length, QChar(u'\u00e9'));
        ArchiveWriter w;
        w.WriteString(text);
        ASSERT_EQ(w.Bytes().size(), c.prefix.size() + 2 * c.length) << c.length;
        EXPECT_EQ(w.Bytes().left(c.prefix.size()).toHex(), c.prefix.toHex()) << c.length;
        ArchiveReader r(w.Bytes());
        QString back;
        EXPECT_TRUE(r.ReadString(back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(r.Remaining(), 0);
    }
}

TEST(Archive, ReadsUntaggedEightBitStringsAsWindows1252) {
    // Short form, 16-bit form and 32-bit form, all untagged.
    const QByteArray bytes = Hex("03"
                                 "41809f") +
                             Hex("ff0200"
                                 "e98a") +
                             Hex("ffffff01000000"
                                 "8d");
    ArchiveReader r(bytes);
    QString a, b, c;
    ASSERT_TRUE(r.ReadString(a));
    ASSERT_TRUE(r.ReadString(b));
    ASSERT_TRUE(r.ReadString(c));
    EXPECT_EQ(a, QString::fromUtf16(u"A\u20ac\u0178"));
    EXPECT_EQ(b, QString::fromUtf16(u"\u00e9\u0160"));
    EXPECT_EQ(c, QString::fromUtf16(u"\u008d"));
}

TEST(Archive, TaggedThirtyTwoBitLength) {
    const QByteArray bytes =
        Hex("fffeffffffff02000000"
            "41004200");
    ArchiveReader r(bytes);
    QString s;
    ASSERT_TRUE(r.ReadString(s));
    EXPECT_EQ(s, QStringLiteral("AB"));
}

TEST(Archive, MalformedOrTruncatedStringsFailWithoutAllocating) {
    const QByteArray cases[] = {
        Hex(""),  // nothing at all
        Hex("05"
            "4142"),  // 8-bit length past the end
        Hex("fffeff03"
            "4100"),  // UTF-16 length past the end
        Hex("ffffffffffffff"
            "41"),  // 32-bit length of 4 GB
        Hex("fffeffffff"
            "ffffffff"),        // tagged 32-bit length of 4 G units
        Hex("fffefffffeff00"),  // tag twice
        Hex("ff"),              // cut inside the length
        Hex("fffe"),
    };
    for (const QByteArray& bytes : cases) {
        ArchiveReader r(bytes);
        QString s = QStringLiteral("old");
        EXPECT_FALSE(r.ReadString(s)) << bytes.toHex().constData();
        EXPECT_TRUE(s.isEmpty());
        EXPECT_TRUE(r.Failed());
        EXPECT_FALSE(r.ErrorText().isEmpty());
        int32_t v = 7;
        EXPECT_FALSE(r.ReadInt(v));  // the failure is sticky
        EXPECT_EQ(v, 0);
    }
}

TEST(Archive, TruncatedIntegerFails) {
    ArchiveReader r(Hex("010203"));
    int32_t v = 9;
    EXPECT_FALSE(r.ReadInt(v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(r.Failed());
}

CExecData SampleStep() {
    CExecData s;
    s.m_ulMachineType = 13;
    s.m_nOutputPort = 1;
    s.m_nOutputDetail = 1;
    s.m_nInjRet = 3;
    s.m_nCoup = 2;
    s.m_nWaveform = 1;
    s.m_nRingRegi = 1;
    s.m_bVaristorTestMode = 1;
    s.m_nSync = 1;
    s.m_lAngle = 270;
    s.m_lVolt = 4500;
    s.m_nPola = 0;
    s.m_lDisc = 99;
    s.m_lRept = 31;
    s.m_nResult = kResultPass;
    s.m_strComment = QStringLiteral("sparks");
    return s;
}

TEST(StepFormat, RoundTripDropsMachineResultAndComment) {
    const CExecData original = SampleStep();
    ArchiveWriter w;
    original.Write(w);
    ArchiveReader r(w.Bytes());
    CExecData back;
    back.m_nResult = kResultFail;
    back.m_strComment = QStringLiteral("old");
    ASSERT_EQ(back.Read(r), CExecData::kReadOk);
    EXPECT_EQ(r.Remaining(), 0);
    EXPECT_FALSE(r.Failed());
    CExecData expected = original;
    expected.m_ulMachineType = 0xFFFFFFFFu;
    back.m_nResult = kResultNone;  // not stored: keeps what the reader had (a new step: 0)
    back.m_strComment.clear();
    expected.m_nResult = kResultNone;
    expected.m_strComment.clear();
    EXPECT_EQ(back, expected);
}

TEST(StepFormat, WrittenImageHas27Elements) {
    ArchiveWriter w;
    SampleStep().Write(w);
    ArchiveReader r(w.Bytes());
    QString text;
    ASSERT_TRUE(r.ReadString(text));
    EXPECT_EQ(text, QStringLiteral("Exec Data Ver.1.0.1.0"));
    int elements = 1;
    const char* keys[] = {"[m_nOutputPort]",
                          "[m_nOutputDetail]",
                          "[m_nInjRet]",
                          "[m_nCoup]",
                          "[m_nWaveform]",
                          "[m_nRingRegi]",
                          "[m_bVaristorTestMode]",
                          "[m_nSync]",
                          "[m_lAngle]",
                          "[m_lVolt]",
                          "[m_nPola]",
                          "[m_lDisc]",
                          "[m_lRept]"};
    for (const char* key : keys) {
        int32_t v = 0;
        ASSERT_TRUE(r.ReadString(text));
        EXPECT_EQ(text, QLatin1String(key));
        ASSERT_TRUE(r.ReadInt(v));
        elements += 2;
    }
    EXPECT_EQ(elements, 27);
    EXPECT_EQ(r.Remaining(), 0);
}

TEST(StepFormat, Version1000HasNoVaristorPairAndKeysAreNotCompared) {
    ArchiveWriter w;
    w.WriteString(QStringLiteral("Exec Data Ver.1.0.0.0"));
    const int32_t values[] = {1, 1, 2, 1, 0, 0, /* no varistor */ 0, 0, 3000, 1, 8, 40};
    for (int32_t v : values) {
        w.WriteString(QString());  // any key text, even empty, is accepted
        w.WriteInt(v);
    }
    ArchiveReader r(w.Bytes());
    CExecData s;
    s.m_bVaristorTestMode = 1;
    ASSERT_EQ(s.Read(r), CExecData::kReadOk);
    EXPECT_EQ(r.Remaining(), 0);
    EXPECT_EQ(s.m_bVaristorTestMode, 0);
    EXPECT_EQ(s.m_nInjRet, 2);
    EXPECT_EQ(s.m_lVolt, 3000);
    EXPECT_EQ(s.m_nPola, 1);
    EXPECT_EQ(s.m_lDisc, 8);
    EXPECT_EQ(s.m_lRept, 40);
}

TEST(StepFormat, UnknownVersionStopsRightAfterTheVersionLine) {
    ArchiveWriter w;
    w.WriteString(QStringLiteral("Exec Data Ver.1.0.2.0"));
    w.WriteInt(1);
    ArchiveReader r(w.Bytes());
    CExecData s;
    EXPECT_EQ(s.Read(r), CExecData::kReadVersionError);
    EXPECT_EQ(r.Remaining(), 4);
}

}  // namespace
}  // namespace zeb
