// The checks before a run opens: settings check, 6 kV limiter, and the question that switches
// an EUT line off when its configuration differs from the document's.

#include <gtest/gtest.h>

#include "LinkMessages.h"
#include "RunPreChecks.h"
#include "SequencerFixture.h"
#include "ShippedProfiles.h"

namespace zeb::test {
namespace {

using namespace status;

class RunPreChecksTest : public SequencerFixture {
protected:
    void SetUp() override {
        SequencerFixture::SetUp();
        inst.replies[QStringLiteral("QP")] = QStringLiteral("QP0000");
        inst.replies[QStringLiteral("QO")] = QStringLiteral("QO0");
        inst.replies[QStringLiteral("QI")] = QStringLiteral("QI1");
    }
    void Limiter(bool on) {
        inst.replies[QStringLiteral("QP")] =
            on ? QStringLiteral("QP8000") : QStringLiteral("QP0000");
    }
    void AcDetail(int detail) {
        doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail = detail;
    }
};

TEST_F(RunPreChecksTest, RecordForAnotherMachineIsRefused) {
    inst.replies[QStringLiteral("QR")] = QStringLiteral("QR3");
    sink.ExpectAny();
    EXPECT_FALSE(RunPreChecks(cntl, doc));
    EXPECT_TRUE(sink.Shown().front().startsWith(QStringLiteral("Could not open the file..")));
}

TEST_F(RunPreChecksTest, AStepTheMachineCannotRunRefusesTheWholeRun) {
    // The third step uses the ring wave, which type 5 does not offer: nothing is sent.
    doc.Steps() = {AcStep(1000), AcStep(2000), AcStep(3000)};
    doc.Steps()[2].m_nWaveform = kWaveRing;
    sink.Expect(
        QStringLiteral("Test step 3: The waveform of the test step, RING, is not offered "
                       "on the AC LINE OUTPUT of this machine type.\nThe test step is "
                       "not sent to the instrument."));
    EXPECT_FALSE(RunPreChecks(cntl, doc));
    EXPECT_TRUE(Sent().isEmpty());
}

TEST_F(RunPreChecksTest, LimiterRefusesOnlyStepsAboveSixKilovolts) {
    Limiter(true);
    doc.Steps() = {AcStep(1000), AcStep(6000)};
    EXPECT_TRUE(RunPreChecks(cntl, doc));
    doc.Steps().push_back(AcStep(6100, 2, 20));
    sink.Expect(linkmsg::Limiter6kV());
    EXPECT_FALSE(RunPreChecks(cntl, doc));
    Limiter(false);
    EXPECT_TRUE(RunPreChecks(cntl, doc));
    EXPECT_TRUE(Sent().isEmpty());
}

TEST_F(RunPreChecksTest, CouplingUnitRunsAboveSixKilovoltsWithTheLimiterOn) {
    // The generator reports its nibble only; the coupling unit has no limiter of its own.
    inst.replies[QStringLiteral("QR")] = QStringLiteral("QR?");
    doc.Record().m_ulMachineType = 0x400F;
    Limiter(true);
    doc.Steps() = {AcStep(1000), AcStep(6100, 2, 20)};
    for (CExecData& s : doc.Steps()) {
        s.m_ulMachineType = 0x400F;
        s.m_nOutputDetail = kAcThreePhase;
    }
    EXPECT_TRUE(RunPreChecks(cntl, doc));
    EXPECT_TRUE(sink.Shown().empty());
    EXPECT_TRUE(Sent().isEmpty());
}

TEST_F(RunPreChecksTest, LineInAnotherConfigurationGoesOffOnlyWhenTheOperatorAgrees) {
    Status(kLineOn);
    inst.replies[QStringLiteral("QO")] = QStringLiteral("QO1");  // DC switched, record is AC
    sink.Expect(linkmsg::ConfirmLineOff(), MsgAnswer::Cancel);
    EXPECT_FALSE(RunPreChecks(cntl, doc));
    EXPECT_TRUE(Sent().isEmpty());
    sink.Expect(linkmsg::ConfirmLineOff());
    EXPECT_TRUE(RunPreChecks(cntl, doc));
    EXPECT_EQ(Sent(), QStringList{"CD"});
}

TEST_F(RunPreChecksTest, DeviationsFromTheStandardAreAskedAboutOnceAndOkRunsAnyway) {
    ShippedProfiles profiles;
    doc.SetStandard({QStringLiteral("iec61000-4-5-2005"), QStringLiteral("1"), 0});
    sink.ExpectAny(MsgAnswer::Cancel);
    EXPECT_FALSE(RunPreChecks(cntl, doc));
    ASSERT_EQ(sink.Shown().size(), 1u);
    EXPECT_EQ(sink.Buttons().back(), MsgButtons::OkCancel);
    const QString& text = sink.Shown().back();
    EXPECT_TRUE(text.startsWith(QStringLiteral("The plan deviates from ") +
                                ShippedProfiles::Title(QStringLiteral("iec61000-4-5-2005")) +
                                QStringLiteral(", level 1:\n- warning (polarities): ")))
        << text.toStdString();
    EXPECT_TRUE(
        text.endsWith(QStringLiteral("OK runs the test anyway; Cancel returns to the "
                                     "plan.")));
    sink.ExpectAny(MsgAnswer::Ok);
    EXPECT_TRUE(RunPreChecks(cntl, doc));

    // A standard that cannot be checked is said as well; no standard asks nothing.
    doc.SetStandard({QStringLiteral("not-installed"), QStringLiteral("1"), 0});
    sink.ExpectAny(MsgAnswer::Ok);
    EXPECT_TRUE(RunPreChecks(cntl, doc));
    EXPECT_TRUE(
        sink.Shown().back().startsWith(QStringLiteral("The standard profile not-installed")));
    doc.SetStandard(StandardRef());
    EXPECT_TRUE(RunPreChecks(cntl, doc));
    EXPECT_EQ(sink.Shown().size(), 3u);
    EXPECT_TRUE(Sent().isEmpty());
}

TEST_F(RunPreChecksTest, AcLineTypeAgainstTheRecordsLineConfiguration) {
    Status(kLineOn);
    const struct {
        int lineType;
        int detail;
        bool asks;
    } cases[] = {
        {1, 6, false}, {1, 1, false}, {0, 2, true},  {1, 5, true},
        {3, 1, true},  {5, 0, true},  {4, 3, false}, {7, 1, false},  // 7: not a line type
    };
    for (const auto& c : cases) {
        inst.replies[QStringLiteral("QI")] = QStringLiteral("QI%1").arg(c.lineType);
        AcDetail(c.detail);
        if (c.asks) {
            sink.Expect(linkmsg::ConfirmLineOff());
        }
        EXPECT_TRUE(RunPreChecks(cntl, doc)) << c.lineType << " " << c.detail;
        EXPECT_EQ(Sent(), c.asks ? QStringList{"CD"} : QStringList{})
            << c.lineType << " " << c.detail;
    }
    // With the line off nothing about the configuration is asked.
    Status(0);
    inst.replies[QStringLiteral("QO")] = QStringLiteral("QO2");
    inst.log.clear();
    EXPECT_TRUE(RunPreChecks(cntl, doc));
    EXPECT_FALSE(inst.log.contains(QStringLiteral("QO")));
}

}  // namespace
}  // namespace zeb::test
