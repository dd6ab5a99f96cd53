// The demo books: reproducible from the seed, and as consistent as real books must be.

#include "db.h"
#include "demodaten.h"
#include "parameter.h"
#include "spende.h"
#include "suchname.h"
#include "testdb.h"
#include "textutil.h"
#include "utilkonto.h"

#include <QCryptographicHash>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

const QDate kStichtag(2024, 5, 17);

// A digest over every row of every permanent table, in storage order, with the value types.
QByteArray digest()
{
    static const char *const tabellen[] = {"parameter", "kontenplan", "journdat", "kgkto", "verband",
                                           "adresse", "bankverbindung", "mitglied", "lieferant", "spende",
                                           "spendenparam", "textbaustein", "zahllauf", "blzdatei"};
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char *tabelle : tabellen) {
        h.addData(QByteArray(tabelle));
        QSqlQuery q(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(tabelle)));
        while (q.next()) {
            for (int i = 0; i < q.record().count(); ++i) {
                const QVariant v = q.value(i);
                h.addData(QByteArray::number(v.isNull() ? -1 : v.typeId()));
                h.addData(v.toString().toUtf8());
                h.addData(QByteArray(1, '\x1f'));
            }
            h.addData(QByteArray(1, '\x1e'));
        }
    }
    return h.result();
}

qint64 zahl(const QString &sql, const QVariantList &werte = {})
{
    return Db::wert(sql, werte).toLongLong();
}

QString parameter(const char *key)
{
    return Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key=?"), {QString::fromLatin1(key)}).toString();
}

bool erzeugen(quint32 saat, int mitglieder, int buchungen, const QDate &stichtag = kStichtag)
{
    DemoDaten daten(saat);
    daten.setStichtag(stichtag);
    return daten.erzeugen(mitglieder, buchungen);
}

} // namespace

class TestDemoDaten : public QObject
{
    Q_OBJECT

private slots:
    void gleicheSaatGleicheDaten();
    void andereSaatAndereDaten();
    void mengen_data();
    void mengen();
    void buchungenVollstaendig_data();
    void buchungenVollstaendig();
    void kontenNachSchema();
    void spendenUndBeitraege();
    void mitgliederMitAdresse();
    void gliederungenUndEinstellungen();
    void vorlagenUndZahlungsparameter();
    void ganzOderGarNicht();
    void aufteilungWieImDialog();
};

void TestDemoDaten::gleicheSaatGleicheDaten()
{
    QByteArray erst, zweit;
    {
        TestDb db;
        QVERIFY(db.ok());
        QVERIFY(erzeugen(7, 150, 900));
        erst = digest();
    }
    {
        TestDb db;
        QVERIFY(db.ok());
        QVERIFY(erzeugen(7, 150, 900));
        zweit = digest();
    }
    QCOMPARE(zweit.toHex(), erst.toHex());
}

void TestDemoDaten::andereSaatAndereDaten()
{
    QByteArray erst, zweit, spaeter;
    {
        TestDb db;
        QVERIFY(erzeugen(7, 150, 900));
        erst = digest();
    }
    {
        TestDb db;
        QVERIFY(erzeugen(8, 150, 900));
        zweit = digest();
        // Not only the digest: the people themselves differ.
        QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM adresse WHERE art='M'")) == 150 + 12);
    }
    {
        TestDb db;
        QVERIFY(erzeugen(7, 150, 900, kStichtag.addYears(1)));
        spaeter = digest();
    }
    QVERIFY(erst != zweit);
    QVERIFY(erst != spaeter);
}

void TestDemoDaten::mengen_data()
{
    QTest::addColumn<int>("mitglieder");
    QTest::addColumn<int>("buchungen");
    QTest::addColumn<QDate>("stichtag");
    QTest::newRow("klein") << 40 << 120 << kStichtag;
    QTest::newRow("ohne Mitglieder") << 0 << 60 << kStichtag;
    QTest::newRow("ohne Buchungen") << 25 << 0 << kStichtag;
    QTest::newRow("Jahresanfang") << 120 << 700 << QDate(2025, 1, 2);
    QTest::newRow("Jahresende") << 120 << 700 << QDate(2023, 12, 31);
}

