// The donation split: the form, the split over the unit chain, reading and writing `spende`
// and the member's payment state.

#include "db.h"
#include "dialogdriver.h"
#include "spende.h"
#include "testdb.h"
#include "wgliederung.h"
#include "wmitglied.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSqlRecord>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Kind list positions.
constexpr int kZweck = 0;
constexpr int kAllgemein = 1;
constexpr int kSache = 3;
constexpr int kBeitrag = 4;
constexpr int kMandat = 5;

using Anteile = QList<qlonglong>; // International, Bund, Land, Bezirk, Kreis, Ort

// Unit accounts carry the prefix "19", member accounts "20" + (mid + 100000).
QString gl(const QString &bukto) { return QStringLiteral("19") + bukto; }

void verband(const QString &name, int ebene, const QString &teilvon, const QString &bukto,
             const QString &gegruendet = QStringLiteral("2000-01-01"))
{
    Db::ausfuehren(QStringLiteral("INSERT INTO verband (namekurz,ebene,teilvon,bukto,gegruendet) VALUES (?,?,?,?,?)"),
                   {name, ebene, teilvon, bukto, gegruendet});
}

void adresse(int mid, const QString &name1, const QString &name2, const QString &plz, const QString &ort)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,name1,name2,plz,ort) VALUES ('M',?,?,?,?,?)"),
                   {QString::asprintf("%08i", mid), name1, name2, plz, ort});
}

void mitglied(int mid, const QString &gliederung, const QString &sex)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid,gliederung,sex,bezahlt,eintritt,austritt,zahlart,"
                                  "zahlstatus,statusdatum) VALUES (?,?,?,'2023-12-31','2010-01-01','2200-01-01',"
                                  "'L','R','2024-01-15')"),
                   {mid, gliederung, sex});
}

void mitgliedSetze(int mid, const QString &spalte, const QString &wert)
{
    Db::ausfuehren(QStringLiteral("UPDATE mitglied SET %1=? WHERE mid=?").arg(spalte), {wert, mid});
}

// A kind's row: accounts 8000 (cash), 8010 (bank), 8001/8011 anonymous, 8002/8012 juristic.
void param(QChar art, const Anteile &a, bool midBuchung = false, const QStringList &kost = {"KK", "KB", "AK", "AB",
                                                                                           "JK", "JB"})
{
    QVariantList werte{QString(art)};
    for (qlonglong p : a)
        werte << p;
    werte << (midBuchung ? QStringLiteral("J") : QStringLiteral("N")) << "8000"
          << "8010"
          << "8001"
          << "8011"
          << "8002"
          << "8012";
    for (const QString &k : kost)
        werte << k;
    Db::ausfuehren(QStringLiteral("DELETE FROM spendenparam WHERE art=?"), {QString(art)});
    Db::ausfuehren(QStringLiteral("INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,"
                                  "midbuchung,kontokasse,kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,"
                                  "kontojurbank,kostkasse,kostbank,kostanonkasse,kostanonbank,kostjurkasse,kostjurbank)"
                                  " VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                   werte);
}

// The widget to the right of a label in the form's grid.
QWidget *neben(QDialog *d, const QString &label)
{
    auto *grid = d->findChild<QGridLayout *>();
    for (QLabel *l : d->findChildren<QLabel *>()) {
        if (l->text() != label)
            continue;
        int r, c, rs, cs;
        grid->getItemPosition(grid->indexOf(l), &r, &c, &rs, &cs);
        return grid->itemAtPosition(r, c + cs)->widget();
    }
    return nullptr;
}

QDoubleSpinBox *anteilFeld(QDialog *d, const char *ebene)
{
    return qobject_cast<QDoubleSpinBox *>(neben(d, QLatin1String(ebene)));
}

QDoubleSpinBox *gebuehrFeld(QDialog *d)
{
    return qobject_cast<QDoubleSpinBox *>(neben(d, QStringLiteral("Bankgebühr")));
}

QDateEdit *bezahltFeld(QDialog *d)
{
    return qobject_cast<QDateEdit *>(neben(d, QStringLiteral("Bezahlt bis")));
}

// The new paid-until field has no label: the date field that is neither of the others.
QDateEdit *neuFeld(QDialog *d)
{
    const QWidget *quittung = neben(d, QStringLiteral("Bescheinigung"));
    for (QDateEdit *e : d->findChildren<QDateEdit *>()) {
        if (e != quittung && e != bezahltFeld(d))
            return e;
    }
    return nullptr;
}

QPushButton *knopf(QDialog *d, const QString &text)
{
    for (QPushButton *k : d->findChildren<QPushButton *>()) {
        if (k->text() == text)
            return k;
    }
    return nullptr;
}

// What the user enters in the form. A null text leaves the field as it is.
struct Eingabe
{
    Eingabe(const QString &m = QString(), const QString &g = QString(), int a = -1, double geb = 0.0)
        : mid(m), gliederung(g), art(a), gebuehr(geb)
    {
    }
    QString mid;
    QString gliederung;
    int art;
    double gebuehr;
    std::function<void(QDialog *)> mehr;
};

// Opens the dialog with `cent`, fills it in like the user and saves (or cancels).
int eingeben(Spende &s, qint64 cent, const Eingabe &e, bool speichern = true)
{
    DialogTreiber::beiModal([e, speichern](QDialog *d) {
        auto *mid = d->findChild<WMitglied *>();
        if (!e.mid.isNull()) {
            mid->setFocus();
            mid->clear();
            QTest::keyClicks(mid, e.mid);
            emit mid->finished();
        }
        if (!e.gliederung.isNull())
            d->findChild<WGliederung *>()->setText(e.gliederung);
        if (e.art >= 0)
            d->findChild<QComboBox *>()->setCurrentIndex(e.art);
        gebuehrFeld(d)->setValue(e.gebuehr);
        if (e.mehr)
            e.mehr(d);
        QTest::mouseClick(knopf(d, speichern ? QStringLiteral("&Speichern") : QStringLiteral("&Abbruch")),
                          Qt::LeftButton);
    });
    const int ergebnis = s.exec(cent);
    if (!DialogTreiber::gelaufen())
        qWarning("the dialog was not driven");
    return ergebnis;
}

struct Teil
{
    qint64 cent = 0;
    QString konto;
    QString kost;
};

QList<Teil> teile(Spende &s, bool kasse, qint64 cent)
{
    QList<Teil> t;
    for (int i = 0; i < 6; ++i) {
        Teil z;
        s.aufteilung(kasse, i, cent, &z.cent, &z.konto, &z.kost);
        t << z;
    }
    return t;
}

// Lines as "cent account", leaving out the empty ones.
QStringList text(const QList<Teil> &teile)
{
    QStringList l;
    for (const Teil &t : teile) {
        if (t.cent != 0 || !t.konto.isEmpty())
            l << QStringLiteral("%1 %2").arg(t.cent).arg(t.konto);
    }
    return l;
}

// Every cent is accounted for: the split lines (the fee line included) plus
// what stays on the main account give the amount of the main booking.
bool summeStimmt(const QList<Teil> &teile, qint64 cent, qint64 bleibt)
{
    qint64 summe = bleibt;
    for (const Teil &t : teile)
        summe += t.cent;
    if (summe != cent)
        qWarning("lines + main account = %lld, amount %lld", summe, cent);
    return summe == cent;
}

QString hauptKonto(Spende &s, bool kasse, qint64 cent, QString *kost = nullptr)
{
    qint64 b = 0;
    QString konto, text;
    s.aufteilung(kasse, -1, cent, &b, &konto, &text);
    if (kost)
        *kost = text;
    return konto;
}

QString buchungsText(Spende &s, bool kasse, qint64 cent)
{
    qint64 b = 0;
    QString konto, text;
    s.aufteilung(kasse, -2, cent, &b, &konto, &text);
    return text;
}

QSqlRecord spendeZeile(const QDate &datum, int lfd)
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT * FROM spende WHERE jdatum=? AND jlfd=?"),
                              {datum.toString(Qt::ISODate), lfd});
    return q.next() ? q.record() : QSqlRecord();
}

