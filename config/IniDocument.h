#pragma once
// An INI file held in memory with the semantics of the classic profile-string functions:
// section and key names compare case-insensitively, values are taken literally (no quoting,
// escaping or list splitting), and every line that is not touched by a write -- other sections,
// other keys, comments, blank lines, even lines that are not valid UTF-8 -- is kept byte for byte.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace zeb {

class CIniDocument {
public:
    // Parses file content. A UTF-8 byte order mark is accepted and kept for writing back.
    static CIniDocument FromBytes(const QByteArray& content);

    // The value of the first matching key in the first matching section, or nothing when the key
    // is absent. A key that is present with nothing after '=' yields an empty string.
    std::optional<QString> Value(const QString& section, const QString& key) const;

    // Sets the value of a key, adding the key (and the section) when absent. Line breaks in the
    // value become blanks, so a value can never split into further lines of the file. Returns false
    // and changes nothing when the section or key name could not be stored as such.
    bool SetValue(const QString& section, const QString& key, const QString& value);

    QByteArray ToBytes() const;

private:
    struct Line {
        QByteArray raw;  // as in the file, without the line ending
    };
    // Index of the section header line, or -1. Lines before the first header belong to no section.
    int FindSection(const QString& section) const;
    // Index of the key line inside the section that starts after header line `header`, or -1.
    int FindKey(int header, const QString& key) const;
    // Index one past the last line that belongs to the section starting at `header`.
    int SectionEnd(int header) const;

    std::vector<Line> m_lines;
    bool m_bom = false;
    QByteArray m_eol = "\n";
};

}  // namespace zeb
