// The journal dialog driven like a user: keys into its fields, accelerators
// for its buttons, the database checked afterwards.

#include "db.h"
#include "dialogdriver.h"
#include "journal.h"
#include "testdb.h"
#include "textutil.h"
#include "wkonto.h"
#include "wmitglied.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

const QDate kTag(2024, 3, 15);

// Writes an entry straight into the tables, so the tests do not lean on the
// code under test to build their books.
void eintrag(const QDate &datum, int lfd, const QString &text, qint64 cent, const QString &konto = QStringLiteral("1200"),
             const QString &gkonto = QStringLiteral("4000"), const QString &kost = QStringLiteral("KST"))
{
    const QString d = datum.toString(Qt::ISODate);
    Db::ausfuehren(QStringLiteral("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                                  "VALUES (?,?,?,'B1','0',?,'2024-01-01 10:00:00','','')"),
                   {d, lfd, kost, text});
    Db::ausfuehren(QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,'1',?,?,'0')"),
                   {d, lfd, konto, cent});
    Db::ausfuehren(QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) VALUES (?,?,'2',?,?,'0')"),
                   {d, lfd, gkonto, -cent});
}

void spendeZeile(const QDate &datum, int lfd, int mid)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung,quittung,prozint,"
                                  "prozbuv,prozlv,prozbzv,prozkv,prozov) "
                                  "VALUES (?,?,?,'','G','','1900-01-01','0','0','10000','0','0','0')"),
                   {datum.toString(Qt::ISODate), lfd, mid});
}

int anzahl(const QString &sql, const QVariantList &werte = {})
{
    return Db::wert(sql, werte).toInt();
}

// The journal's widgets, found as the user sees them.
struct Fenster
{
    explicit Fenster(QWidget *parent = nullptr) : dialog(std::make_unique<Journal>(parent))
    {
        datum = dialog->findChild<QDateEdit *>(QStringLiteral("datum"));
        nummer = dialog->findChild<QLineEdit *>(QStringLiteral("nummer"));
        text = dialog->findChild<QLineEdit *>(QStringLiteral("text"));
        kost = dialog->findChild<QLineEdit *>(QStringLiteral("kost"));
        beleg = dialog->findChild<QLineEdit *>(QStringLiteral("beleg"));
        beschluss = dialog->findChild<QLineEdit *>(QStringLiteral("beschluss"));
        konto = dialog->findChild<WKonto *>(QStringLiteral("konto"));
        gkonto = dialog->findChild<WKonto *>(QStringLiteral("gkonto"));
        betrag = dialog->findChild<QDoubleSpinBox *>(QStringLiteral("betrag"));
        liste = dialog->findChild<QTableView *>(QStringLiteral("liste"));
        spendeLabel = dialog->findChild<QLabel *>(QStringLiteral("spendeLabel"));
    }

    bool zeigen() { return DialogTreiber::zeige(dialog.get()); }

    // Picks an entry the way the user does: date, then number and Return.
    void oeffne(const QDate &tag, const QString &nr)
    {
        datum->setDate(tag);
        nummer->clear();
        DialogTreiber::tippe(nummer, nr);
        QTest::keyClick(nummer, Qt::Key_Return);
    }

    void ausfuellen(const QString &t, const QString &k, const QString &kto, const QString &gkto, const QString &euro)
    {
        DialogTreiber::tippe(text, t);
        DialogTreiber::tippe(kost, k);
        DialogTreiber::tippe(konto, kto);
        DialogTreiber::tippe(gkonto, gkto);
        betrag->selectAll();
        DialogTreiber::tippe(betrag, euro);
    }

    bool alt(Qt::Key taste) { return DialogTreiber::alt(dialog.get(), taste); }

    bool bearbeitet() const { return !nummer->isEnabled() && text->isEnabled(); }

    std::unique_ptr<Journal> dialog;
    QDateEdit *datum;
    QLineEdit *nummer;
    QLineEdit *text;
    QLineEdit *kost;
    QLineEdit *beleg;
    QLineEdit *beschluss;
    WKonto *konto;
    WKonto *gkonto;
    QDoubleSpinBox *betrag;
    QTableView *liste;
    QLabel *spendeLabel;
};

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void neuerEintrag_data();
    void neuerEintrag();
    void pflichtfelder_data();
    void pflichtfelder();
    void lesenUndAendern();
    void schluesselGesperrt();
    void returnDruecktKeinenKnopf();
    void loeschen_data();
    void loeschen();
    void neuenEintragVerwerfen();
    void escapeUndSchliessen();
    void nummernFehler();
    void liste();
    void einzelEintrag_data();
    void einzelEintrag();
    void spendeMitEintrag();

