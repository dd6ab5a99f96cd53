// The donation split: the form, the split over the unit chain, reading and writing `spende`
// and the member's payment state.

#include "db.h"
#include "dialogdriver.h"
#include "spende.h"
#include "testdb.h"
#include "wgliederung.h"
#include "wmitglied.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
constexpr int kZweck = 0, kAllgemein = 1, kSache = 3, kBeitrag = 4, kMandat = 5; // kind list positions
using Anteile = QList<qlonglong>; // International, Bund, Land, Bezirk, Kreis, Ort
const Anteile kStandard{0, 2000, 3000, 0, 5000, 0};
// Unit accounts carry the prefix "19", member accounts "20" + (mid + 100000).
QString gl(const QString &bukto) { return QStringLiteral("19") + bukto; }
const QString kBund = gl("0100"), kKreis = gl("3100"), kMeier = QStringLiteral("MID 4711 Meier, Hans ");
QStringList mitglied() { return TestDb::zeile("SELECT bezahlt,zahlart,zahlstatus,statusdatum FROM mitglied WHERE mid=4711"); }
QStringList spende(const QString &datum, int lfd, const QString &spalten = QStringLiteral("art"))
{
    return TestDb::zeile("SELECT " + spalten + " FROM spende WHERE jdatum=? AND jlfd=?", {datum, lfd});
}

// A kind's row: accounts 8000/8010 cash/bank, 8001/8011 anonymous, 8002/8012 juristic; cost centres KK, KB, ... + kost.
void param(QChar art, const Anteile &a, bool midBuchung = false, const QString &kost = QString())
{
    QVariantList w{QString(art), a[0], a[1], a[2], a[3], a[4], a[5], midBuchung ? "J" : "N",
                   "8000",       "8010", "8001", "8011", "8002", "8012"};
    for (const char *k : {"KK", "KB", "AK", "AB", "JK", "JB"})
        w << QString(k) + kost;
    Db::ausfuehren("INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,kontokasse,"
                   "kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,kostkasse,kostbank,"
                   "kostanonkasse,kostanonbank,kostjurkasse,kostjurbank) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                   w);
}
// The widget `spalte` columns right of a label in the form's grid (the grid sits in an outer layout).
QDoubleSpinBox *anteil(QDialog *d, const char *ebene) { return DialogTreiber::feldBei<QDoubleSpinBox>(d, QLatin1String(ebene)); }
QDateEdit *neuFeld(QDialog *d) { return DialogTreiber::feldBei<QDateEdit>(d, QStringLiteral("Art"), 0, 3); } // new paid-until date
struct Eingabe { QString mid, gliederung; int art = -1; double gebuehr = 0.0; std::function<void(QDialog *)> mehr = {}; };
// Runs the dialog with `cent`, fills it in like the user (null: leave as is) and saves with Alt+S or cancels with Alt+A.
int eingeben(Spende &s, qint64 cent, const Eingabe &e, bool speichern = true)
{
    DialogTreiber::beiModal([e, speichern](QDialog *d) {
        if (auto *mid = d->findChild<WMitglied *>(); !e.mid.isNull()) {
            mid->clear();
            DialogTreiber::tippeReturn(mid, e.mid);
        }
        if (!e.gliederung.isNull())
            d->findChild<WGliederung *>()->setText(e.gliederung);
        if (e.art >= 0)
            d->findChild<QComboBox *>()->setCurrentIndex(e.art);
        DialogTreiber::feldBei<QDoubleSpinBox>(d, QStringLiteral("Bankgebühr"))->setValue(e.gebuehr);
        if (e.mehr)
            e.mehr(d);
        if (!DialogTreiber::alt(d, speichern ? Qt::Key_S : Qt::Key_A))
            d->done(-1);
    });
    const int ergebnis = s.exec(cent);
    return DialogTreiber::gelaufen() ? ergebnis : -2;
}
struct Teil { qint64 cent = 0; QString konto, kost; };
// All that aufteilung hands back; "cent account" of the lines that are not empty; the sum of all lines, which
// with what stays on the main account must give the amount of the main booking, cent for cent.
struct Split { Teil haupt; QString text; QList<Teil> teile; QStringList zeilen; qint64 summe = 0; };
// Line -1 comes first, so it is the call that computes.
Split teile(Spende &s, bool kasse, qint64 cent)
{
    Split sp;
    Teil t;
    s.aufteilung(kasse, -1, cent, &sp.haupt.cent, &sp.haupt.konto, &sp.haupt.kost);
    s.aufteilung(kasse, -2, cent, &t.cent, &t.konto, &sp.text);
    for (int i = 0; i < 6; ++i) {
        s.aufteilung(kasse, i, cent, &t.cent, &t.konto, &t.kost);
        sp.teile << t;
        sp.summe += t.cent;
        if (t.cent != 0 || !t.konto.isEmpty())
            sp.zeilen << QString::number(t.cent) + " " + t.konto;
    }
    return sp;
}
} // namespace

