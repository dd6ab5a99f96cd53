#include "zahlerst.h"

#include "db.h"
#include "interaktion.h"
#include "textutil.h"
#include "utilbuch.h"
#include "wfortschritt.h"
#include "wkonto.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>

namespace {

struct ArtDef
{
    char code;           // zahllauf.art
    const char *name;    // in the parameter keys 'Zahlungen/Text<name>M' and ...B
    const char *dialog;  // check box
    const char *ergebnis; // line of the result message
    char statusNeu;      // mitglied.zahlstatus after closing
};

const ArtDef kArten[ZahlungErst::AnzahlArten] = {
    {'R', "Rech", "Vorkasse", "Rechnungen", 'R'},
    {'r', "RechNeu", "Vorkasse Neumitglied", "Rechnungen Neumitglieder", 'R'},
    {'L', "Last", "Lastschrift", "Lastschriftankündigungen", 'R'},
    {'l', "LastNeu", "Lastschrift Neumitglied", "Lastschriftankündigungen Neumitglieder", 'R'},
    {'D', "", "DTAUS-Datei", "Lastschriften", 'L'},
    {'G', "Platz", "Geplatzte Lastschrift", "Lastschriften zurückgegangen", 'R'},
    {'1', "Mahn1", "1. Mahnung", "1. Mahnungen", '1'},
    {'2', "Mahn2", "2. Mahnung", "2. Mahnungen", '2'},
    {'3', "Mahn3", "3. Mahnung", "3. Mahnungen", '3'},
};

const char *const kTageKeys[4] = {"Zahlungen/TageLast", "Zahlungen/TageMahn1", "Zahlungen/TageMahn2",
                                  "Zahlungen/TageMahn3"};
const char *const kTageLabels[4] = {"Rechnung->Lastschrift", "Rechnung->1.Mahnung", "1.Mahnung->2.Mahnung",
                                    "2.Mahnung->3.Mahnung"};
const QString kKontoKey = QStringLiteral("Zahlungen/KontoDtaus");

QString textKey(int art, QChar form)
{
    return QStringLiteral("Zahlungen/Text") + QLatin1String(kArten[art].name) + form;
}

// Position of a row's part in 'Status/Zahlungen': 0 the DTAUS file, then mail and letter of each other kind.
int slot(int art, bool mail)
{
    if (art == ZahlungErst::Dtaus)
        return 0;
    const int k = art < ZahlungErst::Dtaus ? art : art - 1;
    return mail ? 1 + 2 * k : 2 + 2 * k;
}

// The progress label is repainted at most this often: a repaint per member would cost more than the run.

} // namespace