QSqlRecord mitgliedZeile(int mid)
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT * FROM mitglied WHERE mid=?"), {mid});
    return q.next() ? q.record() : QSqlRecord();
}

const QString kJahr = QString::number(QDate::currentDate().year());

} // namespace

class TstSpende : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void beispiel();
    void ebenen_data();
    void ebenen();
    void beitragsMonate_data();
    void beitragsMonate();
    void gebuehr_data();
    void gebuehr();
    void anteile_data();
    void anteile();
    void restZurEigenenEbene_data();
    void restZurEigenenEbene();
    void spender_data();
    void spender();
    void variablen_data();
    void variablen();
    void mitgliederkonto();
    void teilvonSchleife_data();
    void teilvonSchleife();
    void aufteilungEinmalProAnnahme();
    void gliederungImBaumWaehlen();

    void dialog();
    void abbruchLaesstZustand();
    void schreiben();
    void anonymLoescht();
    void lesenUndArtT();
    void lesenOhneNummerLeert();
    void mitgliedZahlung_data();
    void mitgliedZahlung();
    void andereArtBewegtNichts();
    void setParamFuerZahllauf();

private:
    std::unique_ptr<TestDb> m_db;
};

void TstSpende::init()
{
    QLocale::setDefault(QLocale(QLocale::German));
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
    Db::Transaktion t;
    verband(QStringLiteral("BUND"), 0, QString(), QStringLiteral("0100"));
    verband(QStringLiteral("LVNORD"), 1, QStringLiteral("BUND"), QStringLiteral("1100"));
    verband(QStringLiteral("BZVOST"), 2, QStringLiteral("LVNORD"), QStringLiteral("2100"));
    verband(QStringLiteral("KVSTADT"), 3, QStringLiteral("LVNORD"), QStringLiteral("3100"));
    verband(QStringLiteral("KVLAND"), 3, QStringLiteral("BZVOST"), QStringLiteral("3200"));
    verband(QStringLiteral("OVDORF"), 4, QStringLiteral("KVLAND"), QStringLiteral("4100"));

    adresse(4711, QStringLiteral("Meier"), QStringLiteral("Hans"), QStringLiteral("12345"), QStringLiteral("Stadt"));
    adresse(4712, QStringLiteral("Bau GmbH"), QString(), QStringLiteral("54321"), QStringLiteral("Dorf"));
    adresse(4713, QStringLiteral("Geheim"), QString(), QStringLiteral("ZZZZZ"), QString());
    adresse(1000001, QStringLiteral("Schulze"), QStringLiteral("Eva"), QStringLiteral("99999"), QStringLiteral("Fern"));
    mitglied(4711, QStringLiteral("KVSTADT"), QStringLiteral("M"));
    mitglied(4712, QStringLiteral("OVDORF"), QStringLiteral("U"));
    mitglied(4713, QStringLiteral("KVSTADT"), QStringLiteral("W"));
    mitglied(4714, QStringLiteral("KVSTADT"), QStringLiteral("W"));

    TestDb::setParameter(QStringLiteral("Konten/PrefGliederung"), QStringLiteral("19"));
    TestDb::setParameter(QStringLiteral("Konten/PrefMitglied"), QStringLiteral("20"));
    TestDb::setParameter(QStringLiteral("Konten/AddMitglied"), QStringLiteral("100000"));
    TestDb::setParameter(QStringLiteral("Konten/BankGeb"), QStringLiteral("6850"));
    TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("LVNORD"));
    QVERIFY(t.commit());
}

void TstSpende::cleanup()
{
    m_db.reset();
}

void TstSpende::beispiel()
{
    // Own unit a Landesverband; a bank donation for a Kreisverband right under it.
    param(QLatin1Char('G'), {0, 2000, 3000, 0, 5000, 0});
    Spende s;
    QCOMPARE(eingeben(s, 10000, {QStringLiteral("4711"), QStringLiteral("KVSTADT"), kAllgemein}), 1);
    const QList<Teil> t = teile(s, false, 10000);
    QCOMPARE(text(t), QStringList({"2000 " + gl("0100"), "5000 " + gl("3100")}));
    QCOMPARE(t.at(0).kost, QStringLiteral("KB"));
    QCOMPARE(t.at(1).kost, QStringLiteral("KB"));
    QString kost;
    QCOMPARE(hauptKonto(s, false, 10000, &kost), QStringLiteral("8010"));
    QCOMPARE(kost, QStringLiteral("KB"));
    QVERIFY(summeStimmt(t, 10000, 3000));
}

void TstSpende::ebenen_data()
{
    QTest::addColumn<QString>("selbst");
    QTest::addColumn<QString>("gliederung");
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<qlonglong>("bleibt");

    const QString bund = gl("0100"), lv = gl("1100"), bzv = gl("2100");
    QTest::newRow("alle Ebenen") << "LVNORD"
                                 << "OVDORF"
                                 << QStringList{"2000 " + bund, "1000 " + bzv, "2000 " + gl("3200"),
                                                "3000 " + gl("4100")}
                                 << 2000LL;
    QTest::newRow("KV direkt unter LV") << "LVNORD"
                                        << "KVSTADT" << QStringList{"2000 " + bund, "5000 " + gl("3100")} << 3000LL;
    QTest::newRow("eigene Gliederung") << "LVNORD"
                                       << "LVNORD" << QStringList{"2000 " + bund} << 8000LL;
    QTest::newRow("hoehere Gliederung") << "LVNORD"
                                        << "BUND" << QStringList{"10000 " + bund} << 0LL;
    QTest::newRow("ohne Gliederung") << "LVNORD" << QString() << QStringList{"2000 " + bund} << 8000LL;
    QTest::newRow("unbekannte Gliederung") << "LVNORD"
                                           << "NIX" << QStringList{"2000 " + bund} << 8000LL;
    QTest::newRow("eigener KV") << "KVLAND"
                                << "OVDORF"
                                << QStringList{"2000 " + bund, "2000 " + lv, "1000 " + bzv, "3000 " + gl("4100")}
                                << 2000LL;
    QTest::newRow("eigene Einheit unbekannt") << "WEG" << QString() << QStringList() << 10000LL;
    QTest::newRow("keine Einheit bekannt") << "WEG"
                                           << "NIX" << QStringList() << 10000LL;
}

void TstSpende::ebenen()
{
    QFETCH(QString, selbst);
    QFETCH(QString, gliederung);
    QFETCH(QStringList, zeilen);
    QFETCH(qlonglong, bleibt);
    TestDb::setParameter(QStringLiteral("General/Gliederung"), selbst);
    param(QLatin1Char('G'), {500, 1500, 2000, 1000, 2000, 3000});
    Spende s;
    // A person without member record keeps the unit chooser as it is.
    Eingabe e{QStringLiteral("1000001"), gliederung, kAllgemein};
    e.gliederung = gliederung.isNull() ? QStringLiteral("") : gliederung;
    QCOMPARE(eingeben(s, 10000, e), 1);
    const QList<Teil> t = teile(s, false, 10000);
    QCOMPARE(text(t), zeilen);
    QCOMPARE(hauptKonto(s, false, 10000), QStringLiteral("8010"));
    QVERIFY(summeStimmt(t, 10000, bleibt));
}

