#include "spende.h"

#include "db.h"
#include "parameter.h"
#include "spendenart.h"
#include "textutil.h"
#include "wbetrag.h"
#include "wdatum.h"
#include "utilkonto.h"
#include "wgliederung.h"
#include "wmitglied.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const QDate kLeer(1900, 1, 1);

} // namespace

Spende::Spende(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Spende"));
    auto *grid = new QGridLayout;

    m_midFeld = new WMitglied(true, this);
    m_bezahltFeld = new WDatum(kLeer, this);
    m_bezahltFeld->setEnabled(false);
    grid->addWidget(new QLabel(QStringLiteral("MID/Spender"), this), 0, 0);
    grid->addWidget(m_midFeld, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Bezahlt bis"), this), 0, 2);
    grid->addWidget(m_bezahltFeld, 0, 3);

    m_name = new QLabel(this);
    grid->addWidget(m_name, 1, 1, 1, 3);

    m_gliederungFeld = new WGliederung(this);
    grid->addWidget(new QLabel(QStringLiteral("Gliederung"), this), 2, 0);
    grid->addWidget(m_gliederungFeld, 2, 1, 1, 4);

    m_artListe = new QComboBox(this);
    for (int i = 0; i < SpendenArt::Anzahl; ++i)
        m_artListe->addItem(SpendenArt::text(i));
    m_bezahltNeuFeld = new WDatum(kLeer, this);
    grid->addWidget(new QLabel(QStringLiteral("Art"), this), 3, 0);
    grid->addWidget(m_artListe, 3, 1, 1, 2);
    grid->addWidget(m_bezahltNeuFeld, 3, 3);

    m_gebuehr = new WBetrag(this);
    m_gebuehr->setBereich(-99999, 99999);
    grid->addWidget(new QLabel(QStringLiteral("Anteile:"), this), 4, 0);
    grid->addWidget(new QLabel(QStringLiteral("Bankgebühr"), this), 4, 2);
    grid->addWidget(m_gebuehr, 4, 3);

    SpendenArt::anteilFelder(grid, m_proz, 5, 2, this);

    m_quittungFeld = new WDatum(kLeer, this);
    m_quittungFeld->setLeer(LeerDatum::Vor2000);
    grid->addWidget(new QLabel(QStringLiteral("Bescheinigung"), this), 8, 0);
    grid->addWidget(m_quittungFeld, 8, 1);

    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_abbruch);
    knoepfe->addStretch();

    auto *aussen = new QVBoxLayout(this);
    aussen->addLayout(grid);
    aussen->addLayout(knoepfe);

    connect(m_midFeld, &WMitglied::finished, this, &Spende::pDisName);
    connect(m_artListe, qOverload<int>(&QComboBox::currentIndexChanged), this, &Spende::pArtChg);
    connect(m_speichern, &QPushButton::clicked, this, &Spende::accept);
    connect(m_abbruch, &QPushButton::clicked, this, &Spende::reject);

    m_geaendert = true;
    clear();
}

int Spende::feldMid() const
{
    return m_midFeld->text().trimmed().toInt();
}

QString Spende::midText() const
{
    const int mid = m_aufteilung.angaben().mid;
    return mid < 1 ? QString() : QString::number(mid);
}

void Spende::pFelder()
{
    SpendenAufteilung::Angaben &a = m_aufteilung.angaben();
    a.mid = feldMid();
    a.gliederung = UtilSauber(m_gliederungFeld->text());
    a.art = SpendenArt::code(m_artListe->currentIndex());
    a.quittung = m_quittungFeld->datumText();
    for (int i = 0; i < 6; ++i)
        a.proz[i] = UtilCent(m_proz[i]->value());
    a.bezahlt = m_bezahltFeld->datum();
    a.bezahltNeu = m_bezahltNeuFeld->datum();
    a.gebuehr = m_gebuehr->cents();
}

void Spende::zeigeAnteile()
{
    for (int i = 0; i < 6; ++i)
        m_proz[i]->setValue(static_cast<double>(m_aufteilung.angaben().proz[i]) / 100.0);
}