ZahlungErst::ZahlungErst(QWidget *parent)
    : QDialog(parent), m_kontoText(new QLabel(this)), m_ok(UtilKnopf(QStringLiteral("&Ok"), this)),
      m_abbruch(UtilKnopf(QStringLiteral("&Abbruch"), this)), m_fortschritt(new QLabel(this)),
      m_balken(new WFortschritt(m_fortschritt, this))
{
    setWindowTitle(QStringLiteral("Erstellung Zahlungsdaten"));
    m_konto = new WKonto(m_kontoText, false, this);
    auto *grid = new QGridLayout;

    grid->addWidget(new QLabel(QStringLiteral("Zeitabstände"), this), 0, 0);
    for (int i = 0; i < 4; ++i) {
        m_tageFeld[i] = new QLineEdit(QStringLiteral("7"), this);
        m_tageFeld[i]->setFixedSize(50, 25);
        m_tageFeld[i]->setAlignment(Qt::AlignRight);
        m_tageFeld[i]->setValidator(new QIntValidator(1, 999, m_tageFeld[i]));
        grid->addWidget(new QLabel(QLatin1String(kTageLabels[i]), this), 1 + i, 0);
        grid->addWidget(m_tageFeld[i], 1 + i, 1);
    }

    grid->addWidget(new QLabel(QStringLiteral("Textbausteine:"), this), 5, 0);
    grid->addWidget(new QLabel(QStringLiteral("Email"), this), 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("Brief"), this), 5, 2);
    for (int art = 0; art < AnzahlArten; ++art) {
        const int zeile = 6 + art;
        m_an[art] = new QCheckBox(QString::fromUtf8(kArten[art].dialog), this);
        m_an[art]->setChecked(true);
        grid->addWidget(m_an[art], zeile, 0);
        if (art == Dtaus) {
            m_konto->setFixedSize(150, 25);
            m_konto->setMaxLength(15);
            m_kontoText->setFixedWidth(300);
            grid->addWidget(m_konto, zeile, 1);
            grid->addWidget(m_kontoText, zeile, 2, 1, 2);
            continue;
        }
        m_mailFeld[art] = new QLineEdit(this);
        m_briefFeld[art] = new QLineEdit(this);
        for (QLineEdit *feld : {m_mailFeld[art], m_briefFeld[art]}) {
            feld->setFixedSize(150, 25);
            feld->setMaxLength(15);
        }
        grid->addWidget(m_mailFeld[art], zeile, 1);
        grid->addWidget(m_briefFeld[art], zeile, 2);
    }
    connect(m_an[Rech], &QCheckBox::stateChanged, this, &ZahlungErst::pStateRech);
    connect(m_an[RechNeu], &QCheckBox::stateChanged, this, &ZahlungErst::pStateRechNeu);
    connect(m_an[Last], &QCheckBox::stateChanged, this, &ZahlungErst::pStateLast);
    connect(m_an[LastNeu], &QCheckBox::stateChanged, this, &ZahlungErst::pStateLastNeu);
    connect(m_an[Platz], &QCheckBox::stateChanged, this, &ZahlungErst::pStatePlatz);
    connect(m_an[Mahn1], &QCheckBox::stateChanged, this, &ZahlungErst::pStateMahn1);
    connect(m_an[Mahn2], &QCheckBox::stateChanged, this, &ZahlungErst::pStateMahn2);
    connect(m_an[Mahn3], &QCheckBox::stateChanged, this, &ZahlungErst::pStateMahn3);

    auto *knoepfe = new QHBoxLayout;
    m_fortschritt->setFixedWidth(150);
    knoepfe->addWidget(m_ok);
    knoepfe->addWidget(m_abbruch);
    knoepfe->addWidget(m_fortschritt);
    knoepfe->addWidget(m_balken);
    knoepfe->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(knoepfe);

    connect(m_ok, &QPushButton::clicked, this, &ZahlungErst::pLauf);
    connect(m_abbruch, &QPushButton::clicked, this, &ZahlungErst::reject);

    pReadParam();
}

void ZahlungErst::pState(Art art, int state)
{
    const bool an = state == Qt::Checked;
    m_mailFeld[art]->setEnabled(an);
    m_briefFeld[art]->setEnabled(an);
}

void ZahlungErst::pStateRech(int state) { pState(Rech, state); }
void ZahlungErst::pStateRechNeu(int state) { pState(RechNeu, state); }
void ZahlungErst::pStateLast(int state) { pState(Last, state); }
void ZahlungErst::pStateLastNeu(int state) { pState(LastNeu, state); }
void ZahlungErst::pStatePlatz(int state) { pState(Platz, state); }
void ZahlungErst::pStateMahn1(int state) { pState(Mahn1, state); }
void ZahlungErst::pStateMahn2(int state) { pState(Mahn2, state); }
void ZahlungErst::pStateMahn3(int state) { pState(Mahn3, state); }

void ZahlungErst::reject()
{
    if (!m_laeuft)
        QDialog::reject();
}

void ZahlungErst::pReadParam()
{
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT key,wert FROM parameter WHERE key>='Zahlungen/' AND key<'Zahlungen0'"));
    while (q.next()) {
        const QString key = q.value(0).toString();
        const QString wert = q.value(1).toString();
        for (int i = 0; i < 4; ++i) {
            if (key == QLatin1String(kTageKeys[i]))
                m_tageFeld[i]->setText(wert);
        }
        for (int art = 0; art < AnzahlArten; ++art) {
            if (art == Dtaus)
                continue;
            if (key == textKey(art, QLatin1Char('M')))
                m_mailFeld[art]->setText(wert);
            else if (key == textKey(art, QLatin1Char('B')))
                m_briefFeld[art]->setText(wert);
        }
        if (key == kKontoKey)
            m_konto->setText(wert);
    }
}

