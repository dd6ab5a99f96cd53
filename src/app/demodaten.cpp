#include "demodaten.h"

#include "db.h"

DemoDaten::DemoDaten(quint32 saat) : m_zufall(saat) {}

bool DemoDaten::erzeugen(int mitglieder, int buchungen)
{
    Q_UNUSED(mitglieder);
    Q_UNUSED(buchungen);
    Db::Transaktion t;
    const QString verband = QStringLiteral(
        "INSERT INTO verband (namekurz,gegruendet,ebene,teilvon,bukto) VALUES (?,?,?,?,?)");
    Db::ausfuehren(verband, {QStringLiteral("BUND"), QStringLiteral("1990-01-01"), 0, QString(), QStringLiteral("1")});
    Db::ausfuehren(verband, {QStringLiteral("LV NORDMARK"), QStringLiteral("1990-06-01"), 1,
                             QStringLiteral("BUND"), QStringLiteral("10")});
    Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES ('General/Gliederung',?)"),
                   {QStringLiteral("LV NORDMARK")});
    return t.commit();
}
