#include "db.h"
#include "dialogdriver.h"
#include "midsuche.h"
#include "mitglieder.h"
#include "suchname.h"
#include "testdb.h"
#include "textutil.h"
#include "utilkonto.h"
#include "wgliederung.h"
#include "wmitglied.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

const QString kHeute = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

// The input field the user sees beside a label, as laid out in a grid.
QWidget *feldBei(QWidget *dialog, const QString &beschriftung)
{
    for (QGridLayout *grid : dialog->findChildren<QGridLayout *>()) {
        for (int i = 0; i < grid->count(); ++i) {
            auto *label = qobject_cast<QLabel *>(grid->itemAt(i)->widget());
            if (!label || label->text() != beschriftung)
                continue;
            int zeile = 0, spalte = 0, zeilen = 0, spalten = 0;
            grid->getItemPosition(i, &zeile, &spalte, &zeilen, &spalten);
            QLayoutItem *feld = grid->itemAtPosition(zeile, spalte + 1);
            return feld ? feld->widget() : nullptr;
        }
    }
    return nullptr;
}

QLineEdit *textFeld(QWidget *dialog, const QString &beschriftung)
{
    return qobject_cast<QLineEdit *>(feldBei(dialog, beschriftung));
}

QPushButton *knopf(QWidget *dialog, const QString &text)
{
    for (QPushButton *b : dialog->findChildren<QPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

template<typename T>
T *kind(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

void aktiv(QWidget *fenster)
{
    fenster->show();
    QApplication::setActiveWindow(fenster);
    QVERIFY(QTest::qWaitForWindowActive(fenster));
}

void nummerEingeben(QWidget *dialog, const QString &nummer)
{
    WMitglied *mid = kind<WMitglied>(dialog, "mid");
    QVERIFY(mid && mid->isEnabled());
    mid->setFocus();
    QTest::keyClicks(mid, nummer);
    QTest::keyClick(mid, Qt::Key_Return);
}

void nachnameEingeben(QWidget *dialog, const QString &name)
{
    QLineEdit *feld = textFeld(dialog, QStringLiteral("Nachname"));
    QVERIFY(feld);
    feld->clear();
    QTest::keyClicks(feld, name);
}

// An accelerator as the user presses it; the button clicks itself after its short press animation.
void alt(QWidget *dialog, Qt::Key taste)
{
    QTest::keyClick(dialog, taste, Qt::AltModifier);
    QTest::qWait(250);
}

void speichern(QWidget *dialog)
{
    alt(dialog, Qt::Key_S);
}

void mitgliedAnlegen(int mid, const QString &sex = QStringLiteral("M"), qint64 beitrag = 4800)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid,intnr,gliederung,wohngliederung,sex,nation,tel,"
                                  "gebdat,zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus,statusdatum) "
                                  "VALUES (?,'7','KV Nord','',?,'DE','0228 1','1970-05-06','L',?,"
                                  "'2001-02-03','2200-01-01','2024-12-31','R','2024-01-15')"),
                   {mid, sex, beitrag});
}

void adresseAnlegen(int mid, const QString &name1, const QString &name2, const QString &plz = QString(),
                    const QString &ort = QString(), const QString &art = QStringLiteral("M"))
{
    Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,suchname,name1,name2,strasse,plz,ort,land,mail) "
                                  "VALUES (?,?,?,?,?,'',?,?,'','')"),
                   {art, UtilMidKey(mid), SuchName(name1, name2), name1, name2, plz, ort});
}

void buchungAnlegen(const QString &datum, int lfd, const QString &kost, const QString &text,
                    const QString &konto, const QString &gkonto, qint64 cent)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                                  "VALUES (?,?,?,'','0',?,'2024-01-01 10:00:00','B','')"),
                   {datum, lfd, kost, text});
    Db::ausfuehren(QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,'1',?,?,'0')"),
                   {datum, lfd, konto, cent});
    Db::ausfuehren(QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,'2',?,?,'0')"),
                   {datum, lfd, gkonto, -cent});
}

void spendeAnlegen(const QString &datum, int lfd, int mid)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung,quittung,prozint,"
                                  "prozbuv,prozlv,prozbzv,prozkv,prozov) "
                                  "VALUES (?,?,?,'','S','KV Nord','1900-01-01',0,0,0,0,10000,0)"),
                   {datum, lfd, mid});
}

QString spalte(const QString &sql, const QVariantList &werte = {})
{
    return Db::wert(sql, werte).toString();
}

QStringList midListe(QStandardItemModel *modell)
{
    QStringList mids;
    for (int i = 0; i < modell->rowCount(); ++i)
        mids << modell->index(i, 0).data().toString();
    return mids;
}

} // namespace

class TstMitglieder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void neuesMitgliedVorbelegt();
    void anderePersonOhneVorbelegung();
    void internNummer_data();
    void internNummer();
    void geschlecht_data();
    void geschlecht();
    void wohngliederung_data();
    void wohngliederung();
    void ohneNachnameNichtGespeichert();
    void loeschen_data();
    void loeschen();
    void anlegenAusSuche_data();
    void anlegenAusSuche();
    void umnummern_data();
    void umnummern();
    void feldVorbelegung_data();
    void feldVorbelegung();
    void auswahlInsFeld();
    void suchReihenfolge_data();
    void suchReihenfolge();
    void spendenVorzeichen_data();
    void spendenVorzeichen();
    void spendenHoechstens20();
    void modusUndTasten();

private:
    std::unique_ptr<TestDb> m_db;
};

void TstMitglieder::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German));
}

void TstMitglieder::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
    TestDb::setParameter(QStringLiteral("Konten/PrefMitglied"), QStringLiteral("20"));
    TestDb::setParameter(QStringLiteral("Konten/AddMitglied"), QStringLiteral("100000"));
}