void TstSpende::beitragsMonate_data()
{
    QTest::addColumn<QString>("eintritt");
    QTest::addColumn<QString>("austritt");
    QTest::addColumn<QString>("gegruendet");
    QTest::addColumn<QString>("beitragAb");
    QTest::addColumn<qlonglong>("kreis");
    QTest::addColumn<qlonglong>("land");

    // A fee of 120.00 EUR for 2024: Bund 20 %, Land 30 %, Kreis 50 %; the Kreis share of
    // months before the Kreisverband existed goes up to the Landesverband.
    QTest::newRow("ganzes Jahr") << "2010-01-01"
                                 << "2200-01-01"
                                 << "2000-01-01"
                                 << "M" << 6000LL << 3600LL;
    QTest::newRow("Eintritt Mai") << "2024-05-10"
                                  << "2200-01-01"
                                  << "2000-01-01"
                                  << "M" << 6000LL << 3600LL;
    QTest::newRow("Eintritt Mai, KV seit Juni") << "2024-05-10"
                                                << "2200-01-01"
                                                << "2024-06-01"
                                                << "M" << 4500LL << 5100LL;
    QTest::newRow("ganzes Jahr, KV seit Juni") << "2010-01-01"
                                               << "2200-01-01"
                                               << "2024-06-01"
                                               << "M" << 3000LL << 6600LL;
    QTest::newRow("Austritt September, KV seit Juni") << "2010-01-01"
                                                      << "2024-09-30"
                                                      << "2024-06-01"
                                                      << "M" << 2000LL << 7600LL;
    QTest::newRow("Austritt vor dem Beitragsjahr") << "2010-01-01"
                                                   << "2023-05-31"
                                                   << "2024-06-01"
                                                   << "M" << 0LL << 9600LL;
    QTest::newRow("Eintritt nach dem Beitragsjahr") << "2025-02-01"
                                                    << "2200-01-01"
                                                    << "2024-06-01"
                                                    << "M" << 0LL << 9600LL;
    QTest::newRow("Austritt vor Eintritt") << "2024-09-01"
                                           << "2024-03-31"
                                           << "2024-06-01"
                                           << "M" << 6000LL << 3600LL;
    QTest::newRow("gegruendet im Folgejahr") << "2010-01-01"
                                             << "2200-01-01"
                                             << "2025-03-01"
                                             << "M" << 0LL << 9600LL;
    QTest::newRow("gegruendet im Juli") << "2010-01-01"
                                        << "2200-01-01"
                                        << "2024-07-15"
                                        << "M" << 2500LL << 7100LL;
    QTest::newRow("gegruendet im Juli, BeitragAb J") << "2010-01-01"
                                                     << "2200-01-01"
                                                     << "2024-07-15"
                                                     << "J" << 0LL << 9600LL;
    QTest::newRow("gegruendet im Vorjahr") << "2010-01-01"
                                           << "2200-01-01"
                                           << "2023-07-15"
                                           << "J" << 6000LL << 3600LL;
    QTest::newRow("ohne Gruendungsdatum") << "2010-01-01"
                                          << "2200-01-01" << QString() << "M" << 6000LL << 3600LL;
}

void TstSpende::beitragsMonate()
{
    QFETCH(QString, eintritt);
    QFETCH(QString, austritt);
    QFETCH(QString, gegruendet);
    QFETCH(QString, beitragAb);
    QFETCH(qlonglong, kreis);
    QFETCH(qlonglong, land);
    TestDb::setParameter(QStringLiteral("General/BeitragAb"), beitragAb);
    Db::ausfuehren(QStringLiteral("UPDATE verband SET gegruendet=? WHERE namekurz='KVSTADT'"), {gegruendet});
    mitgliedSetze(4711, QStringLiteral("eintritt"), eintritt);
    mitgliedSetze(4711, QStringLiteral("austritt"), austritt);
    param(QLatin1Char('M'), {0, 2000, 3000, 0, 5000, 0});

    // As the closing of a payment run does it: paid up to the end of 2024.
    Spende s;
    s.clear();
    s.setParam(4711, QLatin1Char('M'), QDate(2024, 12, 31));
    const QList<Teil> t = teile(s, false, 12000);
    QStringList erwartet{"2400 " + gl("0100")};
    if (kreis != 0)
        erwartet << QStringLiteral("%1 %2").arg(kreis).arg(gl("3100"));
    QCOMPARE(text(t), erwartet);
    QVERIFY(summeStimmt(t, 12000, land));
    QCOMPARE(buchungsText(s, false, 12000), QStringLiteral("MID 4711 Meier, Hans Mitgliedsbeitrag 2024"));
}

void TstSpende::gebuehr_data()
{
    QTest::addColumn<qlonglong>("cent");
    QTest::addColumn<double>("gebuehr");
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<qlonglong>("bleibt");

    const QString bund = gl("0100"), kreis = gl("3100");
    QTest::newRow("Gebuehr") << 10000LL << 1.5 << QStringList{"2030 " + bund, "5075 " + kreis, "-150 6850"}
                             << 3045LL;
    QTest::newRow("Betrag 0 ohne Gebuehr") << 0LL << 1.5 << QStringList() << 0LL;
    QTest::newRow("Erstattung mit Gebuehr") << -10000LL << 1.5
                                            << QStringList{"-1970 " + bund, "-4925 " + kreis, "-150 6850"}
                                            << -2955LL;
    QTest::newRow("Erstattung") << -10000LL << 0.0 << QStringList{"-2000 " + bund, "-5000 " + kreis} << -3000LL;
    QTest::newRow("negative Gebuehr") << 10000LL << -2.0
                                      << QStringList{"1960 " + bund, "4900 " + kreis, "200 6850"} << 2940LL;
}

void TstSpende::gebuehr()
{
    QFETCH(qlonglong, cent);
    QFETCH(double, gebuehr);
    QFETCH(QStringList, zeilen);
    QFETCH(qlonglong, bleibt);
    param(QLatin1Char('G'), {0, 2000, 3000, 0, 5000, 0});
    Spende s;
    Eingabe e{QStringLiteral("4711"), QStringLiteral("KVSTADT"), kAllgemein, gebuehr};
    QCOMPARE(eingeben(s, cent, e), 1);
    const QList<Teil> t = teile(s, false, cent);
    QCOMPARE(text(t), zeilen);
    QVERIFY(summeStimmt(t, cent, bleibt));
}