void TestDemoDaten::mengen()
{
    QFETCH(int, mitglieder);
    QFETCH(int, buchungen);
    QFETCH(QDate, stichtag);
    TestDb db;
    QVERIFY(db.ok());
    QVERIFY(erzeugen(3, mitglieder, buchungen, stichtag));
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid<'1000000'")), qint64(mitglieder));
    QCOMPARE(zahl(QStringLiteral("SELECT max(mid) FROM mitglied WHERE mid<'1000000'")), qint64(mitglieder));
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid>='1000000'")) >= 12);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM journdat")), qint64(buchungen));
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM kgkto")), qint64(2 * buchungen));
    // Nothing lies after the reference day; the books begin on 1 January two years before it.
    const QString tag = UtilDatumText(stichtag);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM journdat WHERE datum>? OR erfasst>?"), {tag, tag + "~"}), 0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM mitglied WHERE eintritt>?"), {tag}), 0);
    if (buchungen > 0) {
        QCOMPARE(Db::wert(QStringLiteral("SELECT min(datum) FROM journdat")).toString(),
                 UtilDatumText(QDate(stichtag.year() - 2, 1, 1)));
    }
}

void TestDemoDaten::buchungenVollstaendig_data()
{
    QTest::addColumn<quint32>("saat");
    QTest::addColumn<int>("mitglieder");
    QTest::addColumn<int>("buchungen");
    QTest::newRow("Saat 1") << 1u << 300 << 2500;
    QTest::newRow("Saat 2, wenige Mitglieder") << 2u << 20 << 1500;
    QTest::newRow("Saat 99") << 99u << 500 << 3000;
}

void TestDemoDaten::buchungenVollstaendig()
{
    QFETCH(quint32, saat);
    QFETCH(int, mitglieder);
    QFETCH(int, buchungen);
    TestDb db;
    QVERIFY(erzeugen(saat, mitglieder, buchungen));

    // Exactly two lines per entry, '1' and '2', summing to zero; no line without its entry.
    QCOMPARE(zahl(QStringLiteral(
                 "SELECT count(*) FROM (SELECT datum,lfd FROM kgkto GROUP BY datum,lfd HAVING count(*)<>2 "
                 "OR sum(cent)<>0 OR min(kg)<>'1' OR max(kg)<>'2')")),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM journdat j WHERE NOT EXISTS "
                                 "(SELECT 1 FROM kgkto k WHERE k.datum=j.datum AND k.lfd=j.lfd)")),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM kgkto k WHERE NOT EXISTS "
                                 "(SELECT 1 FROM journdat j WHERE j.datum=k.datum AND j.lfd=k.lfd)")),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM kgkto WHERE cent=0 OR abstimm<>'0'")), 0);
    // Numbered per date from 1 without gaps, as the posting engine numbers them.
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM (SELECT datum FROM journdat GROUP BY datum "
                                 "HAVING min(lfd)<>1 OR max(lfd)<>count(*) OR max(lfd)>9999)")),
             0);
    // Stored as the posting engine stores them: texts never NULL, extlfd '0', time stamp after the date.
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM journdat WHERE kost IS NULL OR kost='' OR beleg IS NULL "
                                 "OR butext IS NULL OR butext='' OR art IS NULL OR beschluss IS NULL "
                                 "OR extlfd<>'0' OR erfasst<datum OR length(erfasst)<>19")),
             0);
    // Entries touching the accrual accounts are accrual entries, and only those and the opening balances.
    const QString aktiv = parameter("Konten/AbgrAktiv");
    const QString passiv = parameter("Konten/AbgrPassiv");
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM journdat j JOIN kgkto k ON k.datum=j.datum AND k.lfd=j.lfd "
                                 "WHERE k.konto IN (?,?) AND j.art<>'A'"),
                  {aktiv, passiv}),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM journdat WHERE art NOT IN ('','A')")), 0);
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM journdat WHERE art='A' AND substr(datum,6)='01-01'")) >= 2);

    // The member accounts are fully split: what a fee brought in went on to the units and the fee account.
    const QString pref = parameter("Konten/PrefMitglied");
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM (SELECT konto FROM kgkto WHERE substr(konto,1,?)=? "
                                 "GROUP BY konto HAVING sum(cent)<>0)"),
                  {pref.size(), pref}),
             0);
    // Supplier accounts never owe more than the invoices.
    const QString lief = parameter("Konten/PrefLief");
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM (SELECT konto FROM kgkto WHERE substr(konto,1,?)=? "
                                 "GROUP BY konto HAVING sum(cent)>0)"),
                  {lief.size(), lief}),
             0);
}