private:
    std::unique_ptr<TestDb> m_db;
};

void TestJournal::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German));
}

void TestJournal::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
}

void TestJournal::cleanup()
{
    m_db.reset();
}

void TestJournal::neuerEintrag_data()
{
    QTest::addColumn<QList<int>>("vorhanden");
    QTest::addColumn<QString>("euro");
    QTest::addColumn<qint64>("cent");
    QTest::addColumn<int>("erwartet");

    QTest::newRow("erster des Tages") << QList<int>{} << QStringLiteral("12,34") << qint64(1234) << 1;
    QTest::newRow("nach Lücke die höchste + 1") << QList<int>{1, 2, 7} << QStringLiteral("100") << qint64(10000) << 8;
    QTest::newRow("negativer Betrag") << QList<int>{3} << QStringLiteral("-5,00") << qint64(-500) << 4;
}

void TestJournal::neuerEintrag()
{
    QFETCH(QList<int>, vorhanden);
    QFETCH(QString, euro);
    QFETCH(qint64, cent);
    QFETCH(int, erwartet);

    for (int lfd : vorhanden)
        eintrag(kTag, lfd, QStringLiteral("alt"), 100);
    eintrag(kTag.addDays(1), 50, QStringLiteral("anderer Tag"), 100);

    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());
    QVERIFY(!f.bearbeitet());
    f.datum->setDate(kTag);
    QVERIFY(f.nummer->text().isEmpty());
    QTest::keyClick(f.nummer, Qt::Key_Return);
    QCOMPARE(f.nummer->text(), QStringLiteral("0"));
    QVERIFY(f.bearbeitet());

    f.ausfuellen(QStringLiteral("Miete März"), QStringLiteral("GS"), QStringLiteral("1200"), QStringLiteral("4711"),
                 euro);
    DialogTreiber::tippe(f.beleg, QStringLiteral("K'17"));
    DialogTreiber::tippe(f.beschluss, QStringLiteral("V  2024/3"));
    QVERIFY(f.alt(Qt::Key_S));

    QCOMPARE(skript.unerwartet(), 0);
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT kost,beleg,butext,beschluss FROM journdat WHERE datum=? AND lfd=?"),
        {kTag.toString(Qt::ISODate), erwartet});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("GS"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("K`17"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("Miete März"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("V 2024/3"));
    q = Db::abfrage(QStringLiteral("SELECT kg,konto,cent FROM kgkto WHERE datum=? AND lfd=? ORDER BY kg"),
                    {kTag.toString(Qt::ISODate), erwartet});
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), QStringLiteral("1200"));
    QCOMPARE(q.value(2).toLongLong(), cent);
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), QStringLiteral("4711"));
    QCOMPARE(q.value(2).toLongLong(), -cent);

    // Back in the selection state, ready for the next number.
    QVERIFY(!f.bearbeitet());
    QVERIFY(f.nummer->text().isEmpty());
    QVERIFY(f.text->text().isEmpty());
    QCOMPARE(f.dialog->focusWidget(), f.nummer);
    QCOMPARE(f.liste->model()->index(0, 3).data().toString(), QStringLiteral("anderer Tag"));
}

void TestJournal::pflichtfelder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kost");
    QTest::addColumn<QString>("konto");
    QTest::addColumn<QString>("gkonto");
    QTest::addColumn<QString>("euro");
    QTest::addColumn<QString>("feld");

    QTest::newRow("alles fehlt") << "" << "" << "" << "" << "0" << "text";
    QTest::newRow("Text nur Leerzeichen") << "   " << "GS" << "1200" << "4000" << "5" << "text";
    QTest::newRow("Kostenstelle") << "Miete" << "" << "1200" << "4000" << "5" << "kost";
    QTest::newRow("Konto fehlt") << "Miete" << "GS" << "" << "4000" << "5" << "konto";
    QTest::newRow("Konto ohne Ziffern") << "Miete" << "GS" << "1X" << "4000" << "5" << "konto";
    QTest::newRow("Gegenkonto") << "Miete" << "GS" << "1200" << "" << "5" << "gkonto";
    QTest::newRow("Betrag 0") << "Miete" << "GS" << "1200" << "4000" << "0" << "betrag";
}

