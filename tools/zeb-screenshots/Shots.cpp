#include "Shots.h"

#include <QApplication>
#include <QLayout>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

#include "SettingsDoc.h"

namespace zebshots {

namespace {

// The offscreen platform draws no window frame; a plain title bar above the picture shows the
// window's caption, which belongs to what the operator reads.
QPixmap WithTitleBar(const QPixmap& content, const QString& title) {
    const int bar = 26;
    QPixmap framed(content.width() + 2, content.height() + bar + 1);
    framed.fill(QColor(0x5a, 0x6b, 0x7d));
    QPainter painter(&framed);
    painter.drawPixmap(1, bar, content);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(10, 0, framed.width() - 20, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     title);
    return framed;
}

}  // namespace

ShotFolder::ShotFolder(const QString& path) : m_dir(path) {
    m_dir.mkpath(QStringLiteral("."));
}

bool ShotFolder::Save(QWidget& window, const QString& name) {
    window.show();
    QApplication::processEvents();
    return SaveAsIs(window, name);
}

bool ShotFolder::SaveAsIs(QWidget& window, const QString& name) {
    if (!window.isVisible()) {
        window.show();
    }
    // Labels shown or hidden since the last pass of the event loop: lay out inner boxes first.
    const QList<QLayout*> inner = window.findChildren<QLayout*>();
    for (auto it = inner.rbegin(); it != inner.rend(); ++it) {
        (*it)->activate();
    }
    if (QLayout* layout = window.layout()) {
        layout->activate();
    }
    const QString file = m_dir.filePath(name + QStringLiteral(".png"));
    // The title as a window manager shows it: Qt's "[*]" as an asterisk while modified.
    QString title = window.windowTitle();
    title.replace(QStringLiteral("[*]"),
                  window.isWindowModified() ? QStringLiteral("*") : QString());
    const bool saved = WithTitleBar(window.grab(), title).save(file);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "FAILED", qPrintable(file));
    if (!saved) {
        ++m_failures;
    }
    return saved;
}

void MakeDocument(zeb::CZebM40SettingsDoc& doc, quint32 machineType, int port,
                  void (*adjust)(zeb::CSettingData&)) {
    doc.OnNewDocument(machineType, 1);
    zeb::CSettingData record = doc.Record();
    record.m_outOutput.m_nOutputPort = port;
    if (adjust) {
        adjust(record);
    }
    doc.ApplyRecord(record);
    doc.SetModifiedFlag(false);
}

void AcThreePhaseSweep(zeb::CSettingData& r) {
    r.m_valVolt.m_nValueType = zeb::kValueSweep;
    r.m_valVolt.m_lStart = 500;
    r.m_valVolt.m_lEnd = 2000;
    r.m_valVolt.m_lStep = 500;
    r.m_ulPola = 3;
    r.m_lDisc = 5;
    r.m_lRept = 60;
    zeb::OUTPUT_PORT& ac = r.m_outOutput.m_aopOutputPort[zeb::kPortAc];
    ac.m_nOutputDetail = 5;  // three phase L1, L2, L3, N, PE
    ac.m_nSync = 1;
    ac.m_valAngle.m_nValueType = zeb::kValueVariable;
    const int angles[] = {0, 90, 180, 270};
    for (int i = 0; i < 4; ++i) {
        ac.m_valAngle.m_abUse[i] = 1;
        ac.m_valAngle.m_alValue[i] = angles[i];
    }
}

void TelecomTest(zeb::CSettingData& r) {
    r.m_valVolt.m_nValueType = zeb::kValueVariable;
    r.m_valVolt.m_nVariableKind = 0;
    r.m_valVolt.m_abUse[0] = 1;
    r.m_valVolt.m_alValue[0] = 1000;
    r.m_valVolt.m_abUse[1] = 1;
    r.m_valVolt.m_alValue[1] = 2000;
    r.m_ulPola = 3;
    r.m_lDisc = 5;
    r.m_lRept = 60;
    r.m_outOutput.m_aopOutputPort[zeb::kPortTelecom].m_nWaveform = 1;
}

}  // namespace zebshots