void ZahlungErst::pFelder()
{
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const int tage = m_tageFeld[i]->text().toInt(&ok);
        m_tage[i] = ok && tage >= 1 && tage <= 999 ? tage : 7;
    }
    for (int art = 0; art < AnzahlArten; ++art) {
        if (art == Dtaus)
            continue;
        m_mail[art] = UtilSauberGross(m_mailFeld[art]->text());
        m_brief[art] = UtilSauberGross(m_briefFeld[art]->text());
        m_mailAn[art] = m_an[art]->isChecked() && !m_mail[art].isEmpty();
        m_briefAn[art] = m_an[art]->isChecked() && !m_brief[art].isEmpty();
    }
    m_kontoDtaus = m_konto->text();
    m_dtausAn = m_an[Dtaus]->isChecked();
}

void ZahlungErst::pSaveParam()
{
    Db::Transaktion t;
    Db::ausfuehren(QStringLiteral("DELETE FROM parameter WHERE key>='Zahlungen/' AND key<='Zahlungen/zzz'"));
    const QString insert = QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)");
    for (int i = 0; i < 4; ++i)
        Db::ausfuehren(insert, {QLatin1String(kTageKeys[i]), QString::number(m_tage[i])});
    for (int art = 0; art < AnzahlArten; ++art) {
        if (art == Dtaus)
            continue;
        Db::ausfuehren(insert, {textKey(art, QLatin1Char('M')), m_mail[art]});
        Db::ausfuehren(insert, {textKey(art, QLatin1Char('B')), m_brief[art]});
    }
    Db::ausfuehren(insert, {kKontoKey, m_kontoDtaus});
    t.commit();
}

int ZahlungErst::artFuer(const QString &zahlstatus, const QString &zahlart)
{
    const bool lastschrift = zahlart == QLatin1String("L");
    if (zahlstatus == QLatin1String("N"))
        return lastschrift ? LastNeu : RechNeu;
    if (zahlstatus == QLatin1String("R"))
        return lastschrift ? Dtaus : Mahn1;
    if (zahlstatus == QLatin1String("1"))
        return Mahn2;
    if (zahlstatus == QLatin1String("2"))
        return Mahn3;
    // Nothing open: blank, empty, anything sorting before "!".
    if (zahlstatus < QLatin1String("!"))
        return lastschrift ? Last : zahlart == QLatin1String("G") ? Platz : Rech;
    return -1;
}

// A member with mail needs the kind only; without mail the kind's letter template.
bool ZahlungErst::artAn(int art, bool hatMail) const
{
    if (art == Dtaus)
        return m_dtausAn;
    return m_briefAn[art] || (hatMail && m_mailAn[art]);
}

int ZahlungErst::wartetage(int art) const
{
    switch (art) {
    case Dtaus: return m_tage[0];
    case Mahn1: return m_tage[1];
    case Mahn2: return m_tage[2];
    case Mahn3: return m_tage[3];
    default: return 0;
    }
}

// True when the state was set at least `tage` days ago; an unreadable date always qualifies.
bool ZahlungErst::lange(const QString &statusdatum, int tage) const
{
    const QDate datum = UtilDatum(statusdatum);
    if (!datum.isValid())
        return true;
    const qint64 vergangen = datum.daysTo(m_heute);
    return vergangen >= 0 && vergangen >= tage;
}

// The months still open in this fiscal year, the first one in full.
qint64 ZahlungErst::betrag(qint64 beitrag, const QString &bezahlt, const QString &eintritt) const
{
    QDate ab = m_gjVon;
    for (const QString &text : {bezahlt, eintritt}) {
        const QDate datum = UtilDatum(text);
        if (datum.isValid() && datum > ab)
            ab = datum;
    }
    const qint64 jahresbeitrag = beitrag == 0 ? 3600 : beitrag;
    return (13 - ab.month()) * jahresbeitrag / 12;
}