void TstSpende::anteile_data()
{
    QTest::addColumn<Anteile>("anteile");
    QTest::addColumn<qlonglong>("cent");
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<qlonglong>("bleibt");
    QTest::addColumn<double>("landGezeigt");

    const QString bund = gl("0100"), kreis = gl("3100");
    // The missing 30 % are the own level's (Landesverband).
    QTest::newRow("unter 100 %") << Anteile{0, 2000, 0, 0, 5000, 0} << 10000LL
                                 << QStringList{"2000 " + bund, "5000 " + kreis} << 3000LL << 30.0;
    // 140 %: line 0 takes back what was split too much.
    QTest::newRow("ueber 100 %") << Anteile{0, 6000, 3000, 0, 5000, 0} << 10000LL
                                 << QStringList{"2000 " + bund, "5000 " + kreis} << 3000LL << 30.0;
    QTest::newRow("Rundung auf Zeile 0") << Anteile{0, 3333, 3333, 0, 3334, 0} << 100LL
                                         << QStringList{"34 " + bund, "33 " + kreis} << 33LL << 33.33;
    QTest::newRow("International zum Bund") << Anteile{1000, 1000, 3000, 0, 5000, 0} << 10000LL
                                            << QStringList{"2000 " + bund, "5000 " + kreis} << 3000LL << 30.0;
    QTest::newRow("Ortsverband faellt an den KV") << Anteile{0, 2000, 3000, 0, 1000, 4000} << 10000LL
                                                  << QStringList{"2000 " + bund, "5000 " + kreis} << 3000LL << 30.0;
    QTest::newRow("krumme Betraege") << Anteile{0, 1750, 2500, 0, 5750, 0} << 3333LL
                                     << QStringList{"584 " + bund, "1916 " + kreis} << 833LL << 25.0;
}

void TstSpende::anteile()
{
    QFETCH(Anteile, anteile);
    QFETCH(qlonglong, cent);
    QFETCH(QStringList, zeilen);
    QFETCH(qlonglong, bleibt);
    QFETCH(double, landGezeigt);
    param(QLatin1Char('S'), anteile);
    Spende s;
    double gezeigt = -1.0;
    Eingabe e{QStringLiteral("4711"), QStringLiteral("KVSTADT"), kSache};
    e.mehr = [&gezeigt](QDialog *d) { gezeigt = anteilFeld(d, "Landesverband")->value(); };
    QCOMPARE(eingeben(s, cent, e), 1);
    QCOMPARE(gezeigt, landGezeigt);
    const QList<Teil> t = teile(s, true, cent);
    QCOMPARE(text(t), zeilen);
    QCOMPARE(t.at(0).kost, QStringLiteral("KK"));
    QVERIFY(summeStimmt(t, cent, bleibt));
}

void TstSpende::restZurEigenenEbene_data()
{
    QTest::addColumn<QString>("selbst");
    QTest::addColumn<QString>("ebene");
    QTest::newRow("Bundesverband") << "BUND"
                                   << "Bundesverband";
    QTest::newRow("Landesverband") << "LVNORD"
                                   << "Landesverband";
    QTest::newRow("Bezirksverband") << "BZVOST"
                                    << "Bezirksverband";
    QTest::newRow("Kreisverband") << "KVLAND"
                                  << "Kreisverband";
    QTest::newRow("Ortsverband") << "OVDORF"
                                 << "Ortsverband";
    QTest::newRow("unbekannt") << "WEG"
                               << "Bundesverband";
}

void TstSpende::restZurEigenenEbene()
{
    QFETCH(QString, selbst);
    QFETCH(QString, ebene);
    TestDb::setParameter(QStringLiteral("General/Gliederung"), selbst);
    // No parameter row for the kind: everything is the own level's.
    Spende s;
    QMap<QString, double> gezeigt;
    Eingabe e{QString(), QString(), kZweck};
    e.mehr = [&gezeigt](QDialog *d) {
        for (const char *n : {"International", "Bundesverband", "Landesverband", "Bezirksverband", "Kreisverband",
                              "Ortsverband"})
            gezeigt[QLatin1String(n)] = anteilFeld(d, n)->value();
    };
    QCOMPARE(eingeben(s, 5000, e), 1);
    for (auto it = gezeigt.cbegin(); it != gezeigt.cend(); ++it)
        QCOMPARE(it.value(), it.key() == ebene ? 100.0 : 0.0);
}

void TstSpende::spender_data()
{
    QTest::addColumn<QString>("mid");
    QTest::addColumn<QString>("gliederung"); // "*": as the member record gives it
    QTest::addColumn<int>("art");
    QTest::addColumn<bool>("kasse");
    QTest::addColumn<QString>("buchung");
    QTest::addColumn<QString>("konto");
    QTest::addColumn<QString>("kost");
    QTest::addColumn<QString>("name");

    QTest::newRow("anonym") << ""
                            << "" << kAllgemein << false << "Anonyme Spende"
                            << "8011"
                            << "AB" << "";
    QTest::newRow("anonym bar") << ""
                                << "" << kAllgemein << true << "Anonyme Spende"
                                << "8001"
                                << "AK" << "";
    QTest::newRow("Mitglied fuer KV") << "4711"
                                      << "KVSTADT" << kZweck << false << "MID 4711 Meier, Hans Spende KV KVSTADT"
                                      << "8010"
                                      << "KB"
                                      << "4711 Meier, Hans, 12345  Stadt";
    QTest::newRow("Gliederung aus Mitglied") << "4711"
                                             << "*" << kZweck << true << "MID 4711 Meier, Hans Spende KV KVSTADT"
                                             << "8000"
                                             << "KK"
                                             << "4711 Meier, Hans, 12345  Stadt";
    QTest::newRow("fuer OV") << "4711"
                             << "OVDORF" << kZweck << false << "MID 4711 Meier, Hans Spende OV OVDORF"
                             << "8010"
                             << "KB"
                             << "4711 Meier, Hans, 12345  Stadt";
    QTest::newRow("fuer BZV") << "4711"
                              << "BZVOST" << kZweck << false << "MID 4711 Meier, Hans Spende BZV BZVOST"
                              << "8010"
                              << "KB"
                              << "4711 Meier, Hans, 12345  Stadt";
    QTest::newRow("fuer LV") << "4711"
                             << "LVNORD" << kZweck << false << "MID 4711 Meier, Hans Spende LV LVNORD"
                             << "8010"
                             << "KB"
                             << "4711 Meier, Hans, 12345  Stadt";
    QTest::newRow("fuer den Bund") << "4711"
                                   << "BUND" << kZweck << false << "MID 4711 Meier, Hans Spende BUND"
                                   << "8010"
                                   << "KB"
                                   << "4711 Meier, Hans, 12345  Stadt";
    QTest::newRow("juristisch") << "4712"
                                << "*" << kZweck << false << "MID 4712 Bau GmbH Spende OV OVDORF"
                                << "8012"
                                << "JB"
                                << "4712 Bau GmbH, , 54321  Dorf";
    QTest::newRow("juristisch bar") << "4712"
                                    << "" << kZweck << true << "MID 4712 Bau GmbH Spende"
                                    << "8002"
                                    << "JK"
                                    << "4712 Bau GmbH, , 54321  Dorf";
    QTest::newRow("PLZ ZZZZZ") << "4713"
                               << "*" << kZweck << false << "MID 4713 Spende KV KVSTADT"
                               << "8011"
                               << "AB"
                               << "4713 Geheim, , ZZZZZ  ";
    QTest::newRow("ohne Adresse") << "4714"
                                  << "*" << kZweck << false << "MID 4714 Spende"
                                  << "8011"
                                  << "AB" << "";
    QTest::newRow("andere Person") << "1000001"
                                   << "*" << kZweck << false << "Schulze, Eva Spende"
                                   << "8010"
                                   << "KB"
                                   << "1000001 Schulze, Eva, 99999  Fern";
    QTest::newRow("andere Person ohne Adresse") << "1000002"
                                                << "*" << kZweck << false << "Anonyme Spende"
                                                << "8011"
                                                << "AB" << "";
    QTest::newRow("Beitrag") << "4711"
                             << "*" << kBeitrag << false << "MID 4711 Meier, Hans Mitgliedsbeitrag 2024"
                             << "8010"
                             << "KB"
                             << "4711 Meier, Hans, 12345  Stadt";
    QTest::newRow("Mandatstraeger") << "4711"
                                    << "*" << kMandat << false << "MID 4711 Meier, Hans Spende KV KVSTADT"
                                    << "8010"
                                    << "KB"
                                    << "4711 Meier, Hans, 12345  Stadt";
}

