#include "dtausdatei.h"

#include "db.h"
#include "textutil.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QIODevice>
#include <QSqlQuery>

namespace {

// One record: filled with blanks, fields set by position.
class Satz
{
public:
    explicit Satz(int laenge) : m_daten(laenge, ' ') {}

    // Left-aligned, cut to the field.
    void text(int pos, int laenge, const QString &wert)
    {
        const QByteArray b = wert.toLatin1().left(laenge);
        m_daten.replace(pos, b.size(), b);
    }
    // Right-aligned with leading zeros.
    void zahl(int pos, int laenge, qint64 wert)
    {
        text(pos, laenge, QString::number(wert).rightJustified(laenge, QLatin1Char('0')));
    }
    const QByteArray &daten() const { return m_daten; }

private:
    QByteArray m_daten;
};

bool istZiffer(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Bank names by bank code from the bank-code table; each code is looked up once.
class Banknamen
{
public:
    Banknamen() { m_abfrage.prepare(QStringLiteral("SELECT name FROM blzdatei WHERE land='D' AND blz=? LIMIT 1")); }

    // Invalid when the code is not in the table.
    QVariant name(const QString &blz)
    {
        auto gefunden = m_namen.constFind(blz);
        if (gefunden == m_namen.constEnd()) {
            m_abfrage.bindValue(0, blz);
            m_abfrage.exec();
            gefunden = m_namen.insert(blz, m_abfrage.next() ? m_abfrage.value(0) : QVariant());
        }
        return *gefunden;
    }

private:
    QSqlQuery m_abfrage;
    QHash<QString, QVariant> m_namen;
};

// One debit as it goes into `zwidtaus`.
struct Zeile
{
    QString inhaber;
    QString blz;
    QString konto;
    QString bank;
    QString fehler; // empty for a correct debit
};

// Bank details after the text and number rules, checked; later checks replace the error of earlier ones.
Zeile pruefen(const QString &inhaber, const QString &nummer, const QString &blz, const QString &bank, qint64 cent,
              Banknamen &banknamen)
{
    Zeile z{DtausDatei::pText(inhaber), DtausDatei::pNummer(blz), DtausDatei::pNummer(nummer),
            DtausDatei::pText(bank), QString()};
    if (z.blz.size() != 8)
        z.fehler = QStringLiteral("Bankleitzahl zu kurz");
    if (z.konto.size() < 2)
        z.fehler = QStringLiteral("Kontonummer fehlt");
    else if (z.konto.size() > 10)
        z.fehler = QStringLiteral("Kontonummer zu lang");
    if (z.inhaber.trimmed().size() < 2)
        z.fehler = QStringLiteral("Kontoinhaber fehlt");
    if (z.blz.size() == 8) {
        const QVariant name = banknamen.name(z.blz);
        if (name.isValid())
            z.bank = name.toString();
        else
            z.fehler = QStringLiteral("Bankleitzahl existiert nicht");
    }
    if (z.fehler.isEmpty() && cent <= 0)
        z.fehler = QStringLiteral("Betrag fehlt");
    return z;
}

} // namespace

DtausDatei::~DtausDatei() { Db::ausfuehren(QStringLiteral("DROP TABLE IF EXISTS zwidtaus")); }

QString DtausDatei::pText(const QString &text)
{
    const QString gross = text.toUpper();
    QString ergebnis;
    ergebnis.reserve(gross.size() + 8);
    for (const QChar c : gross) {
        const ushort u = c.unicode();
        if ((u >= 'A' && u <= 'Z') || istZiffer(c) || QStringLiteral(" .&-+*%/$").contains(c))
            ergebnis += c;
        else if (u == 0xC4 || u == 0xE4)
            ergebnis += QLatin1String("AE");
        else if (u == 0xD6 || u == 0xF6)
            ergebnis += QLatin1String("OE");
        else if (u == 0xDC || u == 0xFC)
            ergebnis += QLatin1String("UE");
        else if (u == 0xDF || u == 0x1E9E)
            ergebnis += QLatin1String("SS");
        else
            ergebnis += QLatin1Char(' ');
    }
    return ergebnis;
}

QString DtausDatei::pNummer(const QString &text)
{
    QString ziffern;
    for (const QChar c : text) {
        if (istZiffer(c))
            ziffern += c;
    }
    return ziffern;
}

QString DtausDatei::inhaltSql()
{
    return QStringLiteral("SELECT mid,inhaber,blz,konto,bank,cent FROM zwidtaus WHERE ff!='F' ORDER BY blz,konto,mid");
}

QString DtausDatei::fehlerSql()
{
    return QStringLiteral("SELECT mid,konto FROM zwidtaus WHERE ff='F' ORDER BY mid");
}

void DtausDatei::vorbereiten(bool neu, const std::function<void(int nr)> &fortschritt)
{
    Db::ausfuehren(QStringLiteral("DROP TABLE IF EXISTS zwidtaus"));
    Db::ausfuehren(QStringLiteral("CREATE TEMPORARY TABLE zwidtaus (mid int, name text, inhaber text, blz int64, "
                                  "konto int64, bank text, cent int64, ff char, "
                                  "PRIMARY KEY (blz ASC, konto ASC, mid ASC))"));
    m_richtige = 0;
    m_fehlerhafte = 0;
    m_summe = 0;

    // A member without address row is left out; one without bank details is an error.
    QSqlQuery q = Db::abfrage(QStringLiteral(
        "SELECT z.mid,z.cent,z.done,z.sperren,a.name1,a.name2,b.key,b.inhaber,b.nummer,b.blz,b.bank "
        "FROM zahllauf z JOIN adresse a ON a.art='M' AND a.key=printf('%08d',z.mid) "
        "LEFT JOIN bankverbindung b ON b.art='M' AND b.key=a.key WHERE z.art='D'"));
    Banknamen banknamen;
    QSqlQuery insert;
    insert.prepare(QStringLiteral(
        "INSERT INTO zwidtaus (mid,name,inhaber,blz,konto,bank,cent,ff) VALUES (?,?,?,?,?,?,?,?)"));

    Db::Transaktion transaktion;
    int nr = 0;
    while (q.next()) {
        if (fortschritt)
            fortschritt(++nr);
        if (q.value(3).toString() == QLatin1String("J"))
            continue;
        if (!neu && q.value(2).toString() == QLatin1String("J"))
            continue;
        const QString name1 = q.value(4).toString();
        const QString name2 = q.value(5).toString();
        const qint64 cent = q.value(1).toLongLong();
        const Zeile z = q.value(6).isNull()
                            ? Zeile{{}, {}, {}, {}, QStringLiteral("Keine Bankverbindung eingetragen")}
                            : pruefen(q.value(7).toString(), q.value(8).toString(), q.value(9).toString(),
                                      q.value(10).toString(), cent, banknamen);
        const bool richtig = z.fehler.isEmpty();
        insert.bindValue(0, q.value(0).toInt());
        insert.bindValue(1, name1.isEmpty() || name2.isEmpty() ? name1 + name2 : name1 + QStringLiteral(", ") + name2);
        insert.bindValue(2, z.inhaber);
        insert.bindValue(3, richtig ? QVariant(z.blz.toLongLong()) : QVariant(z.blz));
        insert.bindValue(4, richtig ? QVariant(z.konto.toLongLong()) : QVariant(z.fehler));
        insert.bindValue(5, z.bank);
        insert.bindValue(6, cent);
        insert.bindValue(7, richtig ? QStringLiteral(" ") : QStringLiteral("F"));
        insert.exec();
        if (richtig) {
            ++m_richtige;
            m_summe += cent;
        } else {
            ++m_fehlerhafte;
        }
    }
    transaktion.commit();
}

bool DtausDatei::schreiben(QIODevice &ziel, const Auftraggeber &auftraggeber, const QDate &heute) const
{
    const qint64 eigeneBlz = auftraggeber.blz.toLongLong();
    const qint64 eigenesKonto = auftraggeber.konto.toLongLong();
    const QString eigenerName = auftraggeber.name.left(27);

    QByteArray daten;
    Satz a(128);
    a.text(0, 7, QStringLiteral("0128ALK"));
    a.zahl(7, 8, eigeneBlz);
    a.zahl(15, 8, 0);
    a.text(23, 27, eigenerName);
    a.text(50, 6, heute.toString(QStringLiteral("ddMMyy")));
    a.zahl(60, 10, eigenesKonto);
    a.zahl(70, 10, 0);
    a.text(127, 1, QStringLiteral("1"));
    daten += a.daten();

    const QString zweck2 = QString::asprintf("JAHRESBEITRAG VE %04i", heute.year());
    qint64 anzahl = 0, kontoSumme = 0, blzSumme = 0, centSumme = 0;
    QSqlQuery q = Db::abfrage(inhaltSql());
    while (q.next()) {
        const qint64 blz = q.value(2).toLongLong();
        const qint64 konto = q.value(3).toLongLong();
        const qint64 cent = q.value(5).toLongLong();
        Satz c(256);
        c.text(0, 5, QStringLiteral("0216C"));
        c.zahl(5, 8, 0);
        c.zahl(13, 8, blz);
        c.zahl(21, 10, konto);
        c.zahl(31, 13, 0);
        c.text(44, 6, QStringLiteral("05000 "));
        c.zahl(50, 11, 0);
        c.zahl(61, 8, eigeneBlz);
        c.zahl(69, 10, eigenesKonto);
        c.zahl(79, 11, cent);
        c.text(93, 27, q.value(1).toString());
        c.text(128, 27, eigenerName);
        c.text(155, 27, QStringLiteral("MITGLIEDSNR. %1").arg(q.value(0).toInt()));
        c.text(182, 1, QStringLiteral("1"));
        c.text(185, 2, QStringLiteral("01"));
        c.text(187, 2, QStringLiteral("02"));
        c.text(189, 27, zweck2);
        daten += c.daten();
        ++anzahl;
        kontoSumme += konto;
        blzSumme += blz;
        centSumme += cent;
    }
    if (anzahl == 0)
        return true;

    Satz e(128);
    e.text(0, 5, QStringLiteral("0128E"));
    e.zahl(10, 7, anzahl);
    e.zahl(17, 13, 0);
    e.zahl(30, 17, kontoSumme);
    e.zahl(47, 17, blzSumme);
    e.zahl(64, 13, centSumme);
    daten += e.daten();
    return ziel.write(daten) == daten.size();
}

void DtausDatei::abschliessen(const QDate &ausfuehrung) const
{
    laufAbschliessen(QStringLiteral("SELECT mid FROM zwidtaus WHERE ff!='F'"), ausfuehrung);
}

void DtausDatei::laufAbschliessen(const QString &richtigeSql, const QDate &ausfuehrung)
{
    Db::Transaktion transaktion;
    const QString richtige = QStringLiteral(" WHERE mid IN (") + richtigeSql + QLatin1Char(')');
    if (ausfuehrung.isValid() && ausfuehrung.year() > 1900)
        Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET done='J',bausteinb=?") + richtige,
                       {UtilDatumText(ausfuehrung)});
    else
        Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET done='J'") + richtige);

    const QVariant status = Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Status/Zahlungen'"));
    if (status.isValid()) {
        QString s = status.toString();
        if (s.isEmpty())
            s = QStringLiteral("D");
        else
            s[0] = QLatin1Char('D');
        Db::ausfuehren(QStringLiteral("UPDATE parameter SET wert=? WHERE key='Status/Zahlungen'"), {s});
    }
    transaktion.commit();
}
