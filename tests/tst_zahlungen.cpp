// Bank and cash entry driven like a user, and the road of one fee payment from
// the bank statement through the donation split to the journal.

#include "db.h"
#include "dialogdriver.h"
#include "parameter.h"
#include "testdb.h"
#include "textutil.h"
#include "velamain.h"
#include "wkonto.h"
#include "wmitglied.h"
#include "zahlungen.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

namespace {

const QDate kTag(2024, 3, 15);

QString iso(const QDate &d) { return d.toString(Qt::ISODate); }

int anzahl(const QString &sql, const QVariantList &werte = {})
{
    return Db::wert(sql, werte).toInt();
}

void tippe(QWidget *feld, const QString &text)
{
    if (auto *zahl = qobject_cast<QAbstractSpinBox *>(feld))
        zahl->selectAll();
    else if (auto *zeile = qobject_cast<QLineEdit *>(feld))
        zeile->clear();
    DialogTreiber::tippe(feld, text);
}

// One posted entry with its two lines, as read back from the tables.
struct Buchung
{
    int lfd = 0;
    QString kost;
    QString beleg;
    QString text;
    QString beschluss;
    QString konto;
    qint64 cent = 0;
    QString gkonto;
    qint64 gcent = 0;
};

QList<Buchung> buchungen(const QDate &tag)
{
    QList<Buchung> liste;
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT j.lfd,j.kost,j.beleg,j.butext,j.beschluss,k1.konto,k1.cent,k2.konto,k2.cent "
                       "FROM journdat j JOIN kgkto k1 ON k1.datum=j.datum AND k1.lfd=j.lfd AND k1.kg='1' "
                       "JOIN kgkto k2 ON k2.datum=j.datum AND k2.lfd=j.lfd AND k2.kg='2' "
                       "WHERE j.datum=? ORDER BY j.lfd"),
        {iso(tag)});
    while (q.next()) {
        Buchung b;
        b.lfd = q.value(0).toInt();
        b.kost = q.value(1).toString();
        b.beleg = q.value(2).toString();
        b.text = q.value(3).toString();
        b.beschluss = q.value(4).toString();
        b.konto = q.value(5).toString();
        b.cent = q.value(6).toLongLong();
        b.gkonto = q.value(7).toString();
        b.gcent = q.value(8).toLongLong();
        liste << b;
    }
    return liste;
}

// The form's widgets, found as the user sees them.
struct Form
{
    explicit Form(QDialog *d) : dialog(d)
    {
        konto = d->findChild<WKonto *>(QStringLiteral("konto"));
        datum = d->findChild<QDateEdit *>(QStringLiteral("datum"));
        betrag = d->findChild<QDoubleSpinBox *>(QStringLiteral("betrag"));
        text = d->findChild<QLineEdit *>(QStringLiteral("text"));
        kost = d->findChild<QLineEdit *>(QStringLiteral("kost"));
        beschluss = d->findChild<QLineEdit *>(QStringLiteral("beschluss"));
        beleg = d->findChild<QLineEdit *>(QStringLiteral("beleg"));
        gkonto = d->findChild<WKonto *>(QStringLiteral("gkonto"));
        spendeLabel = d->findChild<QLabel *>(QStringLiteral("spendeLabel"));
        for (int i = 0; i < 6; ++i) {
            aufBetrag[i] = d->findChild<QDoubleSpinBox *>(QStringLiteral("aufBetrag%1").arg(i));
            aufKost[i] = d->findChild<QLineEdit *>(QStringLiteral("aufKost%1").arg(i));
            aufKonto[i] = d->findChild<WKonto *>(QStringLiteral("aufKonto%1").arg(i));
        }
    }

    bool vollstaendig() const
    {
        for (int i = 0; i < 6; ++i) {
            if (!aufBetrag[i] || !aufKost[i] || !aufKonto[i])
                return false;
        }
        return konto && datum && betrag && text && kost && beschluss && beleg && gkonto && spendeLabel;
    }

