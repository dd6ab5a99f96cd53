// Saves the database refuses, on a real file: locked by another program,
// opened read-only, or full. The dialog stays in editing with the input intact, a
// message names the cause, and nothing is written.

#include "db.h"
#include "dialogdriver.h"
#include "journal.h"
#include "mitglieder.h"
#include "testdb.h"
#include "wmitglied.h"
#include "zahlungen.h"

#include <QLineEdit>
#include <QSqlDatabase>
#include <QtTest>

#include <memory>

namespace {

using DialogTreiber::tippe, DialogTreiber::tippeReturn;
const QString kFremd = QStringLiteral("fremd");
const QString kBuchung = QStringLiteral("Buchung konnte nicht gespeichert werden\n");

// Fills a dialog up to the save, as the user does; returns its input fields.
QList<QLineEdit *> fuelle(const QString &dialog, QDialog *d)
{
    const auto feld = [d](const char *name) { return d->findChild<QLineEdit *>(QLatin1String(name)); };
    if (dialog == "Mitglieder") {
        tippeReturn(d->findChild<WMitglied *>("mid"), "4711");
        auto *nachname = DialogTreiber::feldBei<QLineEdit>(d, "Nachname");
        nachname->selectAll(), tippe(nachname, "Neumann");
        return {nachname};
    }
    if (dialog == "Journal")
        tippeReturn(feld("nummer"), QString()); // a new entry
    QList<QLineEdit *> felder;
    for (const char *name : {"text", "kost", "konto", "gkonto"})
        felder << feld(name);
    for (int i = 0; i < felder.size(); ++i)
        tippe(felder[i], QStringList{"Miete", "GS", "1200", "4000"}[i]);
    auto *betrag = d->findChild<QWidget *>("betrag");
    QMetaObject::invokeMethod(betrag, "selectAll"), tippe(betrag, "12,50");
    return felder;
}

} // namespace

class TstSchreibfehler : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    QString m_optionen;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init()
    {
        QVERIFY((m_db = std::make_unique<TestDb>())->ok());
        m_optionen = QSqlDatabase::database().connectOptions();
        Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('1200','Bank'),('4000','Miete')");
        Db::ausfuehren("INSERT INTO mitglied (mid,beitrag) VALUES (4711,3600)");
        Db::ausfuehren("INSERT INTO adresse (art,key,suchname,name1,name2) VALUES ('M','00004711','MEIER','Meier','Hans')");
    }
    void cleanup()
    {
        freigeben();
        m_db.reset();
    }

    void verweigert_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("ursache");
        QTest::addColumn<QString>("meldung");
        const QString besetzt = "Die Datenbank wird von einem anderen Programm benutzt";
        const QString lesen = "Die Datenbank ist schreibgeschützt";
        for (const char *dialog : {"Journal", "Bank/Kasse", "Mitglieder"}) {
            const QString vorn = QString(dialog) == "Mitglieder" ? QString() : kBuchung;
            QTest::addRow("%s gesperrt", dialog) << dialog << "gesperrt" << vorn + besetzt;
            QTest::addRow("%s schreibgeschützt", dialog) << dialog << "schreibgeschützt" << vorn + lesen;
        }
        QTest::addRow("Journal voll") << "Journal" << "voll"
                                      << kBuchung + "Speichern fehlgeschlagen: Der Datenträger ist voll";
    }

    void verweigert()
    {
        QFETCH(QString, dialog); QFETCH(QString, ursache); QFETCH(QString, meldung);
        SkriptInteraktion skript;
        skript.antworte(QMessageBox::Ok);
        std::unique_ptr<QDialog> d;
        if (dialog == "Journal")
            d = std::make_unique<Journal>();
        else if (dialog == "Bank/Kasse")
            d = std::make_unique<Zahlungen>();
        else
            d = std::make_unique<Mitglieder>(false);
        QVERIFY(DialogTreiber::zeige(d.get()));
        const QList<QLineEdit *> felder = fuelle(dialog, d.get());
        if (ursache == "voll") // a text that needs pages of its own, in a file that may not grow
            felder[0]->setText(QString(20000, 'x'));
        QStringList eingabe;
        for (QLineEdit *f : felder)
            eingabe << f->text();

        if (ursache == "voll") {
            const QString seiten = TestDb::zeile("PRAGMA page_count").value(0);
            QVERIFY(QSqlQuery().exec("PRAGMA max_page_count=" + seiten));
        } else if (ursache == "gesperrt") { // another program holds the file
            QSqlDatabase fremd = QSqlDatabase::addDatabase("QSQLITE", kFremd);
            fremd.setDatabaseName(m_db->datei());
            QVERIFY(fremd.open() && QSqlQuery(fremd).exec("BEGIN EXCLUSIVE"));
        } else { // as after the question whether to look at a write-protected file
            QSqlDatabase db = QSqlDatabase::database();
            db.close();
            db.setConnectOptions(m_optionen + ";QSQLITE_OPEN_READONLY");
            QVERIFY(db.open());
        }
        QVERIFY(DialogTreiber::alt(d.get(), Qt::Key_S));

        QCOMPARE(skript.unerwartet(), 0);
        QCOMPARE(skript.anfragen().value(0).text, meldung);
        QCOMPARE(skript.anfragen().value(0).art, Interaktion::Art::Kritisch);
        QVERIFY(d->isVisible());
        for (int i = 0; i < felder.size(); ++i) // still editing, with the input as typed
            QVERIFY(felder[i]->isEnabled() && felder[i]->text() == eingabe[i]);

        QVERIFY(freigeben()); // nothing was written
        QCOMPARE(TestDb::zeile("SELECT (SELECT count(*) FROM journdat)||(SELECT count(*) FROM kgkto)||"
                               "(SELECT name1 FROM adresse WHERE key='00004711')"),
                 QStringList{"00Meier"});
    }

private:
    // Ends the other program's lock and opens the file for writing again.
    bool freigeben()
    {
        QSqlDatabase::database(kFremd, false).close(); // ends its transaction
        QSqlDatabase::removeDatabase(kFremd);
        QSqlDatabase::database().setConnectOptions(m_optionen);
        return Db::oeffnen(m_db->datei());
    }
};

QTEST_MAIN(TstSchreibfehler)
#include "tst_schreibfehler.moc"
