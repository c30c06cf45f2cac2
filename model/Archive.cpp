#include "Archive.h"

#include <QtEndian>

namespace zeb {

namespace {
constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kUnicodeTag = 0xFFFE;
constexpr uint16_t kLength32 = 0xFFFF;

// Code points of 0x80..0x9F in Windows-1252; the five unassigned bytes keep their C1 value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}  // namespace

QString DecodeWindows1252(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<uint8_t>(data[i]);
        out[i] = QChar((b >= 0x80 && b <= 0x9F) ? kCp1252High[b - 0x80] : char16_t{b});
    }
    return out;
}

void ArchiveWriter::WriteInt(int32_t value) {
    WriteUInt(static_cast<uint32_t>(value));
}

void ArchiveWriter::WriteUInt(uint32_t value) {
    char le[4];
    qToLittleEndian(value, le);
    m_bytes.append(le, 4);
}

void ArchiveWriter::WriteString(const QString& text) {
    const auto n = static_cast<uint32_t>(text.size());
    char buf[2];
    auto putU16 = [&](uint16_t v) {
        qToLittleEndian(v, buf);
        m_bytes.append(buf, 2);
    };
    m_bytes.append(static_cast<char>(kLongLength));
    putU16(kUnicodeTag);
    if (n < kLongLength) {
        m_bytes.append(static_cast<char>(n));
    } else if (n < kUnicodeTag) {
        m_bytes.append(static_cast<char>(kLongLength));
        putU16(static_cast<uint16_t>(n));
    } else {
        m_bytes.append(static_cast<char>(kLongLength));
        putU16(kLength32);
        WriteUInt(n);
    }
    for (QChar c : text) {
        putU16(c.unicode());
    }
}

void ArchiveReader::Fail(const QString& why) {
    if (!m_failed) {
        m_failed = true;
        m_error = why;
    }
}

bool ArchiveReader::Take(qsizetype count, const char*& data) {
    if (m_failed) {
        return false;
    }
    if (count < 0 || count > Remaining()) {
        Fail(QStringLiteral("The file ends unexpectedly (at byte %1).").arg(m_pos));
        return false;
    }
    data = m_bytes.constData() + m_pos;
    m_pos += count;
    return true;
}

bool ArchiveReader::ReadU8(uint8_t& value) {
    value = 0;
    const char* p = nullptr;
    if (!Take(1, p)) {
        return false;
    }
    value = static_cast<uint8_t>(*p);
    return true;
}

bool ArchiveReader::ReadU16(uint16_t& value) {
    value = 0;
    const char* p = nullptr;
    if (!Take(2, p)) {
        return false;
    }
    value = qFromLittleEndian<uint16_t>(p);
    return true;
}

bool ArchiveReader::ReadUInt(uint32_t& value) {
    value = 0;
    const char* p = nullptr;
    if (!Take(4, p)) {
        return false;
    }
    value = qFromLittleEndian<uint32_t>(p);
    return true;
}

bool ArchiveReader::ReadInt(int32_t& value) {
    uint32_t u = 0;
    const bool ok = ReadUInt(u);
    value = static_cast<int32_t>(u);
    return ok;
}

bool ArchiveReader::ReadString(QString& text) {
    text.clear();
    // Length: one byte below 0xFF; else a 16-bit value, where 0xFFFE tags UTF-16 text (the
    // length follows again) and 0xFFFF announces a 32-bit length.
    bool wide = false;
    uint64_t length = 0;
    for (;;) {
        uint8_t b = 0;
        if (!ReadU8(b)) {
            return false;
        }
        if (b < kLongLength) {
            length = b;
            break;
        }
        uint16_t w = 0;
        if (!ReadU16(w)) {
            return false;
        }
        if (w == kUnicodeTag) {
            if (wide) {
                Fail(QStringLiteral("The file holds a malformed string (at byte %1).").arg(m_pos));
                return false;
            }
            wide = true;
            continue;
        }
        if (w < kLength32) {
            length = w;
            break;
        }
        uint32_t l32 = 0;
        if (!ReadUInt(l32)) {
            return false;
        }
        length = l32;
        break;
    }
    // Checked against the bytes present before anything is allocated.
    const uint64_t bytes = wide ? length * 2 : length;
    if (bytes > static_cast<uint64_t>(Remaining())) {
        Fail(QStringLiteral("The file ends unexpectedly (a string at byte %1 runs past the end).")
                 .arg(m_pos));
        return false;
    }
    const char* p = nullptr;
    Take(static_cast<qsizetype>(bytes), p);
    if (!wide) {
        text = DecodeWindows1252(p, static_cast<qsizetype>(length));
        return true;
    }
    text.resize(static_cast<qsizetype>(length));
    for (qsizetype i = 0; i < text.size(); ++i) {
        text[i] = QChar(qFromLittleEndian<uint16_t>(p + 2 * i));
    }
    return true;
}

bool ArchiveReader::SkipString() {
    QString ignored;
    return ReadString(ignored);
}

}  // namespace zeb