    // Everything the user sees, to compare before and after.
    QStringList inhalt() const
    {
        QStringList s{konto->QLineEdit::text(), iso(datum->date()), betrag->text(),    text->text(),
                      kost->text(),             beschluss->text(),  beleg->text(),     gkonto->QLineEdit::text(),
                      spendeLabel->text()};
        for (int i = 0; i < 6; ++i)
            s << aufBetrag[i]->text() << aufKost[i]->text() << aufKonto[i]->QLineEdit::text();
        return s;
    }

    bool alt(Qt::Key taste) { return DialogTreiber::alt(dialog, taste); }

    QDialog *dialog;
    WKonto *konto;
    QDateEdit *datum;
    QDoubleSpinBox *betrag;
    QLineEdit *text;
    QLineEdit *kost;
    QLineEdit *beschluss;
    QLineEdit *beleg;
    WKonto *gkonto;
    QLabel *spendeLabel;
    QDoubleSpinBox *aufBetrag[6];
    QLineEdit *aufKost[6];
    WKonto *aufKonto[6];
};

// Hands the next modal dialog to `aktion` after activating it. The returned
// flag tells whether it ran; once the caller drops it, a dialog that shows up
// late (in a later test) is left alone.
std::shared_ptr<bool> imDialog(std::function<void(QDialog *)> aktion)
{
    auto gelaufen = std::make_shared<bool>(false);
    std::weak_ptr<bool> merker = gelaufen;
    DialogTreiber::beiModal([merker, aktion](QDialog *d) {
        const std::shared_ptr<bool> flag = merker.lock();
        if (!flag)
            return;
        *flag = true;
        if (!DialogTreiber::zeige(d)) {
            d->reject();
            return;
        }
        aktion(d);
        // A dialog the action did not close must not hang the test.
        if (d->isVisible())
            d->done(-1);
    });
    return gelaufen;
}

} // namespace

class TestZahlungen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aufteilungBuchen_data();
    void aufteilungBuchen();
    void pflichtfelder_data();
    void pflichtfelder();
    void nummernFehler();
    void kasse_data();
    void kasse();
    void spendeAbbrechen();
    void wegEinerBeitragszahlung();

private:
    std::unique_ptr<TestDb> m_db;
};

void TestZahlungen::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German));
}

void TestZahlungen::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
}

void TestZahlungen::cleanup()
{
    m_db.reset();
}

void TestZahlungen::aufteilungBuchen_data()
{
    QTest::addColumn<int>("zeileA");
    QTest::addColumn<int>("zeileB");
    QTest::addColumn<int>("vorher");

    QTest::newRow("erste Zeilen, leerer Tag") << 0 << 1 << 0;
    QTest::newRow("Lücken zwischen den Zeilen") << 2 << 5 << 4;
}

