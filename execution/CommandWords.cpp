#include "CommandWords.h"

namespace zeb {

namespace {
bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// The characters a backslash escapes inside double quotes; before any other character the
// backslash stays as it is.
bool EscapableInDoubleQuotes(QChar c) {
    return c == QLatin1Char('$') || c == QLatin1Char('`') || c == QLatin1Char('"') ||
           c == QLatin1Char('\\') || c == QLatin1Char('\n');
}

CommandWords Failed(const QString& why) {
    CommandWords failed;
    failed.error = why;
    return failed;
}
}  // namespace

CommandWords SplitCommandWords(const QString& command) {
    CommandWords result;
    QString word;
    // A word exists once anything belonging to it was seen, so '' and "" give an empty argument.
    bool inWord = false;
    const int n = command.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = command.at(i);
        if (IsBlank(c)) {
            if (inWord) {
                result.words.append(word);
                word.clear();
                inWord = false;
            }
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 >= n) {
                return Failed(QStringLiteral("The command ends with a lone backslash."));
            }
            ++i;
            // A backslash before a line break joins the lines, as in a shell.
            if (command.at(i) != QLatin1Char('\n')) {
                word.append(command.at(i));
                inWord = true;
            }
        } else if (c == QLatin1Char('\'')) {
            const int close = command.indexOf(QLatin1Char('\''), i + 1);
            if (close < 0) {
                return Failed(QStringLiteral("A single quote (') is not closed."));
            }
            word.append(command.mid(i + 1, close - i - 1));
            inWord = true;
            i = close;
        } else if (c == QLatin1Char('"')) {
            inWord = true;
            bool closed = false;
            for (++i; i < n; ++i) {
                const QChar d = command.at(i);
                if (d == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (d == QLatin1Char('\\') && i + 1 < n &&
                    EscapableInDoubleQuotes(command.at(i + 1))) {
                    ++i;
                    if (command.at(i) != QLatin1Char('\n')) {
                        word.append(command.at(i));
                    }
                } else {
                    word.append(d);
                }
            }
            if (!closed) {
                return Failed(QStringLiteral("A double quote (\") is not closed."));
            }
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord) {
        result.words.append(word);
    }
    return result;
}

}  // namespace zeb
