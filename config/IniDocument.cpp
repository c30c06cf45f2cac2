#include "IniDocument.h"

#include <QList>

namespace zeb {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// "[NAME]" with optional blanks around; gives NAME trimmed, or nothing for any other line.
std::optional<QString> SectionName(const QByteArray& raw) {
    const QByteArray t = raw.trimmed();
    if (t.size() < 2 || t.front() != '[') {
        return std::nullopt;
    }
    const int close = t.indexOf(']');
    if (close < 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(t.mid(1, close - 1)).trimmed();
}

bool IsComment(const QByteArray& raw) {
    const QByteArray t = raw.trimmed();
    return t.startsWith(';') || t.startsWith('#');
}

// Splits "KEY=value" into the trimmed key and the literal value after the first '='.
bool SplitKey(const QByteArray& raw, QString& key, QString& value) {
    if (IsComment(raw)) {
        return false;
    }
    const int eq = raw.indexOf('=');
    if (eq <= 0) {
        return false;
    }
    key = QString::fromUtf8(raw.left(eq)).trimmed();
    if (key.isEmpty()) {
        return false;
    }
    value = QString::fromUtf8(raw.mid(eq + 1));
    return true;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IsStorableName(const QString& name, const char* forbidden) {
    if (name.trimmed().isEmpty() || name.trimmed() != name) {
        return false;
    }
    for (const QChar c : name) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0)) {
            return false;
        }
        for (const char* f = forbidden; *f; ++f) {
            if (c == QLatin1Char(*f)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

CIniDocument CIniDocument::FromBytes(const QByteArray& content) {
    CIniDocument doc;
    QByteArray text = content;
    if (text.startsWith(kBom)) {
        doc.m_bom = true;
        text.remove(0, kBom.size());
    }
    if (text.contains("\r\n")) {
        doc.m_eol = "\r\n";
    }
    if (text.isEmpty()) {
        return doc;
    }
    const QList<QByteArray> parts = text.split('\n');
    for (int i = 0; i < parts.size(); ++i) {
        QByteArray raw = parts[i];
        if (raw.endsWith('\r')) {
            raw.chop(1);
        }
        // The text after the last line ending is a line only when it is not empty.
        if (i == parts.size() - 1 && raw.isEmpty()) {
            break;
        }
        doc.m_lines.push_back({raw});
    }
    return doc;
}

int CIniDocument::FindSection(const QString& section) const {
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const auto name = SectionName(m_lines[i].raw);
        if (name && SameName(*name, section)) {
            return i;
        }
    }
    return -1;
}

int CIniDocument::SectionEnd(int header) const {
    int i = header + 1;
    while (i < static_cast<int>(m_lines.size()) && !SectionName(m_lines[i].raw)) {
        ++i;
    }
    return i;
}

int CIniDocument::FindKey(int header, const QString& key) const {
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        QString name;
        QString value;
        if (SplitKey(m_lines[i].raw, name, value) && SameName(name, key)) {
            return i;
        }
    }
    return -1;
}

std::optional<QString> CIniDocument::Value(const QString& section, const QString& key) const {
    const int header = FindSection(section);
    if (header < 0) {
        return std::nullopt;
    }
    const int line = FindKey(header, key);
    if (line < 0) {
        return std::nullopt;
    }
    QString name;
    QString value;
    SplitKey(m_lines[line].raw, name, value);
    return value;
}

bool CIniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
    if (!IsStorableName(section, "[]") || !IsStorableName(key, "=[;#")) {
        return false;
    }
    QString flat = value;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray keyLine = key.toUtf8() + '=' + flat.toUtf8();

    int header = FindSection(section);
    if (header < 0) {
        m_lines.push_back({'[' + section.toUtf8() + ']'});
        m_lines.push_back({keyLine});
        return true;
    }
    const int line = FindKey(header, key);
    if (line >= 0) {
        m_lines[line].raw = keyLine;
        return true;
    }
    // A new key goes after the section's last non-blank line, before the blank lines that
    // separate it from the next section.
    int insertAt = SectionEnd(header);
    while (insertAt > header + 1 && m_lines[insertAt - 1].raw.trimmed().isEmpty()) {
        --insertAt;
    }
    m_lines.insert(m_lines.begin() + insertAt, Line{keyLine});
    return true;
}

QByteArray CIniDocument::ToBytes() const {
    QByteArray out;
    if (m_bom) {
        out += kBom;
    }
    for (const Line& line : m_lines) {
        out += line.raw;
        out += m_eol;
    }
    return out;
}

}  // namespace zeb