void TstMitglieder::cleanup()
{
    m_db.reset();
}

void TstMitglieder::neuesMitgliedVorbelegt()
{
    SkriptInteraktion skript;
    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("4711"));

    QVERIFY(!kind<WMitglied>(&dialog, "mid")->isEnabled());
    QCOMPARE(kind<QComboBox>(&dialog, "zahlstatus")->currentText(), QStringLiteral("Neu angelegt"));
    for (const char *datum : {"statusdatum", "eintritt", "bezahlt"}) {
        QCOMPARE(kind<QDateEdit>(&dialog, datum)->date(), QDate::currentDate());
        QVERIFY(kind<QDateEdit>(&dialog, datum)->isEnabled());
    }
    QCOMPARE(kind<QDoubleSpinBox>(&dialog, "beitrag")->value(), 36.0);
    QVERIFY(kind<QDoubleSpinBox>(&dialog, "beitrag")->isEnabled());
    QVERIFY(knopf(&dialog, QStringLiteral("-> &Mitglied"))->isHidden());

    nachnameEingeben(&dialog, QStringLiteral("Muster"));
    QTest::keyClicks(textFeld(&dialog, QStringLiteral("Vorname")), QStringLiteral("Max"));
    speichern(&dialog);

    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT intnr,gliederung,wohngliederung,sex,zahlart,beitrag,eintritt,"
                                             "austritt,bezahlt,zahlstatus,statusdatum,gebdat FROM mitglied "
                                             "WHERE mid=4711"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("0"));
    QCOMPARE(q.value(1).toString(), QString());
    QCOMPARE(q.value(2).toString(), QString());
    QCOMPARE(q.value(3).toString(), QStringLiteral(" "));
    QCOMPARE(q.value(4).toString(), QStringLiteral(" "));
    QCOMPARE(q.value(5).toLongLong(), 3600);
    QCOMPARE(q.value(6).toString(), kHeute);
    QCOMPARE(q.value(7).toString(), QStringLiteral("2200-01-01"));
    QCOMPARE(q.value(8).toString(), kHeute);
    QCOMPARE(q.value(9).toString(), QStringLiteral("N"));
    QCOMPARE(q.value(10).toString(), kHeute);
    QCOMPARE(q.value(11).toString(), QStringLiteral("1900-01-01"));
    QCOMPARE(spalte(QStringLiteral("SELECT name1 || '/' || name2 FROM adresse WHERE art='M' AND key='00004711'")),
             QStringLiteral("Muster/Max"));

    // Back in the selection state, ready for the next number.
    QVERIFY(kind<WMitglied>(&dialog, "mid")->isEnabled());
    QCOMPARE(kind<WMitglied>(&dialog, "mid")->text(), QString());
    QVERIFY(dialog.isVisible());
    QCOMPARE(skript.unerwartet(), 0);
}

void TstMitglieder::anderePersonOhneVorbelegung()
{
    SkriptInteraktion skript;
    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("1000001"));

    QCOMPARE(kind<QComboBox>(&dialog, "zahlstatus")->currentIndex(), 0);
    QCOMPARE(kind<QDoubleSpinBox>(&dialog, "beitrag")->value(), 0.0);
    QCOMPARE(kind<QDateEdit>(&dialog, "eintritt")->date(), QDate(1900, 1, 1));
    for (const char *feld : {"zahlart", "zahlstatus", "statusdatum", "beitrag", "bezahlt", "eintritt", "austritt"})
        QVERIFY2(!kind<QWidget>(&dialog, feld)->isEnabled(), feld);
    QVERIFY(kind<QWidget>(&dialog, "intnr")->isEnabled());
    QPushButton *umnummern = knopf(&dialog, QStringLiteral("-> &Mitglied"));
    QVERIFY(umnummern->isVisible() && umnummern->isEnabled());

    nachnameEingeben(&dialog, QStringLiteral("Spender"));
    speichern(&dialog);
    QCOMPARE(spalte(QStringLiteral("SELECT zahlstatus || beitrag || eintritt FROM mitglied WHERE mid=1000001")),
             QStringLiteral(" 01900-01-01"));
    QCOMPARE(skript.unerwartet(), 0);
}

void TstMitglieder::internNummer_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("gespeichert");
    QTest::newRow("Zahl") << QStringLiteral("815") << QStringLiteral("815");
    QTest::newRow("führende Null und Blanks") << QStringLiteral(" 0042 ") << QStringLiteral("42");
    QTest::newRow("keine Zahl") << QStringLiteral("A12") << QStringLiteral("0");
}

void TstMitglieder::internNummer()
{
    QFETCH(QString, eingabe);
    QFETCH(QString, gespeichert);
    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("12"));
    nachnameEingeben(&dialog, QStringLiteral("Muster"));
    QTest::keyClicks(kind<QLineEdit>(&dialog, "intnr"), eingabe);
    speichern(&dialog);
    QCOMPARE(spalte(QStringLiteral("SELECT intnr FROM mitglied WHERE mid=12")), gespeichert);
}

void TstMitglieder::geschlecht_data()
{
    QTest::addColumn<QString>("gespeichert");
    QTest::addColumn<QString>("taste"); // typed into the combo, empty for none
    QTest::addColumn<QString>("angezeigt");
    QTest::addColumn<QString>("neu");
    QTest::newRow("Männlich bleibt") << QStringLiteral("M") << QString() << QStringLiteral("Männlich")
                                     << QStringLiteral("M");
    QTest::newRow("Firma gewählt") << QStringLiteral("M") << QStringLiteral("F") << QStringLiteral("Männlich")
                                   << QStringLiteral("U");
    QTest::newRow("Weiblich gewählt") << QStringLiteral("U") << QStringLiteral("W") << QStringLiteral("Firma")
                                      << QStringLiteral("W");
    QTest::newRow("unbekannt") << QStringLiteral("D") << QString() << QString() << QStringLiteral(" ");
    QTest::newRow("klein geschrieben") << QStringLiteral("m") << QString() << QString() << QStringLiteral(" ");
}

