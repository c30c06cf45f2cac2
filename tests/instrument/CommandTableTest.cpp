// The command table: every text the controller puts on the wire is found again by the log's
// description, and no code of the table shadows another.

#include <gtest/gtest.h>

#include <QSet>

#include "CommandTable.h"
#include "ExchangeLog.h"

namespace zeb::test {
namespace {

QString SampleText(const CommandEntry& entry) {
    if (!entry.takesArgument) {
        return CommandText(entry.command);
    }
    return entry.command == InstrumentCommand::Modes
               ? CommandText(entry.command, QStringLiteral("30"))
               : CommandText(entry.command, -12L);
}

TEST(CommandTableTest, EveryCommandIsFoundByItsOwnTextAndNoCodeRepeats) {
    QSet<QString> codes;
    for (const CommandEntry* entry = CommandTableBegin(); entry != CommandTableEnd(); ++entry) {
        EXPECT_EQ(&EntryOf(entry->command), entry) << entry->code;
        EXPECT_FALSE(codes.contains(QLatin1String(entry->code))) << entry->code;
        codes.insert(QLatin1String(entry->code));
        // A code that began with another code taking an argument would be described wrongly.
        EXPECT_EQ(FindCommand(SampleText(*entry)), entry) << qPrintable(SampleText(*entry));
        EXPECT_FALSE(QString::fromLatin1(entry->meaning).isEmpty()) << entry->code;
    }
}

TEST(CommandTableTest, TextsTheProgramNeverSendsHaveNoMeaning) {
    EXPECT_EQ(FindCommand(QStringLiteral("PC")), nullptr);   // a parameter without its value
    EXPECT_EQ(FindCommand(QStringLiteral("CAX")), nullptr);  // a plain command with a tail
    EXPECT_EQ(FindCommand(QStringLiteral("PQ1")), nullptr);
    EXPECT_EQ(FindCommand(QString()), nullptr);
    EXPECT_EQ(DescribeCommand(QStringLiteral("ZZ")), QString());
}

TEST(CommandTableTest, ArgumentsAndReplyFormsAsTheInstrumentExpectsThem) {
    EXPECT_EQ(CommandText(InstrumentCommand::Voltage, 50L), QStringLiteral("PD50"));
    EXPECT_EQ(CommandText(InstrumentCommand::Angle, -90L), QStringLiteral("PG-90"));
    EXPECT_EQ(CommandText(InstrumentCommand::ClearSettings), QStringLiteral("PQ0"));
    EXPECT_EQ(NibbleDigits(EntryOf(InstrumentCommand::Status).reply), 2);
    EXPECT_EQ(NibbleDigits(EntryOf(InstrumentCommand::ProtectStatus).reply), 4);
    EXPECT_EQ(NibbleDigits(EntryOf(InstrumentCommand::MachineType).reply), 1);
    EXPECT_EQ(NibbleDigits(EntryOf(InstrumentCommand::ErrorCode).reply), 0);
}

TEST(CommandTableTest, TheLogDescribesAnExchangeByItsMeaning) {
    ExchangeRecord record;
    record.command = QStringLiteral("QB");
    record.query = true;
    record.durationMs = 12;
    EXPECT_EQ(ExchangeDescription(record),
              QStringLiteral("Query QB, read the status byte, 12 ms: acknowledged"));
    record.command = QStringLiteral("X\x01");
    record.query = false;
    record.outcome = ExchangeOutcome::NoAck;
    EXPECT_EQ(ExchangeDescription(record), QStringLiteral("Command X\\x01, 12 ms: no ACK"));
}

}  // namespace
}  // namespace zeb::test