void TstSpende::spender()
{
    QFETCH(QString, mid);
    QFETCH(QString, gliederung);
    QFETCH(int, art);
    QFETCH(bool, kasse);
    QFETCH(QString, buchung);
    QFETCH(QString, konto);
    QFETCH(QString, kost);
    QFETCH(QString, name);
    for (QChar a : QStringLiteral("ZGASMT"))
        param(a, {0, 0, 10000, 0, 0, 0});
    Spende s;
    Eingabe e{mid, QString(), art};
    if (gliederung == QLatin1String("*")) {
        // Type the number into an empty form: the member's unit fills the chooser.
    } else {
        e.mehr = [gliederung](QDialog *d) { d->findChild<WGliederung *>()->setText(gliederung); };
    }
    QCOMPARE(eingeben(s, 3600, e), 1);
    QCOMPARE(s.disName(), name);
    QCOMPARE(buchungsText(s, kasse, 3600), buchung);
    QString k;
    QCOMPARE(hauptKonto(s, kasse, 3600, &k), konto);
    QCOMPARE(k, kost);
    // Everything is the own level's and stays on the main account, unless the
    // gift is for a unit above the own one.
    const QList<Teil> t = teile(s, kasse, 3600);
    const bool hoeher = gliederung == QLatin1String("BUND");
    QCOMPARE(text(t), hoeher ? QStringList{"3600 " + gl("0100")} : QStringList());
    QVERIFY(summeStimmt(t, 3600, hoeher ? 0 : 3600));
}

void TstSpende::variablen_data()
{
    QTest::addColumn<QString>("mid");
    QTest::addColumn<int>("art");
    QTest::addColumn<qlonglong>("cent");
    QTest::addColumn<QString>("bezahlt");
    QTest::addColumn<QString>("kost");

    QTest::newRow("anonym") << "" << kAllgemein << 1000LL << "2023-12-31" << "S-0-" + kJahr;
    QTest::newRow("Mitglied, Spende") << "4711" << kAllgemein << 1000LL << "2023-12-31" << "S-4711-" + kJahr;
    QTest::newRow("andere Person") << "1000001" << kAllgemein << 1000LL << "2023-12-31" << "S-0-" + kJahr;
    QTest::newRow("Beitrag") << "4711" << kBeitrag << 3600LL << "2023-12-31"
                             << "S-4711-2024";
    QTest::newRow("Beitrag im laufenden Jahr") << "4711" << kBeitrag << 3600LL << "2024-06-30"
                                               << "S-4711-2024";
    QTest::newRow("Beitrag zurueck") << "4711" << kBeitrag << -3600LL << "2024-12-31"
                                     << "S-4711-2024";
}

void TstSpende::variablen()
{
    QFETCH(QString, mid);
    QFETCH(int, art);
    QFETCH(qlonglong, cent);
    QFETCH(QString, bezahlt);
    QFETCH(QString, kost);
    mitgliedSetze(4711, QStringLiteral("bezahlt"), bezahlt);
    const QStringList kosten(6, QStringLiteral("S-%MID%-%Jahr%"));
    for (QChar a : QStringLiteral("GM"))
        param(a, {0, 5000, 5000, 0, 0, 0}, false, kosten);
    Spende s;
    QCOMPARE(eingeben(s, cent, {mid, QStringLiteral("LVNORD"), art}), 1);
    QString k;
    hauptKonto(s, false, cent, &k);
    QCOMPARE(k, kost);
    const QList<Teil> t = teile(s, false, cent);
    QCOMPARE(t.at(0).konto, gl("0100"));
    QCOMPARE(t.at(0).kost, kost);
    QVERIFY(summeStimmt(t, cent, cent / 2));
}

void TstSpende::mitgliederkonto()
{
    // Booked on the member's account: the own share is a line of its own.
    param(QLatin1Char('G'), {0, 2000, 3000, 0, 5000, 0}, true);
    Spende s;
    QCOMPARE(eingeben(s, 10000, {QStringLiteral("4711"), QStringLiteral("KVSTADT"), kAllgemein}), 1);
    QCOMPARE(hauptKonto(s, false, 10000), QStringLiteral("20104711"));
    const QList<Teil> t = teile(s, false, 10000);
    QCOMPARE(text(t), QStringList({"3000 8010", "2000 " + gl("0100"), "5000 " + gl("3100")}));
    QVERIFY(summeStimmt(t, 10000, 0));
}

void TstSpende::teilvonSchleife_data()
{
    QTest::addColumn<QString>("gliederung");
    QTest::addColumn<bool>("ohneBund");
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<qlonglong>("bleibt");

    // A broken chain ends at the Bundesverband, which takes the levels in between.
    QTest::newRow("auf sich selbst") << "KVS" << false << QStringList{"5000 " + gl("0100"), "5000 " + gl("3900")}
                                     << 0LL;
    QTest::newRow("Ring ueber drei Ebenen")
        << "OVX" << false << QStringList{"5000 " + gl("0100"), "5000 " + gl("3901")} << 0LL;
    QTest::newRow("Ring auf gleicher Ebene")
        << "KVA" << false << QStringList{"5000 " + gl("0100"), "5000 " + gl("3902")} << 0LL;
    QTest::newRow("ohne Bundesverband") << "KVS" << true << QStringList{"2000 " + gl(""), "5000 " + gl("3900")}
                                        << 3000LL;
}

void TstSpende::teilvonSchleife()
{
    QFETCH(QString, gliederung);
    QFETCH(bool, ohneBund);
    QFETCH(QStringList, zeilen);
    QFETCH(qlonglong, bleibt);
    verband(QStringLiteral("KVS"), 3, QStringLiteral("KVS"), QStringLiteral("3900"));
    verband(QStringLiteral("OVX"), 4, QStringLiteral("KVX"), QStringLiteral("4901"));
    verband(QStringLiteral("KVX"), 3, QStringLiteral("BZVX"), QStringLiteral("3901"));
    verband(QStringLiteral("BZVX"), 2, QStringLiteral("KVX"), QStringLiteral("2901"));
    verband(QStringLiteral("KVA"), 3, QStringLiteral("KVB"), QStringLiteral("3902"));
    verband(QStringLiteral("KVB"), 3, QStringLiteral("KVA"), QStringLiteral("3903"));
    if (ohneBund)
        Db::ausfuehren(QStringLiteral("DELETE FROM verband WHERE namekurz='BUND'"));
    param(QLatin1Char('M'), {0, 2000, 3000, 0, 5000, 0});
    mitgliedSetze(4711, QStringLiteral("gliederung"), gliederung);
    Spende s;
    s.setParam(4711, QLatin1Char('M'), QDate(2024, 12, 31));
    const QList<Teil> t = teile(s, false, 10000);
    QCOMPARE(text(t), zeilen);
    QVERIFY(summeStimmt(t, 10000, bleibt));
}