void TstMitglieder::geschlecht()
{
    QFETCH(QString, gespeichert);
    QFETCH(QString, taste);
    QFETCH(QString, angezeigt);
    QFETCH(QString, neu);
    mitgliedAnlegen(500, gespeichert);
    adresseAnlegen(500, QStringLiteral("Muster"), QStringLiteral("Eva"));

    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("500"));
    auto *sex = kind<QComboBox>(&dialog, "sex");
    QCOMPARE(sex->currentText(), angezeigt);
    if (!taste.isEmpty())
        QTest::keyClicks(sex, taste);
    speichern(&dialog);
    QCOMPARE(spalte(QStringLiteral("SELECT sex FROM mitglied WHERE mid=500")), neu);
    // The other stored values come back unchanged.
    QCOMPARE(spalte(QStringLiteral("SELECT intnr||gliederung||nation||tel||gebdat||zahlart||beitrag||eintritt||"
                                   "austritt||bezahlt||zahlstatus||statusdatum FROM mitglied WHERE mid=500")),
             QStringLiteral("7KV NordDE0228 11970-05-06L48002001-02-032200-01-012024-12-31R2024-01-15"));
}

void TstMitglieder::wohngliederung_data()
{
    QTest::addColumn<QString>("gliederung");
    QTest::addColumn<QString>("wohnort");
    QTest::addColumn<QString>("gespeichert");
    QTest::newRow("gleich") << QStringLiteral("OV Mitte") << QStringLiteral("OV Mitte") << QString();
    QTest::newRow("verschieden") << QStringLiteral("OV Mitte") << QStringLiteral("OV Süd") << QStringLiteral("OV Süd");
    QTest::newRow("ohne Wohnort") << QStringLiteral("OV Mitte") << QString() << QString();
}

void TstMitglieder::wohngliederung()
{
    QFETCH(QString, gliederung);
    QFETCH(QString, wohnort);
    QFETCH(QString, gespeichert);
    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("77"));
    nachnameEingeben(&dialog, QStringLiteral("Muster"));
    // The unit chooser has its own tests; here the buttons carry the chosen units.
    kind<WGliederung>(&dialog, "gliederung")->setText(gliederung);
    kind<WGliederung>(&dialog, "wohngliederung")->setText(wohnort);
    speichern(&dialog);
    QCOMPARE(spalte(QStringLiteral("SELECT gliederung FROM mitglied WHERE mid=77")), gliederung);
    QCOMPARE(spalte(QStringLiteral("SELECT wohngliederung FROM mitglied WHERE mid=77")), gespeichert);
}

void TstMitglieder::ohneNachnameNichtGespeichert()
{
    SkriptInteraktion skript;
    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("88"));
    QTest::keyClicks(textFeld(&dialog, QStringLiteral("Vorname")), QStringLiteral("Max"));
    QTest::keyClicks(textFeld(&dialog, QStringLiteral("Nachname")), QStringLiteral("   "));
    speichern(&dialog);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM mitglied")).toInt(), 0);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM adresse")).toInt(), 0);
    QVERIFY(!kind<WMitglied>(&dialog, "mid")->isEnabled()); // still editing
    QCOMPARE(skript.anfragen().size(), 0);
}

void TstMitglieder::loeschen_data()
{
    QTest::addColumn<bool>("spende");
    QTest::addColumn<QList<int>>("antworten");
    QTest::addColumn<int>("fragen");
    QTest::addColumn<bool>("geloescht");
    const QList<int> okOk = {QMessageBox::Ok, QMessageBox::Ok};
    const QList<int> okCancel = {QMessageBox::Ok, QMessageBox::Cancel};
    QTest::newRow("ohne Spende") << false << QList<int>{QMessageBox::Ok} << 1 << true;
    QTest::newRow("ohne Spende, abgebrochen") << false << QList<int>{QMessageBox::Cancel} << 1 << false;
    QTest::newRow("mit Spende") << true << okOk << 2 << true;
    QTest::newRow("mit Spende, zweite Frage abgebrochen") << true << okCancel << 2 << false;
}

void TstMitglieder::loeschen()
{
    QFETCH(bool, spende);
    QFETCH(QList<int>, antworten);
    QFETCH(int, fragen);
    QFETCH(bool, geloescht);
    mitgliedAnlegen(300);
    adresseAnlegen(300, QStringLiteral("Muster"), QStringLiteral("Eva"));
    Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,inhaber) VALUES ('M','00000300','Eva')"));
    if (spende) {
        buchungAnlegen(QStringLiteral("2024-03-01"), 1, QString(), QStringLiteral("Spende"), QStringLiteral("1200"),
                       UtilMIDKonto(300), 5000);
        spendeAnlegen(QStringLiteral("2024-03-01"), 1, 300);
    }

    SkriptInteraktion skript;
    for (int a : antworten)
        skript.antworte(static_cast<QMessageBox::StandardButton>(a));
    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("300"));
    alt(&dialog, Qt::Key_L);

    QCOMPARE(skript.anfragen().size(), fragen);
    QCOMPARE(skript.unerwartet(), 0);
    if (spende) {
        const Interaktion::Anfrage &zweite = skript.anfragen().at(1);
        QCOMPARE(zweite.titel, QStringLiteral("Löschen"));
        QCOMPARE(zweite.text, QStringLiteral("Achtung: Es existieren bereits Zahlungen. Trotzdem löschen?"));
        QCOMPARE(zweite.knoepfe, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(zweite.vorgabe, QMessageBox::Cancel);
    }
    const int rest = geloescht ? 0 : 1;
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid=300")).toInt(), rest);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM adresse WHERE key='00000300'")).toInt(), rest);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM bankverbindung WHERE key='00000300'")).toInt(), rest);
    // Donations and postings stay in the books.
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM spende")).toInt(), spende ? 1 : 0);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM kgkto")).toInt(), spende ? 2 : 0);
    QCOMPARE(kind<WMitglied>(&dialog, "mid")->isEnabled(), geloescht);
}

