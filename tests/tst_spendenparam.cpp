// The donation parameters dialog, driven through its widgets; the rows it stores.

#include "db.h"
#include "dialogdriver.h"
#include "spendenparam.h"
#include "testdb.h"
#include "velamain.h"
#include "wkonto.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

using DialogTreiber::alt;
using DialogTreiber::feldBei;

namespace {
constexpr int kZweck = 1, kMitglied = 5, kMandat = 6; // kind list positions; 0 is the empty entry
const char *const kZeilen[6] = {"Kasse", "Bank", "Anonym Kasse", "Anonym Bank", "Jur. Kasse", "Jur. Bank"};
QStringList zeile(const QString &art) { return TestDb::zeile("SELECT * FROM spendenparam WHERE art=?", {art}); }
int anzahl() { return TestDb::anzahl("SELECT count(*) FROM spendenparam"); }
} // namespace

class TstSpendenParam : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<SpendenParam> m_d;

    QDoubleSpinBox *anteil(const char *ebene) { return feldBei<QDoubleSpinBox>(m_d.get(), ebene); }
    QLineEdit *kost(int i) { return feldBei<QLineEdit>(m_d.get(), kZeilen[i], 0, 1); }
    WKonto *konto(int i) { return feldBei<WKonto>(m_d.get(), kZeilen[i], 0, 2); }
    QComboBox *art() { return m_d->findChild<QComboBox *>(); }
    QCheckBox *mitgliederkonto() { return m_d->findChild<QCheckBox *>(); }
    bool bearbeiten() { return !art()->isEnabled() && DialogTreiber::knopf(m_d.get(), "&Speichern")->isEnabled(); }
    bool lesen(int index) { art()->setCurrentIndex(index); return alt(m_d.get(), Qt::Key_L); }
    void tippe(QWidget *feld, const QString &text) // replaces the field's text by typing
    {
        feld->setFocus();
        QTest::keyClick(feld, Qt::Key_A, Qt::ControlModifier);
        DialogTreiber::tippe(feld, text);
    }
    bool altM(bool danach) // Alt+M toggles the check box once its click animation ends
    {
        QTest::keyClick(m_d.get(), Qt::Key_M, Qt::AltModifier);
        return QTest::qWaitFor([&] { return mitgliederkonto()->isChecked() == danach; }, 1000);
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        m_db = std::make_unique<TestDb>();
        m_d = std::make_unique<SpendenParam>();
        QVERIFY(m_db->ok() && DialogTreiber::zeige(m_d.get()));
    }
    void cleanup() { m_d.reset(); m_db.reset(); }
    void auswahl()
    {
        // Selection: the empty kind first, then the six kinds; nothing to edit; no default button.
        QCOMPARE(art()->itemText(0) + "|" + art()->itemText(kMandat), QStringLiteral("|Mandatsträgerbeitrag"));
        QVERIFY(art()->hasFocus() && !bearbeiten() && !konto(0)->isEnabled() && !anteil("Ortsverband")->isEnabled());
        for (QPushButton *k : m_d->findChildren<QPushButton *>())
            QVERIFY2(!k->isDefault() && !k->autoDefault(), qPrintable(k->text()));
        QVERIFY(lesen(0) && !bearbeiten() && art()->isEnabled()); // "Lesen" with the empty kind does nothing
    }
    void neueArt()
    {
        // A kind without row opens an empty form, the focus on the first share; saving inserts the row.
        QVERIFY(lesen(kMitglied) && bearbeiten());
        QCOMPARE(m_d->findChild<QLabel *>("neu")->text(), "neu");
        QCOMPARE(QApplication::focusWidget(), anteil("Ortsverband"));
        for (const auto &[ebene, wert] : {std::pair{"Ortsverband", "16,5"}, {"Bundesverband", "100"},
                                          {"Kreisverband", "0,01"}, {"Landesverband", "33,33"}})
            tippe(anteil(ebene), wert);
        tippe(konto(1), "40 ab'c");
        tippe(kost(1), "  Beitrag %MID%/%Jahr%  O'Brien ");
        tippe(konto(2), "8011");
        QVERIFY(altM(true) && alt(m_d.get(), Qt::Key_S));
        // Shares in hundredths; accounts upper case, cost centres keep case and variables; trimmed, "'" as "`".
        QCOMPARE(zeile("M"), QStringList({"M", "0", "10000", "3333", "0", "1", "1650", "J", "", "40 AB`C", "8011", "", "",
                                          "", "", "Beitrag %MID%/%Jahr% O`Brien", "", "", "", ""}));
        // The empty accounts are empty text, not NULL.
        QCOMPARE(TestDb::anzahl("SELECT count(*) FROM spendenparam WHERE kontokasse IS NULL OR kontojurbank IS NULL"), 0);
        // Back in selection, with an empty form.
        QVERIFY(anzahl() == 1 && !bearbeiten() && art()->currentIndex() == 0 && !mitgliederkonto()->isChecked());
        QVERIFY(kost(1)->text().isEmpty() && konto(1)->QLineEdit::text().isEmpty() && anteil("Ortsverband")->value() == 0);
    }
    void vorhandeneZeile()
    {
        Db::ausfuehren("INSERT INTO spendenparam VALUES ('T','100','200','300','400','500','8500','J','8000','8010',"
                       "'8001','8011','8002','8012','KK','KB','AK','AB','JK','JB')");
        // Shown with the focus on "Abbruch"; saved again, the row keeps what is shown and takes the changes.
        QVERIFY(lesen(kMandat) && m_d->findChild<QLabel *>("neu")->text().isEmpty());
        QVERIFY(QApplication::focusWidget() == DialogTreiber::knopf(m_d.get(), "&Abbruch") && mitgliederkonto()->isChecked());
        tippe(konto(5), "8099");
        QVERIFY(altM(false) && alt(m_d.get(), Qt::Key_S) && anzahl() == 1);
        QCOMPARE(zeile("T"), QStringList({"T", "100", "200", "300", "400", "500", "8500", "N", "8000", "8010", "8001",
                                          "8011", "8002", "8099", "KK", "KB", "AK", "AB", "JK", "JB"}));
    }
    void ohneKontoAbgelehnt()
    {
        lesen(kMitglied);
        tippe(anteil("Ortsverband"), "50");
        tippe(kost(0), "Kasse");
        tippe(konto(3), "MMeier"); // a search text is no account either
        QVERIFY(alt(m_d.get(), Qt::Key_S) && anzahl() == 0 && bearbeiten()); // refused: focus on the first account
        QVERIFY(QApplication::focusWidget() == konto(0) && anteil("Ortsverband")->value() == 50.0);
        for (int i = 0; i < 6; ++i) { // every one of the six accounts suffices
            lesen(kMitglied);
            tippe(konto(i), "80" + QString::number(i));
            QVERIFY(alt(m_d.get(), Qt::Key_S) && !bearbeiten());
            QCOMPARE(zeile("M").value(8 + i), "80" + QString::number(i));
        }
    }
    void abbrechen()
    {
        // Escape, "Abbruch" and closing while editing return to selection without storing.
        lesen(kMitglied);
        tippe(konto(0), "8000");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(m_d->isVisible() && !bearbeiten() && konto(0)->QLineEdit::text().isEmpty());
        QVERIFY(lesen(kMitglied) && alt(m_d.get(), Qt::Key_A) && m_d->isVisible() && !bearbeiten());
        QVERIFY(lesen(kZweck) && !m_d->close() && m_d->isVisible() && !bearbeiten() && anzahl() == 0);
        // In selection "Abbruch" closes the dialog, and so does the main window's entry's Escape.
        QVERIFY(alt(m_d.get(), Qt::Key_A) && !m_d->isVisible() && m_d->result() == QDialog::Rejected);
        bool geoeffnet = false;
        DialogTreiber::beiModal([&geoeffnet](QDialog *d) {
            geoeffnet = qobject_cast<SpendenParam *>(d);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        VelaMain().pSpendenParam();
        QVERIFY(geoeffnet);
    }
};

QTEST_MAIN(TstSpendenParam)
#include "tst_spendenparam.moc"
