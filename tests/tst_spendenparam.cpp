// The donation parameters dialog, driven through its widgets; the rows it stores.

#include "db.h"
#include "dialogdriver.h"
#include "spendenparam.h"
#include "testdb.h"
#include "textutil.h"
#include "velamain.h"
#include "wkonto.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

#include <memory>

namespace {

// Kind list positions (0 is the empty entry).
constexpr int kZweck = 1;
constexpr int kMitglied = 5;
constexpr int kMandat = 6;

const char *const kKontoSpalten[6] = {"kontokasse",     "kontobank",     "kontoanonkasse",
                                      "kontoanonbank",  "kontojurkasse", "kontojurbank"};

// Widgets of the form, found the way a user finds them: by their label.
struct Form
{
    explicit Form(SpendenParam &d) : dialog(d)
    {
        art = d.findChild<QComboBox *>();
        midBuchung = d.findChild<QCheckBox *>();
        konten = d.findChildren<WKonto *>();
        for (QLineEdit *e : d.findChildren<QLineEdit *>()) {
            if (!qobject_cast<WKonto *>(e) && !qobject_cast<QAbstractSpinBox *>(e->parentWidget()))
                kosten << e;
        }
        // Share fields follow their labels in the grid.
        const auto spins = d.findChildren<QDoubleSpinBox *>();
        const char *const namen[6] = {"Ortsverband",   "Kreisverband",  "Bezirksverband",
                                      "Landesverband", "Bundesverband", "International"};
        QGridLayout *grid = qobject_cast<QGridLayout *>(d.layout());
        for (const char *name : namen) {
            for (QLabel *l : d.findChildren<QLabel *>()) {
                if (l->text() != QLatin1String(name))
                    continue;
                int r, c, rs, cs;
                grid->getItemPosition(grid->indexOf(l), &r, &c, &rs, &cs);
                anteil[QLatin1String(name)] = qobject_cast<QDoubleSpinBox *>(grid->itemAtPosition(r, c + 1)->widget());
            }
        }
    }

    QPushButton *knopf(const QString &text) const
    {
        for (QPushButton *k : dialog.findChildren<QPushButton *>()) {
            if (k->text() == text)
                return k;
        }
        return nullptr;
    }

    bool bearbeiten() const { return !art->isEnabled() && knopf(QStringLiteral("&Speichern"))->isEnabled(); }

    void tippeAnteil(const char *name, const QString &text)
    {
        QDoubleSpinBox *feld = anteil.value(QLatin1String(name));
        feld->setFocus();
        feld->selectAll();
        QTest::keyClicks(feld, text);
        QTest::keyClick(feld, Qt::Key_Tab);
    }

    void tippe(QLineEdit *feld, const QString &text)
    {
        feld->setFocus();
        feld->selectAll();
        QTest::keyClicks(feld, text);
    }

    SpendenParam &dialog;
    QComboBox *art = nullptr;
    QCheckBox *midBuchung = nullptr;
    QList<WKonto *> konten;
    QList<QLineEdit *> kosten;
    QMap<QString, QDoubleSpinBox *> anteil;
};

QSqlRecord zeile(QChar art)
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT * FROM spendenparam WHERE art=?"), {QString(art)});
    return q.next() ? q.record() : QSqlRecord();
}

// Alt+letter as the user presses it; a mnemonic clicks its button when the
// button's short press animation ends.
void alt(QWidget *fenster, Qt::Key taste)
{
    QTest::keyClick(fenster, taste, Qt::AltModifier);
    QTest::qWait(200);
}

int anzahl()
{
    return Db::wert(QStringLiteral("SELECT count(*) FROM spendenparam")).toInt();
}

} // namespace