void TestDemoDaten::kontenNachSchema()
{
    TestDb db;
    QVERIFY(erzeugen(5, 200, 2000));
    const QString prefG = parameter("Konten/PrefGliederung");
    const QString prefM = parameter("Konten/PrefMitglied");
    const QString prefL = parameter("Konten/PrefLief");
    const int add = parameter("Konten/AddMitglied").toInt();
    QVERIFY(!prefG.isEmpty() && !prefM.isEmpty() && !prefL.isEmpty());
    QVERIFY(add > 0);

    // Every account of a line is a chart account or a personal account of an existing owner.
    QSet<QString> art;
    QSqlQuery q(QStringLiteral("SELECT DISTINCT konto FROM kgkto"));
    while (q.next()) {
        const QString konto = q.value(0).toString();
        QVERIFY2(konto.size() >= 2 && konto.at(0).isDigit() && konto.at(1).isDigit(), qPrintable(konto));
        QCOMPARE(konto, UtilSauberGross(konto));
        // The program's own resolver knows every one of them.
        QVERIFY2(!UtilKtoText(konto).isEmpty(), qPrintable(konto));
        if (zahl(QStringLiteral("SELECT count(*) FROM kontenplan WHERE konto=?"), {konto}) == 1) {
            art.insert(QStringLiteral("Sachkonto"));
        } else if (konto.startsWith(prefG)
                   && zahl(QStringLiteral("SELECT count(*) FROM verband WHERE bukto=?"), {konto.mid(prefG.size())})
                          == 1) {
            QCOMPARE(UtilGlKonto(konto.mid(prefG.size())), konto);
            art.insert(QStringLiteral("Gliederung"));
        } else if (konto.startsWith(prefL)
                   && zahl(QStringLiteral("SELECT count(*) FROM lieferant WHERE bukto=?"), {konto.mid(prefL.size())})
                          == 1) {
            const QString bez = Db::wert(QStringLiteral("SELECT bez FROM lieferant WHERE bukto=?"),
                                         {konto.mid(prefL.size())})
                                    .toString();
            QCOMPARE(UtilLsKonto(bez), konto);
            art.insert(QStringLiteral("Lieferant"));
        } else {
            QVERIFY2(konto.startsWith(prefM), qPrintable(konto));
            const int mid = konto.mid(prefM.size()).toInt() - add;
            QVERIFY2(mid >= 1 && mid <= 999998, qPrintable(konto));
            QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid=?"), {mid}), 1);
            QCOMPARE(UtilMIDKonto(mid), konto);
            art.insert(QStringLiteral("Mitglied"));
        }
    }
    QCOMPARE(art.size(), 4);
    // Prefixes do not hide one another, and no chart account starts like a personal account.
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM kontenplan WHERE substr(konto,1,2) IN (?,?,?)"),
                  {prefG, prefM, prefL}),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM kontenplan WHERE abgrart NOT IN ('S','O',' ')")), 0);
    for (const char *key : {"Konten/AbgrAktiv", "Konten/AbgrPassiv", "Konten/BankGeb", "Zahlungen/KontoDtaus"})
        QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM kontenplan WHERE konto=?"), {parameter(key)}), 1);
}