void TstSpende::aufteilungEinmalProAnnahme()
{
    param(QLatin1Char('G'), {0, 2000, 3000, 0, 5000, 0});
    Spende s;
    QCOMPARE(eingeben(s, 10000, {QStringLiteral("4711"), QStringLiteral("KVSTADT"), kAllgemein}), 1);
    const QStringList erst = text(teile(s, false, 10000));
    // Later calls read the same result, whatever they pass.
    QCOMPARE(text(teile(s, true, 50000)), erst);
    QCOMPARE(hauptKonto(s, true, 50000), QStringLiteral("8010"));
    // Out-of-range lines are empty.
    qint64 b = 7;
    QString k = QStringLiteral("x"), t = QStringLiteral("y");
    s.aufteilung(false, 6, 10000, &b, &k, &t);
    QCOMPARE(b, 0);
    QVERIFY(k.isEmpty() && t.isEmpty());
    s.aufteilung(false, -3, 10000, &b, &k, &t);
    QCOMPARE(b, 0);
    // Line -1 and -2 hand back the amount passed.
    s.aufteilung(false, -2, 4711, &b, &k, &t);
    QCOMPARE(b, 4711);
    QVERIFY(k.isEmpty());

    // The next acceptance computes again.
    QCOMPARE(eingeben(s, 20000, {QString(), QString(), -1}), 1);
    QCOMPARE(text(teile(s, true, 20000)), QStringList({"4000 " + gl("0100"), "10000 " + gl("3100")}));
}

// Checks on the open form; the caller closes it whatever they find.
void pruefeLeeresFormular(QDialog *d)
{
    QVERIFY(QTest::qWaitForWindowActive(d));
    for (QPushButton *k : d->findChildren<QPushButton *>())
        QVERIFY2(!k->isDefault() && !k->autoDefault(), qPrintable(k->text()));
    // No member yet: the member field has the focus.
    QCOMPARE(QApplication::focusWidget(), d->findChild<WMitglied *>());
    auto *art = d->findChild<QComboBox *>();
    QCOMPARE(art->count(), 6);
    QCOMPARE(art->itemText(kBeitrag), QStringLiteral("Mitgliedsbeitrag"));
    QCOMPARE(art->itemText(kMandat), QStringLiteral("Mandatsträgerbeitrag"));
    QVERIFY(!bezahltFeld(d)->isEnabled());
    QCOMPARE(bezahltFeld(d)->date(), QDate(1900, 1, 1));
    QCOMPARE(bezahltFeld(d)->displayFormat(), QStringLiteral("dd.MM.yyyy"));
    QCOMPARE(gebuehrFeld(d)->maximum(), 999.99);
    QCOMPARE(gebuehrFeld(d)->minimum(), -999.99);
    QCOMPARE(gebuehrFeld(d)->suffix(), QStringLiteral(" EUR"));
    QCOMPARE(anteilFeld(d, "Kreisverband")->suffix(), QStringLiteral(" %"));
    QCOMPARE(anteilFeld(d, "Kreisverband")->value(), 50.0);
    // Return in the member field presses no button.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4711"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(d->isVisible());
    emit d->findChild<WMitglied *>()->finished();
    QCOMPARE(d->findChild<WGliederung *>()->text(), QStringLiteral("KVSTADT"));
    QCOMPARE(bezahltFeld(d)->date(), QDate(2023, 12, 31));
    // Not a fee: the new date stays the old one and cannot be changed.
    QVERIFY(!neuFeld(d)->isEnabled());
    QCOMPARE(neuFeld(d)->date(), QDate(2023, 12, 31));
    art->setCurrentIndex(kBeitrag);
    QVERIFY(neuFeld(d)->isEnabled());
    QCOMPARE(neuFeld(d)->date(), QDate(2024, 12, 31));
}

void pruefeMitMitglied(QDialog *d)
{
    QVERIFY(QTest::qWaitForWindowActive(d));
    QCOMPARE(QApplication::focusWidget(), knopf(d, QStringLiteral("&Abbruch")));
    QCOMPARE(d->findChild<WMitglied *>()->text(), QStringLiteral("4711"));
}

void TstSpende::gliederungImBaumWaehlen()
{
    param(QLatin1Char('G'), {0, 2000, 3000, 0, 5000, 0});
    Spende s;
    Eingabe e{QStringLiteral(""), QString(), kAllgemein};
    e.mehr = [](QDialog *d) {
        // The unit button opens the chooser; a click on a row picks the unit.
        DialogTreiber::beiModal([](QDialog *wahl) {
            auto *view = wahl->findChild<QTreeView *>();
            const QModelIndexList treffer =
                view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("KVSTADT"), 1,
                                     Qt::MatchRecursive | Qt::MatchExactly);
            if (treffer.isEmpty()) {
                wahl->reject();
                return;
            }
            view->scrollTo(treffer.first());
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(treffer.first()).center());
        });
        QTest::mouseClick(d->findChild<WGliederung *>(), Qt::LeftButton);
    };
    QCOMPARE(eingeben(s, 10000, e), 1);
    QCOMPARE(buchungsText(s, false, 10000), QStringLiteral("Anonyme Spende KV KVSTADT"));
    QCOMPARE(hauptKonto(s, false, 10000), QStringLiteral("8011"));
    const QList<Teil> t = teile(s, false, 10000);
    QCOMPARE(text(t), QStringList({"2000 " + gl("0100"), "5000 " + gl("3100")}));
    QCOMPARE(t.at(0).kost, QStringLiteral("AB"));
    QVERIFY(summeStimmt(t, 10000, 3000));
}

