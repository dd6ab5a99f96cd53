#include "auszugimport.h"

#include "auszugbuchung.h"
#include "db.h"
#include "iban.h"
#include "interaktion.h"
#include "kontozeilen.h"
#include "textutil.h"
#include "wkonto.h"
#include "wmitglied.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

// The books' account of a statement's own account, remembered from the last posting.
QString kontoSchluessel(const QString &iban)
{
    return QStringLiteral("Kontoauszug/") + iban;
}

QString euro(qint64 cent)
{
    return UtilBetragText(cent) + QStringLiteral(" EUR");
}

} // namespace

AuszugImport::AuszugImport(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Kontoauszug einlesen"));
    auto *aussen = new QVBoxLayout(this);
    auto *kopf = new QGridLayout;
    aussen->addLayout(kopf);

    m_datei = new QLineEdit(this);
    m_datei->setReadOnly(true);
    m_datei->setObjectName(QStringLiteral("datei"));
    m_dateiKnopf = UtilKnopf(QStringLiteral("&Datei..."), this);
    kopf->addWidget(new QLabel(QStringLiteral("Datei"), this), 0, 0);
    kopf->addWidget(m_datei, 0, 1, 1, 2);
    kopf->addWidget(m_dateiKnopf, 0, 3);

    m_kontoLabel = new QLabel(this);
    m_konto = new WKonto(m_kontoLabel, false, this);
    m_konto->setObjectName(QStringLiteral("konto"));
    kopf->addWidget(new QLabel(QStringLiteral("Bankkonto"), this), 1, 0);
    kopf->addWidget(m_konto, 1, 1);
    kopf->addWidget(m_kontoLabel, 1, 2, 1, 2);
    m_konto->setFixedWidth(150);
    kopf->setColumnStretch(2, 1);

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("info"));
    m_salden = new QLabel(this);
    m_salden->setObjectName(QStringLiteral("salden"));
    kopf->addWidget(m_info, 2, 0, 1, 4);
    kopf->addWidget(m_salden, 3, 0, 1, 4);

    m_liste = new QTableWidget(0, kSpalten, this);
    m_liste->setObjectName(QStringLiteral("liste"));
    m_liste->setHorizontalHeaderLabels(QStringLiteral("Datum,Betrag,Name,IBAN,Verwendungszweck,Buchen als,Hinweis")
                                           .split(QLatin1Char(',')));
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->setSelectionMode(QAbstractItemView::SingleSelection);
    m_liste->verticalHeader()->hide();
    for (const auto &[spalte, breite] : {std::pair{kDatum, 85}, {kBetrag, 85}, {kName, 190}, {kIban, 210},
                                         {kZweck, 300}, {kVorschlag, 170}})
        m_liste->setColumnWidth(spalte, breite);
    m_liste->horizontalHeader()->setStretchLastSection(true);
    m_liste->setMinimumSize(1250, 400);
    aussen->addWidget(m_liste);

    // The choice for the selected line: a member, or an account with cost centre and text.
    auto *wahl = new QGridLayout;
    aussen->addLayout(wahl);
    m_mid = new WMitglied(false, this);
    m_mid->setObjectName(QStringLiteral("mid"));
    m_wahlKontoLabel = new QLabel(this);
    m_wahlKonto = new WKonto(m_wahlKontoLabel, false, this);
    m_wahlKonto->setObjectName(QStringLiteral("wahlKonto"));
    m_kost = new QLineEdit(this);
    m_kost->setObjectName(QStringLiteral("kost"));
    m_kost->setFixedWidth(200);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("text"));
    m_zuordnen = UtilKnopf(QStringLiteral("&Zuordnen"), this);
    wahl->addWidget(new QLabel(QStringLiteral("MID"), this), 0, 0);
    wahl->addWidget(m_mid, 0, 1);
    wahl->addWidget(new QLabel(QStringLiteral("oder Konto"), this), 0, 2);
    wahl->addWidget(m_wahlKonto, 0, 3);
    wahl->addWidget(m_wahlKontoLabel, 0, 4);
    wahl->addWidget(new QLabel(QStringLiteral("Kostenstelle"), this), 0, 5);
    wahl->addWidget(m_kost, 0, 6);
    wahl->addWidget(new QLabel(QStringLiteral("Text"), this), 1, 2);
    wahl->addWidget(m_text, 1, 3, 1, 4);
    wahl->addWidget(m_zuordnen, 1, 7);
    wahl->setColumnStretch(4, 1);

    auto *knoepfe = new QHBoxLayout;
    m_buchen = UtilKnopf(QStringLiteral("&Buchen"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    m_meldung = new QLabel(this);
    m_meldung->setObjectName(QStringLiteral("meldung"));
    knoepfe->addWidget(m_buchen);
    knoepfe->addWidget(m_abbruch);
    knoepfe->addWidget(m_meldung);
    knoepfe->addStretch();
    aussen->addLayout(knoepfe);

    connect(m_dateiKnopf, &QPushButton::clicked, this, &AuszugImport::pDatei);
    connect(m_zuordnen, &QPushButton::clicked, this, &AuszugImport::pZuordnen);
    connect(m_buchen, &QPushButton::clicked, this, &AuszugImport::pBuchen);
    connect(m_abbruch, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_liste, &QTableWidget::itemSelectionChanged, this, &AuszugImport::pAuswahl);
    connect(m_konto, &QLineEdit::editingFinished, this, &AuszugImport::pSalden);
    m_dateiKnopf->setFocus();
}

void AuszugImport::pDatei()
{
    const QString datei = Interaktion::dateiOeffnen(this, windowTitle(), QString(),
                                                    QStringLiteral("Kontoauszüge (*.xml *.sta *.mt940 *.txt);;"
                                                                   "Alle Dateien (*)"));
    if (!datei.isEmpty())
        lesen(datei);
}

bool AuszugImport::lesen(const QString &datei)
{
    Kontoauszug auszug;
    QString fehler;
    if (!Kontoauszug::lesen(datei, &auszug, &fehler)) {
        Interaktion::warnung(this, windowTitle(), fehler);
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_auszug = auszug;
    m_datei->setText(datei);
    m_erledigt = AuszugBuchung(m_auszug).erledigt();
    const AuszugVorschlag vorschlag;
    m_wahl.clear();
    for (const AuszugZeile &z : m_auszug.zeilen)
        m_wahl << vorschlag.vorschlag(z);
    const QString konto =
        Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key=?"), {kontoSchluessel(m_auszug.konto)}).toString();
    if (!konto.isEmpty())
        m_konto->setText(konto);
    m_info->setText(QStringLiteral("%1, Konto %2, %3 bis %4: %5 Zeilen, %6 schon gebucht")
                        .arg(m_auszug.format, Iban::gruppiert(m_auszug.konto), UtilDatumZeige(m_auszug.von()),
                             UtilDatumZeige(m_auszug.bis()), QString::number(m_auszug.zeilen.size()),
                             QString::number(m_erledigt.count(true))));
    pFuellListe();
    pSalden();
    QApplication::restoreOverrideCursor();
    (konto.isEmpty() ? static_cast<QWidget *>(m_konto) : m_liste)->setFocus();
    return true;
}

void AuszugImport::pFuellListe()
{
    m_liste->clearContents();
    m_liste->setRowCount(m_auszug.zeilen.size());
    for (int i = 0; i < m_auszug.zeilen.size(); ++i) {
        const AuszugZeile &z = m_auszug.zeilen.at(i);
        const QStringList texte{UtilDatumZeige(z.datum), UtilBetragText(z.cent), z.name, Iban::gruppiert(z.iban),
                                z.zweck};
        for (int s = 0; s < texte.size(); ++s)
            m_liste->setItem(i, s, new QTableWidgetItem(texte.at(s)));
        m_liste->item(i, kBetrag)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_liste->setItem(i, kVorschlag, new QTableWidgetItem);
        m_liste->setItem(i, kHinweis, new QTableWidgetItem);
        zeileZeigen(i);
    }
}

QString AuszugImport::wahlText(int zeile) const
{
    if (m_erledigt.at(zeile))
        return QStringLiteral("erledigt");
    const Vorschlag &v = m_wahl.at(zeile);
    switch (v.art) {
    case Vorschlag::Art::Beitrag:
        return QStringLiteral("Beitrag MID %1").arg(v.mid);
    case Vorschlag::Art::Rueckgabe:
        return (m_auszug.zeilen.at(zeile).rueckgabe ? QStringLiteral("Rücklastschrift MID %1")
                                                    : QStringLiteral("Erstattung MID %1"))
            .arg(v.mid);
    case Vorschlag::Art::Lieferant:
        return QStringLiteral("Lieferant ") + v.konto;
    case Vorschlag::Art::Konto:
        return QStringLiteral("Konto %1 %2").arg(v.konto, v.kost);
    case Vorschlag::Art::Offen:
        break;
    }
    return QStringLiteral("offen");
}

void AuszugImport::zeileZeigen(int zeile)
{
    m_liste->item(zeile, kVorschlag)->setText(wahlText(zeile));
    m_liste->item(zeile, kHinweis)->setText(m_wahl.at(zeile).hinweis);
    // Done lines step back; open ones stand out.
    const QColor farbe = m_erledigt.at(zeile) ? palette().color(QPalette::Disabled, QPalette::Text)
                         : m_wahl.at(zeile).art == Vorschlag::Art::Offen ? QColor(Qt::darkRed)
                                                                        : palette().color(QPalette::Text);
    for (int s = 0; s < kSpalten; ++s)
        m_liste->item(zeile, s)->setForeground(farbe);
}

void AuszugImport::pAuswahl()
{
    const int zeile = m_liste->currentRow();
    if (zeile < 0 || zeile >= m_wahl.size())
        return;
    const Vorschlag &v = m_wahl.at(zeile);
    m_mid->setText(v.mid > 0 ? QString::number(v.mid) : QString());
    m_wahlKonto->setText(v.konto);
    m_kost->setText(v.kost);
    m_text->setText(v.text);
}

void AuszugImport::pZuordnen()
{
    const int zeile = m_liste->currentRow();
    if (zeile < 0 || zeile >= m_wahl.size())
        return;
    if (m_erledigt.at(zeile)) {
        m_meldung->setText(QStringLiteral("Zeile %1 ist schon gebucht").arg(zeile + 1));
        return;
    }
    const AuszugZeile &z = m_auszug.zeilen.at(zeile);
    Vorschlag v;
    const int mid = m_mid->getInt();
    if (mid > 0 && !m_wahlKonto->text().isEmpty()) {
        m_meldung->setText(QStringLiteral("Entweder MID oder Konto angeben"));
        m_mid->setFocus();
        return;
    }
    if (mid > 0) {
        if (Db::wert(QStringLiteral("SELECT count(*) FROM mitglied WHERE mid=? AND mid<=999999"), {mid}).toInt() != 1) {
            m_meldung->setText(QStringLiteral("Mitglied %1 unbekannt").arg(mid));
            m_mid->setFocus();
            return;
        }
        v.art = z.cent < 0 ? Vorschlag::Art::Rueckgabe : Vorschlag::Art::Beitrag;
        v.mid = mid;
        v.hinweis = QStringLiteral("von Hand");
    } else if (!m_wahlKonto->text().isEmpty()) {
        v.konto = m_wahlKonto->buchungsKonto();
        v.kost = UtilSauber(m_kost->text());
        v.text = UtilSauber(m_text->text());
        QWidget *fehlt = v.konto.isEmpty() ? static_cast<QWidget *>(m_wahlKonto) : v.kost.isEmpty() ? m_kost : nullptr;
        if (fehlt) {
            m_meldung->setText(fehlt == m_kost ? QStringLiteral("Kostenstelle fehlt") : QStringLiteral("Konto unbekannt"));
            fehlt->setFocus();
            return;
        }
        v.art = Vorschlag::Art::Konto;
        v.hinweis = QStringLiteral("von Hand");
    }
    m_wahl[zeile] = v;
    zeileZeigen(zeile);
    m_meldung->clear();
    pSalden();
    // On to the next line that waits for a choice.
    for (int i = zeile + 1; i < m_wahl.size(); ++i) {
        if (!m_erledigt.at(i) && m_wahl.at(i).art == Vorschlag::Art::Offen) {
            m_liste->selectRow(i);
            break;
        }
    }
}

void AuszugImport::pSalden()
{
    const QString konto = m_konto->buchungsKonto();
    if (m_auszug.zeilen.isEmpty() && !m_auszug.mitSalden) {
        m_salden->clear();
        return;
    }
    if (konto.isEmpty()) {
        m_salden->setText(QStringLiteral("Bankkonto wählen, um die Salden mit den Büchern zu vergleichen"));
        return;
    }
    const KontoZeilen buecher(konto, m_auszug.von(), m_auszug.bis());
    m_buecherAnfang = buecher.anfangssaldo();
    m_buecherEnde = buecher.endsaldo();
    const QString abweichend = abweichung();
    m_salden->setText(abweichend.isEmpty() ? QStringLiteral("Salden stimmen mit den Büchern überein: Anfang %1, Ende %2")
                                                 .arg(euro(m_auszug.anfangssaldo), euro(m_auszug.endsaldo))
                                           : abweichend);
    m_salden->setStyleSheet(abweichend.isEmpty() ? QString() : QStringLiteral("color: darkred"));
}

QString AuszugImport::abweichung() const
{
    if (!m_auszug.mitSalden)
        return QStringLiteral("Der Auszug nennt keine Salden.");
    qint64 zeilen = 0;
    qint64 offen = 0;
    for (int i = 0; i < m_auszug.zeilen.size(); ++i) {
        zeilen += m_auszug.zeilen.at(i).cent;
        if (!m_erledigt.at(i) && m_wahl.at(i).art != Vorschlag::Art::Offen)
            offen += m_auszug.zeilen.at(i).cent;
    }
    QStringList s;
    if (m_auszug.anfangssaldo + zeilen != m_auszug.endsaldo)
        s << QStringLiteral("Der Auszug ist unvollständig: Anfangssaldo %1 und Umsätze %2 ergeben nicht den "
                            "Endsaldo %3.")
                 .arg(euro(m_auszug.anfangssaldo), euro(zeilen), euro(m_auszug.endsaldo));
    if (m_auszug.anfangssaldo != m_buecherAnfang)
        s << QStringLiteral("Anfangssaldo laut Auszug %1, laut Büchern %2: Differenz %3.")
                 .arg(euro(m_auszug.anfangssaldo), euro(m_buecherAnfang), euro(m_auszug.anfangssaldo - m_buecherAnfang));
    if (m_auszug.endsaldo != m_buecherEnde + offen)
        s << QStringLiteral("Endsaldo laut Auszug %1, laut Büchern nach dem Buchen %2: Differenz %3.")
                 .arg(euro(m_auszug.endsaldo), euro(m_buecherEnde + offen),
                      euro(m_auszug.endsaldo - m_buecherEnde - offen));
    return s.join(QLatin1Char('\n'));
}

void AuszugImport::pBuchen()
{
    if (m_auszug.zeilen.isEmpty()) {
        m_meldung->setText(QStringLiteral("Kein Auszug gelesen"));
        m_dateiKnopf->setFocus();
        return;
    }
    const QString konto = m_konto->buchungsKonto();
    if (konto.isEmpty()) {
        m_meldung->setText(m_konto->text().isEmpty() ? QStringLiteral("Bankkonto fehlt")
                                                     : QStringLiteral("Bankkonto unbekannt"));
        m_konto->setFocus();
        return;
    }
    pSalden();
    int anzahl = 0;
    for (int i = 0; i < m_wahl.size(); ++i)
        anzahl += !m_erledigt.at(i) && m_wahl.at(i).art != Vorschlag::Art::Offen;
    if (anzahl == 0) {
        m_meldung->setText(QStringLiteral("Keine Zeile zu buchen"));
        return;
    }
    // A difference is shown before anything is posted.
    const QString abweichend = abweichung();
    if (!abweichend.isEmpty()
        && Interaktion::frage(this, windowTitle(), abweichend + QStringLiteral("\n\nTrotzdem buchen?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes)
        return;

    AuszugBuchung buchung(m_auszug);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = buchung.buchen(konto, m_wahl);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        Interaktion::kritisch(this, windowTitle(),
                              QStringLiteral("Nichts wurde gebucht.\n") + buchung.fehler());
        return;
    }
    Db::ausfuehren(QStringLiteral("INSERT OR REPLACE INTO parameter (key,wert) VALUES (?,?)"),
                   {kontoSchluessel(m_auszug.konto), konto});
    m_erledigt = buchung.erledigt();
    for (int i = 0; i < m_wahl.size(); ++i)
        zeileZeigen(i);
    pSalden();
    m_meldung->setText(QStringLiteral("%1 Zeilen gebucht, %2 offen")
                           .arg(buchung.gebucht())
                           .arg(m_erledigt.count(false)));
}
