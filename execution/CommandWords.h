#pragma once
// The monitor command as the lab types it, cut into a program and its arguments the way a POSIX
// shell cuts a simple command into words: blanks separate words, single quotes keep everything
// literally, double quotes keep blanks (a backslash inside them escapes only $ ` " \ and a line
// break), and a backslash outside quotes takes the next character literally. Nothing else of a
// shell happens: no variables, no ~, no wildcards, no pipes or redirections, because the command
// is started directly and never through a shell.

#include <QString>
#include <QStringList>

namespace zeb {

struct CommandWords {
    QStringList words;  // the program first; empty for a command of blanks only
    QString error;      // why the text cannot be split; empty when it could
    bool Ok() const { return error.isEmpty(); }
};

CommandWords SplitCommandWords(const QString& command);

}  // namespace zeb
