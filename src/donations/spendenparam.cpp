#include "spendenparam.h"

#include "db.h"
#include "spendenart.h"
#include "textutil.h"
#include "wkonto.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char *const kSpalten = "prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,"
                             "kontokasse,kontobank,kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,"
                             "kostkasse,kostbank,kostanonkasse,kostanonbank,kostjurkasse,kostjurbank";

} // namespace

SpendenParam::SpendenParam(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Spenden - Parameter"));
    auto *grid = new QGridLayout(this);

    m_art = new QComboBox(this);
    m_art->addItem(QString());
    for (int i = 0; i < SpendenArt::Anzahl; ++i)
        m_art->addItem(SpendenArt::text(i));
    m_lesen = UtilKnopf(QStringLiteral("&Lesen"), this);
    grid->addWidget(new QLabel(QStringLiteral("Art"), this), 0, 0);
    grid->addWidget(m_art, 0, 1, 1, 3);
    grid->addWidget(m_lesen, 0, 4);
    m_neu = UtilNeuLabel(this);
    grid->addWidget(m_neu, 0, 5);

    grid->addWidget(new QLabel(QStringLiteral("Anteile:"), this), 1, 0);
    SpendenArt::anteilFelder(grid, m_proz, 2, 3, this);

    m_midBuchung = new QCheckBox(QStringLiteral("Buchung auf &Mitgliederkonto"), this);
    grid->addWidget(m_midBuchung, 4, 0, 1, 4);

    grid->addWidget(new QLabel(QStringLiteral("Kost."), this), 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("Konto"), this), 5, 2);
    const char *const zeilen[6] = {"Kasse", "Bank", "Anonym Kasse", "Anonym Bank", "Jur. Kasse", "Jur. Bank"};
    for (int i = 0; i < 6; ++i) {
        m_kost[i] = new QLineEdit(this);
        m_kontoText[i] = new QLabel(this);
        m_konto[i] = new WKonto(m_kontoText[i], false, this);
        grid->addWidget(new QLabel(QString::fromLatin1(zeilen[i]), this), 6 + i, 0);
        grid->addWidget(m_kost[i], 6 + i, 1);
        grid->addWidget(m_konto[i], 6 + i, 2);
        grid->addWidget(m_kontoText[i], 6 + i, 3, 1, 3);
    }

    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    grid->addWidget(m_speichern, 12, 0);
    grid->addWidget(m_abbruch, 12, 1);

    connect(m_lesen, &QPushButton::clicked, this, &SpendenParam::pRead);
    connect(m_speichern, &QPushButton::clicked, this, &SpendenParam::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &SpendenParam::pCancel);

    pSetWahl(true);
}

void SpendenParam::pSetWahl(bool wahl)
{
    m_wahl = wahl;
    m_art->setEnabled(wahl);
    m_lesen->setEnabled(wahl);
    for (int i = 0; i < 6; ++i) {
        m_proz[i]->setEnabled(!wahl);
        m_kost[i]->setEnabled(!wahl);
        m_konto[i]->setEnabled(!wahl);
    }
    m_midBuchung->setEnabled(!wahl);
    m_speichern->setEnabled(!wahl);
    m_abbruch->setEnabled(true);
    if (!wahl)
        return;
    UtilNeu(m_neu, false);
    m_art->setCurrentIndex(0);
    for (int i = 0; i < 6; ++i) {
        m_proz[i]->setValue(0.0);
        m_kost[i]->clear();
        m_konto[i]->clear();
    }
    m_midBuchung->setChecked(false);
    m_art->setFocus();
}

void SpendenParam::pRead()
{
    if (!m_wahl || m_art->currentIndex() < 1)
        return;
    const QChar art = SpendenArt::code(m_art->currentIndex() - 1);
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT %1 FROM spendenparam WHERE art=?").arg(QLatin1String(kSpalten)),
                              {QString(art)});
    const bool gefunden = q.next();
    UtilNeu(m_neu, !gefunden);
    if (gefunden) {
        for (int i = 0; i < 6; ++i)
            m_proz[i]->setValue(static_cast<double>(q.value(i).toLongLong()) / 100.0);
        m_midBuchung->setChecked(q.value(6).toString() == QLatin1String("J"));
        for (int i = 0; i < 6; ++i) {
            m_konto[i]->setText(q.value(7 + i).toString());
            m_kost[i]->setText(q.value(13 + i).toString());
        }
    }
    pSetWahl(false);
    bool konto = false;
    for (const WKonto *k : m_konto)
        konto = konto || !k->text().isEmpty();
    if (konto)
        m_abbruch->setFocus();
    else
        m_proz[5]->setFocus();
}

void SpendenParam::pWrite()
{
    if (m_wahl)
        return;
    QString konto[6];
    bool eins = false;
    for (int i = 0; i < 6; ++i) {
        konto[i] = m_konto[i]->text();
        eins = eins || !konto[i].isEmpty();
    }
    if (!eins) {
        m_konto[0]->setFocus();
        return;
    }

    // Values in the column order of kSpalten; the kind code closes the list.
    QVariantList werte;
    for (const QDoubleSpinBox *p : m_proz)
        werte << QString::number(UtilCent(p->value()));
    werte << (m_midBuchung->isChecked() ? QStringLiteral("J") : QStringLiteral("N"));
    for (const QString &k : konto)
        werte << k;
    for (const QLineEdit *k : m_kost)
        werte << UtilSauber(k->text());
    const QString art(SpendenArt::code(m_art->currentIndex() - 1));

    const bool gespeichert = Db::speichern(this, windowTitle(), [&werte, &art] {
        const int geaendert = Db::ausfuehren(
            QStringLiteral("UPDATE spendenparam SET prozint=?,prozbuv=?,prozlv=?,prozbzv=?,prozkv=?,prozov=?,"
                           "midbuchung=?,kontokasse=?,kontobank=?,kontoanonkasse=?,kontoanonbank=?,kontojurkasse=?,"
                           "kontojurbank=?,kostkasse=?,kostbank=?,kostanonkasse=?,kostanonbank=?,kostjurkasse=?,"
                           "kostjurbank=? WHERE art=?"),
            werte + QVariantList{art});
        if (geaendert == 0) {
            Db::ausfuehren(QStringLiteral("INSERT INTO spendenparam (art,%1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
                                          "?,?,?)")
                               .arg(QLatin1String(kSpalten)),
                           QVariantList{art} + werte);
        }
    });
    if (gespeichert)
        pSetWahl(true);
}

void SpendenParam::pCancel()
{
    if (m_wahl)
        QDialog::reject();
    else
        pSetWahl(true);
}

void SpendenParam::reject()
{
    // QDialog routes Escape and the close button here; a refused close keeps the window.
    pCancel();
}