void TstMitglieder::anlegenAusSuche_data()
{
    QTest::addColumn<QList<int>>("vorhanden");
    QTest::addColumn<int>("erwartet");
    QTest::newRow("leer") << QList<int>{} << 1000000;
    QTest::newRow("nur Mitglieder") << QList<int>{1234, 17} << 1000000;
    QTest::newRow("schon andere") << QList<int>{1234, 1000005, 999999} << 1000006;
}

void TstMitglieder::anlegenAusSuche()
{
    QFETCH(QList<int>, vorhanden);
    QFETCH(int, erwartet);
    for (int mid : vorhanden)
        mitgliedAnlegen(mid);

    SkriptInteraktion skript;
    MIDSuche suche(true);
    bool anlegenGesehen = false;
    bool beitragAn = false;
    QString fokus;
    QString titel;
    bool loeschenDa = true;
    DialogTreiber::beiModal([&](QDialog *d) {
        // Whatever happens, no dialog stays open.
        const auto zu = qScopeGuard([d] {
            if (d->isVisible())
                d->reject();
        });
        QPushButton *anlegen = knopf(d, QStringLiteral("A&nlegen"));
        anlegenGesehen = anlegen != nullptr;
        if (!anlegen)
            return;
        DialogTreiber::beiModal([&](QDialog *m) {
            const auto zuM = qScopeGuard([m] {
                if (m->isVisible())
                    m->reject();
            });
            QApplication::setActiveWindow(m);
            if (!QTest::qWaitForWindowActive(m))
                return;
            titel = m->windowTitle();
            loeschenDa = knopf(m, QStringLiteral("&Löschen")) != nullptr;
            fokus = m->focusWidget() ? m->focusWidget()->objectName() : QString();
            beitragAn = kind<QWidget>(m, "beitrag")->isEnabled();
            nachnameEingeben(m, QStringLiteral("Neumann"));
            QTest::keyClicks(textFeld(m, QStringLiteral("PLZ/Ort")), QStringLiteral("53111"));
            speichern(m);
        });
        anlegen->click();
    });
    const int ergebnis = suche.exec(QString());
    QVERIFY(anlegenGesehen);
    QCOMPARE(titel, QStringLiteral("Mitglieder"));
    QVERIFY(!loeschenDa);
    QCOMPARE(ergebnis, int(QDialog::Accepted));
    QCOMPARE(suche.auswahl(), erwartet);
    QCOMPARE(fokus, QStringLiteral("sex"));
    QVERIFY(beitragAn);
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid=?"), {erwartet}).toInt(), 1);
    QCOMPARE(spalte(QStringLiteral("SELECT name1 || plz FROM adresse WHERE art='M' AND key=?"), {UtilMidKey(erwartet)}),
             QStringLiteral("Neumann53111"));
    QCOMPARE(skript.unerwartet(), 0);
}

void TstMitglieder::umnummern_data()
{
    QTest::addColumn<bool>("vorhanden");
    QTest::addColumn<bool>("uebernehmen");
    QTest::newRow("neue Nummer") << false << true;
    QTest::newRow("vorhanden, übernehmen") << true << true;
    QTest::newRow("vorhanden, abgebrochen") << true << false;
}