void TestZahlungen::aufteilungBuchen()
{
    QFETCH(int, zeileA);
    QFETCH(int, zeileB);
    QFETCH(int, vorher);

    for (int lfd = 1; lfd <= vorher; ++lfd) {
        Db::ausfuehren(QStringLiteral("INSERT INTO journdat (datum,lfd,butext) VALUES (?,?,'alt')"),
                       {iso(kTag), lfd});
    }

    SkriptInteraktion skript;
    Zahlungen dialog;
    QVERIFY(DialogTreiber::zeige(&dialog));
    Form f(&dialog);
    QVERIFY(f.vollstaendig());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Bank/Kasse"));

    tippe(f.konto, QStringLiteral("1200"));
    f.datum->setDate(kTag);
    tippe(f.betrag, QStringLiteral("60"));
    tippe(f.text, QStringLiteral("Sammelüberweisung 'März'"));
    tippe(f.kost, QStringLiteral("BEITRAG"));
    tippe(f.beschluss, QStringLiteral("V 12"));
    tippe(f.beleg, QStringLiteral("KA 3"));
    tippe(f.gkonto, QStringLiteral("4000"));
    tippe(f.aufBetrag[zeileA], QStringLiteral("20"));
    tippe(f.aufKost[zeileA], QStringLiteral("LV"));
    tippe(f.aufKonto[zeileA], QStringLiteral("08210"));
    // The second line has no cost centre of its own: it takes the main one.
    tippe(f.aufBetrag[zeileB], QStringLiteral("10"));
    tippe(f.aufKonto[zeileB], QStringLiteral("08100"));
    // An account without an amount is no split line.
    tippe(f.aufKonto[3], QStringLiteral("08999"));
    QVERIFY(f.alt(Qt::Key_S));

    QCOMPARE(skript.unerwartet(), 0);
    const QList<Buchung> b = buchungen(kTag);
    // Entries already on the date keep their numbers; the new ones follow.
    QCOMPARE(b.size(), 3);
    const QString text = QStringLiteral("Sammelüberweisung `März`");

    const Buchung &haupt = b.at(0);
    QCOMPARE(haupt.lfd, vorher + 1);
    QCOMPARE(haupt.text, text);
    QCOMPARE(haupt.kost, QStringLiteral("BEITRAG"));
    QCOMPARE(haupt.beleg, QStringLiteral("KA 3"));
    QCOMPARE(haupt.beschluss, QStringLiteral("V 12"));
    QCOMPARE(haupt.konto, QStringLiteral("1200"));
    QCOMPARE(haupt.cent, qint64(6000));
    QCOMPARE(haupt.gkonto, QStringLiteral("4000"));
    QCOMPARE(haupt.gcent, qint64(-6000));

    const struct
    {
        qint64 cent;
        QString konto;
        QString kost;
    } teile[] = {{2000, QStringLiteral("08210"), QStringLiteral("LV")},
                 {1000, QStringLiteral("08100"), QStringLiteral("BEITRAG")}};
    for (int i = 0; i < 2; ++i) {
        const Buchung &t = b.at(1 + i);
        QCOMPARE(t.lfd, vorher + 2 + i);
        QCOMPARE(t.text, text);
        QCOMPARE(t.kost, teile[i].kost);
        QVERIFY(t.beleg.isEmpty());
        QVERIFY(t.beschluss.isEmpty());
        QCOMPARE(t.konto, QStringLiteral("4000"));
        QCOMPARE(t.cent, teile[i].cent);
        QCOMPARE(t.gkonto, teile[i].konto);
        QCOMPARE(t.gcent, -teile[i].cent);
    }
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM spende")), 0);

    // Ready for the next statement line: account and date stay.
    QCOMPARE(f.konto->text(), QStringLiteral("1200"));
    QCOMPARE(f.datum->date(), kTag);
    QCOMPARE(UtilCent(f.betrag->value()), qint64(0));
    for (QLineEdit *feld : {f.text, f.kost, f.beschluss, f.beleg, static_cast<QLineEdit *>(f.gkonto)})
        QVERIFY2(feld->QLineEdit::text().isEmpty(), qPrintable(feld->objectName()));
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(UtilCent(f.aufBetrag[i]->value()), qint64(0));
        QVERIFY(f.aufKost[i]->text().isEmpty());
        QVERIFY(f.aufKonto[i]->QLineEdit::text().isEmpty());
    }
    QCOMPARE(dialog.focusWidget(), f.datum);
    QVERIFY(dialog.isVisible());
}

void TestZahlungen::pflichtfelder_data()
{
    QTest::addColumn<QString>("konto");
    QTest::addColumn<QString>("euro");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kost");
    QTest::addColumn<QString>("gkonto");
    QTest::addColumn<QString>("teilKonto");
    QTest::addColumn<QString>("feld");

    QTest::newRow("Konto fehlt") << "" << "5" << "T" << "K" << "4000" << "08100" << "konto";
    QTest::newRow("Konto ist Suchtext") << "MMeier" << "5" << "T" << "K" << "4000" << "08100" << "konto";
    QTest::newRow("Betrag 0") << "1200" << "0" << "T" << "K" << "4000" << "08100" << "betrag";
    QTest::newRow("Text") << "1200" << "5" << " " << "K" << "4000" << "08100" << "text";
    QTest::newRow("Kostenstelle") << "1200" << "5" << "T" << "" << "4000" << "08100" << "kost";
    QTest::newRow("Gegenkonto") << "1200" << "5" << "T" << "K" << "" << "08100" << "gkonto";
    QTest::newRow("Aufteilung ohne Konto") << "1200" << "5" << "T" << "K" << "4000" << "" << "aufKonto2";
    QTest::newRow("Aufteilung ohne Ziffern") << "1200" << "5" << "T" << "K" << "4000" << "X1" << "aufKonto2";
}

