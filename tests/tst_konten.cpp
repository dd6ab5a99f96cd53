// The account scheme: builders, the account-text resolver and the account field.

#include "db.h"
#include "dialogdriver.h"
#include "testdb.h"
#include "utilkonto.h"
#include "wkonto.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QtTest>

#include <optional>

using namespace DialogTreiber;

namespace {

// "unit prefix|member prefix|member addition|supplier prefix"
void schema(const QString &s = QStringLiteral("30|20|100000|70"))
{
    const QStringList keys{"Konten/PrefGliederung", "Konten/PrefMitglied", "Konten/AddMitglied", "Konten/PrefLief"};
    for (int i = 0; i < keys.size(); ++i)
        TestDb::setParameter(keys[i], s.section('|', i, i));
}

// The field's text() and its label (showing "alt" before) after the user typed `eingabe`.
QString getippt(const QString &eingabe)
{
    QLabel label(QStringLiteral("alt"));
    WKonto feld(&label, false);
    tippe(&feld, eingabe);
    return feld.text() + '|' + label.text();
}

// Records the searches, opens a modal dialog like the real ones (the user cancels it), answers `antwort`.
class TestKonto : public WKonto
{
public:
    explicit TestKonto(QLabel *label, QWidget *parent = nullptr) : WKonto(label, false, parent) {}
    QString antwort;
    QStringList aufrufe;

protected:
    QString suchen(QChar art, const QString &suchtext) override
    {
        aufrufe << QString(art) + '|' + suchtext;
        QDialog dialog(this);
        beiModal([](QDialog *d) { d->reject(); });
        dialog.exec();
        return antwort;
    }
};

// The account field between two line edits in an active window, the field focused.
struct Fenster : QWidget
{
    QLabel *label = new QLabel(this);
    QLineEdit *davor = new QLineEdit(this);
    TestKonto *feld = new TestKonto(label, this);
    QLineEdit *dahinter = new QLineEdit(this);
    Fenster()
    {
        auto *layout = new QHBoxLayout(this);
        for (QWidget *w : QWidgetList{davor, feld, dahinter})
            layout->addWidget(w);
        QVERIFY(zeige(this));
        feld->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), feld);
    }
};

} // namespace