void TstSpende::dialog()
{
    param(QLatin1Char('Z'), {0, 2000, 3000, 0, 5000, 0});
    Spende s;
    DialogTreiber::beiModal([](QDialog *d) {
        pruefeLeeresFormular(d);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QCOMPARE(s.exec(3600), int(QDialog::Rejected));
    QVERIFY(DialogTreiber::gelaufen());
    QVERIFY(!QTest::currentTestFailed());

    QCOMPARE(eingeben(s, 3600, {QStringLiteral("4711"), QString(), kAllgemein}), 1);
    // With a member the focus waits on "Abbruch".
    DialogTreiber::beiModal([](QDialog *d) {
        pruefeMitMitglied(d);
        d->reject();
    });
    QCOMPARE(s.exec(3600), int(QDialog::Rejected));
}

void TstSpende::abbruchLaesstZustand()
{
    param(QLatin1Char('G'), {0, 2000, 3000, 0, 5000, 0});
    param(QLatin1Char('S'), {0, 10000, 0, 0, 0, 0});
    Spende s;
    QCOMPARE(eingeben(s, 10000, {QStringLiteral("4711"), QStringLiteral("KVSTADT"), kAllgemein}), 1);
    const QStringList vorher = text(teile(s, false, 10000));
    const QString name = s.disName();

    Eingabe anders{QStringLiteral("4712"), QStringLiteral("OVDORF"), kSache, 2.0};
    QCOMPARE(eingeben(s, 10000, anders, false), int(QDialog::Rejected));
    QCOMPARE(s.disName(), name);
    QCOMPARE(text(teile(s, false, 10000)), vorher);

    // Accepting unchanged computes the same split again: the form holds the old state.
    QCOMPARE(eingeben(s, 10000, {QString(), QString(), -1}), 1);
    QCOMPARE(text(teile(s, false, 10000)), vorher);
    s.write(QDate(2024, 2, 1), 3);
    QCOMPARE(spendeZeile(QDate(2024, 2, 1), 3).value("art").toString(), QStringLiteral("G"));
    QCOMPARE(spendeZeile(QDate(2024, 2, 1), 3).value("mid").toInt(), 4711);
}

void TstSpende::schreiben()
{
    param(QLatin1Char('G'), {0, 2000, 3000, 0, 5000, 0});
    Spende s;
    Eingabe e{QStringLiteral("4711"), QStringLiteral("KVSTADT"), kAllgemein};
    e.mehr = [](QDialog *d) {
        qobject_cast<QDateEdit *>(neben(d, QStringLiteral("Bescheinigung")))->setDate(QDate(2024, 3, 1));
        auto *ov = anteilFeld(d, "Ortsverband");
        ov->setFocus();
        ov->selectAll();
        QTest::keyClicks(ov, QStringLiteral("12,5"));
    };
    QCOMPARE(eingeben(s, 10000, e), 1);
    s.write(QDate(2024, 2, 1), 7);
    QSqlRecord r = spendeZeile(QDate(2024, 2, 1), 7);
    QVERIFY(!r.isEmpty());
    QCOMPARE(r.value("mid").toInt(), 4711);
    QCOMPARE(r.value("sortname").toString(), QStringLiteral("Meier, Hans, 00004711"));
    QCOMPARE(r.value("art").toString(), QStringLiteral("G"));
    QCOMPARE(r.value("gliederung").toString(), QStringLiteral("KVSTADT"));
    QCOMPARE(r.value("quittung").toString(), QStringLiteral("2024-03-01"));
    const char *const spalten[6] = {"prozint", "prozbuv", "prozlv", "prozbzv", "prozkv", "prozov"};
    const qlonglong werte[6] = {0, 2000, 3000, 0, 5000, 1250};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(r.value(spalten[i]).toLongLong(), werte[i]);
    // No fee: the member's paid-until date stays.
    QCOMPARE(mitgliedZeile(4711).value("bezahlt").toString(), QStringLiteral("2023-12-31"));

    // Written again under the same entry: the row changes, no second row.
    QCOMPARE(eingeben(s, 10000, {QStringLiteral("1000001"), QStringLiteral("OVDORF"), kSache}), 1);
    s.write(QDate(2024, 2, 1), 7);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM spende")).toInt(), 1);
    r = spendeZeile(QDate(2024, 2, 1), 7);
    QCOMPARE(r.value("mid").toInt(), 1000001);
    QCOMPARE(r.value("sortname").toString(), QStringLiteral("Schulze, Eva, 01000001"));
    QCOMPARE(r.value("art").toString(), QStringLiteral("S"));
    QCOMPARE(r.value("gliederung").toString(), QStringLiteral("OVDORF"));

    // A donor without address has no sort name.
    QCOMPARE(eingeben(s, 10000, {QStringLiteral("4714"), QString(), kSache}), 1);
    s.write(QDate(2024, 2, 2), 1);
    r = spendeZeile(QDate(2024, 2, 2), 1);
    QCOMPARE(r.value("mid").toInt(), 4714);
    QCOMPARE(r.value("sortname").toString(), QString());
}

void TstSpende::anonymLoescht()
{
    Db::ausfuehren(QStringLiteral("INSERT INTO spende (jdatum,jlfd,mid,art) VALUES ('2024-02-01',7,4711,'G')"));
    Db::ausfuehren(QStringLiteral("INSERT INTO spende (jdatum,jlfd,mid,art) VALUES ('2024-02-01',8,4711,'G')"));
    Spende s;
    QCOMPARE(eingeben(s, 500, {QStringLiteral(""), QString(), kAllgemein}), 1);
    s.write(QDate(2024, 2, 1), 7);
    QVERIFY(spendeZeile(QDate(2024, 2, 1), 7).isEmpty());
    QVERIFY(!spendeZeile(QDate(2024, 2, 1), 8).isEmpty());
}

void TstSpende::lesenUndArtT()
{
    param(QLatin1Char('T'), {0, 10000, 0, 0, 0, 0});
    param(QLatin1Char('Z'), {0, 0, 2000, 0, 0, 8000});
    Db::ausfuehren(QStringLiteral("INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung,quittung,prozint,"
                                  "prozbuv,prozlv,prozbzv,prozkv,prozov) VALUES ('2024-04-02',3,4711,'x','T',"
                                  "'OVDORF','2024-05-05','0','1000','2000','3000','4000','0')"));
    Spende s;
    s.read(QDate(2024, 4, 2), 3);
    QCOMPARE(s.disName(), QStringLiteral("4711 Meier, Hans, 12345  Stadt"));

    // The stored shares are shown, not the kind's defaults.
    QMap<QString, double> gezeigt;
    Eingabe e;
    e.mehr = [&gezeigt](QDialog *d) {
        QCOMPARE(d->findChild<QComboBox *>()->currentIndex(), kMandat);
        QCOMPARE(d->findChild<WGliederung *>()->text(), QStringLiteral("OVDORF"));
        QCOMPARE(qobject_cast<QDateEdit *>(neben(d, QStringLiteral("Bescheinigung")))->date(), QDate(2024, 5, 5));
        for (const char *n : {"Bundesverband", "Landesverband", "Bezirksverband", "Kreisverband"})
            gezeigt[QLatin1String(n)] = anteilFeld(d, n)->value();
    };
    QCOMPARE(eingeben(s, 2500, e), 1);
    QCOMPARE(gezeigt.value(QStringLiteral("Bundesverband")), 10.0);
    QCOMPARE(gezeigt.value(QStringLiteral("Landesverband")), 20.0);
    QCOMPARE(gezeigt.value(QStringLiteral("Bezirksverband")), 30.0);
    QCOMPARE(gezeigt.value(QStringLiteral("Kreisverband")), 40.0);
    s.write(QDate(2024, 4, 2), 4);
    const QSqlRecord r = spendeZeile(QDate(2024, 4, 2), 4);
    QCOMPARE(r.value("art").toString(), QStringLiteral("T"));
    QCOMPARE(r.value("prozbzv").toLongLong(), 3000);
    QCOMPARE(r.value("prozkv").toLongLong(), 4000);
    QCOMPARE(r.value("sortname").toString(), QStringLiteral("Meier, Hans, 00004711"));

    // Another kind brings its own defaults.
    double ort = -1;
    Eingabe z{QString(), QString(), kZweck};
    z.mehr = [&ort](QDialog *d) { ort = anteilFeld(d, "Ortsverband")->value(); };
    QCOMPARE(eingeben(s, 2500, z), 1);
    QCOMPARE(ort, 80.0);
    s.write(QDate(2024, 4, 2), 4);
    QCOMPARE(spendeZeile(QDate(2024, 4, 2), 4).value("art").toString(), QStringLiteral("Z"));
    QCOMPARE(spendeZeile(QDate(2024, 4, 2), 4).value("prozov").toLongLong(), 8000);
}

void TstSpende::lesenOhneNummerLeert()
{
    Db::ausfuehren(QStringLiteral("INSERT INTO spende (jdatum,jlfd,mid,art,gliederung) VALUES "
                                  "('2024-04-02',3,4711,'G','KVSTADT')"));
    Spende s;
    s.read(QDate(2024, 4, 2), 3);
    QVERIFY(!s.disName().isEmpty());
    s.read(QDate(2024, 4, 2), 0);
    QVERIFY(s.disName().isEmpty());
    DialogTreiber::beiModal([](QDialog *d) {
        QVERIFY(d->findChild<WMitglied *>()->text().isEmpty());
        QVERIFY(d->findChild<WGliederung *>()->text().isEmpty());
        QCOMPARE(d->findChild<QComboBox *>()->currentIndex(), kZweck);
        d->reject();
    });
    s.exec(100);
    QVERIFY(DialogTreiber::gelaufen());

    s.read(QDate(2024, 4, 2), 3);
    s.clear();
    QVERIFY(s.disName().isEmpty());
}

void TstSpende::mitgliedZahlung_data()
{
    QTest::addColumn<QString>("zahlart");
    QTest::addColumn<QString>("zahlstatus");
    QTest::addColumn<QString>("bezahlt");
    QTest::addColumn<qlonglong>("cent");
    QTest::addColumn<QDate>("neu");
    QTest::addColumn<QString>("neueZahlart");
    QTest::addColumn<bool>("statusNeu");

    QTest::newRow("Rechnung bezahlt") << "L"
                                      << "R"
                                      << "2023-12-31" << 3600LL << QDate(2024, 12, 31) << "L" << true;
    QTest::newRow("Lastschrift zurueck") << "L"
                                         << "L"
                                         << "2024-12-31" << -3600LL << QDate(2023, 12, 31) << "G" << true;
    QTest::newRow("geplatzt, dann bezahlt") << "G"
                                            << "1"
                                            << "2024-06-30" << 3600LL << QDate(2024, 12, 31) << "L" << true;
    QTest::newRow("geplatzt, Erstattung") << "G"
                                          << "X"
                                          << "2024-06-30" << -3600LL << QDate(2023, 12, 31) << "G" << true;
    QTest::newRow("Vorkasse ohne Status") << "V"
                                          << " "
                                          << "2024-01-31" << 3600LL << QDate(2024, 12, 31) << "V" << false;
    QTest::newRow("Erstattung im Januar") << "V"
                                          << "R"
                                          << "2024-01-31" << -3600LL << QDate(2022, 12, 31) << "V" << true;
}

void TstSpende::mitgliedZahlung()
{
    QFETCH(QString, zahlart);
    QFETCH(QString, zahlstatus);
    QFETCH(QString, bezahlt);
    QFETCH(qlonglong, cent);
    QFETCH(QDate, neu);
    QFETCH(QString, neueZahlart);
    QFETCH(bool, statusNeu);
    mitgliedSetze(4711, QStringLiteral("zahlart"), zahlart);
    mitgliedSetze(4711, QStringLiteral("zahlstatus"), zahlstatus);
    mitgliedSetze(4711, QStringLiteral("bezahlt"), bezahlt);
    param(QLatin1Char('M'), {0, 2000, 3000, 0, 5000, 0});

    Spende s;
    QDate gezeigt;
    Eingabe e{QStringLiteral("4711"), QString(), kBeitrag};
    e.mehr = [&gezeigt](QDialog *d) { gezeigt = neuFeld(d)->date(); };
    QCOMPARE(eingeben(s, cent, e), 1);
    QCOMPARE(gezeigt, neu);
    s.write(QDate(2024, 7, 1), 1);

    const QSqlRecord m = mitgliedZeile(4711);
    QCOMPARE(m.value("bezahlt").toString(), neu.toString(Qt::ISODate));
    QCOMPARE(m.value("zahlart").toString(), neueZahlart);
    QCOMPARE(m.value("zahlstatus").toString(), statusNeu ? QStringLiteral(" ") : zahlstatus);
    QCOMPARE(m.value("statusdatum").toString(),
             statusNeu ? QDate::currentDate().toString(Qt::ISODate) : QStringLiteral("2024-01-15"));
    QCOMPARE(spendeZeile(QDate(2024, 7, 1), 1).value("art").toString(), QStringLiteral("M"));

    // Written again, the record is a stored one: the date does not move twice.
    s.write(QDate(2024, 7, 1), 1);
    QCOMPARE(mitgliedZeile(4711).value("bezahlt").toString(), neu.toString(Qt::ISODate));
    // Read back later, the stored fee keeps the member's date.
    Spende t;
    t.read(QDate(2024, 7, 1), 1);
    QDate wieder;
    Eingabe f;
    f.mehr = [&wieder](QDialog *d) { wieder = neuFeld(d)->date(); };
    QCOMPARE(eingeben(t, cent, f), 1);
    QCOMPARE(wieder, neu);
    t.write(QDate(2024, 7, 1), 1);
    QCOMPARE(mitgliedZeile(4711).value("bezahlt").toString(), neu.toString(Qt::ISODate));
}

void TstSpende::andereArtBewegtNichts()
{
    param(QLatin1Char('G'), {0, 2000, 3000, 0, 5000, 0});
    Spende s;
    QCOMPARE(eingeben(s, 3600, {QStringLiteral("4711"), QString(), kAllgemein}), 1);
    s.write(QDate(2024, 7, 1), 1);
    const QSqlRecord m = mitgliedZeile(4711);
    QCOMPARE(m.value("bezahlt").toString(), QStringLiteral("2023-12-31"));
    QCOMPARE(m.value("zahlstatus").toString(), QStringLiteral("R"));
    QCOMPARE(m.value("zahlart").toString(), QStringLiteral("L"));
}

void TstSpende::setParamFuerZahllauf()
{
    mitgliedSetze(4711, QStringLiteral("zahlart"), QStringLiteral("G"));
    param(QLatin1Char('M'), {0, 2000, 3000, 0, 5000, 0});
    Spende s;
    s.clear();
    s.setParam(4711, QLatin1Char('M'), QDate(2025, 12, 31));
    QCOMPARE(buchungsText(s, false, 3600), QStringLiteral("MID 4711 Meier, Hans Mitgliedsbeitrag 2025"));
    QCOMPARE(hauptKonto(s, false, 3600), QStringLiteral("8010"));
    const QList<Teil> t = teile(s, false, 3600);
    QCOMPARE(text(t), QStringList({"720 " + gl("0100"), "1800 " + gl("3100")}));
    QVERIFY(summeStimmt(t, 3600, 1080));
    s.write(QDate(2025, 1, 5), 2);
    const QSqlRecord m = mitgliedZeile(4711);
    QCOMPARE(m.value("bezahlt").toString(), QStringLiteral("2025-12-31"));
    QCOMPARE(m.value("zahlstatus").toString(), QStringLiteral(" "));
    QCOMPARE(spendeZeile(QDate(2025, 1, 5), 2).value("gliederung").toString(), QStringLiteral("KVSTADT"));

    // The next member in the same run.
    s.clear();
    s.setParam(4712, QLatin1Char('M'), QDate(2025, 12, 31));
    QCOMPARE(buchungsText(s, false, 3600), QStringLiteral("MID 4712 Bau GmbH Mitgliedsbeitrag 2025"));
    QCOMPARE(hauptKonto(s, false, 3600), QStringLiteral("8012"));
    s.write(QDate(2025, 1, 5), 3);
    QCOMPARE(mitgliedZeile(4712).value("bezahlt").toString(), QStringLiteral("2025-12-31"));
    QCOMPARE(spendeZeile(QDate(2025, 1, 5), 3).value("gliederung").toString(), QStringLiteral("OVDORF"));
}

QTEST_MAIN(TstSpende)
#include "tst_spende.moc"