void TestDemoDaten::spendenUndBeitraege()
{
    TestDb db;
    QVERIFY(erzeugen(11, 300, 3000));

    // All six kinds with shares of at most 100 %, and accounts of the chart.
    QStringList arten;
    QSqlQuery q(QStringLiteral("SELECT art,prozint+prozbuv+prozlv+prozbzv+prozkv+prozov,midbuchung,kontokasse,"
                               "kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank "
                               "FROM spendenparam ORDER BY art"));
    while (q.next()) {
        arten << q.value(0).toString();
        QVERIFY(q.value(1).toInt() > 0 && q.value(1).toInt() <= 10000);
        QVERIFY(q.value(2).toString() == QLatin1String("J") || q.value(2).toString() == QLatin1String("N"));
        for (int i = 3; i < 9; ++i)
            QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM kontenplan WHERE konto=?"), {q.value(i)}), 1);
    }
    QCOMPARE(arten.join(QLatin1Char(',')), QStringLiteral("A,G,M,S,T,Z"));

    // Every donation row has its entry, a known donor, and shares of exactly 100 %.
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM spende")) > 20);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM spende s WHERE NOT EXISTS "
                                 "(SELECT 1 FROM journdat j WHERE j.datum=s.jdatum AND j.lfd=s.jlfd)")),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM spende s WHERE NOT EXISTS "
                                 "(SELECT 1 FROM mitglied m WHERE m.mid=s.mid) OR s.mid<1")),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM spende WHERE prozint+prozbuv+prozlv+prozbzv+prozkv+prozov"
                                 "<>10000 OR art NOT IN ('Z','G','A','S','M','T')")),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM spende s WHERE NOT EXISTS "
                                 "(SELECT 1 FROM verband v WHERE v.namekurz=s.gliederung)")),
             0);
    // The sort name is the donor's address name with the eight-digit key.
    q.exec(QStringLiteral("SELECT s.sortname,a.name1,a.name2,s.mid FROM spende s JOIN adresse a "
                          "ON a.art='M' AND a.key=printf('%08d',s.mid)"));
    int zeilen = 0;
    while (q.next()) {
        QCOMPARE(q.value(0).toString(), q.value(1).toString() + ", " + q.value(2).toString() + ", "
                                            + UtilMidKey(q.value(3).toInt()));
        ++zeilen;
    }
    QCOMPARE(qint64(zeilen), zahl(QStringLiteral("SELECT count(*) FROM spende")));
    // Fees appear with the member's paid-until date past the fee year, and on the member's account.
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM spende WHERE art='M'")) > 10);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM spende s JOIN mitglied m ON m.mid=s.mid WHERE s.art='M' "
                                 "AND (m.bezahlt < substr(s.jdatum,1,4) || '-12-31' OR s.mid>=1000000)")),
             0);
    const QString prefM = parameter("Konten/PrefMitglied");
    const int add = parameter("Konten/AddMitglied").toInt();
    q.exec(QStringLiteral("SELECT s.mid,k.konto,j.butext FROM spende s JOIN kgkto k ON k.datum=s.jdatum "
                          "AND k.lfd=s.jlfd AND k.kg='2' JOIN journdat j ON j.datum=s.jdatum AND j.lfd=s.jlfd "
                          "WHERE s.art='M'"));
    while (q.next()) {
        const int mid = q.value(0).toInt();
        QCOMPARE(q.value(1).toString(), prefM + QString::number(mid + add));
        const QString text = q.value(2).toString();
        QVERIFY2(text.startsWith(QStringLiteral("MID %1 ").arg(mid)), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Mitgliedsbeitrag 20")));
    }
    // Receipts: gifts in kind never, returned donations are marked, this year's not printed yet.
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM spende WHERE art='S' AND quittung<>'1900-01-01'")), 0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM spende WHERE substr(jdatum,1,4)=? AND quittung "
                                 "NOT IN ('1900-01-01','2200-12-31')"),
                  {QString::number(kStichtag.year())}),
             0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM spende WHERE quittung<>'1900-01-01' AND quittung<>'2200-12-31' "
                                 "AND (quittung<=jdatum OR quittung>?)"),
                  {UtilDatumText(kStichtag)}),
             0);
    // Anonymous gifts keep no row but exist in the journal.
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM journdat WHERE butext LIKE 'Anonyme Spende%'")) > 0);
}

