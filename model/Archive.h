#pragma once
// The two primitives the settings file is made of, written back to back:
//  - integer: 4 bytes, little-endian, two's complement;
//  - string: written as 0xFF, the tag 0xFFFE (UTF-16 text), a length in code units (one byte up
//    to 254; else 0xFF + 16-bit length up to 0xFFFD; else 0xFF 0xFFFF + 32-bit length), then
//    the UTF-16LE code units. Older files may hold untagged 8-bit strings (Windows-1252).

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace zeb {

class ArchiveWriter {
public:
    void WriteInt(int32_t value);
    void WriteUInt(uint32_t value);
    void WriteString(const QString& text);

    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads primitives from a byte buffer (implicitly shared with the caller). The first
// element that runs past the end, or a malformed string, fails the reader: that read and every
// later one return false and leave their output zero / empty, and nothing is allocated beyond
// the bytes actually present.
class ArchiveReader {
public:
    explicit ArchiveReader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool ReadInt(int32_t& value);
    bool ReadUInt(uint32_t& value);
    bool ReadString(QString& text);
    // Reads a string and throws it away (key lines and markers that are not compared).
    bool SkipString();

    bool Failed() const { return m_failed; }
    qsizetype Position() const { return m_pos; }
    qsizetype Remaining() const { return m_bytes.size() - m_pos; }
    // What went wrong at the first failure, for the operator.
    const QString& ErrorText() const { return m_error; }
    // Marks the data as unusable (for checks made by the caller, such as an impossible count).
    void Fail(const QString& why);

private:
    bool Take(qsizetype count, const char*& data);
    bool ReadU8(uint8_t& value);
    bool ReadU16(uint16_t& value);

    const QByteArray m_bytes;  // shared, not copied
    qsizetype m_pos = 0;
    bool m_failed = false;
    QString m_error;
};

// Windows-1252 (8-bit strings of older files) to Unicode.
QString DecodeWindows1252(const char* data, qsizetype size);

}  // namespace zeb