class TstSpende : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        Db::Transaktion t;
        // A full chain, a Kreisverband right under the Landesverband; a unit under itself, rings across and on a level.
        for (const char *v : {"BUND 0 - 0100", "LVNORD 1 BUND 1100", "BZVOST 2 LVNORD 2100", "KVSTADT 3 LVNORD 3100",
                              "KVLAND 3 BZVOST 3200", "OVDORF 4 KVLAND 4100", "KVS 3 KVS 3900", "OVX 4 KVX 4901",
                              "KVX 3 BZVX 3901", "BZVX 2 KVX 2901", "KVA 3 KVB 3902", "KVB 3 KVA 3903"}) {
            const QStringList f = QString(v).split(' ');
            Db::ausfuehren("INSERT INTO verband (namekurz,ebene,teilvon,bukto,gegruendet) VALUES (?,?,?,?,'2000-01-01')",
                           {f[0], f[1].toInt(), f[2] == "-" ? QString() : f[2], f[3]});
        }
        for (const char *a : {"4711|Meier|Hans|12345|Stadt", "4712|Bau GmbH||54321|Dorf", "4713|Geheim||ZZZZZ|",
                              "1000001|Schulze|Eva|99999|Fern"}) {
            const QStringList f = QString(a).split('|');
            Db::ausfuehren("INSERT INTO adresse (art,key,name1,name2,plz,ort) VALUES ('M',?,?,?,?,?)",
                           {f[0].rightJustified(8, '0'), f[1], f[2], f[3], f[4]});
        }
        for (const char *m : {"4711 KVSTADT M", "4712 OVDORF U", "4713 KVSTADT W", "4714 KVSTADT W"})
            Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,sex,bezahlt,eintritt,austritt,zahlart,zahlstatus,"
                           "statusdatum) VALUES (?,?,?,'2023-12-31','2010-01-01','2200-01-01','L','R','2024-01-15')",
                           {QString(m).left(4).toInt(), QString(m).mid(5, QString(m).size() - 7), QString(m).right(1)});
        for (const char *p : {"Konten/PrefGliederung=19", "Konten/PrefMitglied=20", "Konten/AddMitglied=100000",
                              "Konten/BankGeb=6850", "General/Gliederung=LVNORD"})
            TestDb::setParameter(QString(p).section('=', 0, 0), QString(p).section('=', 1));
        QVERIFY(t.commit());
    }
    void cleanup() { m_db.reset(); }
    void beispiel()
    {
        // Own unit a Landesverband; a bank donation for a Kreisverband right under it.
        param('G', kStandard);
        Spende s;
        QCOMPARE(eingeben(s, 10000, {"4711", "KVSTADT", kAllgemein}), 1);
        const Split sp = teile(s, false, 10000);
        QCOMPARE(sp.zeilen, QStringList({"2000 " + kBund, "5000 " + kKreis}));
        QCOMPARE(sp.haupt.konto + " " + sp.haupt.kost + sp.teile[0].kost + sp.teile[1].kost, QString("8010 KBKBKB"));
        QCOMPARE(sp.summe + 3000, qint64(10000));
        // Later calls read the same result, whatever they pass; lines -1 and -2 hand back the amount passed.
        const Split spaeter = teile(s, true, 50000);
        QCOMPARE(spaeter.zeilen, sp.zeilen);
        QCOMPARE(spaeter.haupt.konto + " " + QString::number(spaeter.haupt.cent), QString("8010 50000"));
        // A cancelled dialog leaves the state and the split as they were.
        QCOMPARE(eingeben(s, 10000, {"4712", "OVDORF", kSache, 2.0}, false), int(QDialog::Rejected));
        QCOMPARE(s.disName(), QStringLiteral("4711 Meier, Hans, 12345  Stadt"));
        QCOMPARE(teile(s, false, 10000).zeilen, sp.zeilen);
        // The next acceptance computes again, from the old state.
        QCOMPARE(eingeben(s, 20000, {}), 1);
        const Split neu = teile(s, true, 20000);
        QCOMPARE(neu.zeilen, QStringList({"4000 " + kBund, "10000 " + kKreis}));
        QCOMPARE(neu.summe + 6000, qint64(20000));
    }
    void aufteilung_data()
    {
        QTest::addColumn<QString>("selbst"), QTest::addColumn<QString>("gliederung");
        QTest::addColumn<Anteile>("anteile"), QTest::addColumn<qlonglong>("cent"), QTest::addColumn<double>("gebuehr");
        QTest::addColumn<QStringList>("zeilen"), QTest::addColumn<qlonglong>("bleibt");
        const auto fall = [](const char *name, const char *selbst, const char *g, const Anteile &a, qlonglong cent,
                             const QStringList &z, qlonglong bleibt, double gebuehr = 0.0) {
            QTest::newRow(name) << QString(selbst) << QString(g) << a << cent << gebuehr << z << bleibt;
        };
        const char *l = "LVNORD", *k = "KVSTADT", *o = "OVDORF";
        const QString bzv = "1000 " + gl("2100"), ov = "3000 " + gl("4100");
        const QStringList bund{"2000 " + kBund}, std{"2000 " + kBund, "5000 " + kKreis}, keine;
        // Level merges along the unit chain.
        const Anteile a{500, 1500, 2000, 1000, 2000, 3000};
        fall("alle Ebenen", l, o, a, 10000, {"2000 " + kBund, bzv, "2000 " + gl("3200"), ov}, 2000);
        fall("KV direkt unter LV", l, k, a, 10000, std, 3000);
        fall("eigene Gliederung", l, l, a, 10000, bund, 8000);
        fall("hoehere Gliederung", l, "BUND", a, 10000, {"10000 " + kBund}, 0);
        fall("ohne Gliederung", l, "", a, 10000, bund, 8000);
        fall("unbekannte Gliederung", l, "NIX", a, 10000, bund, 8000);
        fall("eigener KV", "KVLAND", o, a, 10000, {"2000 " + kBund, "2000 " + gl("1100"), bzv, ov}, 2000);
        fall("eigene Einheit unbekannt", "WEG", "", a, 10000, keine, 10000);
        fall("keine Einheit bekannt", "WEG", "NIX", a, 10000, keine, 10000);
        fall("Mitgliederkonto", l, k, kStandard, 10000, {"3000 8010", "2000 " + kBund, "5000 " + kKreis}, 0);
        // Without shares the whole rest is the own level's, whatever level that is.
        for (const char *selbst : {"BUND", "LVNORD", "BZVOST", "KVLAND", "OVDORF", "WEG"})
            fall(qPrintable(QString("Rest an ") + selbst), selbst, o, Anteile(6, 0), 10000, keine, 10000);
        // A broken chain ends at the Bundesverband, which takes the levels in between.
        fall("Schleife", l, "KVS", kStandard, 10000, {"5000 " + kBund, "5000 " + gl("3900")}, 0);
        fall("Ring ueber Ebenen", l, "OVX", kStandard, 10000, {"5000 " + kBund, "5000 " + gl("3901")}, 0);
        fall("Ring auf einer Ebene", l, "KVA", kStandard, 10000, {"5000 " + kBund, "5000 " + gl("3902")}, 0);
        fall("ohne Bundesverband", l, "KVS", kStandard, 10000, {"2000 " + gl(""), "5000 " + gl("3900")}, 3000);
        // Fees and refunds.
        fall("Gebuehr", l, k, kStandard, 10000, {"2030 " + kBund, "5075 " + kKreis, "-150 6850"}, 3045, 1.5);
        fall("Betrag 0 ohne Gebuehr", l, k, kStandard, 0, keine, 0, 1.5);
        fall("Erstattung mit Gebuehr", l, k, kStandard, -10000, {"-1970 " + kBund, "-4925 " + kKreis, "-150 6850"},
             -2955, 1.5);
        fall("Erstattung", l, k, kStandard, -10000, {"-2000 " + kBund, "-5000 " + kKreis}, -3000);
        fall("negative Gebuehr", l, k, kStandard, 10000, {"1960 " + kBund, "4900 " + kKreis, "200 6850"}, 2940, -2.0);
        // Shares: the missing 30 % are the own level's; at 140 % line 0 takes back what was split too much.
        fall("unter 100 %", l, k, {0, 2000, 0, 0, 5000, 0}, 10000, std, 3000);
        fall("ueber 100 %", l, k, {0, 6000, 3000, 0, 5000, 0}, 10000, std, 3000);
        fall("Rundung auf Zeile 0", l, k, {0, 3333, 3333, 0, 3334, 0}, 100, {"34 " + kBund, "33 " + kKreis}, 33);
        fall("International zum Bund", l, k, {1000, 1000, 3000, 0, 5000, 0}, 10000, std, 3000);
        fall("OV faellt an den KV", l, k, {0, 2000, 3000, 0, 1000, 4000}, 10000, std, 3000);
        fall("krumme Betraege", l, k, {0, 1750, 2500, 0, 5750, 0}, 3333, {"584 " + kBund, "1916 " + kKreis}, 833);
    }
    void aufteilung()
    {
        QFETCH(QString, selbst); QFETCH(QString, gliederung); QFETCH(Anteile, anteile); QFETCH(qlonglong, cent);
        QFETCH(double, gebuehr); QFETCH(QStringList, zeilen); QFETCH(qlonglong, bleibt);
        const QByteArray fall = QTest::currentDataTag();
        TestDb::setParameter("General/Gliederung", selbst);
        if (fall == "ohne Bundesverband")
            Db::ausfuehren("DELETE FROM verband WHERE namekurz='BUND'");
        param('G', anteile, fall == "Mitgliederkonto"); // on the member's account the own share is a line
        Spende s; // a person without member record keeps the unit chooser as the row sets it
        QCOMPARE(eingeben(s, cent, {"1000001", gliederung.isNull() ? "" : gliederung, kAllgemein, gebuehr}), 1);
        const Split sp = teile(s, false, cent);
        QCOMPARE(sp.zeilen, zeilen);
        QCOMPARE(sp.haupt.konto, QString(fall == "Mitgliederkonto" ? "201100001" : "8010"));
        QCOMPARE(sp.summe + bleibt, qint64(cent));
    }
    void beitragsMonate_data()
    {
        QTest::addColumn<QString>("eintritt"), QTest::addColumn<QString>("austritt"), QTest::addColumn<QString>("gegruendet");
        QTest::addColumn<QString>("beitragAb"), QTest::addColumn<qlonglong>("kreis"), QTest::addColumn<qlonglong>("land");
        // A fee of 120.00 EUR for 2024: Bund 20 %, Land 30 %, Kreis 50 %; the Kreis share of
        // months before the Kreisverband existed goes up to the Landesverband.
        const char *alt = "2010-01-01", *nie = "2200-01-01", *fr = "2000-01-01", *juni = "2024-06-01", *juli = "2024-07-15";
        QTest::newRow("ganzes Jahr") << alt << nie << fr << "M" << 6000LL << 3600LL;
        QTest::newRow("Eintritt Mai") << "2024-05-10" << nie << fr << "M" << 6000LL << 3600LL;
        QTest::newRow("Eintritt Mai, KV seit Juni") << "2024-05-10" << nie << juni << "M" << 4500LL << 5100LL;
        QTest::newRow("ganzes Jahr, KV seit Juni") << alt << nie << juni << "M" << 3000LL << 6600LL;
        QTest::newRow("Austritt September, KV seit Juni") << alt << "2024-09-30" << juni << "M" << 2000LL << 7600LL;
        QTest::newRow("Austritt vor dem Beitragsjahr") << alt << "2023-05-31" << juni << "M" << 0LL << 9600LL;
        QTest::newRow("Eintritt nach dem Beitragsjahr") << "2025-02-01" << nie << juni << "M" << 0LL << 9600LL;
        QTest::newRow("Austritt vor Eintritt") << "2024-09-01" << "2024-03-31" << juni << "M" << 6000LL << 3600LL;
        QTest::newRow("gegruendet im Folgejahr") << alt << nie << "2025-03-01" << "M" << 0LL << 9600LL;
        QTest::newRow("gegruendet im Juli") << alt << nie << juli << "M" << 2500LL << 7100LL;
        QTest::newRow("gegruendet im Juli, BeitragAb J") << alt << nie << juli << "J" << 0LL << 9600LL;
        QTest::newRow("gegruendet im Vorjahr") << alt << nie << "2023-07-15" << "J" << 6000LL << 3600LL;
        QTest::newRow("ohne Gruendungsdatum") << alt << nie << QString() << "M" << 6000LL << 3600LL;
    }
    void beitragsMonate()
    {
        QFETCH(QString, eintritt); QFETCH(QString, austritt); QFETCH(QString, gegruendet);
        QFETCH(QString, beitragAb); QFETCH(qlonglong, kreis); QFETCH(qlonglong, land);
        TestDb::setParameter("General/BeitragAb", beitragAb);
        Db::ausfuehren("UPDATE verband SET gegruendet=? WHERE namekurz='KVSTADT'", {gegruendet});
        Db::ausfuehren("UPDATE mitglied SET eintritt=?, austritt=? WHERE mid=4711", {eintritt, austritt});
        param('M', kStandard);
        // As the closing of a payment run does it: paid up to the end of 2024, then written.
        Spende s;
        s.setParam(4711, 'M', QDate(2024, 12, 31));
        const Split sp = teile(s, false, 12000);
        QCOMPARE(sp.zeilen.join('|'), "2400 " + kBund + (kreis ? "|" + QString::number(kreis) + " " + kKreis : ""));
        QCOMPARE(sp.summe + land, qint64(12000));
        QCOMPARE(sp.text + " " + sp.haupt.konto, kMeier + "Mitgliedsbeitrag 2024 8010");
        s.write(QDate(2024, 1, 5), 2);
        QCOMPARE(mitglied().mid(0, 3), QStringList({"2024-12-31", "L", " "}));
        QCOMPARE(spende("2024-01-05", 2, "mid,art,gliederung"), QStringList({"4711", "M", "KVSTADT"}));
    }
    void spender_data()
    {
        QTest::addColumn<QString>("mid"), QTest::addColumn<QString>("gliederung"), QTest::addColumn<int>("art");
        QTest::addColumn<bool>("kasse"), QTest::addColumn<QString>("buchung"), QTest::addColumn<QString>("konto");
        QTest::addColumn<QString>("name"); // konto: main account and cost centre; gliederung "*": the member's
        const QString meier = "4711 Meier, Hans, 12345  Stadt", bau = "4712 Bau GmbH, , 54321  Dorf";
        const QString sp = kMeier + "Spende ", bs = "MID 4712 Bau GmbH Spende", a = "Anonyme Spende", m = "*";
        QTest::newRow("anonym") << "" << "" << kAllgemein << false << a << "8011 AB0" << "";
        QTest::newRow("anonym bar") << "" << "" << kAllgemein << true << a << "8001 AK0" << "";
        QTest::newRow("fuer KV") << "4711" << "KVSTADT" << kZweck << false << sp + "KV KVSTADT" << "8010 KB4711" << meier;
        QTest::newRow("KV aus Mitglied") << "4711" << m << kZweck << true << sp + "KV KVSTADT" << "8000 KK4711" << meier;
        QTest::newRow("fuer OV") << "4711" << "OVDORF" << kZweck << false << sp + "OV OVDORF" << "8010 KB4711" << meier;
        QTest::newRow("fuer BZV") << "4711" << "BZVOST" << kZweck << false << sp + "BZV BZVOST" << "8010 KB4711" << meier;
        QTest::newRow("fuer LV") << "4711" << "LVNORD" << kZweck << false << sp + "LV LVNORD" << "8010 KB4711" << meier;
        QTest::newRow("fuer den Bund") << "4711" << "BUND" << kZweck << false << sp + "BUND" << "8010 KB4711" << meier;
        QTest::newRow("juristisch") << "4712" << m << kZweck << false << bs + " OV OVDORF" << "8012 JB4712" << bau;
        QTest::newRow("juristisch bar") << "4712" << "" << kZweck << true << bs << "8002 JK4712" << bau;
        QTest::newRow("PLZ ZZZZZ") << "4713" << m << kZweck << false << "MID 4713 Spende KV KVSTADT" << "8011 AB4713"
                                   << "4713 Geheim, , ZZZZZ  ";
        QTest::newRow("ohne Adresse") << "4714" << m << kZweck << false << "MID 4714 Spende" << "8011 AB4714" << "";
        QTest::newRow("andere Person") << "1000001" << m << kZweck << false << "Schulze, Eva Spende" << "8010 KB0"
                                       << "1000001 Schulze, Eva, 99999  Fern";
        QTest::newRow("andere Person ohne Adresse") << "1000002" << m << kZweck << false << a << "8011 AB0" << "";
        QTest::newRow("Beitrag") << "4711" << m << kBeitrag << false << kMeier + "Mitgliedsbeitrag 2024" << "8010 KB4711"
                                 << meier;
        QTest::newRow("Mandatstraeger") << "4711" << m << kMandat << false << sp + "KV KVSTADT" << "8010 KB4711" << meier;
    }
    void spender()
    {
        QFETCH(QString, mid); QFETCH(QString, gliederung); QFETCH(int, art); QFETCH(bool, kasse);
        QFETCH(QString, buchung); QFETCH(QString, konto); QFETCH(QString, name);
        for (QChar a : QStringLiteral("ZGASMT"))
            param(a, {0, 0, 10000, 0, 0, 0}, false, "%MID%");
        Spende s;
        // Without a unit the number typed into the empty form fills the chooser from the member record.
        QCOMPARE(eingeben(s, 3600, {mid, gliederung == "*" ? QString() : gliederung.isNull() ? "" : gliederung, art}), 1);
        QCOMPARE(s.disName(), name);
        const Split sp = teile(s, kasse, 3600);
        QCOMPARE(sp.text, buchung);
        QCOMPARE(sp.haupt.konto + " " + sp.haupt.kost, konto);
        const bool hoeher = gliederung == "BUND"; // all is the own level's, unless the gift is for a unit above
        QCOMPARE(sp.zeilen, hoeher ? QStringList{"3600 " + kBund} : QStringList());
        QCOMPARE(sp.summe + (hoeher ? 0 : 3600), qint64(3600));
    }
    void mitgliedZahlung_data()
    {
        QTest::addColumn<QString>("art"), QTest::addColumn<QString>("zahlart"), QTest::addColumn<QString>("zahlstatus");
        QTest::addColumn<QString>("bezahlt"), QTest::addColumn<qlonglong>("cent"), QTest::addColumn<QDate>("neu");
        QTest::addColumn<QString>("neueZahlart"), QTest::addColumn<bool>("statusNeu"), QTest::addColumn<QString>("jahr");
        const QDate d22(2022, 12, 31), d23(2023, 12, 31), d24(2024, 12, 31);
        const QString j = QString::number(QDate::currentDate().year()), jan = "2024-01-31", jun = "2024-06-30";
        QTest::newRow("bezahlt") << "M" << "L" << "R" << d23.toString(Qt::ISODate) << 3600LL << d24 << "L" << true << "2024";
        QTest::newRow("Lastschrift zurueck") << "M" << "L" << "L" << "2024-12-31" << -3600LL << d23 << "G" << true << "2024";
        QTest::newRow("geplatzt, bezahlt") << "M" << "G" << "1" << jun << 3600LL << d24 << "L" << true << "2024";
        QTest::newRow("geplatzt, Erstattung") << "M" << "G" << "X" << jun << -3600LL << d23 << "G" << true << "2024";
        QTest::newRow("Vorkasse ohne Status") << "M" << "V" << " " << jan << 3600LL << d24 << "V" << false << "2024";
        QTest::newRow("Erstattung im Januar") << "M" << "V" << "R" << jan << -3600LL << d22 << "V" << true << "2023";
        QTest::newRow("Spende bewegt nichts") << "G" << "L" << "R" << "2023-12-31" << 3600LL << d23 << "L" << false << j;
    }
    void mitgliedZahlung()
    {
        QFETCH(QString, art); QFETCH(QString, zahlart); QFETCH(QString, zahlstatus); QFETCH(QString, bezahlt);
        QFETCH(qlonglong, cent); QFETCH(QDate, neu); QFETCH(QString, neueZahlart); QFETCH(bool, statusNeu);
        QFETCH(QString, jahr);
        Db::ausfuehren("UPDATE mitglied SET zahlart=?, zahlstatus=?, bezahlt=? WHERE mid=4711", {zahlart, zahlstatus, bezahlt});
        param(art.at(0), kStandard, false, "-%MID%-%Jahr%");
        Spende s;
        QDate gezeigt;
        const auto lies = [&gezeigt](QDialog *d) { gezeigt = neuFeld(d)->date(); };
        QCOMPARE(eingeben(s, cent, {"4711", QString(), int(QString("ZGASMT").indexOf(art)), 0.0, lies}), 1);
        QCOMPARE(gezeigt, neu);
        // The fee year in the cost centre is the year paid for.
        const Split sp = teile(s, false, cent);
        QCOMPARE(sp.haupt.kost + " " + sp.teile[0].kost, "KB-4711-" + jahr + " KB-4711-" + jahr);
        QCOMPARE(sp.summe + cent * 3 / 10, qint64(cent));
        s.write(QDate(2024, 7, 1), 1);
        QCOMPARE(mitglied(), QStringList({neu.toString(Qt::ISODate), neueZahlart, statusNeu ? " " : zahlstatus,
                                              statusNeu ? QDate::currentDate().toString(Qt::ISODate) : "2024-01-15"}));
        // Read back and written later, the stored record does not move the date twice.
        Spende t;
        t.read(QDate(2024, 7, 1), 1);
        QCOMPARE(eingeben(t, cent, {QString(), QString(), -1, 0.0, lies}), 1);
        t.write(QDate(2024, 7, 1), 1);
        QCOMPARE(gezeigt, neu);
        QCOMPARE(mitglied().value(0), neu.toString(Qt::ISODate));
    }
    void schreiben()
    {
        param('G', kStandard);
        Spende s;
        const auto mehr = [](QDialog *d) {
            DialogTreiber::feldBei<QDateEdit>(d, "Bescheinigung")->setDate(QDate(2024, 3, 1));
            anteil(d, "Ortsverband")->setValue(12.5);
        };
        QCOMPARE(eingeben(s, 10000, {"4711", "KVSTADT", kAllgemein, 0.0, mehr}), 1);
        s.write(QDate(2024, 2, 1), 7);
        QCOMPARE(spende("2024-02-01", 7, "mid,sortname,art,gliederung,quittung,prozint,prozbuv,prozlv,prozbzv,prozkv,"
                                         "prozov"),
                 QStringList({"4711", "Meier, Hans, 00004711", "G", "KVSTADT", "2024-03-01", "0", "2000", "3000", "0",
                              "5000", "1250"}));
        // Written again under the same entry: the row changes, no second row; a donor without address has no
        // sort name.
        QCOMPARE(eingeben(s, 10000, {"4714", "OVDORF", kSache}), 1);
        s.write(QDate(2024, 2, 1), 7);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende"), 1);
        QCOMPARE(spende("2024-02-01", 7, "mid,sortname,art,gliederung"), QStringList({"4714", "", "S", "OVDORF"}));
        // Anonymous gifts keep no row: the entry's row goes, the others stay.
        Db::ausfuehren("INSERT INTO spende (jdatum,jlfd,mid,art) VALUES ('2024-02-01',8,4711,'G')");
        QCOMPARE(eingeben(s, 500, {"", QString(), kAllgemein}), 1);
        s.write(QDate(2024, 2, 1), 7);
        QVERIFY(spende("2024-02-01", 7).isEmpty());
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende"), 1);
    }
    void lesen()
    {
        param('T', {0, 10000, 0, 0, 0, 0});
        param('Z', {0, 0, 2000, 0, 0, 8000});
        Db::ausfuehren("INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung,quittung,prozint,prozbuv,prozlv,"
                       "prozbzv,prozkv,prozov) VALUES ('2024-04-02',3,4711,'x','T','OVDORF','2024-05-05','0','1000',"
                       "'2000','3000','4000','0')");
        Spende s;
        s.read(QDate(2024, 4, 2), 3);
        QCOMPARE(s.disName(), QStringLiteral("4711 Meier, Hans, 12345  Stadt"));
        // The stored kind, unit, receipt date and shares are shown, not the kind's defaults.
        QStringList gezeigt;
        const auto lies = [&gezeigt](QDialog *d) {
            gezeigt = QStringList{d->findChild<WMitglied *>()->text(), d->findChild<WGliederung *>()->text(),
                                  QString::number(d->findChild<QComboBox *>()->currentIndex()),
                                  DialogTreiber::feldBei<QDateEdit>(d, "Bescheinigung")->date().toString(Qt::ISODate)};
            for (const char *n : {"Bundesverband", "Landesverband", "Bezirksverband", "Kreisverband", "Ortsverband"})
                gezeigt << QString::number(anteil(d, n)->value());
        };
        QCOMPARE(eingeben(s, 2500, {QString(), QString(), -1, 0.0, lies}), 1);
        QCOMPARE(gezeigt, QStringList({"4711", "OVDORF", "5", "2024-05-05", "10", "20", "30", "40", "0"}));
        s.write(QDate(2024, 4, 2), 4);
        QCOMPARE(spende("2024-04-02", 4, "art,prozkv,sortname"), QStringList({"T", "4000", "Meier, Hans, 00004711"}));
        // Another kind brings its own defaults.
        QCOMPARE(eingeben(s, 2500, {QString(), QString(), kZweck, 0.0, lies}), 1);
        QCOMPARE(gezeigt.mid(2), QStringList({"0", "2024-05-05", "0", "20", "0", "0", "80"}));
        s.write(QDate(2024, 4, 2), 4);
        QCOMPARE(spende("2024-04-02", 4, "art,prozov"), QStringList({"Z", "8000"}));
        // Without an entry number the form is cleared.
        s.read(QDate(2024, 4, 2), 0);
        QVERIFY(s.disName().isEmpty());
        QCOMPARE(eingeben(s, 100, {QString(), QString(), -1, 0.0, lies}, false), int(QDialog::Rejected));
        QCOMPARE(gezeigt.mid(0, 3), QStringList({"", "", QString::number(kZweck)}));
    }
};

QTEST_MAIN(TstSpende)
#include "tst_spende.moc"
