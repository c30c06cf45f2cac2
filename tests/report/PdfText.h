#pragma once
// Reads a written PDF back as the tests of the issued report need it: its text (pdftotext, a
// page or all of them, blanks and line breaks folded into single spaces), its page count
// (pdfinfo) and its fonts (pdffonts).

#include <QString>
#include <QStringList>

namespace zeb::test {

// The text of page (1-based; 0 for every page), or an empty text when it cannot be read.
QString PdfText(const QString& path, int page = 0);
int PdfPageCount(const QString& path);
// Lines of pdffonts for the fonts used (after its two header lines).
QStringList PdfFonts(const QString& path);

}  // namespace zeb::test