void TestJournal::pflichtfelder()
{
    QFETCH(QString, text);
    QFETCH(QString, kost);
    QFETCH(QString, konto);
    QFETCH(QString, gkonto);
    QFETCH(QString, euro);
    QFETCH(QString, feld);

    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());
    f.oeffne(kTag, QString());
    QVERIFY(f.bearbeitet());
    f.ausfuellen(text, kost, konto, gkonto, euro);
    f.text->setFocus();
    QVERIFY(f.alt(Qt::Key_S));

    QCOMPARE(f.dialog->focusWidget()->objectName(), feld);
    QVERIFY(f.bearbeitet());
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto")), 0);
    QCOMPARE(skript.anfragen().size(), 0);
}

void TestJournal::lesenUndAendern()
{
    eintrag(kTag, 1, QStringLiteral("Erster"), 100);
    eintrag(kTag, 2, QStringLiteral("Zweiter"), -123456, QStringLiteral("1800"), QStringLiteral("20100042"),
            QStringLiteral("VERW"));

    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());
    f.oeffne(kTag, QStringLiteral("2"));

    QVERIFY(f.bearbeitet());
    QCOMPARE(f.text->text(), QStringLiteral("Zweiter"));
    QCOMPARE(f.kost->text(), QStringLiteral("VERW"));
    QCOMPARE(f.beleg->text(), QStringLiteral("B1"));
    QCOMPARE(f.konto->text(), QStringLiteral("1800"));
    QCOMPARE(f.gkonto->text(), QStringLiteral("20100042"));
    QCOMPARE(UtilCent(f.betrag->value()), qint64(-123456));
    // A complete entry puts the focus on "Abbruch".
    QCOMPARE(f.dialog->focusWidget(), DialogTreiber::knopf(f.dialog.get(), QStringLiteral("&Abbruch")));

    f.text->selectAll();
    DialogTreiber::tippe(f.text, QStringLiteral("Zweiter, geändert"));
    QVERIFY(f.alt(Qt::Key_S));

    QCOMPARE(skript.unerwartet(), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 2);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto")), 4);
    QCOMPARE(Db::wert(QStringLiteral("SELECT butext FROM journdat WHERE datum=? AND lfd=2"),
                      {kTag.toString(Qt::ISODate)})
                 .toString(),
             QStringLiteral("Zweiter, geändert"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT cent FROM kgkto WHERE datum=? AND lfd=2 AND kg='2'"),
                      {kTag.toString(Qt::ISODate)})
                 .toLongLong(),
             qint64(123456));

    // A number that does not exist on the date leaves the selection state alone.
    f.oeffne(kTag, QStringLiteral("3"));
    QVERIFY(!f.bearbeitet());
    QVERIFY(f.text->text().isEmpty());
    f.oeffne(kTag.addDays(-1), QStringLiteral("1"));
    QVERIFY(!f.bearbeitet());
}

void TestJournal::schluesselGesperrt()
{
    eintrag(kTag, 1, QStringLiteral("Erster"), 100);
    eintrag(kTag, 2, QStringLiteral("Zweiter"), 200);

    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());
    f.oeffne(kTag, QStringLiteral("1"));
    QVERIFY(f.bearbeitet());
    QVERIFY(!f.datum->isEnabled());

    // Typing into the number field or clicking another row changes nothing.
    DialogTreiber::tippe(f.nummer, QStringLiteral("2"));
    QTest::keyClick(f.nummer, Qt::Key_Return);
    QCOMPARE(f.nummer->text(), QStringLiteral("1"));
    const QModelIndex zweiter = f.liste->model()->index(0, 3);
    QCOMPARE(zweiter.data().toString(), QStringLiteral("Zweiter"));
    QTest::mouseClick(f.liste->viewport(), Qt::LeftButton, {}, f.liste->visualRect(zweiter).center());
    QCOMPARE(f.text->text(), QStringLiteral("Erster"));

    f.text->selectAll();
    DialogTreiber::tippe(f.text, QStringLiteral("Neu"));
    QVERIFY(f.alt(Qt::Key_S));
    QCOMPARE(Db::wert(QStringLiteral("SELECT butext FROM journdat WHERE lfd=1")).toString(), QStringLiteral("Neu"));
    QCOMPARE(Db::wert(QStringLiteral("SELECT butext FROM journdat WHERE lfd=2")).toString(),
             QStringLiteral("Zweiter"));
}