// Puts the collected state back into the widgets, without a kind change.
void Spende::zeigeFelder()
{
    const SpendenAufteilung::Angaben &a = m_aufteilung.angaben();
    m_midFeld->setText(midText());
    m_gliederungFeld->setText(a.gliederung);
    const QDate quittung = UtilDatum(a.quittung);
    m_quittungFeld->setDatum(quittung.isValid() ? quittung : kLeer);
    zeigeAnteile();
    const QSignalBlocker sperre(m_artListe);
    m_artListe->setCurrentIndex(SpendenArt::index(a.art));
}

void Spende::pDisName()
{
    const int mid = feldMid();
    QString zeile;
    if (mid >= 1) {
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT name1,name2,plz,ort FROM adresse WHERE art='M' AND key=?"),
                                  {UtilMidKey(mid)});
        if (q.next()) {
            if (mid <= 9999999) {
                zeile = QString::number(mid) + QLatin1Char(' ') + q.value(0).toString() + QStringLiteral(", ") +
                        q.value(1).toString() + QStringLiteral(", ") + q.value(2).toString() +
                        QStringLiteral("  ") + q.value(3).toString();
            }
            if (m_gliederungFeld->text().trimmed().isEmpty()) {
                const QVariant g = Db::wert(QStringLiteral("SELECT gliederung FROM mitglied WHERE mid=?"), {mid});
                if (g.isValid())
                    m_gliederungFeld->setText(g.toString());
            }
        }
    }
    m_name->setText(zeile);
    pBeitrDat();
}

void Spende::pArtChg(int index)
{
    if (index == m_artGeladen)
        return; // the stored record keeps its shares
    m_aufteilung.setArt(SpendenArt::code(index));
    zeigeAnteile();
    pBeitrDat();
}

void Spende::pBeitrDat()
{
    const QDate bezahlt = SpendenAufteilung::bezahltBis(feldMid());
    if (!bezahlt.isValid()) {
        m_bezahltFeld->setDatum(kLeer);
        m_bezahltNeuFeld->setDatum(kLeer);
        m_bezahltNeuFeld->setEnabled(false);
        return;
    }
    m_bezahltFeld->setDatum(bezahlt);

    if (SpendenArt::code(m_artListe->currentIndex()) != QLatin1Char('M')) {
        if (m_neuDatum) {
            m_bezahltNeuFeld->setDatum(bezahlt);
            m_bezahltNeuFeld->setEnabled(false);
        }
        return;
    }
    if (!m_neuDatum)
        return; // as setParam set it
    m_bezahltNeuFeld->setEnabled(true);
    if (!m_neu) {
        m_bezahltNeuFeld->setDatum(bezahlt);
    } else if (m_aufteilung.angaben().betrag < 0) {
        // A refund takes back the last paid year.
        const int jahr = bezahlt.year() - (bezahlt.month() == 1 ? 2 : 1);
        m_bezahltNeuFeld->setDatum(QDate(jahr, 12, 31));
    } else {
        const int jahr = bezahlt.year() + (bezahlt.month() == 12 ? 1 : 0);
        m_bezahltNeuFeld->setDatum(QDate(jahr, 12, 31));
    }
}

void Spende::aufteilung(bool kasse, int zeile, qint64 cent, qint64 *betrag, QString *konto, QString *text)
{
    if (m_geaendert) {
        pFelder();
        m_aufteilung.aufteilen(kasse, cent);
        m_geaendert = false;
    }
    m_aufteilung.aufteilung(zeile, cent, betrag, konto, text);
}

QString Spende::disName() const
{
    return m_name->text();
}