void TestDemoDaten::mitgliederMitAdresse()
{
    TestDb db;
    QVERIFY(erzeugen(4, 250, 300));
    QSqlQuery q(QStringLiteral("SELECT mid,gliederung,wohngliederung,zahlart,zahlstatus,eintritt,austritt,bezahlt,sex "
                               "FROM mitglied ORDER BY mid"));
    int mitglieder = 0, andere = 0;
    QSet<QString> zahlarten, status;
    while (q.next()) {
        const int mid = q.value(0).toInt();
        mid < 1000000 ? ++mitglieder : ++andere;
        QSqlQuery a = Db::abfrage(QStringLiteral("SELECT suchname,name1,name2,plz,ort FROM adresse WHERE art='M' "
                                                 "AND key=?"),
                                  {UtilMidKey(mid)});
        QVERIFY2(a.next(), qPrintable(UtilMidKey(mid)));
        QCOMPARE(a.value(0).toString(), SuchName(a.value(1).toString(), a.value(2).toString()));
        QVERIFY(!a.value(1).toString().isEmpty());
        QCOMPARE(a.value(1).toString(), UtilSauber(a.value(1).toString()));
        QVERIFY(!a.value(1).toString().contains(QLatin1Char('\'')));
        QVERIFY(!a.value(3).toString().isEmpty() && !a.value(4).toString().isEmpty());
        QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM verband WHERE namekurz=?"), {q.value(1)}), 1);
        const QString wohn = q.value(2).toString();
        if (!wohn.isEmpty()) {
            QVERIFY(wohn != q.value(1).toString());
            QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM verband WHERE namekurz=?"), {wohn}), 1);
        }
        zahlarten.insert(q.value(3).toString());
        status.insert(q.value(4).toString());
        const QString austritt = q.value(6).toString();
        QVERIFY(austritt == QLatin1String("2200-01-01") || austritt > q.value(5).toString());
        QVERIFY(UtilDatum(q.value(7).toString()).isValid());
        QVERIFY(QStringLiteral("MWU ").contains(q.value(8).toString()) && q.value(8).toString().size() == 1);
    }
    QCOMPARE(mitglieder, 250);
    QVERIFY(andere >= 12);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM adresse WHERE art='M'")), qint64(mitglieder + andere));
    // The codes of the member dialog, mixed as a fee collection leaves them.
    for (const QString &z : zahlarten)
        QVERIFY2(QStringLiteral("VLG ").contains(z) && z.size() == 1, qPrintable(z));
    for (const QString &s : status)
        QVERIFY2(QStringLiteral("NR123LX ").contains(s) && s.size() == 1, qPrintable(s));
    QVERIFY(zahlarten.contains(QStringLiteral("L")) && zahlarten.contains(QStringLiteral("V")));
    QVERIFY(status.size() >= 5);
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM mitglied WHERE austritt<>'2200-01-01'")) > 0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM mitglied WHERE (zahlstatus='L' AND zahlart<>'L') "
                                 "OR (zahlstatus IN ('1','2','3') AND zahlart='L')")),
             0);
    // Direct debit needs bank details; every bank row has a valid IBAN of its account.
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM mitglied m WHERE zahlart IN ('L','G') AND NOT EXISTS "
                                 "(SELECT 1 FROM bankverbindung b WHERE b.art='M' AND b.key=printf('%08d',m.mid))")),
             0);
    q.exec(QStringLiteral("SELECT nummer,blz,iban,bic,length(inhaber) FROM bankverbindung"));
    while (q.next()) {
        const QString iban = q.value(2).toString();
        QCOMPARE(iban, QStringLiteral("DE") + iban.mid(2, 2) + q.value(1).toString()
                           + q.value(0).toString().rightJustified(10, QLatin1Char('0')));
        const QString gedreht = iban.mid(4) + QStringLiteral("1314") + iban.mid(2, 2);
        int rest = 0;
        for (const QChar c : gedreht)
            rest = (rest * 10 + c.digitValue()) % 97;
        QCOMPARE(rest, 1);
        QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM blzdatei WHERE land='D' AND blz=? AND bic=?"),
                      {q.value(1), q.value(3)}),
                 1);
        QVERIFY(q.value(4).toInt() >= 2 && q.value(4).toInt() <= 27);
    }
}

