#pragma once
// Test helper: splits archive bytes written by this program into elements. Every string the
// writer produces starts with FF FE (tag) and a length; anything else is taken as a 4-byte
// integer. That is unambiguous for the records used in the tests, whose integers never start
// with the bytes FF FE.

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <vector>

#include "Archive.h"

namespace zeb::test {

struct Element {
    bool isString = false;
    QString text;
    int32_t value = 0;

    static Element Str(const QString& s) { return {true, s, 0}; }
    static Element Int(int32_t v) { return {false, QString(), v}; }
};

inline std::vector<Element> SplitElements(const QByteArray& bytes) {
    std::vector<Element> out;
    ArchiveReader ar(bytes);
    while (ar.Remaining() > 0 && !ar.Failed()) {
        const qsizetype pos = ar.Position();
        const bool tagged = ar.Remaining() >= 3 && static_cast<uint8_t>(bytes[pos]) == 0xFF &&
                            static_cast<uint8_t>(bytes[pos + 1]) == 0xFE &&
                            static_cast<uint8_t>(bytes[pos + 2]) == 0xFF;
        Element e;
        e.isString = tagged;
        if (tagged) {
            ar.ReadString(e.text);
        } else {
            ar.ReadInt(e.value);
        }
        out.push_back(e);
    }
    return out;
}

inline QByteArray JoinElements(const std::vector<Element>& elements) {
    ArchiveWriter ar;
    for (const Element& e : elements) {
        if (e.isString) {
            ar.WriteString(e.text);
        } else {
            ar.WriteInt(e.value);
        }
    }
    return ar.Bytes();
}

// The setting data section inside bytes as an older version (1000 to 1040) would have written
// it; elements after the section are copied unchanged.
inline QByteArray Downgrade(const QByteArray& bytes, int version) {
    const std::vector<Element> in = SplitElements(bytes);
    std::vector<Element> out;
    bool inSection = true;
    for (size_t i = 0; i < in.size(); ++i) {
        const Element& e = in[i];
        if (!inSection) {
            out.push_back(e);
            continue;
        }
        if (e.text.startsWith(QLatin1String("Setting Data Ver."))) {
            out.push_back(Element::Str(
                QStringLiteral("Setting Data Ver.1.0.%1.0").arg((version - 1000) / 10)));
            continue;
        }
        if ((e.text == QLatin1String("[m_ulMachineType]") && version < 1020) ||
            (e.text == QLatin1String("[m_nHWVersion]") && version < 1050) ||
            (e.text == QLatin1String("[m_bVaristorTestMode]") && version < 1040)) {
            ++i;  // key and value left out
            continue;
        }
        out.push_back(e);
        if (e.text == QLatin1String("[m_lStep]")) {
            out.push_back(in[++i]);
            if (version < 1010) {
                ++i;  // no variable-kind integer
            }
        }
        inSection = e.text != QLatin1String("### END SETTING DATA ###");
    }
    return JoinElements(out);
}

}  // namespace zeb::test