void TestZahlungen::pflichtfelder()
{
    QFETCH(QString, konto);
    QFETCH(QString, euro);
    QFETCH(QString, text);
    QFETCH(QString, kost);
    QFETCH(QString, gkonto);
    QFETCH(QString, teilKonto);
    QFETCH(QString, feld);

    SkriptInteraktion skript;
    Zahlungen dialog;
    QVERIFY(DialogTreiber::zeige(&dialog));
    Form f(&dialog);
    tippe(f.konto, konto);
    tippe(f.betrag, euro);
    tippe(f.text, text);
    tippe(f.kost, kost);
    tippe(f.gkonto, gkonto);
    tippe(f.aufBetrag[0], QStringLiteral("1"));
    tippe(f.aufKonto[0], QStringLiteral("08210"));
    tippe(f.aufBetrag[2], QStringLiteral("2"));
    tippe(f.aufKonto[2], teilKonto);
    f.text->setFocus();
    QVERIFY(f.alt(Qt::Key_S));

    QCOMPARE(dialog.focusWidget()->objectName(), feld);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto")), 0);
    QCOMPARE(skript.anfragen().size(), 0);
    QCOMPARE(f.text->text(), text);
    QCOMPARE(UtilCent(f.aufBetrag[2]->value()), qint64(200));
}

void TestZahlungen::nummernFehler()
{
    // The date already holds entry 9999: the main booking gets no number.
    Db::ausfuehren(QStringLiteral("INSERT INTO journdat (datum,lfd,butext) VALUES (?,9999,'voll')"), {iso(kTag)});

    SkriptInteraktion skript;
    skript.antworte(QMessageBox::Ok);
    Zahlungen dialog;
    QVERIFY(DialogTreiber::zeige(&dialog));
    Form f(&dialog);
    tippe(f.konto, QStringLiteral("1200"));
    f.datum->setDate(kTag);
    tippe(f.betrag, QStringLiteral("60"));
    tippe(f.text, QStringLiteral("Zuviel"));
    tippe(f.kost, QStringLiteral("K"));
    tippe(f.gkonto, QStringLiteral("4000"));
    tippe(f.aufBetrag[0], QStringLiteral("20"));
    tippe(f.aufKost[0], QStringLiteral("LV"));
    tippe(f.aufKonto[0], QStringLiteral("08100"));
    const QStringList vorher = f.inhalt();
    QVERIFY(f.alt(Qt::Key_S));

    QCOMPARE(skript.anfragen().size(), 1);
    const Interaktion::Anfrage &a = skript.anfragen().first();
    QCOMPARE(a.art, Interaktion::Art::Kritisch);
    QCOMPARE(a.titel, QStringLiteral("Journal"));
    QCOMPARE(a.text, QStringLiteral("Fehler beim Generieren der Nummer"));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 1);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto")), 0);
    QCOMPARE(f.inhalt(), vorher);
}

void TestZahlungen::kasse_data()
{
    QTest::addColumn<QString>("konto");
    QTest::addColumn<bool>("kasse");

    QTest::newRow("1000") << "1000" << true;
    QTest::newRow("1050") << "1050" << true;
    QTest::newRow("1099") << "1099" << true;
    QTest::newRow("10500") << "10500" << true;
    QTest::newRow("999") << "999" << false;
    QTest::newRow("1100") << "1100" << false;
    QTest::newRow("10995") << "10995" << false;
    QTest::newRow("1200") << "1200" << false;
}

