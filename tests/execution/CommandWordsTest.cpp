// Cutting the monitor command into words as a POSIX shell would, without ever running a shell.
#include <gtest/gtest.h>

#include "CommandWords.h"

namespace zeb {
namespace {

struct SplitCase {
    const char* command;
    QStringList words;
};

TEST(CommandWordsTest, SplitsLikeAShellWordList) {
    const SplitCase cases[] = {
        {"", {}},
        {"  \t ", {}},
        {"ping-host 192.0.2.7", {"ping-host", "192.0.2.7"}},
        {"  a\t\tb  c ", {"a", "b", "c"}},
        // Quotes keep blanks; adjoining quoted and plain parts form one word.
        {"check 'two words' \"and three here\"", {"check", "two words", "and three here"}},
        {"pre'mid'\"post\"fix", {"premidpostfix"}},
        // Empty quotes are an empty argument, not nothing.
        {"prog '' \"\"", {"prog", "", ""}},
        // Single quotes keep backslashes and double quotes literally.
        {R"(grep 'a\b"c')", {"grep", R"(a\b"c)"}},
        // Inside double quotes a backslash escapes only $ ` " \ and the line break.
        {R"(echo "a\"b" "c\\d" "e\f" "\$HOME")", {"echo", "a\"b", R"(c\d)", R"(e\f)", "$HOME"}},
        // Outside quotes a backslash takes any character literally.
        {R"(say a\ b \'q\' \\)", {"say", "a b", "'q'", R"(\)"}},
        // A backslash before a line break joins the lines.
        {"prog a\\\nb", {"prog", "ab"}},
        // No shell: variables, wildcards, pipes and redirections are plain words.
        {"prog $HOME *.txt | tee >out", {"prog", "$HOME", "*.txt", "|", "tee", ">out"}},
        {"serial-heartbeat /dev/ttyUSB1 '^alive [0-9]+$' 5",
         {"serial-heartbeat", "/dev/ttyUSB1", "^alive [0-9]+$", "5"}},
    };
    for (const SplitCase& c : cases) {
        const CommandWords split = SplitCommandWords(QString::fromUtf8(c.command));
        EXPECT_TRUE(split.Ok()) << c.command << ": " << split.error.toStdString();
        EXPECT_EQ(split.words, c.words) << c.command;
    }
}

TEST(CommandWordsTest, UnbalancedQuotesAndALoneBackslashAreErrorsWithoutWords) {
    const struct {
        const char* command;
        const char* error;
    } cases[] = {
        {"prog 'open", "A single quote (') is not closed."},
        {"prog \"open", "A double quote (\") is not closed."},
        {R"(prog "a\")", "A double quote (\") is not closed."},
        {"prog 'it''s", "A single quote (') is not closed."},
        {"prog end\\", "The command ends with a lone backslash."},
    };
    for (const auto& c : cases) {
        const CommandWords split = SplitCommandWords(QString::fromUtf8(c.command));
        EXPECT_FALSE(split.Ok()) << c.command;
        EXPECT_EQ(split.error, QString::fromUtf8(c.error)) << c.command;
        EXPECT_TRUE(split.words.isEmpty()) << c.command;
    }
}

}  // namespace
}  // namespace zeb