void TestDemoDaten::gliederungenUndEinstellungen()
{
    TestDb db;
    QVERIFY(erzeugen(6, 50, 100));
    UtilInit(true);
    QCOMPARE(UtilSelbst(), parameter("General/Gliederung"));
    QCOMPARE(UtilSelbstEbene(), 1);
    QCOMPARE(UtilBeitragAb(), 0);
    QCOMPARE(UtilAddMitglied(), parameter("Konten/AddMitglied").toInt());
    QVERIFY(!UtilSpendeAdr(1).isEmpty() && !UtilSpendeAdr(6).isEmpty());
    QVERIFY(UtilSpendeMin() > 0);
    QCOMPARE(parameter("Mail/Host"), QStringLiteral("localhost"));
    QCOMPARE(parameter("Mail/Port"), QStringLiteral("25"));

    // One Bundesverband on top; every other unit hangs under a unit of a higher level.
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM verband WHERE ebene=0 AND teilvon=''")), 1);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM verband v WHERE ebene>0 AND NOT EXISTS "
                                 "(SELECT 1 FROM verband o WHERE o.namekurz=v.teilvon AND o.ebene<v.ebene)")),
             0);
    for (int ebene = 2; ebene <= 4; ++ebene)
        QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM verband WHERE ebene=?"), {ebene}) >= 3);
    // Below the own unit: a Kreisverband straight under it, and a unit founded in the current year.
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM verband WHERE ebene=3 AND teilvon=?"), {UtilSelbst()}) >= 1);
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM verband WHERE substr(gegruendet,1,4)=?"),
                 {QString::number(kStichtag.year())})
            >= 1);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM verband WHERE gegruendet>?"), {UtilDatumText(kStichtag)}), 0);
    // Short names as the unit dialog stores them; distinct booking accounts; address and bank rows.
    QSqlQuery q(QStringLiteral("SELECT namekurz,bukto,vorsitzname,schatzname,schatzmail FROM verband"));
    QSet<QString> konten;
    while (q.next()) {
        const QString name = q.value(0).toString();
        QCOMPARE(name, UtilSauberGross(name));
        konten.insert(q.value(1).toString());
        QVERIFY(!q.value(2).toString().isEmpty() && !q.value(3).toString().isEmpty());
        QVERIFY(q.value(4).toString().contains(QLatin1Char('@')));
        QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM adresse WHERE art='V' AND key=? AND name1<>''"), {name}), 1);
        QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM bankverbindung WHERE art='V' AND key=?"), {name}), 1);
    }
    QCOMPARE(qint64(konten.size()), zahl(QStringLiteral("SELECT count(*) FROM verband")));
    // Suppliers with address and a booking account.
    QVERIFY(zahl(QStringLiteral("SELECT count(*) FROM lieferant")) >= 5);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM lieferant l WHERE bukto='' OR zahlart<>' ' OR NOT EXISTS "
                                 "(SELECT 1 FROM adresse a WHERE a.art='L' AND a.key=l.bez)")),
             0);
}

void TestDemoDaten::vorlagenUndZahlungsparameter()
{
    TestDb db;
    QVERIFY(erzeugen(9, 30, 50));
    // Every template named by the payment run exists, stored upper-case, with the placeholders.
    QSqlQuery q(QStringLiteral("SELECT key,wert FROM parameter WHERE key>='Zahlungen/Text' AND key<'Zahlungen/Texu'"));
    int namen = 0;
    while (q.next()) {
        ++namen;
        const QString bez = q.value(1).toString();
        QCOMPARE(bez, bez.toUpper());
        QSqlQuery t = Db::abfrage(QStringLiteral("SELECT subject,inhalt FROM textbaustein WHERE bez=?"), {bez});
        QVERIFY2(t.next(), qPrintable(bez));
        QVERIFY(!t.value(0).toString().isEmpty());
        QVERIFY(t.value(1).toString().contains(QStringLiteral("%nname%")));
        QVERIFY(t.value(1).toString().contains(QStringLiteral("%betrag%")));
        QVERIFY(!t.value(1).toString().contains(QLatin1Char('\'')));
        // Mails go out in ISO 8859-1.
        const QString alles = t.value(0).toString() + t.value(1).toString();
        QCOMPARE(QString::fromLatin1(alles.toLatin1()), alles);
    }
    QCOMPARE(namen, 16);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM textbaustein WHERE inhalt LIKE '%\\%kontonr\\%%' ESCAPE '\\'")),
             6);
    for (const char *key :
         {"Zahlungen/TageLast", "Zahlungen/TageMahn1", "Zahlungen/TageMahn2", "Zahlungen/TageMahn3"}) {
        const int tage = parameter(key).toInt();
        QVERIFY(tage >= 1 && tage <= 999);
    }
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM parameter WHERE key='Status/Zahlungen'")), 0);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM zahllauf")), 0);
    QCOMPARE(parameter("dtaus/blz").size(), 8);
    QCOMPARE(zahl(QStringLiteral("SELECT count(*) FROM blzdatei WHERE blz=?"), {parameter("dtaus/blz")}), 1);
}