void TstMitglieder::umnummern()
{
    QFETCH(bool, vorhanden);
    QFETCH(bool, uebernehmen);
    const QString altKonto = UtilMIDKonto(1000042);
    const QString neuKonto = UtilMIDKonto(815);
    QCOMPARE(altKonto, QStringLiteral("201100042"));

    Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid,intnr,gliederung,wohngliederung,sex,nation,tel,gebdat,"
                                  "zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus,statusdatum) VALUES "
                                  "(1000042,'0','KV Nord','','M','','0228 9','1900-01-01',' ',0,'1900-01-01',"
                                  "'2200-01-01','1900-01-01',' ','2024-05-05')"));
    adresseAnlegen(1000042, QStringLiteral("Spender"), QStringLiteral("Sepp"), QStringLiteral("53111"),
                   QStringLiteral("Bonn"));
    buchungAnlegen(QStringLiteral("2024-02-01"), 1, QString(), QStringLiteral("MID 1000042 Spende"),
                   QStringLiteral("1200"), altKonto, 5000);
    buchungAnlegen(QStringLiteral("2024-02-02"), 3, QString(), QStringLiteral("Bareinzahlung"), altKonto,
                   QStringLiteral("1000"), -2000);
    buchungAnlegen(QStringLiteral("2024-02-03"), 1, QString(), QStringLiteral("Fremd MID 1000042 Spende"),
                   QStringLiteral("1200"), UtilMIDKonto(1000043), 100);
    spendeAnlegen(QStringLiteral("2024-02-01"), 1, 1000042);
    spendeAnlegen(QStringLiteral("2024-02-02"), 3, 1000042);
    Db::ausfuehren(QStringLiteral("INSERT INTO zahllauf (mid,sperren,art,form,manuell,cent,done) "
                                  "VALUES (1000042,'N','R','B','N',3600,'N')"));
    if (vorhanden) {
        Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid,intnr,gliederung,wohngliederung,sex,nation,tel,"
                                      "gebdat,zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus,statusdatum) "
                                      "VALUES (815,'99','','OV Süd','Q','DE','','1960-01-01','L',6000,"
                                      "'2010-04-01','2200-01-01','1900-01-01','X','2024-06-01')"));
        adresseAnlegen(815, QStringLiteral("Spender-Alt"), QString(), QString(), QStringLiteral("Beuel"));
        Db::ausfuehren(QStringLiteral("INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank,bic,iban) "
                                      "VALUES ('M','00000815','S. Spender','','','Sparkasse','','DE02')"));
    }

    SkriptInteraktion skript;
    skript.antworteZahl(815);
    if (vorhanden)
        skript.antworte(uebernehmen ? QMessageBox::Ok : QMessageBox::Cancel);

    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("1000042"));
    alt(&dialog, Qt::Key_M);

    QCOMPARE(skript.unerwartet(), 0);
    QCOMPARE(skript.offen(), 0);
    const Interaktion::Anfrage &zahl = skript.anfragen().at(0);
    QCOMPARE(zahl.art, Interaktion::Art::Ganzzahl);
    QCOMPARE(zahl.text, QStringLiteral("Mitgliedsnummer"));
    QCOMPARE(zahl.min, 1);
    QCOMPARE(zahl.max, 999999);
    if (vorhanden) {
        const Interaktion::Anfrage &frage = skript.anfragen().at(1);
        QCOMPARE(frage.titel, QStringLiteral("Mitglieder"));
        QCOMPARE(frage.text, QStringLiteral("Mitglied 815 existiert bereits. Daten übernehmen?"));
        QCOMPARE(frage.vorgabe, QMessageBox::Cancel);
    }

    const auto anzahl = [](const QString &sql, const QVariantList &werte = {}) {
        return Db::wert(sql, werte).toInt();
    };
    if (!uebernehmen) {
        QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid=1000042")), 1);
        QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM spende WHERE mid=1000042")), 2);
        QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto WHERE konto=?"), {altKonto}), 2);
        QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM zahllauf WHERE mid=1000042")), 1);
        QCOMPARE(spalte(QStringLiteral("SELECT butext FROM journdat WHERE lfd=3")), QStringLiteral("Bareinzahlung"));
        QCOMPARE(spalte(QStringLiteral("SELECT sex FROM mitglied WHERE mid=815")), QStringLiteral("Q"));
        return;
    }

    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid=1000042")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM adresse WHERE key='01000042'")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM spende WHERE mid=815")), 2);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto WHERE konto=?"), {altKonto}), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto WHERE konto=?"), {neuKonto}), 2);
    QCOMPARE(spalte(QStringLiteral("SELECT butext FROM journdat WHERE datum='2024-02-01'")),
             QStringLiteral("MID 815 Spende"));
    QCOMPARE(spalte(QStringLiteral("SELECT butext FROM journdat WHERE datum='2024-02-02'")),
             QStringLiteral("MID 815 Bareinzahlung"));
    // Entries of other accounts keep their texts.
    QCOMPARE(spalte(QStringLiteral("SELECT butext FROM journdat WHERE datum='2024-02-03'")),
             QStringLiteral("Fremd MID 1000042 Spende"));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM zahllauf WHERE mid=815")), 1);

    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT intnr,gliederung,wohngliederung,sex,nation,tel,gebdat,zahlart,"
                                             "beitrag,eintritt,zahlstatus,statusdatum FROM mitglied WHERE mid=815"));
    QVERIFY(q.next());
    QSqlQuery a = Db::abfrage(QStringLiteral("SELECT name1,name2,plz,ort FROM adresse WHERE key='00000815'"));
    QVERIFY(a.next());
    if (vorhanden) {
        // Filled columns of 815 win, empty ones and unknown codes keep the data of 1000042.
        QCOMPARE(q.value(0).toString(), QStringLiteral("99"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("KV Nord"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("OV Süd"));
        QCOMPARE(q.value(3).toString(), QStringLiteral("M"));
        QCOMPARE(q.value(4).toString(), QStringLiteral("DE"));
        QCOMPARE(q.value(5).toString(), QStringLiteral("0228 9"));
        QCOMPARE(q.value(6).toString(), QStringLiteral("1960-01-01"));
        QCOMPARE(q.value(7).toString(), QStringLiteral("L"));
        QCOMPARE(q.value(8).toLongLong(), 6000);
        QCOMPARE(q.value(9).toString(), QStringLiteral("2010-04-01"));
        QCOMPARE(q.value(10).toString(), QStringLiteral("X"));
        QCOMPARE(q.value(11).toString(), QStringLiteral("2024-06-01"));
        QCOMPARE(a.value(0).toString(), QStringLiteral("Spender-Alt"));
        QCOMPARE(a.value(1).toString(), QStringLiteral("Sepp"));
        QCOMPARE(a.value(2).toString(), QStringLiteral("53111"));
        QCOMPARE(a.value(3).toString(), QStringLiteral("Beuel"));
        QCOMPARE(spalte(QStringLiteral("SELECT inhaber||bank||iban FROM bankverbindung WHERE key='00000815'")),
                 QStringLiteral("S. SpenderSparkasseDE02"));
    } else {
        QCOMPARE(q.value(1).toString(), QStringLiteral("KV Nord"));
        QCOMPARE(q.value(3).toString(), QStringLiteral("M"));
        QCOMPARE(q.value(5).toString(), QStringLiteral("0228 9"));
        QCOMPARE(q.value(11).toString(), QStringLiteral("2024-05-05"));
        QCOMPARE(a.value(0).toString(), QStringLiteral("Spender"));
        QCOMPARE(a.value(3).toString(), QStringLiteral("Bonn"));
    }

    // The dialog shows the member under the new number, with its donations.
    QCOMPARE(kind<WMitglied>(&dialog, "mid")->text(), QStringLiteral("815"));
    QVERIFY(!kind<WMitglied>(&dialog, "mid")->isEnabled());
    QVERIFY(knopf(&dialog, QStringLiteral("-> &Mitglied"))->isHidden());
    QCOMPARE(kind<QTableWidget>(&dialog, "spenden")->rowCount(), 2);
}

void TstMitglieder::feldVorbelegung_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<bool>("suche");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("plz");
    QTest::addColumn<int>("treffer");
    QTest::newRow("NMUELLER") << QStringLiteral("NMUELLER") << true << QStringLiteral("MUELLER") << QString() << 2;
    QTest::newRow("P530") << QStringLiteral("P530") << true << QString() << QStringLiteral("530") << 1;
    QTest::newRow("M12") << QStringLiteral("M12") << true << QString() << QStringLiteral("12") << 1;
    QTest::newRow("Mmeier klein") << QStringLiteral(" mmeier ") << true << QStringLiteral("MEIER") << QString() << 1;
    QTest::newRow("MEIER?") << QStringLiteral("MEIER?") << true << QStringLiteral("MEIER") << QString() << 1;
    QTest::newRow("531?") << QStringLiteral("531?") << true << QString() << QStringLiteral("531") << 1;
    QTest::newRow("4711") << QStringLiteral("4711") << false << QString() << QString() << 0;
}

