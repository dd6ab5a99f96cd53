// The donation split: the form, the split over the unit chain, the `spende` row and the member's payment state.

#include "db.h"
#include "dialogdriver.h"
#include "spende.h"
#include "testdb.h"
#include "wbetrag.h"
#include "wgliederung.h"
#include "wmitglied.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
namespace DT = DialogTreiber;
constexpr int kZweck = 0, kAllgemein = 1, kMandat = 5; // kind list positions
using Anteile = QList<qlonglong>;                      // International, Bund, Land, Bezirk, Kreis, Ort
const Anteile kStandard{0, 2000, 3000, 0, 5000, 0};
// Unit accounts carry the prefix "19", member accounts "20" + (mid + 100000).
QString gl(const QString &bukto) { return "19" + bukto; }
const QString kBund = gl("0100"), kKreis = gl("3100"), kMeier = "MID 4711 Meier, Hans ";
const QDate kTag(2024, 2, 1); // the journal entry's date
QStringList mitglied() { return TestDb::zeile("SELECT bezahlt,zahlart,zahlstatus,statusdatum FROM mitglied WHERE mid=4711"); }
QStringList spende(int lfd) { return TestDb::zeile("SELECT * FROM spende WHERE jdatum=? AND jlfd=?", {kTag, lfd}); }
// A table row given as one text; "_" stands for a blank.
void reihe(const char *n, const char *w, char t = ' ') { QTest::newRow(n) << QString(w).split(t).replaceInStrings("_", " "); }
// A kind's row: accounts 8000/8010 cash/bank, 8001/8011 anonymous, 8002/8012 juristic; cost centres KK, KB, ... + kost.
void param(QChar art, const Anteile &a, bool midBuchung = false, const QString &kost = {})
{
    QVariantList w{QString(art), a[0], a[1], a[2], a[3], a[4], a[5], midBuchung ? "J" : "N"};
    for (const char *k : {"8000", "8010", "8001", "8011", "8002", "8012", "KK", "KB", "AK", "AB", "JK", "JB"})
        w << (k[0] == '8' ? QString(k) : k + kost);
    Db::ausfuehren("INSERT INTO spendenparam VALUES (?" + QString(",?").repeated(19) + ")", w);
}
// What the user enters (null: leave as is), then the dialog saves with Alt+S or cancels with Alt+A.
struct Eingabe {
    QString mid, gliederung; int art = -1; double gebuehr = 0; std::function<void(QDialog *)> mehr = [](QDialog *) {}; };
