#include "XlsxReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <zip.h>

#include <memory>

namespace zeb::test {

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

bool ReadEntry(zip_t* zip, const char* name, QByteArray& out) {
    zip_stat_t st;
    if (zip_stat(zip, name, 0, &st) != 0) {
        return false;
    }
    zip_file_t* f = zip_fopen(zip, name, 0);
    if (!f) {
        return false;
    }
    out.resize(static_cast<qsizetype>(st.size));
    const zip_int64_t n = zip_fread(f, out.data(), st.size);
    zip_fclose(f);
    return n == static_cast<zip_int64_t>(st.size);
}

// A spreadsheet shows "_xHHHH_" in a text as the character with that code.
QString DecodeCodeSequences(const QString& text) {
    static const QRegularExpression code(QStringLiteral("_[xX]([0-9A-Fa-f]{4})_"));
    QString out;
    int from = 0;
    QRegularExpressionMatchIterator it = code.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        out += QChar(static_cast<char16_t>(m.captured(1).toUInt(nullptr, 16)));
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

// Text of every <si>, rich-text runs joined. False when the XML is malformed.
bool SharedStrings(const QByteArray& xml, std::vector<QString>& strings) {
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("si")) {
            strings.emplace_back();
        } else if (r.isStartElement() && r.name() == QLatin1String("t") && !strings.empty()) {
            strings.back() += DecodeCodeSequences(r.readElementText());
        }
    }
    return !r.hasError();
}

// For each cell format index: is it aligned to the top?
std::vector<bool> TopAligned(const QByteArray& xml) {
    std::vector<bool> top;
    QXmlStreamReader r(xml);
    bool inCellXfs = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("cellXfs")) {
            inCellXfs = true;
        } else if (r.isEndElement() && r.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        } else if (inCellXfs && r.isStartElement() && r.name() == QLatin1String("xf")) {
            top.push_back(false);
        } else if (inCellXfs && r.isStartElement() && r.name() == QLatin1String("alignment")) {
            top.back() = r.attributes().value("vertical") == QLatin1String("top");
        }
    }
    return top;
}

bool ReadSheet(const QByteArray& xml, const std::vector<QString>& strings,
               const std::vector<bool>& top, XlsxSheet& sheet) {
    QXmlStreamReader r(xml);
    QString address;
    QString type;
    XlsxCell cell;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("c")) {
            address = r.attributes().value("r").toString();
            type = r.attributes().value("t").toString();
            const int style = r.attributes().value("s").toInt();
            cell = XlsxCell();
            cell.top = style >= 0 && style < static_cast<int>(top.size()) && top[style];
            cell.number = type.isEmpty() || type == QLatin1String("n");
        } else if (r.isStartElement() && r.name() == QLatin1String("v")) {
            const QString v = r.readElementText();
            if (type == QLatin1String("s")) {
                const int i = v.toInt();
                cell.value = i >= 0 && i < static_cast<int>(strings.size()) ? strings[i] : "<bad>";
            } else {
                cell.value = v;
            }
        } else if (r.isStartElement() && r.name() == QLatin1String("t")) {
            cell.value += DecodeCodeSequences(r.readElementText());  // inline string
        } else if (r.isEndElement() && r.name() == QLatin1String("c")) {
            if (cell.value.isEmpty()) {
                cell.number = false;  // a blank cell that carries only its format
            }
            sheet.cells[address] = cell;
        }
    }
    return !r.hasError();
}

}  // namespace

bool ReadXlsx(const QString& path, std::vector<XlsxSheet>& sheets, QString& error) {
    sheets.clear();
    int zerr = 0;
    ZipPtr zip(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &zerr));
    if (!zip) {
        error = QStringLiteral("not a zip file");
        return false;
    }
    QByteArray workbook;
    QByteArray rels;
    QByteArray shared;
    QByteArray styles;
    if (!ReadEntry(zip.get(), "xl/workbook.xml", workbook) ||
        !ReadEntry(zip.get(), "xl/_rels/workbook.xml.rels", rels) ||
        !ReadEntry(zip.get(), "xl/styles.xml", styles)) {
        error = QStringLiteral("workbook parts missing");
        return false;
    }
    std::vector<QString> strings;
    // Absent when no cell holds text.
    if (ReadEntry(zip.get(), "xl/sharedStrings.xml", shared) && !SharedStrings(shared, strings)) {
        error = QStringLiteral("malformed XML in xl/sharedStrings.xml");
        return false;
    }
    const std::vector<bool> top = TopAligned(styles);

    std::map<QString, QString> targets;  // relationship id -> part name below xl/
    QXmlStreamReader rr(rels);
    while (!rr.atEnd()) {
        rr.readNext();
        if (rr.isStartElement() && rr.name() == QLatin1String("Relationship")) {
            targets[rr.attributes().value("Id").toString()] =
                rr.attributes().value("Target").toString();
        }
    }
    QXmlStreamReader wr(workbook);
    while (!wr.atEnd()) {
        wr.readNext();
        if (wr.isStartElement() && wr.name() == QLatin1String("sheet")) {
            XlsxSheet sheet;
            sheet.name = wr.attributes().value("name").toString();
            const QString id = wr.attributes().value("r:id").toString();
            QByteArray xml;
            const QByteArray part = ("xl/" + targets[id]).toUtf8();
            if (!ReadEntry(zip.get(), part.constData(), xml)) {
                error = QStringLiteral("sheet part missing: ") + part;
                return false;
            }
            if (!ReadSheet(xml, strings, top, sheet)) {
                error = QStringLiteral("malformed XML in ") + part;
                return false;
            }
            sheets.push_back(std::move(sheet));
        }
    }
    return true;
}

}  // namespace zeb::test