void TstMitglieder::feldVorbelegung()
{
    QFETCH(QString, eingabe);
    QFETCH(bool, suche);
    QFETCH(QString, name);
    QFETCH(QString, plz);
    QFETCH(int, treffer);
    adresseAnlegen(1, QStringLiteral("Müller"), QStringLiteral("Anna"), QStringLiteral("53111"), QStringLiteral("Bonn"));
    adresseAnlegen(2, QStringLiteral("Mueller"), QStringLiteral("Bernd"), QStringLiteral("53000"), QStringLiteral("Bonn"));
    adresseAnlegen(3, QStringLiteral("Meyer"), QString(), QStringLiteral("12047"), QStringLiteral("Berlin"));

    QWidget fenster;
    auto *feld = new WMitglied(false, &fenster);
    aktiv(&fenster);
    QSignalSpy fertig(feld, &WMitglied::finished);
    feld->setFocus();
    QTest::keyClicks(feld, eingabe);

    QString gesehenName, gesehenPlz, titel;
    int zeilen = -1;
    bool anlegen = true;
    DialogTreiber::beiModal([&](QDialog *d) {
        titel = d->windowTitle();
        gesehenName = kind<QLineEdit>(d, "name")->text();
        gesehenPlz = kind<QLineEdit>(d, "plz")->text();
        zeilen = kind<QTableView>(d, "liste")->model()->rowCount();
        anlegen = knopf(d, QStringLiteral("A&nlegen")) != nullptr;
        QTest::keyClick(d, Qt::Key_Escape);
    }, suche ? 5000 : 200);
    QTest::keyClick(feld, Qt::Key_Return);
    if (!suche)
        QTest::qWait(300);

    QCOMPARE(DialogTreiber::gelaufen(), suche);
    if (suche) {
        QCOMPARE(titel, QStringLiteral("Mitgliedersuche"));
        QCOMPARE(gesehenName, name);
        QCOMPARE(gesehenPlz, plz);
        QCOMPARE(zeilen, treffer);
        QVERIFY(!anlegen);
        QCOMPARE(feld->text(), eingabe); // cancelled: the text stays
        QCOMPARE(feld->getInt(), 0);
        QCOMPARE(fenster.focusWidget(), feld); // the focus is back in the field
    } else {
        QVERIFY(fertig.count() >= 1);
        QCOMPARE(feld->getInt(), 4711);
        QCOMPARE(feld->getKey(), QStringLiteral("00004711"));
    }
}

void TstMitglieder::auswahlInsFeld()
{
    adresseAnlegen(1000007, QStringLiteral("Meyer"), QStringLiteral("Jan"), QStringLiteral("12047"),
                   QStringLiteral("Berlin"));
    QWidget fenster;
    auto *feld = new WMitglied(true, &fenster);
    aktiv(&fenster);
    QSignalSpy fertig(feld, &WMitglied::finished);
    feld->setFocus();
    QTest::keyClicks(feld, QStringLiteral("nMeier")); // finds Meyer, Jan by the search name

    bool anlegen = false;
    QStringList zeile;
    DialogTreiber::beiModal([&](QDialog *d) {
        const auto zu = qScopeGuard([d] {
            if (d->isVisible())
                d->reject();
        });
        anlegen = knopf(d, QStringLiteral("A&nlegen")) != nullptr;
        auto *liste = kind<QTableView>(d, "liste");
        for (int i = 0; i < 3; ++i)
            zeile << liste->model()->index(0, i).data().toString();
        const QRect zelle = liste->visualRect(liste->model()->index(0, 1));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, zelle.center());
    });
    QTest::keyClick(feld, Qt::Key_Return);

    QVERIFY(DialogTreiber::gelaufen());
    QVERIFY(anlegen);
    QCOMPARE(zeile, (QStringList{QStringLiteral("1000007"), QStringLiteral("Meyer, Jan"),
                                  QStringLiteral("12047 Berlin")}));
    QCOMPARE(feld->text(), QStringLiteral("1000007"));
    QCOMPARE(feld->getKey(), QStringLiteral("01000007"));
    QVERIFY(fertig.count() >= 1); // the owner loads the chosen number
}