void TestJournal::returnDruecktKeinenKnopf()
{
    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());
    f.oeffne(kTag, QString());
    f.ausfuellen(QStringLiteral("Porto"), QStringLiteral("GS"), QStringLiteral("1200"), QStringLiteral("4900"),
                 QStringLiteral("3,70"));
    f.text->setFocus();
    QTest::keyClick(f.text, Qt::Key_Return);
    QTest::keyClick(f.betrag, Qt::Key_Enter);
    QTest::keyClick(f.dialog.get(), Qt::Key_Return);

    QVERIFY(f.dialog->isVisible());
    QVERIFY(f.bearbeitet());
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 0);
    const auto knoepfe = f.dialog->findChildren<QPushButton *>();
    for (const QPushButton *k : knoepfe)
        QVERIFY2(!k->isDefault() && !k->autoDefault(), qPrintable(k->text()));
}

void TestJournal::loeschen_data()
{
    QTest::addColumn<bool>("bestaetigt");
    QTest::newRow("Ok") << true;
    QTest::newRow("Abbruch") << false;
}

void TestJournal::loeschen()
{
    QFETCH(bool, bestaetigt);

    eintrag(kTag, 1, QStringLiteral("Beitrag"), 6000);
    spendeZeile(kTag, 1, 42);
    eintrag(kTag, 2, QStringLiteral("Bleibt"), 1000);
    spendeZeile(kTag, 2, 43);
    eintrag(kTag.addDays(1), 1, QStringLiteral("Bleibt auch"), 1000);
    spendeZeile(kTag.addDays(1), 1, 44);

    SkriptInteraktion skript;
    skript.antworte(bestaetigt ? QMessageBox::Ok : QMessageBox::Cancel);
    Fenster f;
    QVERIFY(f.zeigen());
    f.oeffne(kTag, QStringLiteral("1"));
    QVERIFY(f.bearbeitet());
    QVERIFY(f.alt(Qt::Key_L));

    QCOMPARE(skript.unerwartet(), 0);
    QCOMPARE(skript.anfragen().size(), 1);
    QCOMPARE(skript.anfragen().first().titel, QStringLiteral("Löschen"));
    const int rest = bestaetigt ? 0 : 1;
    const QVariantList schluessel{kTag.toString(Qt::ISODate), 1};
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM spende WHERE jdatum=? AND jlfd=?"), schluessel), rest);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto WHERE datum=? AND lfd=?"), schluessel), 2 * rest);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat WHERE datum=? AND lfd=?"), schluessel), rest);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM spende")), 2 + rest);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM kgkto")), 4 + 2 * rest);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 2 + rest);
    // No transaction is left open behind the dialog's back.
    QVERIFY(Db::begin());
    QVERIFY(Db::rollback());

    QCOMPARE(f.bearbeitet(), !bestaetigt);
    QCOMPARE(f.liste->model()->rowCount(), 2 + rest);
}

void TestJournal::neuenEintragVerwerfen()
{
    // "Löschen" on an unsaved new entry asks nothing and returns to the selection.
    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());
    f.oeffne(kTag, QString());
    DialogTreiber::tippe(f.text, QStringLiteral("Verworfen"));
    QVERIFY(f.alt(Qt::Key_L));
    QCOMPARE(skript.anfragen().size(), 0);
    QVERIFY(!f.bearbeitet());
    QVERIFY(f.text->text().isEmpty());
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 0);
}

void TestJournal::escapeUndSchliessen()
{
    eintrag(kTag, 1, QStringLiteral("Erster"), 100);
    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());

    f.oeffne(kTag, QStringLiteral("1"));
    QVERIFY(f.bearbeitet());
    QTest::keyClick(f.text, Qt::Key_Escape);
    QVERIFY(f.dialog->isVisible());
    QVERIFY(!f.bearbeitet());
    QVERIFY(f.text->text().isEmpty());

    // Closing the window while editing only leaves the entry.
    f.oeffne(kTag, QStringLiteral("1"));
    QVERIFY(f.bearbeitet());
    QVERIFY(!f.dialog->close());
    QVERIFY(f.dialog->isVisible());
    QVERIFY(!f.bearbeitet());

    f.oeffne(kTag, QStringLiteral("1"));
    QVERIFY(f.alt(Qt::Key_A));
    QVERIFY(f.dialog->isVisible());
    QVERIFY(!f.bearbeitet());

    QTest::keyClick(f.nummer, Qt::Key_Escape);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 1);
    QCOMPARE(skript.anfragen().size(), 0);
}