void Spende::read(const QDate &jdatum, int jlfd)
{
    if (jlfd < 1) {
        clear();
        return;
    }
    m_artGeladen = -1;
    m_neu = true;
    SpendenAufteilung::Angaben &a = m_aufteilung.angaben();
    a.mid = -1;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT mid,art,gliederung,quittung,prozint,prozbuv,prozlv,prozbzv,"
                                             "prozkv,prozov FROM spende WHERE jdatum=? AND jlfd=?"),
                              {UtilDatumText(jdatum), jlfd});
    if (q.next()) {
        m_neu = false;
        m_midFeld->setText(q.value(0).toString());
        const QString art = q.value(1).toString();
        a.art = art.isEmpty() ? QLatin1Char('Z') : art.at(0);
        m_artGeladen = SpendenArt::index(a.art);
        m_artListe->setCurrentIndex(m_artGeladen);
        m_gliederungFeld->setText(q.value(2).toString());
        const QDate quittung = UtilDatum(q.value(3).toString().left(10));
        m_quittungFeld->setDatum(quittung.isValid() ? quittung : kLeer);
        for (int i = 0; i < 6; ++i)
            a.proz[i] = q.value(4 + i).toLongLong();
        zeigeAnteile();
        // Collected after the name line, so the paid-until dates are the member's.
        pDisName();
        pFelder();
        return;
    }
    pDisName();
}

bool Spende::write(const QDate &jdatum, int jlfd)
{
    pFelder();
    // The form keeps what was entered: when the caller's unit is not committed after
    // all, a repeated save must move the paid-until date again. Callers clear or
    // read the split once their unit is committed.
    return m_aufteilung.schreiben(jdatum, jlfd);
}

void Spende::clear()
{
    m_artGeladen = -1;
    m_neu = true;
    m_neuDatum = true;
    m_quittungFeld->setDatum(kLeer);
    m_midFeld->clear();
    m_gliederungFeld->setText(QString());
    m_name->clear();
    {
        const QSignalBlocker sperre(m_artListe);
        m_artListe->setCurrentIndex(0);
    }
    for (QDoubleSpinBox *p : m_proz)
        p->setValue(0.0);
    m_aufteilung.clear();
    pFelder();
    pBeitrDat();
}

void Spende::setParam(int mid, QChar art, const QDate &bezahlt)
{
    m_midFeld->setText(QString::number(mid));
    pDisName();
    const int index = SpendenArt::index(art);
    {
        const QSignalBlocker sperre(m_artListe);
        m_artListe->setCurrentIndex(index);
    }
    pArtChg(index);
    if (SpendenArt::code(index) == QLatin1Char('M')) {
        m_neuDatum = false;
        m_bezahltNeuFeld->setDatum(bezahlt);
    }
    m_geaendert = true;
}

// The paid-until dates of the last pFelder.
void Spende::zeigeDaten()
{
    const SpendenAufteilung::Angaben &a = m_aufteilung.angaben();
    m_bezahltFeld->setDatum(a.bezahlt.isValid() ? a.bezahlt : kLeer);
    m_bezahltNeuFeld->setDatum(a.bezahltNeu.isValid() ? a.bezahltNeu : kLeer);
}

int Spende::exec(qint64 cent)
{
    m_aufteilung.angaben().betrag = cent;
    m_vorher = m_aufteilung;
    m_gebuehrVorher = m_gebuehr->cents();

    zeigeFelder();
    pArtChg(m_artListe->currentIndex());
    zeigeDaten();

    if (midText().isEmpty())
        m_midFeld->setFocus();
    else
        m_abbruch->setFocus();

    m_offen = true;
    const int ergebnis = QDialog::exec();
    m_offen = false;
    if (ergebnis == QDialog::Accepted)
        m_geaendert = true;
    return ergebnis;
}

void Spende::accept()
{
    if (!WBetrag::alleGueltig(this))
        return;
    pFelder();
    QDialog::accept();
}

void Spende::reject()
{
    if (m_offen) {
        // A cancelled dialog leaves the state of the last acceptance untouched.
        const qint64 betrag = m_aufteilung.angaben().betrag;
        m_aufteilung = m_vorher;
        m_aufteilung.angaben().betrag = betrag;
        zeigeFelder();
        m_gebuehr->setCents(m_gebuehrVorher);
        zeigeDaten();
    }
    m_midFeld->setText(midText());
    pDisName();
    QDialog::reject();
}