void ZahlungErst::pLauf()
{
    if (m_laeuft)
        return;
    m_laeuft = true;
    m_ok->setEnabled(false);
    m_abbruch->setEnabled(false);

    pFelder();
    m_gjVon = UtilGJVon();
    m_heute = QDate::currentDate();
    pSaveParam();

    // The whole run in one transaction: the old run is gone only when the new one is complete.
    Db::Transaktion t;
    Db::ausfuehren(QStringLiteral("DELETE FROM parameter WHERE key='Status/Zahlungen'"));
    Db::ausfuehren(QStringLiteral("DELETE FROM zahllauf"));
    const Ergebnis ergebnis = pZeilen();
    if (ergebnis.gefunden) {
        QString status;
        for (int zahl : ergebnis.teile)
            status += zahl > 0 ? QLatin1Char('J') : QLatin1Char('N');
        Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES ('Status/Zahlungen',?)"), {status});
    }
    const bool gespeichert = t.commit();
    m_laeuft = false;
    if (!gespeichert) {
        // Nothing of the new run stays; the old one is still there, the choices too.
        m_ok->setEnabled(true);
        m_abbruch->setEnabled(true);
        Interaktion::kritisch(this, QStringLiteral("Zahlungen erstellen"), Db::fehlerText());
        return;
    }

    Interaktion::information(this, QStringLiteral("Zahlungen erstellen"),
                             ergebnis.gefunden ? pMeldung(ergebnis)
                                               : QStringLiteral("Keine anstehenden Zahlungen gefunden"));
    accept();
}

// One `zahllauf` row for every member with a demand due, counted by slot and kind.
ZahlungErst::Ergebnis ZahlungErst::pZeilen()
{
    Ergebnis e;
    QSqlQuery mail;
    mail.prepare(QStringLiteral("SELECT mail FROM adresse WHERE art='M' AND key=?"));
    QSqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO zahllauf (mid,sperren,art,form,manuell,bausteinm,bausteinb,cent,"
                                  "statusneu,done) VALUES (?,'N',?,?,'N',?,?,?,?,'N')"));
    const QDate gjBis = m_gjVon.addYears(1).addDays(-1);
    const QString kandidaten = QStringLiteral(" FROM mitglied WHERE mid<'1000000' AND austritt > ? AND bezahlt < ?");
    const QVariantList grenzen{UtilDatumText(m_heute), UtilDatumText(gjBis)};
    m_balken->start(Db::wert(QStringLiteral("SELECT count(*)") + kandidaten, grenzen).toInt());
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT mid,zahlart,beitrag,zahlstatus,statusdatum,bezahlt,eintritt") + kandidaten, grenzen);
    int nr = 0;
    while (q.next()) {
        const int mid = q.value(0).toInt();
        m_balken->schritt(++nr, QString::number(mid));

        mail.bindValue(0, UtilMidKey(mid));
        mail.exec();
        const bool hatMail = mail.next() && !mail.value(0).toString().isEmpty();
        mail.finish();

        const int art = artFuer(q.value(3).toString(), q.value(1).toString());
        if (art < 0 || !artAn(art, hatMail) || !lange(q.value(4).toString(), wartetage(art)))
            continue;
        const QString bausteinm = art == Dtaus ? m_kontoDtaus : m_mail[art];
        const bool perMail = hatMail && !bausteinm.isEmpty();
        const qint64 cent = betrag(q.value(2).toLongLong(), q.value(5).toString(), q.value(6).toString());

        insert.bindValue(0, QString::number(mid));
        insert.bindValue(1, QString(QLatin1Char(kArten[art].code)));
        insert.bindValue(2, perMail ? QStringLiteral("M") : QStringLiteral("B"));
        insert.bindValue(3, bausteinm);
        insert.bindValue(4, art == Dtaus ? QStringLiteral("") : m_brief[art]);
        insert.bindValue(5, QString::number(cent));
        insert.bindValue(6, QString(QLatin1Char(kArten[art].statusNeu)));
        e.gefunden = true;
        if (!insert.exec()) {
            Db::fehlgeschlagen(insert); // the run is not committed then
        } else if (insert.numRowsAffected() > 0) {
            ++e.teile[slot(art, perMail)];
            ++e.anzahl[art];
            e.summe[art] += cent;
        }
    }
    m_balken->ende();
    return e;
}

QString ZahlungErst::pMeldung(const Ergebnis &e)
{
    QString text = QStringLiteral("Zahlungen sind erstellt<table>");
    for (int art = 0; art < AnzahlArten; ++art) {
        if (e.anzahl[art] == 0)
            continue;
        text += QStringLiteral("<tr><td align=right>%1</td><td>%2</td><td align=right>%3</td></tr>")
                    .arg(e.anzahl[art])
                    .arg(QString::fromUtf8(kArten[art].ergebnis))
                    .arg(UtilBetragText(e.summe[art]), 9);
    }
    return text + QStringLiteral("</table>");
}