int eingeben(Spende &s, qint64 cent, const Eingabe &e, bool speichern = true)
{
    DT::beiModal([e, speichern](QDialog *d) {
        if (!e.mid.isNull()) {
            d->findChild<WMitglied *>()->clear();
            DT::tippeReturn(d->findChild<WMitglied *>(), e.mid);
        }
        if (!e.gliederung.isNull())
            d->findChild<WGliederung *>()->setText(e.gliederung);
        if (e.art >= 0)
            d->findChild<QComboBox *>()->setCurrentIndex(e.art);
        DT::feldBei<WBetrag>(d, "Bankgebühr")->setCents(qRound64(e.gebuehr * 100));
        e.mehr(d);
        if (!DT::alt(d, speichern ? Qt::Key_S : Qt::Key_A))
            d->done(-1);
    });
    const int ergebnis = s.exec(cent);
    return DT::gelaufen() ? ergebnis : -2;
}
// All aufteilung hands back (line -1 first: it computes); "cent account" of the lines that are not empty, then what
// stays on the main account ("bleibt"), which the lines must leave of the amount cent for cent.
struct Split { QString konto, kost, text; qint64 betrag[2]; QStringList zeilen, kosten; };
Split teile(Spende &s, bool kasse, qint64 cent)
{
    Split sp;
    QString konto, kost;
    s.aufteilung(kasse, -1, cent, &sp.betrag[0], &sp.konto, &sp.kost);
    s.aufteilung(kasse, -2, cent, &sp.betrag[1], &konto, &sp.text);
    qint64 bleibt = cent;
    for (qint64 i = 0, c = 0; i < 6; ++i, bleibt -= c) {
        s.aufteilung(kasse, int(i), cent, &c, &konto, &kost);
        if (c != 0 || !konto.isEmpty())
            sp.zeilen << QString::number(c) + " " + konto, sp.kosten << kost;
    }
    sp.zeilen << "bleibt " + QString::number(bleibt);
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
        m_db = std::make_unique<TestDb>();
        QVERIFY(m_db->ok());
        // A full chain, a Kreisverband right under the Landesverband; a unit under itself, rings across and on a level.
        Db::ausfuehren("INSERT INTO verband (namekurz,ebene,teilvon,bukto) VALUES ('BUND',0,'','0100'),('LVNORD',1,'BUND',"
                       "'1100'),('BZVOST',2,'LVNORD','2100'),('KVSTADT',3,'LVNORD','3100'),('KVLAND',3,'BZVOST','3200'),"
                       "('OVDORF',4,'KVLAND','4100'),('KVS',3,'KVS','3900'),('OVX',4,'KVX','4901'),('KVX',3,'BZVX','3901'),"
                       "('BZVX',2,'KVX','2901'),('KVA',3,'KVB','3902'),('KVB',3,'KVA','3903')");
        Db::ausfuehren("INSERT INTO adresse (art,key,name1,name2,plz,ort) VALUES ('M','00004711','Meier','Hans','12345',"
                       "'Stadt'),('M','00004712','Bau GmbH','','54321','Dorf'),('M','00004713','Geheim','','ZZZZZ',''),"
                       "('M','01000001','Schulze','Eva','99999','Fern')");
        Db::ausfuehren("INSERT INTO mitglied (mid,gliederung,sex) VALUES (4711,'KVSTADT','M'),(4712,'OVDORF','U'),"
                       "(4713,'KVSTADT','W'),(4714,'KVSTADT','W')");
        Db::ausfuehren("UPDATE mitglied SET bezahlt='2023-12-31', eintritt='2010-01-01', austritt='2200-01-01', zahlart='L', "
                       "zahlstatus='R', statusdatum='2024-01-15'");
        Db::ausfuehren("UPDATE verband SET gegruendet='2000-01-01'");
        for (const QString p : {"Konten/PrefGliederung=19", "Konten/PrefMitglied=20", "Konten/AddMitglied=100000",
                                "Konten/BankGeb=6850", "General/Gliederung=LVNORD"})
            TestDb::setParameter(p.section('=', 0, 0), p.section('=', 1));
    }
    void cleanup() { m_db.reset(); }
    void beispiel()
    {
        // Own unit a Landesverband; a bank donation for a Kreisverband right under it.
        param('G', kStandard);
        Spende s;
        QCOMPARE(eingeben(s, 10000, {"4711", "KVSTADT", kAllgemein}), 1);
        const Split sp = teile(s, false, 10000);
        QCOMPARE(sp.zeilen, QStringList({"2000 " + kBund, "5000 " + kKreis, "bleibt 3000"}));
        QCOMPARE(sp.konto + " " + sp.kost + sp.kosten.join(""), QString("8010 KBKBKB"));
        // Later calls read the same result, whatever they pass; lines -1 and -2 hand back the amount passed.
        const Split spaeter = teile(s, true, 50000);
        QCOMPARE(spaeter.zeilen.mid(0, 2), sp.zeilen.mid(0, 2));
        QCOMPARE(spaeter.konto + " " + QString::number(spaeter.betrag[0] + spaeter.betrag[1]), "8010 100000");
        // A cancelled dialog leaves the state and the split as they were.
        QCOMPARE(eingeben(s, 10000, {"4712", "OVDORF", 3, 2.0}, false), int(QDialog::Rejected));
        QCOMPARE(s.disName(), QString("4711 Meier, Hans, 12345  Stadt"));
        QCOMPARE(teile(s, false, 10000).zeilen, sp.zeilen);
        // The next acceptance computes again, from the old state.
        QCOMPARE(eingeben(s, 20000, {}), 1);
        QCOMPARE(teile(s, true, 20000).zeilen, QStringList({"4000 " + kBund, "10000 " + kKreis, "bleibt 6000"}));
    }
    void aufteilung_data()
    {
        QTest::addColumn<QString>("selbst"), QTest::addColumn<QString>("gliederung"), QTest::addColumn<Anteile>("anteile");
        QTest::addColumn<qlonglong>("cent"), QTest::addColumn<double>("gebuehr"), QTest::addColumn<QStringList>("zeilen");
        const auto fall = [](const char *name, QString selbst, QString g, const Anteile &a, qlonglong cent, QStringList z,
                             qlonglong bleibt, double gebuehr = 0.0) {
            QTest::newRow(name) << selbst << g << a << cent << gebuehr << (z << "bleibt " + QString::number(bleibt));
        };
        const char *l = "LVNORD", *k = "KVSTADT", *o = "OVDORF";
        const QString bzv = "1000 " + gl("2100"), ov = "3000 " + gl("4100");
        const QStringList bund{"2000 " + kBund}, std{"2000 " + kBund, "5000 " + kKreis}, keine;
        // Level merges along the unit chain (International to Bund; Ortsverband to a Kreisverband without one).
        const Anteile a{500, 1500, 2000, 1000, 2000, 3000};
        fall("alle Ebenen", l, o, a, 10000, {"2000 " + kBund, bzv, "2000 " + gl("3200"), ov}, 2000);
        fall("KV direkt unter LV", l, k, a, 10000, std, 3000);
        fall("eigene Gliederung", l, l, a, 10000, bund, 8000);
        fall("hoehere Gliederung", l, "BUND", a, 10000, {"10000 " + kBund}, 0);
        fall("unbekannte Gliederung", l, "NIX", a, 10000, bund, 8000);
        fall("eigener KV", "KVLAND", o, a, 10000, {"2000 " + kBund, "2000 " + gl("1100"), bzv, ov}, 2000);
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
        // Fees and refunds; amount 0 ignores the fee.
        fall("Gebuehr", l, k, kStandard, 10000, {"2030 " + kBund, "5075 " + kKreis, "-150 6850"}, 3045, 1.5);
        fall("Betrag 0 ohne Gebuehr", l, k, kStandard, 0, keine, 0, 1.5);
        fall("Erstattung", l, k, kStandard, -10000, {"-1970 " + kBund, "-4925 " + kKreis, "-150 6850"}, -2955, 1.5);
        // Shares: the missing 30 % are the own level's; at 140 % line 0 takes back what was split too much.
        fall("unter 100 %", l, k, {0, 2000, 0, 0, 5000, 0}, 10000, std, 3000);
        fall("ueber 100 %", l, k, {0, 6000, 3000, 0, 5000, 0}, 10000, std, 3000);
        fall("Rundung auf Zeile 0", l, k, {0, 1750, 2500, 0, 5750, 0}, 3333, {"584 " + kBund, "1916 " + kKreis}, 833);
    }
    void aufteilung()
    {
        QFETCH(QString, selbst); QFETCH(QString, gliederung); QFETCH(Anteile, anteile); QFETCH(qlonglong, cent);
        QFETCH(double, gebuehr); QFETCH(QStringList, zeilen);
        const QByteArray fall = QTest::currentDataTag();
        TestDb::setParameter("General/Gliederung", selbst);
        if (fall == "ohne Bundesverband")
            Db::ausfuehren("DELETE FROM verband WHERE namekurz='BUND'");
        param('G', anteile, fall == "Mitgliederkonto"); // on the member's account the own share is a line
        Spende s; // a person without member record keeps the unit chooser as the row sets it
        QCOMPARE(eingeben(s, cent, {"1000001", gliederung, kAllgemein, gebuehr}), 1);
        const Split sp = teile(s, false, cent);
        QCOMPARE(sp.zeilen, zeilen);
        QCOMPARE(sp.konto, QString(fall == "Mitgliederkonto" ? "201100001" : "8010"));
    }
    void beitragsMonate_data()
    {
        // eintritt austritt gegruendet BeitragAb | Kreis and Land parts of 120.00 EUR for 2024 (Bund 20, Land 30, Kreis 50 %)
        QTest::addColumn<QStringList>("f");
        reihe("Eintritt Mai, KV seit Juni", "2024-05-10 2200-01-01 2024-06-01 M 4500 5100");
        reihe("ganzes Jahr, KV seit Juni", "2010-01-01 2200-01-01 2024-06-01 M 3000 6600");
        reihe("Austritt September, KV seit Juni", "2010-01-01 2024-09-30 2024-06-01 M 2000 7600");
        reihe("Austritt vor dem Beitragsjahr", "2010-01-01 2023-05-31 2024-06-01 M 0 9600");
        reihe("Eintritt nach dem Beitragsjahr", "2025-02-01 2200-01-01 2024-06-01 M 0 9600");
        reihe("Austritt vor Eintritt", "2024-09-01 2024-03-31 2024-06-01 M 6000 3600");
        reihe("gegruendet im Folgejahr", "2010-01-01 2200-01-01 2025-03-01 M 0 9600");
        reihe("gegruendet im Juli", "2010-01-01 2200-01-01 2024-07-15 M 2500 7100");
        reihe("gegruendet im Juli, BeitragAb J", "2010-01-01 2200-01-01 2024-07-15 J 0 9600");
        reihe("gegruendet im Vorjahr", "2010-01-01 2200-01-01 2023-07-15 J 6000 3600");
        reihe("ohne Gruendungsdatum", "2010-01-01 2200-01-01 - M 6000 3600");
    }
    void beitragsMonate()
    {
        QFETCH(QStringList, f);
        TestDb::setParameter("General/BeitragAb", f[3]);
        Db::ausfuehren("UPDATE verband SET gegruendet=? WHERE namekurz='KVSTADT'", {f[2] == "-" ? QString() : f[2]});
        Db::ausfuehren("UPDATE mitglied SET eintritt=?, austritt=? WHERE mid=4711", {f[0], f[1]});
        param('M', kStandard);
        // As the closing of a payment run does it: paid up to the end of 2024, then written.
        Spende s;
        s.setParam(4711, 'M', QDate(2024, 12, 31));
        const Split sp = teile(s, false, 12000);
        QCOMPARE(sp.zeilen.join('|'), "2400 " + kBund + (f[4] != "0" ? "|" + f[4] + " " + kKreis : "") + "|bleibt " + f[5]);
        QCOMPARE(sp.text + " " + sp.konto, kMeier + "Mitgliedsbeitrag 2024 8010");
        s.write(kTag, 2);
        QCOMPARE(mitglied().mid(0, 3), QStringList({"2024-12-31", "L", " "}));
    }
    void spender_data()
    {
        // mid|unit (*: the member's)|kind|K(asse) or B(ank)|posting text|main account and cost centre
        QTest::addColumn<QStringList>("f");
        reihe("anonym", "||G|B|Anonyme Spende|8011 AB0", '|');
        reihe("anonym bar", "||G|K|Anonyme Spende|8001 AK0", '|');
        reihe("fuer KV", "4711|KVSTADT|Z|B|MID 4711 Meier, Hans Spende KV KVSTADT|8010 KB4711", '|');
        reihe("KV aus Mitglied", "4711|*|Z|K|MID 4711 Meier, Hans Spende KV KVSTADT|8000 KK4711", '|');
        reihe("fuer BZV", "4711|BZVOST|Z|B|MID 4711 Meier, Hans Spende BZV BZVOST|8010 KB4711", '|');
        reihe("fuer LV", "4711|LVNORD|Z|B|MID 4711 Meier, Hans Spende LV LVNORD|8010 KB4711", '|');
        reihe("fuer den Bund", "4711|BUND|Z|B|MID 4711 Meier, Hans Spende BUND|8010 KB4711", '|');
        reihe("juristisch", "4712|*|Z|B|MID 4712 Bau GmbH Spende OV OVDORF|8012 JB4712", '|');
        reihe("juristisch bar", "4712||Z|K|MID 4712 Bau GmbH Spende|8002 JK4712", '|');
        reihe("PLZ ZZZZZ", "4713|*|Z|B|MID 4713 Spende KV KVSTADT|8011 AB4713", '|');
        reihe("ohne Adresse", "4714|*|Z|B|MID 4714 Spende|8011 AB4714", '|');
        reihe("andere Person", "1000001|*|Z|B|Schulze, Eva Spende|8010 KB0", '|');
        reihe("andere Person ohne Adresse", "1000002|*|Z|B|Anonyme Spende|8011 AB0", '|');
        reihe("Beitrag", "4711|*|M|B|MID 4711 Meier, Hans Mitgliedsbeitrag 2024|8010 KB4711", '|');
        reihe("Mandatstraeger", "4711|*|T|B|MID 4711 Meier, Hans Spende KV KVSTADT|8010 KB4711", '|');
    }
    void spender()
    {
        QFETCH(QStringList, f);
        param(f[2].at(0), {0, 0, 10000, 0, 0, 0}, false, "%MID%");
        Spende s;
        // Without a unit the number typed into the empty form fills the chooser from the member record.
        QCOMPARE(eingeben(s, 3600, {f[0], f[1] == "*" ? QString() : f[1], int(QString("ZGASMT").indexOf(f[2]))}), 1);
        const Split sp = teile(s, f[3] == "K", 3600);
        QCOMPARE(sp.text + "|" + sp.konto + " " + sp.kost, f[4] + "|" + f[5]);
        QCOMPARE(sp.zeilen.join('|'), f[1] == "BUND" ? "3600 " + kBund + "|bleibt 0" : "bleibt 3600"); // above us: all goes
    }
    void mitgliedZahlung_data()
    {
        // kind zahlart zahlstatus bezahlt cent | new date, zahlart, zahlstatus, statusdatum, fee year (-: this year)
        QTest::addColumn<QStringList>("f");
        reihe("bezahlt", "M L R 2023-12-31 3600 2024-12-31 L _ heute 2024");
        reihe("Lastschrift zurueck", "M L L 2024-12-31 -3600 2023-12-31 G _ heute 2024");
        reihe("geplatzt, bezahlt", "M G 1 2024-06-30 3600 2024-12-31 L _ heute 2024");
        reihe("geplatzt, Erstattung", "M G X 2024-06-30 -3600 2023-12-31 G _ heute 2024");
        reihe("Vorkasse ohne Status", "M V _ 2024-01-31 3600 2024-12-31 V _ 2024-01-15 2024");
        reihe("Erstattung im Januar", "M V R 2024-01-31 -3600 2022-12-31 V _ heute 2023");
        reihe("Spende bewegt nichts", "G L R 2023-12-31 3600 2023-12-31 L R 2024-01-15 -");
    }
    void mitgliedZahlung()
    {
        QFETCH(QStringList, f);
        const qint64 cent = f[4].toLongLong();
        const QString jahr = f[9] == "-" ? QString::number(QDate::currentDate().year()) : f[9];
        Db::ausfuehren("UPDATE mitglied SET zahlart=?, zahlstatus=?, bezahlt=? WHERE mid=4711", {f[1], f[2], f[3]});
        param(f[0].at(0), kStandard, false, "-%MID%-%Jahr%");
        Spende s;
        QString gezeigt; // the new paid-until date, right of the kind
        const auto lies = [&gezeigt](QDialog *d) {
            gezeigt = DT::feldBei<QDateEdit>(d, "Art", 0, 3)->date().toString(Qt::ISODate); };
        QCOMPARE(eingeben(s, cent, {"4711", QString(), int(QString("ZGASMT").indexOf(f[0])), 0.0, lies}), 1);
        QCOMPARE(gezeigt, f[5]);
        // The fee year in the cost centre is the year paid for.
        const Split sp = teile(s, false, cent);
        QCOMPARE(sp.kost + " " + sp.kosten.value(0), "KB-4711-" + jahr + " KB-4711-" + jahr);
        QCOMPARE(sp.zeilen.last(), "bleibt " + QString::number(cent * 3 / 10));
        s.write(kTag, 1);
        QCOMPARE(mitglied(), f.mid(5, 4).replaceInStrings("heute", QDate::currentDate().toString(Qt::ISODate)));
        // Read back and written later, the stored record does not move the date twice.
        s.read(kTag, 1);
        QCOMPARE(eingeben(s, cent, {QString(), QString(), -1, 0.0, lies}), 1);
        s.write(kTag, 1);
        QCOMPARE(gezeigt + " " + mitglied().value(0), f[5] + " " + f[5]);
    }
    void lesenSchreiben()
    {
        param('T', {0, 10000, 0, 0, 0, 0});
        param('Z', {0, 0, 2000, 0, 0, 8000});
        Db::ausfuehren("INSERT INTO spende VALUES (?,3,4711,'x','T','OVDORF','2024-05-05',0,1000,2000,3000,4000,0)", {kTag});
        Spende s;
        s.read(kTag, 3);
        QCOMPARE(s.disName(), QString("4711 Meier, Hans, 12345  Stadt"));
        // The stored kind, unit, receipt date and shares are shown, not the kind's defaults; the user edits two.
        QStringList gezeigt;
        bool aendern = true;
        const auto lies = [&gezeigt, &aendern](QDialog *d) {
            gezeigt = QStringList{d->findChild<WMitglied *>()->text(), d->findChild<WGliederung *>()->text(),
                                  QString::number(d->findChild<QComboBox *>()->currentIndex()),
                                  DT::feldBei<QDateEdit>(d, "Bescheinigung")->date().toString(Qt::ISODate)};
            for (const char *n : {"Bundesverband", "Landesverband", "Bezirksverband", "Kreisverband", "Ortsverband"})
                gezeigt << QString::number(DT::feldBei<QDoubleSpinBox>(d, n)->value());
            if (std::exchange(aendern, false)) {
                DT::feldBei<QDateEdit>(d, "Bescheinigung")->setDate(QDate(2024, 3, 1));
                DT::feldBei<QDoubleSpinBox>(d, "Ortsverband")->setValue(12.5);
            }
        };
        QCOMPARE(eingeben(s, 2500, {QString(), QString(), -1, 0.0, lies}), 1);
        QCOMPARE(gezeigt, QStringList({"4711", "OVDORF", "5", "2024-05-05", "10", "20", "30", "40", "0"}));
        s.write(kTag, 4);
        QCOMPARE(spende(4), QStringList({"2024-02-01", "4", "4711", "Meier, Hans, 00004711", "T", "OVDORF", "2024-03-01",
                                         "0", "1000", "2000", "3000", "4000", "1250"}));
        // Another kind brings its own defaults; written again, the row changes; without address no sort name.
        QCOMPARE(eingeben(s, 2500, {"4714", "KVSTADT", kZweck, 0.0, lies}), 1);
        QCOMPARE(gezeigt.mid(2), QStringList({"0", "2024-03-01", "0", "20", "0", "0", "80"}));
        s.write(kTag, 4);
        QCOMPARE(spende(4), QStringList({"2024-02-01", "4", "4714", "", "Z", "KVSTADT", "2024-03-01", "0", "0", "2000", "0",
                                         "0", "8000"}));
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende WHERE sortname IS NULL OR gliederung IS NULL"), 0);
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spende"), 2);
        // Anonymous gifts keep no row: the entry's row goes, the others stay.
        QCOMPARE(eingeben(s, 500, {"", QString(), kMandat}), 1);
        s.write(kTag, 4);
        QCOMPARE(TestDb::zeile("SELECT count(*), min(jlfd) FROM spende"), QStringList({"1", "3"}));
        // Without an entry number the form is cleared.
        s.read(kTag, 0);
        QVERIFY(s.disName().isEmpty());
        QCOMPARE(eingeben(s, 100, {QString(), QString(), -1, 0.0, lies}, false), int(QDialog::Rejected));
        QCOMPARE(gezeigt.mid(0, 3), QStringList({"", "", QString::number(kZweck)}));
    }
};

QTEST_MAIN(TstSpende)
#include "tst_spende.moc"
