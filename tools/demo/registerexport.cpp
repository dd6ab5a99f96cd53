#include "registerexport.h"

#include "db.h"
#include "textutil.h"

#include <QFile>
#include <QSqlQuery>
#include <QStringList>

namespace {

QByteArray zeile(const QStringList &felder)
{
    QStringList quoted;
    for (const QString &f : felder)
        quoted << QLatin1Char('"') + f + QLatin1Char('"');
    return quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

QString datum(const QString &gespeichert)
{
    return UtilDatum(gespeichert).toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

bool DemoRegisterExport(const QString &datei, RegisterExport &inhalt)
{
    QFile f(datei);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    inhalt = {};
    QByteArray text = zeile({"Mitgliedsnummer", "Vorname", "Nachname", "Geburtsdatum", "Gender", "Straße", "PLZ",
                             "Stadt", "Land", "Telefon", "E-Mail", "Einzugsermächtigung", "Kontoinhaber",
                             "Kontonummer", "Bankleitzahl", "Kreditinstitut", "Gesamtbeitrag", "Eintrittsdatum",
                             "Austrittsdatum", "Landkreis"});
    QSqlQuery q = Db::abfrage(
        "SELECT m.mid,a.name2,a.name1,m.gebdat,m.sex,a.strasse,a.plz,a.ort,a.land,m.tel,a.mail,m.zahlart,b.inhaber,"
        "b.nummer,b.blz,b.bank,m.beitrag,m.eintritt,m.gliederung FROM mitglied m "
        "JOIN adresse a ON a.art='M' AND a.key=printf('%08d',m.mid) "
        "LEFT JOIN bankverbindung b ON b.art='M' AND b.key=a.key "
        "WHERE m.mid<1000000 AND m.austritt>? ORDER BY m.mid",
        {UtilDatumText(QDate::currentDate())});
    int mid = 0;
    for (int n = 1; q.next(); ++n) {
        mid = q.value(0).toInt();
        if (n % 25 == 0) {
            ++inhalt.fehlend;
            continue;
        }
        const QString sex = q.value(4).toString() == QLatin1String("W") ? "weiblich" : "männlich";
        const QString tel = n % 10 == 0 ? QStringLiteral("0170 %1").arg(mid) : q.value(9).toString();
        text += zeile({QString::number(mid), q.value(1).toString(), q.value(2).toString(), datum(q.value(3).toString()),
                       sex, q.value(5).toString(), q.value(6).toString(), q.value(7).toString(), q.value(8).toString(),
                       tel, q.value(10).toString(), q.value(11).toString() == QLatin1String("L") ? "Ja" : "Nein",
                       q.value(12).toString(), q.value(13).toString(), q.value(14).toString(), q.value(15).toString(),
                       QString::number(q.value(16).toLongLong() / 100.0, 'f', 2), datum(q.value(17).toString()), "",
                       q.value(18).toString()});
        ++inhalt.zeilen;
    }
    mid = Db::wert("SELECT max(mid) FROM mitglied WHERE mid<1000000").toInt();
    for (const auto &[vorname, nachname] : {std::pair{"Greta", "Jürgensen"}, {"Mehmet", "Öztürk"}}) {
        text += zeile({QString::number(++mid), vorname, nachname, "03.04.1999", "", "Am Deich 1", "25813", "Husum",
                       "D", "", "", "Nein", "", "", "", "", "36.00", datum(UtilDatumText(QDate::currentDate())), "",
                       ""});
        ++inhalt.zeilen;
        ++inhalt.neu;
    }
    return f.write(text) == text.size();
}