class TstKonten : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_db.emplace().ok());
        // A small ledger with one owner of every kind.
        for (const char *sql :
             {"INSERT INTO kontenplan (konto,text,abgrart) VALUES ('4711','Kasse',''),('90`A','Mit Apostroph','')",
              "INSERT INTO verband (namekurz,ebene,bukto) VALUES ('KV Nord',3,'100'),('OV Süd',4,'200'),"
              "('OV West',4,'20100042')",
              "INSERT INTO lieferant (bez,bukto,zahlart) VALUES ('BAUMARKT','555',' '),('BAU`MARKT','556',' '),"
              "('DRUCKEREI','',' '),('OHNEADRESSE','777',' ')",
              "INSERT INTO adresse (art,key,name1,name2) VALUES ('V','KV Nord','Kreisverband Nord',''),"
              "('V','OV West','Ortsverband West',''),('L','BAUMARKT','Baumarkt GmbH',''),('L','DRUCKEREI',"
              "'Druckerei Meyer',''),('M','00000000','Null','Nina'),('M','00000042','Müller','Anna'),('M','00070042',"
              "'Siebzig','Sam'),('M','00999998','Letzter','Lars'),('M','00999999','Zuviel','Zoe')"})
            QVERIFY2(Db::ausfuehren(sql) > 0, sql);
        schema();
    }
    void cleanup() { m_db.reset(); }

    void konten_data()
    {
        QTest::addColumn<QString>("schema");
        // T text of an account, F typed into the field, M member number, G unit bukto, L supplier name
        QTest::addColumn<QString>("aufruf");
        QTest::addColumn<QString>("ergebnis");
        QTest::newRow("Mitgliedkonto") << "30|20|100000|70" << "M42" << "20100042";
        QTest::newRow("Mitgliedkonto negativ") << "30|20|100000|70" << "M-1" << "20";
        QTest::newRow("Gliederungskonto") << "30|20|0|70" << "G100" << "30100";
        QTest::newRow("Lieferantenkonto normalisiert") << "30|20|0|70" << "L  bau'markt " << "70556";
        QTest::newRow("Lieferantenkonto leerer bukto") << "30|20|0|70" << "LDruckerei" << "70Druckerei";
        // The chart comes first, with normalised input.
        QTest::newRow("Kontenplan vor Mitgliedprefix") << "30|47|0|70" << "T4711" << "Kasse";
        QTest::newRow("normalisiert") << "30|20|0|70" << "T 90'a " << "Mit Apostroph";
        // Units: an empty prefix tries every account as a bukto.
        QTest::newRow("Gliederung mit Adresse") << "30|20|0|70" << "T30100" << "Kreisverband Nord";
        QTest::newRow("Gliederung ohne Adresse") << "30|20|0|70" << "T30200" << "OV Süd";
        QTest::newRow("leerer Gliederungsprefix vor Mitglied") << "|20|100000|70" << "T20100042" << "Ortsverband West";
        QTest::newRow("Gliederung unbekannt, Mitglied") << "20|20|100000|70" << "T20100042" << "MID 42 Müller, Anna";
        QTest::newRow("anderer Gliederungsprefix") << "30|20|0|70" << "T31100" << "";
        // Suppliers.
        QTest::newRow("Lieferant per bukto") << "30|20|0|70" << "T70555" << "Baumarkt GmbH";
        QTest::newRow("Lieferant per Name") << "30|20|0|70" << "T70Druckerei" << "Druckerei Meyer";
        QTest::newRow("Lieferant ohne Adresse") << "30|20|0|70" << "T70777" << "";
        QTest::newRow("Lieferantprefix allein") << "30||0|70" << "T70" << "";
        QTest::newRow("Lieferant unbekannt, Mitglied") << "30||0|70" << "T70042" << "MID 70042 Siebzig, Sam";
        QTest::newRow("leerer Lieferantprefix") << "30|20|0|" << "T555" << "";
        // Members 1 to 999998 after the addition.
        QTest::newRow("Mitglied mit Addition") << "30|20|100000|70" << "T20100042" << "MID 42 Müller, Anna";
        QTest::newRow("Mitglied ohne Prefix") << "30||0|70" << "T42" << "MID 42 Müller, Anna";
        QTest::newRow("Mitglied 0") << "30|20|0|70" << "T200" << "";
        QTest::newRow("Mitglied 999998") << "30|20|0|70" << "T20999998" << "MID 999998 Letzter, Lars";
        QTest::newRow("Mitglied 999999") << "30|20|0|70" << "T20999999" << "";
        QTest::newRow("Mitglied keine Zahl") << "30|20|0|70" << "T2042X" << "";
        QTest::newRow("anderer Mitgliedprefix") << "30|20|0|70" << "T2142" << "";
        // The field: only two leading digits make an account; its label shows the account's text or nothing.
        QTest::newRow("Feld normalisiert") << "30|20|0|70" << "F  90'a " << "90`A|Mit Apostroph";
        QTest::newRow("Feld unbekannt") << "30|20|0|70" << "F47   11" << "47 11|";
        QTest::newRow("Feld Ziffer Buchstabe") << "30|20|0|70" << "F1a23" << "|";
        QTest::newRow("Feld Suchtext") << "30|20|0|70" << "FMMeier" << "|";
    }

    void konten()
    {
        QFETCH(QString, schema); QFETCH(QString, aufruf); QFETCH(QString, ergebnis);
        ::schema(schema);
        const QChar art = aufruf.at(0);
        const QString arg = aufruf.mid(1);
        QCOMPARE(art == 'T' ? UtilKtoText(arg) : art == 'F' ? getippt(arg) : art == 'M' ? UtilMIDKonto(arg.toInt())
                 : art == 'G' ? UtilGlKonto(arg) : UtilLsKonto(arg), ergebnis);
    }

    void labelSpaeterUndGeschlosseneDatenbank()
    {
        QLabel label;
        WKonto feld(nullptr, false);
        feld.setText("1200");
        feld.setLabel(&label);
        feld.setText("4711");
        Db::setOffen(false);
        feld.setText("30100");
        Db::setOffen(true);
        QCOMPARE(label.text(), "Kasse");
    }

    void suche_data()
    {
        QTest::addColumn<QString>("taste");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("antwort"); // what the user picks in the search
        QTest::addColumn<QString>("suche"); // art|suchtext, empty when no search runs
        QTest::addColumn<QString>("danach"); // the field's text; a changed text means "picked"
        QTest::newRow("Mitglied mit M") << "Return" << " m  o'brüller" << "42" << "M|M O`BRÜLLER" << "20100042";
        QTest::newRow("Mitglied abgebrochen") << "Return" << "MMeier" << "" << "M|MMEIER" << "MMeier";
        QTest::newRow("Lieferant: ohne L, mit ?") << "Return" << "lBau" << "Baumarkt" << "L|BAU?" << "70555";
        QTest::newRow("Gliederung") << "Return" << "GKreis" << "KV Nord" << "G|KREIS" << "30100";
        QTest::newRow("Kontenplan K") << "Return" << "KKasse" << "4711" << "K|KASSE" << "4711";
        QTest::newRow("Nachname mit ?") << "Return" << "MEIER?" << "4711" << "K|MEIER" << "4711";
        QTest::newRow("G mit ?") << "Return" << "G?" << "4711" << "K|G" << "4711";
        QTest::newRow("Konto") << "Return" << "4711" << "1200" << "" << "4711";
        QTest::newRow("anderer Buchstabe") << "Return" << "XKasse" << "1200" << "" << "XKasse";
        // Tab runs the search; an unresolved search text keeps the focus in the field.
        QTest::newRow("Tab Mitglied abgebrochen") << "Tab" << "MMeier" << "" << "M|MMEIER" << "MMeier";
        QTest::newRow("Tab Mitglied gewaehlt") << "Tab" << "MMeier" << "42" << "M|MMEIER" << "20100042";
        QTest::newRow("Backtab Kontenplan abgebrochen") << "Backtab" << "KKasse" << "" << "K|KASSE" << "KKasse";
        QTest::newRow("Tab Gliederung nicht gefunden") << "Tab" << "GNord" << "KV Ost" << "G|NORD" << "GNord";
        QTest::newRow("Tab Lieferant gewaehlt") << "Tab" << "LBau" << "Baumarkt" << "L|BAU?" << "70555";
        QTest::newRow("Tab kein Suchtext") << "Tab" << "X1" << "" << "" << "X1";
    }

    void suche()
    {
        QFETCH(QString, taste); QFETCH(QString, eingabe); QFETCH(QString, antwort); QFETCH(QString, suche);
        QFETCH(QString, danach);
        Fenster f;
        if (taste == "Return") { // a pick before shows whether Return clears the flag
            f.feld->antwort = "1200";
            tippeReturn(f.feld, "K");
            f.feld->clear();
            f.feld->aufrufe.clear();
        }
        f.feld->antwort = antwort;
        tippe(f.feld, eingabe);
        const bool zurueck = taste == "Backtab";
        QTest::keyClick(f.feld, zurueck ? Qt::Key_Backtab : taste == "Tab" ? Qt::Key_Tab : Qt::Key_Return,
                        zurueck ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(f.feld->QLineEdit::text(), danach);
        QCOMPARE(f.feld->gewaehlt(), danach != eingabe);
        QCOMPARE(f.label->text(), UtilKtoText(f.feld->text()));
        const bool bleibt = taste == "Return" || (!suche.isEmpty() && danach == eingabe);
        QWidget *ziel = bleibt ? f.feld : zurueck ? f.davor : f.dahinter;
        // A closed modal search leaves the window inactive here; a window manager would reactivate it.
        QVERIFY(zeige(&f));
        QTRY_COMPARE(QApplication::focusWidget(), ziel);
        // Late activation events of the closed search must not move the focus or search again.
        QTest::qWait(50);
        QCOMPARE(QApplication::focusWidget(), ziel);
        QCOMPARE(f.feld->aufrufe, suche.isEmpty() ? QStringList() : QStringList{suche});
    }

    void andererFokuswechselSuchtNicht()
    {
        Fenster f;
        tippe(f.feld, "MMeier");
        f.dahinter->setFocus(Qt::MouseFocusReason);
        QCOMPARE(QApplication::focusWidget(), f.dahinter);
        // A dialog disabling the field moves the focus on "by Tab": still no search.
        f.feld->setFocus(Qt::OtherFocusReason);
        f.feld->setEnabled(false);
        QCOMPARE(QApplication::focusWidget(), f.dahinter);
        QVERIFY(f.feld->aufrufe.isEmpty());
        QCOMPARE(f.feld->QLineEdit::text(), "MMeier");
    }

private:
    std::optional<TestDb> m_db;
};

QTEST_MAIN(TstKonten)
#include "tst_konten.moc"
