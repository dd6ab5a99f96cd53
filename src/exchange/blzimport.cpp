#include "blzimport.h"

#include "db.h"

#include <QFile>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>

bool BlzImport::istDatensatz(const QString &zeile)
{
    if (zeile.size() < 152)
        return false;
    for (int i = 0; i < 8; ++i) {
        const QChar c = zeile.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

BlzImport::Ergebnis BlzImport::importieren(const QString &datei)
{
    m_fehler.clear();
    m_anzahl = 0;

    QFile file(datei);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_fehler = file.errorString();
        return Ergebnis::NichtLesbar;
    }
    QStringList zeilen;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Latin1);
    QString zeile;
    while (in.readLineInto(&zeile)) {
        if (istDatensatz(zeile))
            zeilen.append(zeile);
    }
    if (file.error() != QFileDevice::NoError) {
        m_fehler = file.errorString();
        return Ergebnis::NichtLesbar;
    }
    if (zeilen.isEmpty())
        return Ergebnis::KeinDatensatz;

    // Fields are cut as they stand, trailing blanks included.
    Db::Transaktion transaktion;
    Db::ausfuehren(QStringLiteral("DELETE FROM blzdatei"));
    QSqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO blzdatei (land,blz,name,pruefart,bic) VALUES ('D',?,?,?,?)"));
    for (const QString &z : std::as_const(zeilen)) {
        insert.bindValue(0, z.mid(0, 8));
        insert.bindValue(1, z.mid(107, 27));
        insert.bindValue(2, z.mid(150, 2));
        insert.bindValue(3, z.mid(139, 11));
        if (insert.exec())
            ++m_anzahl;
    }
    if (!transaktion.commit()) {
        m_anzahl = 0;
        return Ergebnis::Datenbank;
    }
    return Ergebnis::Fertig;
}