class TstSpendenParam : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void oeffnetInAuswahl();
    void lesenOhneArtTutNichts();
    void artOhneZeileGibtLeeresFormular();
    void speichernLegtAn();
    void anteileInHundertstel_data();
    void anteileInHundertstel();
    void vorhandeneZeileWirdGeaendert();
    void ohneKontoAbgelehnt();
    void abbruchUndEscape();
    void schliessenBeimBearbeitenVerweigert();
    void hauptfensterOeffnetDialog();

private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<SpendenParam> m_dialog;
    std::unique_ptr<Form> m_form;

    void lesen(int art);
};

void TstSpendenParam::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German));
}

void TstSpendenParam::init()
{
    m_db = std::make_unique<TestDb>();
    QVERIFY(m_db->ok());
    m_dialog = std::make_unique<SpendenParam>();
    m_form = std::make_unique<Form>(*m_dialog);
    QCOMPARE(m_form->konten.size(), 6);
    QCOMPARE(m_form->kosten.size(), 6);
    QCOMPARE(m_form->anteil.size(), 6);
    m_dialog->show();
    QApplication::setActiveWindow(m_dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void TstSpendenParam::cleanup()
{
    m_form.reset();
    m_dialog.reset();
    m_db.reset();
}

void TstSpendenParam::lesen(int art)
{
    m_form->art->setCurrentIndex(art);
    alt(m_dialog.get(), Qt::Key_L);
}

void TstSpendenParam::oeffnetInAuswahl()
{
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Spenden - Parameter"));
    QCOMPARE(m_form->art->count(), 7);
    QCOMPARE(m_form->art->itemText(0), QString());
    QCOMPARE(m_form->art->itemText(kZweck), QStringLiteral("Zweckgebundene Geldspende"));
    QCOMPARE(m_form->art->itemText(kMandat), QStringLiteral("Mandatsträgerbeitrag"));
    QCOMPARE(m_form->art->currentIndex(), 0);
    QVERIFY(m_form->art->hasFocus());
    QVERIFY(!m_form->bearbeiten());
    for (QPushButton *k : m_dialog->findChildren<QPushButton *>())
        QVERIFY2(!k->isDefault() && !k->autoDefault(), qPrintable(k->text()));
    for (WKonto *k : m_form->konten)
        QVERIFY(!k->isEnabled());
}

void TstSpendenParam::lesenOhneArtTutNichts()
{
    lesen(0);
    QVERIFY(!m_form->bearbeiten());
    QVERIFY(m_form->art->isEnabled());
}

void TstSpendenParam::artOhneZeileGibtLeeresFormular()
{
    lesen(kMitglied);
    QVERIFY(m_form->bearbeiten());
    for (QDoubleSpinBox *p : m_form->anteil)
        QCOMPARE(p->value(), 0.0);
    for (WKonto *k : m_form->konten)
        QVERIFY(k->QLineEdit::text().isEmpty());
    QVERIFY(!m_form->midBuchung->isChecked());
    // No account yet: the user starts with the shares.
    QCOMPARE(QApplication::focusWidget(), m_form->anteil.value(QStringLiteral("Ortsverband")));
    QCOMPARE(anzahl(), 0);
}

void TstSpendenParam::speichernLegtAn()
{
    lesen(kMitglied);
    m_form->tippeAnteil("Ortsverband", QStringLiteral("16,5"));
    m_form->tippeAnteil("Bundesverband", QStringLiteral("20"));
    m_form->tippe(m_form->konten.at(1), QStringLiteral("40 ab'c"));
    m_form->tippe(m_form->kosten.at(1), QStringLiteral("  Beitrag %MID%/%Jahr%  O'Brien "));
    m_form->tippe(m_form->konten.at(2), QStringLiteral("8011"));
    alt(m_dialog.get(), Qt::Key_M);
    QVERIFY(m_form->midBuchung->isChecked());
    alt(m_dialog.get(), Qt::Key_S);

    const QSqlRecord r = zeile(QLatin1Char('M'));
    QVERIFY(!r.isEmpty());
    QCOMPARE(anzahl(), 1);
    QCOMPARE(r.value("prozov").toLongLong(), 1650);
    QCOMPARE(r.value("prozbuv").toLongLong(), 2000);
    QCOMPARE(r.value("prozkv").toLongLong(), 0);
    QCOMPARE(r.value("midbuchung").toString(), QStringLiteral("J"));
    QCOMPARE(r.value("kontokasse").toString(), QString());
    QCOMPARE(r.value("kontobank").toString(), QStringLiteral("40 AB`C"));
    QCOMPARE(r.value("kontoanonkasse").toString(), QStringLiteral("8011"));
    // Cost centres keep their case and their variables.
    QCOMPARE(r.value("kostbank").toString(), QStringLiteral("Beitrag %MID%/%Jahr% O`Brien"));
    QCOMPARE(r.value("kostkasse").toString(), QString());

    // Back in selection, with an empty form.
    QVERIFY(!m_form->bearbeiten());
    QCOMPARE(m_form->art->currentIndex(), 0);
    QVERIFY(m_form->konten.at(1)->QLineEdit::text().isEmpty());
    QVERIFY(m_form->kosten.at(1)->text().isEmpty());
    QCOMPARE(m_form->anteil.value(QStringLiteral("Ortsverband"))->value(), 0.0);
    QVERIFY(!m_form->midBuchung->isChecked());
}

void TstSpendenParam::anteileInHundertstel_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<qlonglong>("gespeichert");
    QTest::newRow("16,5") << QStringLiteral("16,5") << 1650LL;
    QTest::newRow("100") << QStringLiteral("100") << 10000LL;
    QTest::newRow("0,01") << QStringLiteral("0,01") << 1LL;
    QTest::newRow("33,33") << QStringLiteral("33,33") << 3333LL;
    QTest::newRow("0") << QStringLiteral("0") << 0LL;
}

void TstSpendenParam::anteileInHundertstel()
{
    QFETCH(QString, eingabe);
    QFETCH(qlonglong, gespeichert);
    lesen(kZweck);
    m_form->tippeAnteil("Kreisverband", eingabe);
    m_form->tippe(m_form->konten.at(0), QStringLiteral("8000"));
    alt(m_dialog.get(), Qt::Key_S);
    QCOMPARE(zeile(QLatin1Char('Z')).value("prozkv").toLongLong(), gespeichert);
    QCOMPARE(zeile(QLatin1Char('Z')).value("midbuchung").toString(), QStringLiteral("N"));

    // Read back, it shows the same percentage.
    lesen(kZweck);
    QCOMPARE(UtilCent(m_form->anteil.value(QStringLiteral("Kreisverband"))->value()), gespeichert);
}

void TstSpendenParam::vorhandeneZeileWirdGeaendert()
{
    Db::ausfuehren(QStringLiteral("INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,"
                                  "midbuchung,kontokasse,kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,"
                                  "kontojurbank,kostkasse,kostbank,kostanonkasse,kostanonbank,kostjurkasse,kostjurbank)"
                                  " VALUES ('T','100','200','300','400','500','8500','J','8000','8010','8001','8011',"
                                  "'8002','8012','KK','KB','AK','AB','JK','JB')"));
    lesen(kMandat);
    QVERIFY(m_form->bearbeiten());
    QCOMPARE(m_form->anteil.value(QStringLiteral("International"))->value(), 1.0);
    QCOMPARE(m_form->anteil.value(QStringLiteral("Bundesverband"))->value(), 2.0);
    QCOMPARE(m_form->anteil.value(QStringLiteral("Landesverband"))->value(), 3.0);
    QCOMPARE(m_form->anteil.value(QStringLiteral("Bezirksverband"))->value(), 4.0);
    QCOMPARE(m_form->anteil.value(QStringLiteral("Kreisverband"))->value(), 5.0);
    QCOMPARE(m_form->anteil.value(QStringLiteral("Ortsverband"))->value(), 85.0);
    QVERIFY(m_form->midBuchung->isChecked());
    const QStringList konten{"8000", "8010", "8001", "8011", "8002", "8012"};
    const QStringList kosten{"KK", "KB", "AK", "AB", "JK", "JB"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(m_form->konten.at(i)->text(), konten.at(i));
        QCOMPARE(m_form->kosten.at(i)->text(), kosten.at(i));
    }
    // With accounts filled in, the focus waits on "Abbruch".
    QCOMPARE(QApplication::focusWidget(), m_form->knopf(QStringLiteral("&Abbruch")));

    m_form->tippe(m_form->konten.at(5), QStringLiteral("8099"));
    alt(m_dialog.get(), Qt::Key_M);
    alt(m_dialog.get(), Qt::Key_S);
    QCOMPARE(anzahl(), 1);
    const QSqlRecord r = zeile(QLatin1Char('T'));
    QCOMPARE(r.value("kontojurbank").toString(), QStringLiteral("8099"));
    QCOMPARE(r.value("kontokasse").toString(), QStringLiteral("8000"));
    QCOMPARE(r.value("midbuchung").toString(), QStringLiteral("N"));
    QCOMPARE(r.value("prozov").toLongLong(), 8500);
}

void TstSpendenParam::ohneKontoAbgelehnt()
{
    lesen(kMitglied);
    m_form->tippeAnteil("Ortsverband", QStringLiteral("50"));
    m_form->tippe(m_form->kosten.at(0), QStringLiteral("Kasse"));
    // A search text is no account either.
    m_form->tippe(m_form->konten.at(3), QStringLiteral("MMeier"));
    alt(m_dialog.get(), Qt::Key_S);
    QCOMPARE(anzahl(), 0);
    QVERIFY(m_form->bearbeiten());
    QCOMPARE(QApplication::focusWidget(), m_form->konten.at(0));
    QCOMPARE(m_form->anteil.value(QStringLiteral("Ortsverband"))->value(), 50.0);

    // Every one of the six accounts suffices.
    for (int i = 0; i < 6; ++i) {
        lesen(kMitglied);
        m_form->tippe(m_form->konten.at(i), QStringLiteral("80") + QString::number(i));
        alt(m_dialog.get(), Qt::Key_S);
        QVERIFY(!m_form->bearbeiten());
        QCOMPARE(zeile(QLatin1Char('M')).value(kKontoSpalten[i]).toString(), QStringLiteral("80") + QString::number(i));
    }
}

void TstSpendenParam::abbruchUndEscape()
{
    lesen(kMitglied);
    m_form->tippe(m_form->konten.at(0), QStringLiteral("8000"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!m_form->bearbeiten());
    QCOMPARE(anzahl(), 0);
    QVERIFY(m_form->konten.at(0)->QLineEdit::text().isEmpty());

    lesen(kMitglied);
    alt(m_dialog.get(), Qt::Key_A);
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!m_form->bearbeiten());

    // In selection "Abbruch" closes the dialog.
    alt(m_dialog.get(), Qt::Key_A);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QCOMPARE(anzahl(), 0);
}

void TstSpendenParam::schliessenBeimBearbeitenVerweigert()
{
    lesen(kZweck);
    QVERIFY(!m_dialog->close());
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!m_form->bearbeiten());
    QVERIFY(m_dialog->close());
    QVERIFY(!m_dialog->isVisible());
}

void TstSpendenParam::hauptfensterOeffnetDialog()
{
    m_dialog->hide();
    // The main window's entry runs the dialog modally; Escape in selection closes it.
    DialogTreiber::beiModal([](QDialog *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Spenden - Parameter"));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    VelaMain fenster;
    fenster.pSpendenParam();
    QVERIFY(DialogTreiber::gelaufen());
}

QTEST_MAIN(TstSpendenParam)
#include "tst_spendenparam.moc"