void TstMitglieder::suchReihenfolge_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("plz");
    QTest::addColumn<QStringList>("mids");
    // Search names include the first name: MULERANA (1) before MULERBERND (2).
    QTest::newRow("Name") << QStringLiteral("MUELLER") << QString() << QStringList{"1", "2"};
    QTest::newRow("Namensanfang") << QStringLiteral("mu") << QString() << QStringList{"4", "1", "2", "3"};
    QTest::newRow("PLZ") << QString() << QStringLiteral("53") << QStringList{"2", "4", "1"};
    QTest::newRow("PLZ länger als Name") << QStringLiteral("M") << QStringLiteral("53") << QStringList{"2", "4", "1"};
    QTest::newRow("PLZ so lang wie Name") << QStringLiteral("MU") << QStringLiteral("53") << QStringList{"2", "4", "1"};
    QTest::newRow("Name länger als PLZ") << QStringLiteral("MU") << QStringLiteral("5") << QStringList{"4", "1", "2"};
    QTest::newRow("Apostroph") << QStringLiteral("O'Neil") << QString() << QStringList{"5"};
    QTest::newRow("nichts gefunden") << QStringLiteral("Zander") << QString() << QStringList{};
}

void TstMitglieder::suchReihenfolge()
{
    QFETCH(QString, name);
    QFETCH(QString, plz);
    QFETCH(QStringList, mids);
    adresseAnlegen(1, QStringLiteral("Müller"), QStringLiteral("Anna"), QStringLiteral("53111"), QStringLiteral("Bonn"));
    adresseAnlegen(2, QStringLiteral("Mueller"), QStringLiteral("Bernd"), QStringLiteral("53000"), QStringLiteral("Bonn"));
    adresseAnlegen(3, QStringLiteral("Muster"), QStringLiteral("Carl"), QStringLiteral("10115"), QStringLiteral("Berlin"));
    adresseAnlegen(4, QStringLiteral("Mulder"), QStringLiteral("Dora"), QStringLiteral("53100"), QStringLiteral("Bonn"));
    adresseAnlegen(5, QStringLiteral("O`Neil"), QStringLiteral("Pat"), QStringLiteral("20095"), QStringLiteral("Hamburg"));
    // Suppliers share the table but are no members.
    adresseAnlegen(6, QStringLiteral("Mueller Bau"), QString(), QStringLiteral("53001"), QStringLiteral("Bonn"),
                   QStringLiteral("L"));

    MIDSuche suche(false);
    QStringList gefunden;
    QStringList kopf;
    bool offen = false;
    DialogTreiber::beiModal([&](QDialog *d) {
        QTest::keyClicks(kind<QLineEdit>(d, "name"), name);
        QTest::keyClicks(kind<QLineEdit>(d, "plz"), plz);
        QTest::keyClick(kind<QLineEdit>(d, "plz"), Qt::Key_Return); // "&Ok" is the default button
        auto *modell = qobject_cast<QStandardItemModel *>(kind<QTableView>(d, "liste")->model());
        gefunden = midListe(modell);
        for (int i = 0; i < modell->columnCount(); ++i)
            kopf << modell->headerData(i, Qt::Horizontal).toString();
        offen = d->isVisible();
        d->reject();
    });
    QCOMPARE(suche.exec(QString()), int(QDialog::Rejected));
    QVERIFY(DialogTreiber::gelaufen());
    QVERIFY(offen); // searching keeps the dialog open
    QCOMPARE(gefunden, mids);
    QCOMPARE(kopf, (QStringList{QStringLiteral("MID"), QStringLiteral("Name"), QStringLiteral(" PLZ/Ort")}));
    QCOMPARE(suche.auswahl(), -1);
}

void TstMitglieder::spendenVorzeichen_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("add");
    QTest::addColumn<QString>("konto");
    QTest::addColumn<qint64>("cent");
    QTest::addColumn<QString>("betrag");
    const QString p = QStringLiteral("20"), a = QStringLiteral("100000");
    QTest::newRow("Kasse 1000") << p << a << QStringLiteral("1000") << qint64(5000) << QStringLiteral("50,00");
    QTest::newRow("Bank 1200") << p << a << QStringLiteral("1200") << qint64(5000) << QStringLiteral("50,00");
    QTest::newRow("Bank 1100 negativ") << p << a << QStringLiteral("1100") << qint64(-700) << QStringLiteral("-7,00");
    QTest::newRow("Mitgliedskonto") << p << a << QStringLiteral("20104711") << qint64(5000) << QStringLiteral("-50,00");
    QTest::newRow("Unterkonto des Mitglieds") << p << a << QStringLiteral("201047119") << qint64(5000)
                                              << QStringLiteral("-50,00");
    QTest::newRow("Ertrag 5000") << p << a << QStringLiteral("5000") << qint64(5000) << QStringLiteral("-50,00");
    QTest::newRow("Ertrag 5299") << p << a << QStringLiteral("5299") << qint64(-2500) << QStringLiteral("25,00");
    QTest::newRow("5300 bleibt") << p << a << QStringLiteral("5300") << qint64(5000) << QStringLiteral("50,00");
    QTest::newRow("12001 bleibt") << p << a << QStringLiteral("12001") << qint64(1234567)
                                  << QStringLiteral("12.345,67");
    // The bank range is checked first, even for an account of the member.
    QTest::newRow("Mitgliedskonto im Bankbereich") << QStringLiteral("11") << QStringLiteral("0")
                                                  << QStringLiteral("114711") << qint64(5000) << QStringLiteral("50,00");
}