void TestDemoDaten::ganzOderGarNicht()
{
    TestDb db;
    QVERIFY(erzeugen(1, 30, 80));
    const QByteArray vorher = digest();
    // Too many members for the member numbers: refused before anything is written.
    QVERIFY(!erzeugen(2, DemoDaten::MaxMitglieder + 1, 10));
    QCOMPARE(digest().toHex(), vorher.toHex());
    // A second run meets the rows of the first: it fails and leaves them as they were.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Demodaten:.*UNIQUE")));
    QVERIFY(!erzeugen(2, 30, 80));
    QCOMPARE(digest().toHex(), vorher.toHex());
    // The bulk-loading settings are gone again: the file is written safely.
    QCOMPARE(Db::wert(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    QCOMPARE(Db::wert(QStringLiteral("PRAGMA synchronous")).toInt(), 2);
    QCOMPARE(Db::wert(QStringLiteral("PRAGMA cache_size")).toInt(), -2000);
}

// The split entries are the ones the donation dialog computes for the same donor, kind and unit.
void TestDemoDaten::aufteilungWieImDialog()
{
    TestDb db;
    const QDate heute = QDate::currentDate();
    QVERIFY(erzeugen(12, 400, 4000, heute));
    UtilInit(true);
    // Donations for the donor's own unit (the dialog fills it in), and each member's latest fee.
    QSqlQuery q(QStringLiteral(
        "SELECT s.jdatum,s.jlfd,s.mid,s.art FROM spende s JOIN mitglied m ON m.mid=s.mid "
        "WHERE s.gliederung=m.gliederung AND (s.art IN ('G','Z','T') "
        "OR (s.art='M' AND m.bezahlt=substr(s.jdatum,1,4) || '-12-31')) ORDER BY s.jdatum,s.jlfd"));
    int beitraege = 0, spenden = 0, zeilen = 0;
    while (q.next()) {
        const QString datum = q.value(0).toString();
        const int lfd = q.value(1).toInt();
        const int mid = q.value(2).toInt();
        const QChar art = q.value(3).toString().at(0);
        QSqlQuery e = Db::abfrage(QStringLiteral(
                                      "SELECT j.butext,j.kost,a.konto,a.cent,b.konto FROM journdat j "
                                      "JOIN kgkto a ON a.datum=j.datum AND a.lfd=j.lfd AND a.kg='1' "
                                      "JOIN kgkto b ON b.datum=j.datum AND b.lfd=j.lfd AND b.kg='2' "
                                      "WHERE j.datum=? AND j.lfd=?"),
                                  {datum, lfd});
        QVERIFY(e.next());
        const QString konto = e.value(2).toString();
        const qint64 cent = e.value(3).toLongLong();
        const QString hauptkonto = e.value(4).toString();
        const bool kasse = konto >= QLatin1String("1000") && konto <= QLatin1String("1099");
        const int jahr = datum.left(4).toInt();

        Spende spende;
        spende.clear();
        spende.setParam(mid, art, art == QLatin1Char('M') ? QDate(jahr, 12, 31) : QDate());
        qint64 betrag = 0;
        QString zielKonto, text;
        spende.aufteilung(kasse, -2, cent, &betrag, &zielKonto, &text);
        QCOMPARE(text, e.value(0).toString());
        spende.aufteilung(kasse, -1, cent, &betrag, &zielKonto, &text);
        QCOMPARE(zielKonto, hauptkonto);
        if (art == QLatin1Char('M') || art == QLatin1Char('T') || jahr == heute.year())
            QCOMPARE(text, e.value(1).toString()); // the dialog puts in the year of today
        int naechste = lfd;
        for (int zeile = 0; zeile < 6; ++zeile) {
            spende.aufteilung(kasse, zeile, cent, &betrag, &zielKonto, &text);
            if (betrag == 0 || zielKonto.isEmpty())
                continue;
            ++naechste;
            QSqlQuery z = Db::abfrage(QStringLiteral("SELECT a.konto,a.cent,b.konto FROM kgkto a JOIN kgkto b "
                                                     "ON b.datum=a.datum AND b.lfd=a.lfd AND b.kg='2' "
                                                     "WHERE a.datum=? AND a.lfd=? AND a.kg='1'"),
                                      {datum, naechste});
            QVERIFY2(z.next(), qPrintable(datum + QLatin1Char(' ') + QString::number(naechste)));
            QCOMPARE(z.value(0).toString(), hauptkonto);
            const QString wo = QStringLiteral("%1 Nr. %2, Zeile %3").arg(datum).arg(lfd).arg(zeile);
            QVERIFY2(z.value(1).toLongLong() == betrag, qPrintable(wo));
            QCOMPARE(z.value(2).toString(), zielKonto);
            ++zeilen;
        }
        art == QLatin1Char('M') ? ++beitraege : ++spenden;
    }
    QVERIFY(beitraege >= 10);
    QVERIFY(spenden >= 5);
    QVERIFY(zeilen > 3 * beitraege);
}

QTEST_MAIN(TestDemoDaten)
#include "tst_demodaten.moc"