void TestZahlungen::kasse()
{
    QFETCH(QString, konto);
    QFETCH(bool, kasse);

    // An anonymous gift: the kind's accounts tell cash from bank.
    Db::ausfuehren(QStringLiteral(
        "INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,kontokasse,"
        "kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,kostkasse,kostbank,kostanonkasse,"
        "kostanonbank,kostjurkasse,kostjurbank) VALUES ('Z',0,0,10000,0,0,0,'N','8001','8002','8101','8102',"
        "'8201','8202','KK','KB','AK','AB','JK','JB')"));

    SkriptInteraktion skript;
    Zahlungen dialog;
    QVERIFY(DialogTreiber::zeige(&dialog));
    Form f(&dialog);
    tippe(f.konto, konto);
    tippe(f.betrag, QStringLiteral("25"));

    auto gelaufen = imDialog([](QDialog *d) {
        auto *art = d->findChild<QComboBox *>();
        art->setCurrentIndex(art->findText(QStringLiteral("Zweckgebundene Geldspende")));
        DialogTreiber::alt(d, Qt::Key_S);
    });
    QVERIFY(f.alt(Qt::Key_P));
    QVERIFY(*gelaufen);
    QCOMPARE(skript.unerwartet(), 0);

    QCOMPARE(f.gkonto->text(), kasse ? QStringLiteral("8101") : QStringLiteral("8102"));
    QCOMPARE(f.kost->text(), kasse ? QStringLiteral("AK") : QStringLiteral("AB"));
    QCOMPARE(f.text->text(), QStringLiteral("Anonyme Spende"));
}

void TestZahlungen::spendeAbbrechen()
{
    SkriptInteraktion skript;
    Zahlungen dialog;
    QVERIFY(DialogTreiber::zeige(&dialog));
    Form f(&dialog);
    tippe(f.konto, QStringLiteral("1000"));
    f.datum->setDate(kTag);
    tippe(f.betrag, QStringLiteral("42,50"));
    tippe(f.text, QStringLiteral("Barspende"));
    tippe(f.kost, QStringLiteral("SP"));
    tippe(f.gkonto, QStringLiteral("8000"));
    tippe(f.aufBetrag[1], QStringLiteral("2,5"));
    tippe(f.aufKost[1], QStringLiteral("X"));
    tippe(f.aufKonto[1], QStringLiteral("08100"));
    const QStringList vorher = f.inhalt();

    auto gelaufen = imDialog([](QDialog *d) {
        DialogTreiber::tippe(d->findChild<WMitglied *>(), QStringLiteral("4711"));
        DialogTreiber::alt(d, Qt::Key_A);
    });
    QVERIFY(f.alt(Qt::Key_P));
    QVERIFY(*gelaufen);
    QCOMPARE(f.inhalt(), vorher);
    QCOMPARE(skript.unerwartet(), 0);

    // "Abbruch" of the form itself closes it without writing.
    QVERIFY(f.alt(Qt::Key_A));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM spende")), 0);
}