void TstMitglieder::spendenVorzeichen()
{
    QFETCH(QString, prefix);
    QFETCH(QString, add);
    QFETCH(QString, konto);
    QFETCH(qint64, cent);
    QFETCH(QString, betrag);
    TestDb::setParameter(QStringLiteral("Konten/PrefMitglied"), prefix);
    TestDb::setParameter(QStringLiteral("Konten/AddMitglied"), add);
    mitgliedAnlegen(4711);
    adresseAnlegen(4711, QStringLiteral("Muster"), QStringLiteral("Eva"));
    buchungAnlegen(QStringLiteral("2024-07-09"), 4, QStringLiteral("KST 3"), QStringLiteral("Spende Sommerfest"),
                   konto, QStringLiteral("9999"), cent);
    spendeAnlegen(QStringLiteral("2024-07-09"), 4, 4711);

    Mitglieder dialog(false);
    aktiv(&dialog);
    auto *liste = kind<QTableWidget>(&dialog, "spenden");
    QCOMPARE(liste->rowCount(), 0);
    nummerEingeben(&dialog, QStringLiteral("4711"));
    QCOMPARE(liste->rowCount(), 1);
    QCOMPARE(liste->item(0, 0)->text(), QStringLiteral("09.07.2024"));
    QCOMPARE(liste->item(0, 1)->text(), QStringLiteral("KST 3"));
    QCOMPARE(liste->item(0, 2)->text(), QStringLiteral("Spende Sommerfest"));
    QCOMPARE(liste->item(0, 3)->text(), betrag);
    QVERIFY(!(liste->item(0, 3)->flags() & (Qt::ItemIsEditable | Qt::ItemIsSelectable)));
    QVERIFY(liste->item(0, 3)->textAlignment() & Qt::AlignRight);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(liste->rowCount(), 0);
}

void TstMitglieder::spendenHoechstens20()
{
    mitgliedAnlegen(4711);
    adresseAnlegen(4711, QStringLiteral("Muster"), QStringLiteral("Eva"));
    const QDate start(2023, 1, 1);
    for (int i = 0; i < 25; ++i) {
        const QString datum = UtilDatumText(start.addDays(i));
        buchungAnlegen(datum, 1, QString(), QStringLiteral("Spende %1").arg(i), QStringLiteral("1200"),
                       UtilMIDKonto(4711), 100 + i);
        spendeAnlegen(datum, 1, 4711);
    }
    // A donation whose entry is gone shows no line.
    spendeAnlegen(QStringLiteral("2023-12-31"), 9, 4711);
    spendeAnlegen(QStringLiteral("2023-06-01"), 1, 4712);

    Mitglieder dialog(false);
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("4711"));
    auto *liste = kind<QTableWidget>(&dialog, "spenden");
    QCOMPARE(liste->rowCount(), 19);
    QCOMPARE(liste->item(0, 2)->text(), QStringLiteral("Spende 24"));
    QCOMPARE(liste->item(18, 2)->text(), QStringLiteral("Spende 6"));
    QCOMPARE(liste->item(0, 3)->text(), QStringLiteral("1,24"));
}

void TstMitglieder::modusUndTasten()
{
    mitgliedAnlegen(42);
    adresseAnlegen(42, QStringLiteral("Muster"), QStringLiteral("Eva"));
    SkriptInteraktion skript;
    Mitglieder dialog(false);
    aktiv(&dialog);
    auto *mid = kind<WMitglied>(&dialog, "mid");
    QVERIFY(!knopf(&dialog, QStringLiteral("&Speichern"))->isEnabled());
    QVERIFY(!kind<QWidget>(&dialog, "intnr")->isEnabled());
    QVERIFY(!textFeld(&dialog, QStringLiteral("Nachname"))->isEnabled());

    // Numbers outside 1 ... 9999999 are not loaded.
    nummerEingeben(&dialog, QStringLiteral("10000000"));
    QVERIFY(mid->isEnabled());
    mid->clear();

    nummerEingeben(&dialog, QStringLiteral("042"));
    QCOMPARE(mid->text(), QStringLiteral("42"));
    QVERIFY(!mid->isEnabled());
    QCOMPARE(textFeld(&dialog, QStringLiteral("Nachname"))->text(), QStringLiteral("Muster"));
    QVERIFY(textFeld(&dialog, QStringLiteral("Nachname"))->isEnabled());
    QCOMPARE(dialog.focusWidget(), knopf(&dialog, QStringLiteral("&Abbruch")));

    // Return on the focused "&Abbruch" presses nothing: no button is a default button.
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    QVERIFY(!mid->isEnabled());
    for (QPushButton *b : dialog.findChildren<QPushButton *>())
        QVERIFY2(!b->isDefault() && !b->autoDefault(), qPrintable(b->text()));

    // Closing the window while editing only leaves the record.
    QVERIFY(!dialog.close());
    QVERIFY(dialog.isVisible());
    QVERIFY(mid->isEnabled());
    QCOMPARE(mid->text(), QString());
    QCOMPARE(textFeld(&dialog, QStringLiteral("Nachname"))->text(), QString());

    // Escape leaves the record, and from the selection closes the dialog.
    nummerEingeben(&dialog, QStringLiteral("42"));
    QVERIFY(!mid->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QVERIFY(mid->isEnabled());
    QCOMPARE(dialog.focusWidget(), mid);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    // A new number with an empty address puts the focus on "Intern".
    aktiv(&dialog);
    nummerEingeben(&dialog, QStringLiteral("43"));
    QCOMPARE(dialog.focusWidget(), kind<QWidget>(&dialog, "intnr"));
    QCOMPARE(skript.anfragen().size(), 0);
    // Nothing was written by loading and leaving.
    QCOMPARE(Db::wert(QStringLiteral("SELECT count(*) FROM mitglied")).toInt(), 1);
}

QTEST_MAIN(TstMitglieder)
#include "tst_mitglieder.moc"