void TestJournal::nummernFehler()
{
    // The date is full: the posting engine gives no number.
    eintrag(kTag, 9999, QStringLiteral("Letzter"), 100);

    SkriptInteraktion skript;
    skript.antworte(QMessageBox::Ok);
    Fenster f;
    QVERIFY(f.zeigen());
    f.oeffne(kTag, QString());
    f.ausfuellen(QStringLiteral("Zuviel"), QStringLiteral("GS"), QStringLiteral("1200"), QStringLiteral("4000"),
                 QStringLiteral("1"));
    QVERIFY(f.alt(Qt::Key_S));

    QCOMPARE(skript.anfragen().size(), 1);
    const Interaktion::Anfrage &a = skript.anfragen().first();
    QCOMPARE(a.art, Interaktion::Art::Kritisch);
    QCOMPARE(a.titel, QStringLiteral("Journal"));
    QCOMPARE(a.text, QStringLiteral("Fehler beim Generieren der Nummer"));
    QVERIFY(f.bearbeitet());
    QCOMPARE(f.text->text(), QStringLiteral("Zuviel"));
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), 1);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM spende")), 0);
}

void TestJournal::liste()
{
    // Thirteen entries over three days, written out of order.
    const QDate tage[] = {kTag, kTag.addDays(-40), kTag.addDays(2)};
    for (int lfd = 1; lfd <= 5; ++lfd) {
        for (const QDate &tag : tage) {
            if (lfd <= 4 || tag == kTag)
                eintrag(tag, lfd, QStringLiteral("%1/%2").arg(tag.day()).arg(lfd), 123456 * lfd,
                        QStringLiteral("12%1").arg(lfd), QStringLiteral("40%1").arg(lfd));
        }
    }

    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());
    const QAbstractItemModel *m = f.liste->model();
    QCOMPARE(m->rowCount(), 10);
    QCOMPARE(m->columnCount(), 7);
    QStringList kopf;
    for (int s = 0; s < 7; ++s)
        kopf << m->headerData(s, Qt::Horizontal).toString();
    QCOMPARE(kopf.join(QLatin1Char(',')), QStringLiteral("Datum,Nr,Kostenst.,Text,Konto,GKonto,Betrag"));

    // Newest date first, highest number first within a date.
    QStringList erwartet;
    for (int lfd = 4; lfd >= 1; --lfd)
        erwartet << kTag.addDays(2).toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('/') + QString::number(lfd);
    for (int lfd = 5; lfd >= 1; --lfd)
        erwartet << kTag.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('/') + QString::number(lfd);
    erwartet << kTag.addDays(-40).toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral("/4");
    QStringList gelesen;
    for (int r = 0; r < m->rowCount(); ++r)
        gelesen << m->index(r, 0).data().toString() + QLatin1Char('/') + m->index(r, 1).data().toString();
    QCOMPARE(gelesen, erwartet);

    // Row 4 is entry 5 of kTag.
    QCOMPARE(m->index(4, 2).data().toString(), QStringLiteral("KST"));
    QCOMPARE(m->index(4, 3).data().toString(), QStringLiteral("15/5"));
    QCOMPARE(m->index(4, 4).data().toString(), QStringLiteral("125"));
    QCOMPARE(m->index(4, 5).data().toString(), QStringLiteral("405"));
    QCOMPARE(m->index(4, 6).data().toString(), QStringLiteral("6.172,80"));
    QVERIFY(m->index(4, 6).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(m->index(4, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(!(m->flags(m->index(4, 3)) & Qt::ItemIsEditable));

    // A click on a row reads that entry.
    QTest::mouseClick(f.liste->viewport(), Qt::LeftButton, {}, f.liste->visualRect(m->index(4, 3)).center());
    QVERIFY(f.bearbeitet());
    QCOMPARE(f.datum->date(), kTag);
    QCOMPARE(f.nummer->text(), QStringLiteral("5"));
    QCOMPARE(f.text->text(), QStringLiteral("15/5"));
    QCOMPARE(UtilCent(f.betrag->value()), qint64(617280));
}

void TestJournal::einzelEintrag_data()
{
    QTest::addColumn<Qt::Key>("taste");
    QTest::addColumn<int>("ergebnis");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("zeilen");

    QTest::newRow("Speichern") << Qt::Key_S << int(QDialog::Accepted) << QStringLiteral("Korrigiert") << 1;
    QTest::newRow("Abbruch") << Qt::Key_A << int(QDialog::Rejected) << QStringLiteral("Alt") << 1;
    QTest::newRow("Löschen") << Qt::Key_L << int(QDialog::Accepted) << QString() << 0;
}

void TestJournal::einzelEintrag()
{
    QFETCH(Qt::Key, taste);
    QFETCH(int, ergebnis);
    QFETCH(QString, text);
    QFETCH(int, zeilen);

    eintrag(kTag, 7, QStringLiteral("Alt"), 2500);
    SkriptInteraktion skript;
    if (taste == Qt::Key_L)
        skript.antworte(QMessageBox::Ok);

    Journal dialog;
    bool bearbeitet = false;
    DialogTreiber::beiModal([&](QDialog *d) {
        auto *feld = d->findChild<QLineEdit *>(QStringLiteral("text"));
        bearbeitet = feld->isEnabled() && feld->text() == QLatin1String("Alt");
        feld->selectAll();
        DialogTreiber::tippe(feld, QStringLiteral("Korrigiert"));
        DialogTreiber::alt(d, taste);
        if (d->isVisible())
            d->done(-1); // never hang on a dialog that did not close
    });
    const int r = dialog.exec(kTag, 7);

    QVERIFY(DialogTreiber::gelaufen());
    QVERIFY(bearbeitet);
    QCOMPARE(r, ergebnis);
    QCOMPARE(skript.unerwartet(), 0);
    QCOMPARE(anzahl(QStringLiteral("SELECT count(*) FROM journdat")), zeilen);
    if (zeilen)
        QCOMPARE(Db::wert(QStringLiteral("SELECT butext FROM journdat WHERE lfd=7")).toString(), text);
}

void TestJournal::spendeMitEintrag()
{
    // The split typed for a new entry is stored under the number it gets.
    eintrag(kTag, 1, QStringLiteral("Vorher"), 100);
    Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid,gliederung,bezahlt,eintritt,austritt) "
                                  "VALUES (4711,'','2023-12-31','2010-01-01','2200-01-01')"));
    Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,suchname,name1,name2,plz,ort) "
                                  "VALUES ('M','00004711','MEIER','Meier','Hans','12345','Neustadt')"));

    SkriptInteraktion skript;
    Fenster f;
    QVERIFY(f.zeigen());
    f.oeffne(kTag, QString());
    f.ausfuellen(QStringLiteral("Spende Meier"), QStringLiteral("SP"), QStringLiteral("1200"),
                 QStringLiteral("8000"), QStringLiteral("50"));

    DialogTreiber::beiModal([](QDialog *d) {
        auto *mid = d->findChild<WMitglied *>();
        DialogTreiber::tippe(mid, QStringLiteral("4711"));
        QTest::keyClick(mid, Qt::Key_Return);
        auto *art = d->findChild<QComboBox *>();
        art->setCurrentIndex(art->findText(QStringLiteral("Allgemeine Geldspende")));
        DialogTreiber::alt(d, Qt::Key_S);
        if (d->isVisible())
            d->done(-1);
    });
    QVERIFY(f.alt(Qt::Key_P));
    QVERIFY(DialogTreiber::gelaufen());
    QVERIFY(f.spendeLabel->text().contains(QStringLiteral("Meier")));

    QVERIFY(f.alt(Qt::Key_S));
    QCOMPARE(skript.unerwartet(), 0);
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT jlfd,mid,art FROM spende WHERE jdatum=?"),
                              {kTag.toString(Qt::ISODate)});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 2);
    QCOMPARE(q.value(1).toInt(), 4711);
    QCOMPARE(q.value(2).toString(), QStringLiteral("G"));
    QVERIFY(!q.next());
    QVERIFY(f.spendeLabel->text().isEmpty());

    // Reading the entry again shows its donor.
    f.oeffne(kTag, QStringLiteral("2"));
    QVERIFY(f.spendeLabel->text().contains(QStringLiteral("Meier")));
}

QTEST_MAIN(TestJournal)
#include "tst_journal.moc"