void TestZahlungen::wegEinerBeitragszahlung()
{
    // The books of a Landesverband with a Kreisverband below it and the Bundesverband above.
    const char *const verbaende[][4] = {{"BV", "0", "", "100"},
                                        {"LV Nord", "1", "BV", "210"},
                                        {"KV Hafen", "3", "LV Nord", "3105"}};
    for (const auto &v : verbaende) {
        Db::ausfuehren(QStringLiteral("INSERT INTO verband (namekurz,gegruendet,ebene,teilvon,bukto) "
                                      "VALUES (?,'1990-01-01',?,?,?)"),
                       {QString::fromUtf8(v[0]), QString::fromUtf8(v[1]).toInt(), QString::fromUtf8(v[2]),
                        QString::fromUtf8(v[3])});
    }
    TestDb::setParameter(QStringLiteral("General/Gliederung"), QStringLiteral("LV Nord"));
    TestDb::setParameter(QStringLiteral("General/BeitragAb"), QStringLiteral("N"));
    TestDb::setParameter(QStringLiteral("Konten/PrefGliederung"), QStringLiteral("08"));
    TestDb::setParameter(QStringLiteral("Konten/PrefMitglied"), QStringLiteral("20"));
    TestDb::setParameter(QStringLiteral("Konten/AddMitglied"), QStringLiteral("100000"));
    TestDb::setParameter(QStringLiteral("Konten/PrefLief"), QStringLiteral("30"));
    Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES ('1200','Girokonto',''),"
                                  "('4000','Mitgliedsbeiträge','')"));
    Db::ausfuehren(QStringLiteral(
        "INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,kontokasse,"
        "kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,kostkasse,kostbank,kostanonkasse,"
        "kostanonbank,kostjurkasse,kostjurbank) VALUES ('M',0,2000,3000,0,5000,0,'N','4001','4000','4001',"
        "'4000','4001','4000','BEITRAG','BEITRAG','BEITRAG','BEITRAG','BEITRAG','BEITRAG')"));
    Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid,gliederung,wohngliederung,sex,zahlart,beitrag,eintritt,"
                                  "austritt,bezahlt,zahlstatus,statusdatum) VALUES (4711,'KV Hafen','KV Hafen','M',"
                                  "'L',6000,'2010-03-01','2200-01-01','2023-12-31',' ','2023-01-01')"));
    Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,suchname,name1,name2,strasse,plz,ort,land,mail) "
                                  "VALUES ('M','00004711','MEIER','Meier','Hans','Kai 1','20095','Hamburg','D','')"));
    UtilInit(true);

    SkriptInteraktion skript;
    VelaMain haupt;
    auto aktion = [&haupt](const QString &text) -> QAction * {
        const auto alle = haupt.findChildren<QAction *>();
        for (QAction *a : alle) {
            if (a->text() == text)
                return a;
        }
        return nullptr;
    };
    QAction *bankKasse = aktion(QStringLiteral("B&ank/Kasse"));
    QAction *journal = aktion(QStringLiteral("&Journal"));
    QVERIFY(bankKasse && journal);

    // 1. The statement line in "Bank/Kasse", split by the donation dialog, saved with Alt+S.
    QStringList nachSpende;
    QStringList nachSpeichern;
    bool spendeGelaufen = false;
    auto bankGelaufen = imDialog([&](QDialog *d) {
        Form f(d);
        if (!f.vollstaendig()) {
            d->reject();
            return;
        }
        tippe(f.konto, QStringLiteral("1200"));
        f.datum->setDate(kTag);
        tippe(f.betrag, QStringLiteral("60,00"));
        auto spende = imDialog([](QDialog *s) {
            auto *mid = s->findChild<WMitglied *>();
            mid->setFocus();
            DialogTreiber::tippe(mid, QStringLiteral("4711"));
            QTest::keyClick(mid, Qt::Key_Return);
            auto *art = s->findChild<QComboBox *>();
            art->setCurrentIndex(art->findText(QStringLiteral("Mitgliedsbeitrag")));
            DialogTreiber::alt(s, Qt::Key_S);
        });
        f.alt(Qt::Key_P);
        spendeGelaufen = *spende;
        nachSpende = f.inhalt();
        f.alt(Qt::Key_S);
        nachSpeichern = f.inhalt();
        f.alt(Qt::Key_A);
    });
    bankKasse->trigger();
    QVERIFY(*bankGelaufen);
    QVERIFY(spendeGelaufen);
    QCOMPARE(skript.unerwartet(), 0);

    // What the split put into the form: contra account, text and the units' shares.
    const QString buchText = QStringLiteral("MID 4711 Meier, Hans Mitgliedsbeitrag 2024");
    QCOMPARE(nachSpende.size(), 27);
    QCOMPARE(nachSpende.at(3), buchText);
    QCOMPARE(nachSpende.at(4), QStringLiteral("BEITRAG"));
    QCOMPARE(nachSpende.at(7), QStringLiteral("4000"));
    QVERIFY(nachSpende.at(8).contains(QStringLiteral("Meier")));
    QCOMPARE(nachSpende.mid(9, 6), (QStringList{QStringLiteral("12,00 EUR"), QStringLiteral("BEITRAG"),
                                               QStringLiteral("08100"), QStringLiteral("30,00 EUR"),
                                               QStringLiteral("BEITRAG"), QStringLiteral("083105")}));
    QCOMPARE(nachSpeichern.at(0), QStringLiteral("1200"));
    QCOMPARE(nachSpeichern.at(3), QString());

    // 2. The books: the main entry and one entry per unit share.
    const QList<Buchung> b = buchungen(kTag);
    QCOMPARE(b.size(), 3);
    QCOMPARE(b.at(0).lfd, 1);
    QCOMPARE(b.at(0).text, buchText);
    QCOMPARE(b.at(0).kost, QStringLiteral("BEITRAG"));
    QCOMPARE(b.at(0).konto, QStringLiteral("1200"));
    QCOMPARE(b.at(0).cent, qint64(6000));
    QCOMPARE(b.at(0).gkonto, QStringLiteral("4000"));
    QCOMPARE(b.at(0).gcent, qint64(-6000));
    QCOMPARE(b.at(1).lfd, 2);
    QCOMPARE(b.at(1).konto, QStringLiteral("4000"));
    QCOMPARE(b.at(1).cent, qint64(1200));
    QCOMPARE(b.at(1).gkonto, QStringLiteral("08100"));
    QCOMPARE(b.at(1).gcent, qint64(-1200));
    QCOMPARE(b.at(2).lfd, 3);
    QCOMPARE(b.at(2).konto, QStringLiteral("4000"));
    QCOMPARE(b.at(2).cent, qint64(3000));
    QCOMPARE(b.at(2).gkonto, QStringLiteral("083105"));
    QCOMPARE(b.at(2).gcent, qint64(-3000));
    // The own share (18.00) stays on the fee account.
    QCOMPARE(Db::wert(QStringLiteral("SELECT sum(cent) FROM kgkto WHERE konto='4000'")).toLongLong(),
             qint64(-1800));

    // The donation row under the main entry, and the member paid for 2024.
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT jlfd,mid,sortname,art,gliederung,prozbuv,prozlv,prozkv "
                                             "FROM spende WHERE jdatum=?"),
                              {iso(kTag)});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QCOMPARE(q.value(1).toInt(), 4711);
    QCOMPARE(q.value(2).toString(), QStringLiteral("Meier, Hans, 00004711"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("M"));
    QCOMPARE(q.value(4).toString(), QStringLiteral("KV Hafen"));
    QCOMPARE(q.value(5).toLongLong(), qint64(2000));
    QCOMPARE(q.value(6).toLongLong(), qint64(3000));
    QCOMPARE(q.value(7).toLongLong(), qint64(5000));
    QVERIFY(!q.next());
    QCOMPARE(Db::wert(QStringLiteral("SELECT bezahlt FROM mitglied WHERE mid=4711")).toString(),
             QStringLiteral("2024-12-31"));

    // 3. In the journal the entry reads back with its donor, and deleting it leaves nothing behind.
    skript.antworte(QMessageBox::Ok);
    QStringList gelesen;
    auto journalGelaufen = imDialog([&](QDialog *d) {
        auto *datum = d->findChild<QDateEdit *>(QStringLiteral("datum"));
        auto *nummer = d->findChild<QLineEdit *>(QStringLiteral("nummer"));
        datum->setDate(kTag);
        nummer->setFocus();
        DialogTreiber::tippe(nummer, QStringLiteral("1"));
        QTest::keyClick(nummer, Qt::Key_Return);
        gelesen << d->findChild<QLineEdit *>(QStringLiteral("text"))->text()
                << d->findChild<WKonto *>(QStringLiteral("konto"))->text()
                << d->findChild<WKonto *>(QStringLiteral("gkonto"))->text()
                << d->findChild<QDoubleSpinBox *>(QStringLiteral("betrag"))->text()
                << d->findChild<QLabel *>(QStringLiteral("spendeLabel"))->text();
        DialogTreiber::alt(d, Qt::Key_L);
        QTest::keyClick(nummer, Qt::Key_Escape);
    });
    journal->trigger();
    QVERIFY(*journalGelaufen);
    QCOMPARE(gelesen.size(), 5);
    QCOMPARE(gelesen.at(0), buchText);
    QCOMPARE(gelesen.at(1), QStringLiteral("1200"));
    QCOMPARE(gelesen.at(2), QStringLiteral("4000"));
    QCOMPARE(gelesen.at(3), QStringLiteral("60,00 EUR"));
    QVERIFY(gelesen.at(4).contains(QStringLiteral("Meier")));
    QCOMPARE(skript.unerwartet(), 0);
    QCOMPARE(skript.offen(), 0);

    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM spende")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto WHERE datum=? AND lfd=1"), {iso(kTag)}), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat WHERE datum=? AND lfd=1"), {iso(kTag)}), 0);
    // The share entries are entries of their own and stay.
    QCOMPARE(buchungen(kTag).size(), 2);
}

QTEST_MAIN(TestZahlungen)
#include "tst_zahlungen.moc"
