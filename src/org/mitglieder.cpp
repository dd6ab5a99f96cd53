#include "mitglieder.h"

#include "db.h"
#include "interaktion.h"
#include "textutil.h"
#include "utilbuch.h"
#include "utilkonto.h"
#include "wbetrag.h"
#include "wdatum.h"
#include "wgliederung.h"
#include "wmitglied.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace {

// The code sets of sex, way of paying and payment state: combo index = position.
// Index 0 is the empty entry, stored as a single blank.
const QStringList kSexText = {QString(), QStringLiteral("Männlich"), QStringLiteral("Weiblich"),
                              QStringLiteral("Firma")};
const QStringList kSexCode = {QStringLiteral(" "), QStringLiteral("M"), QStringLiteral("W"), QStringLiteral("U")};

const QStringList kZahlartText = {QString(), QStringLiteral("Vorkasse"), QStringLiteral("Lastschrift"),
                                  QStringLiteral("Lastschrift geplatzt")};
const QStringList kZahlartCode = {QStringLiteral(" "), QStringLiteral("V"), QStringLiteral("L"),
                                  QStringLiteral("G")};

const QStringList kStatusText = {QString(),
                                 QStringLiteral("Neu angelegt"),
                                 QStringLiteral("Rechnung geschrieben"),
                                 QStringLiteral("1. Mahnung"),
                                 QStringLiteral("2. Mahnung"),
                                 QStringLiteral("3. Mahnung"),
                                 QStringLiteral("Lastschrift gestartet"),
                                 QStringLiteral("Gesperrt")};
const QStringList kStatusCode = {QStringLiteral(" "), QStringLiteral("N"), QStringLiteral("R"),
                                 QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                 QStringLiteral("L"), QStringLiteral("X")};

const QDate kOhneDatum(1900, 1, 1);
const QDate kMitglied(2200, 1, 1); // leaving date of a member who has not left

// Other persons are numbered from here on; below are the members.
constexpr int kErsteAndere = 1000000;
constexpr int kLetzteNummer = 9999999;

const QString kSelectMitglied = QStringLiteral(
    "SELECT intnr,gliederung,sex,nation,tel,gebdat,zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus,"
    "statusdatum,wohngliederung FROM mitglied WHERE mid=?");

QComboBox *codeFeld(const QStringList &texte, QWidget *parent)
{
    auto *feld = new QComboBox(parent);
    feld->addItems(texte);
    return feld;
}

QString code(const QComboBox *feld, const QStringList &codes)
{
    return codes.value(feld->currentIndex(), codes.first());
}

// A code outside the table shows as the empty entry (and is saved back as a blank).
void setzeCode(QComboBox *feld, const QStringList &codes, const QString &wert)
{
    feld->setCurrentIndex(qMax(0, codes.indexOf(wert)));
}

// For taking over another record: only a real code counts, the blank and unknown codes leave the combo.
void uebernimmCode(QComboBox *feld, const QStringList &codes, const QString &wert)
{
    const int index = codes.indexOf(wert);
    if (index > 0)
        feld->setCurrentIndex(index);
}

void setzeDatum(WDatum *feld, const QString &wert)
{
    const QDate datum = UtilDatum(wert);
    if (datum.isValid())
        feld->setDatum(datum);
}

void uebernimmDatum(WDatum *feld, const QString &wert)
{
    const QDate datum = UtilDatum(wert);
    if (datum.isValid() && datum > kOhneDatum)
        feld->setDatum(datum);
}

void uebernimmText(QLineEdit *feld, const QString &wert)
{
    if (feld && !wert.isEmpty())
        feld->setText(wert);
}

QLabel *label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

} // namespace

Mitglieder::Mitglieder(bool anlegen, QWidget *parent)
    : QDialog(parent), m_anlegen(anlegen), m_adresse(1, this), m_bank(this), m_mandat(this)
{
    setWindowTitle(QStringLiteral("Mitglieder"));

    m_mid = new WMitglied(false, this);
    m_mid->setObjectName(QStringLiteral("mid"));
    m_intnr = new QLineEdit(this);
    m_intnr->setObjectName(QStringLiteral("intnr"));
    m_intnr->setFixedWidth(95);
    m_intnr->setAlignment(Qt::AlignRight);

    auto *kopf = new QHBoxLayout;
    kopf->addWidget(label(QStringLiteral("Mitgliedsnummer"), this));
    kopf->addWidget(m_mid);
    m_neu = UtilNeuLabel(this);
    kopf->addWidget(m_neu);
    kopf->addSpacing(20);
    kopf->addWidget(label(QStringLiteral("Intern"), this));
    kopf->addWidget(m_intnr);
    kopf->addStretch();

    auto *tabs = new QTabWidget(this);

    // Address tab: personal data around the address block.
    auto *seiteAdresse = new QWidget(tabs);
    auto *gridAdresse = new QGridLayout(seiteAdresse);
    m_sex = codeFeld(kSexText, seiteAdresse);
    m_sex->setObjectName(QStringLiteral("sex"));
    m_gebdat = new WDatum(kOhneDatum, seiteAdresse);
    m_gebdat->setObjectName(QStringLiteral("gebdat"));
    m_gebdat->setLeer(LeerDatum::Jahr1900);
    gridAdresse->addWidget(label(QStringLiteral("Geschlecht"), seiteAdresse), 0, 0);
    gridAdresse->addWidget(m_sex, 0, 1, 1, 2);
    gridAdresse->addWidget(label(QStringLiteral("Geburtsdatum"), seiteAdresse), 0, 3);
    gridAdresse->addWidget(m_gebdat, 0, 4, 1, 2);
    m_adresse.FuellLayout(gridAdresse, 1, 0);
    m_tel = new QLineEdit(seiteAdresse);
    m_tel->setObjectName(QStringLiteral("tel"));
    m_tel->setFixedWidth(300);
    m_nation = new QLineEdit(seiteAdresse);
    m_nation->setObjectName(QStringLiteral("nation"));
    gridAdresse->addWidget(label(QStringLiteral("Telefon"), seiteAdresse), 7, 0);
    gridAdresse->addWidget(m_tel, 7, 1, 1, 6);
    gridAdresse->addWidget(label(QStringLiteral("Nationalität"), seiteAdresse), 8, 0);
    gridAdresse->addWidget(m_nation, 8, 1, 1, 6);
    gridAdresse->setRowStretch(9, 1);
    tabs->addTab(seiteAdresse, QStringLiteral("A&dresse"));

    // Administration tab: unit, fee and payment state above the bank block.
    auto *seiteVerw = new QWidget(tabs);
    auto *gridVerw = new QGridLayout(seiteVerw);
    m_gliederung = new WGliederung(seiteVerw);
    m_gliederung->setObjectName(QStringLiteral("gliederung"));
    m_gliederung->setFixedWidth(350);
    m_wohngliederung = new WGliederung(seiteVerw);
    m_wohngliederung->setObjectName(QStringLiteral("wohngliederung"));
    m_wohngliederung->setFixedWidth(350);
    m_beitrag = new WBetrag(seiteVerw);
    m_beitrag->setObjectName(QStringLiteral("beitrag"));
    m_bezahlt = new WDatum(kOhneDatum, seiteVerw);
    m_bezahlt->setObjectName(QStringLiteral("bezahlt"));
    m_eintritt = new WDatum(kOhneDatum, seiteVerw);
    m_eintritt->setObjectName(QStringLiteral("eintritt"));
    m_austritt = new WDatum(kMitglied, seiteVerw);
    m_austritt->setObjectName(QStringLiteral("austritt"));
    m_austritt->setLeer(LeerDatum::Jahr2200);
    m_zahlart = codeFeld(kZahlartText, seiteVerw);
    m_zahlart->setObjectName(QStringLiteral("zahlart"));
    m_statusdatum = new WDatum(QDate::currentDate(), seiteVerw);
    m_statusdatum->setObjectName(QStringLiteral("statusdatum"));
    m_zahlstatus = codeFeld(kStatusText, seiteVerw);
    m_zahlstatus->setObjectName(QStringLiteral("zahlstatus"));

    gridVerw->addWidget(label(QStringLiteral("Gliederung"), seiteVerw), 0, 0);
    gridVerw->addWidget(m_gliederung, 0, 1, 1, 4);
    gridVerw->addWidget(label(QStringLiteral("- Wohnort"), seiteVerw), 1, 0);
    gridVerw->addWidget(m_wohngliederung, 1, 1, 1, 4);
    gridVerw->addWidget(label(QStringLiteral("Mitgliedsbeitrag"), seiteVerw), 2, 0);
    gridVerw->addWidget(m_beitrag, 2, 1);
    gridVerw->addWidget(label(QStringLiteral("Bezahlt"), seiteVerw), 2, 2);
    gridVerw->addWidget(m_bezahlt, 2, 3);
    gridVerw->addWidget(label(QStringLiteral("Eintritt"), seiteVerw), 3, 0);
    gridVerw->addWidget(m_eintritt, 3, 1);
    gridVerw->addWidget(label(QStringLiteral("Austritt"), seiteVerw), 3, 2);
    gridVerw->addWidget(m_austritt, 3, 3);
    gridVerw->addWidget(label(QStringLiteral("Zahlungsart"), seiteVerw), 4, 0);
    gridVerw->addWidget(m_zahlart, 4, 1);
    gridVerw->addWidget(label(QStringLiteral("Datum"), seiteVerw), 4, 2);
    gridVerw->addWidget(m_statusdatum, 4, 3);
    gridVerw->addWidget(label(QStringLiteral("Zahlungsstatus"), seiteVerw), 4, 4);
    gridVerw->addWidget(m_zahlstatus, 4, 5);
    m_bank.FuellLayout(gridVerw, 5, 0);
    m_mandat.FuellLayout(gridVerw, 11, 0);
    gridVerw->setRowStretch(13, 1);
    tabs->addTab(seiteVerw, QStringLiteral("&Verwaltung"));

    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    if (!m_anlegen)
        m_loeschen = UtilKnopf(QStringLiteral("&Löschen"), this);
    m_zuwend = UtilKnopf(QStringLiteral("&Zuwendungsbest."), this);
    m_mitglied = UtilKnopf(QStringLiteral("-> &Mitglied"), this);

    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_abbruch);
    if (m_loeschen)
        knoepfe->addWidget(m_loeschen);
    knoepfe->addStretch();
    knoepfe->addWidget(m_zuwend);
    knoepfe->addWidget(m_mitglied);

    m_liste = new QTableWidget(this);
    m_liste->setObjectName(QStringLiteral("spenden"));
    m_liste->setFixedSize(800, 200);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionMode(QAbstractItemView::NoSelection);
    m_liste->verticalHeader()->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(kopf);
    layout->addWidget(tabs);
    layout->addLayout(knoepfe);
    layout->addWidget(m_liste);

    connect(m_mid, &WMitglied::finished, this, &Mitglieder::pRead);
    connect(m_speichern, &QPushButton::clicked, this, &Mitglieder::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &Mitglieder::pCancel);
    if (m_loeschen)
        connect(m_loeschen, &QPushButton::clicked, this, &Mitglieder::pDelete);
    connect(m_zuwend, &QPushButton::clicked, this, &Mitglieder::pZuwend);
    connect(m_mitglied, &QPushButton::clicked, this, &Mitglieder::pMitglied);

    pSetWahl(true);
}

int Mitglieder::exec()
{
    if (m_anlegen) {
        m_angelegt = -1;
        m_mid->clear();
        m_adresse.clear();
        m_bank.clear();
        pSetWahl(false);
        UtilNeu(m_neu, true);
        m_sex->setFocus();
    }
    return QDialog::exec();
}

int Mitglieder::angelegt() const
{
    return m_angelegt;
}

void Mitglieder::pSetWahl(bool wahl)
{
    m_wahl = wahl;
    const bool bearbeiten = !wahl;

    if (wahl) {
        UtilNeu(m_neu, false);
        m_mid->clear();
        m_adresse.clear();
        m_bank.clear();
        m_mandat.clear();
        m_intnr->clear();
        m_tel->clear();
        m_nation->clear();
        m_gliederung->setText(QString());
        m_wohngliederung->setText(QString());
        m_sex->setCurrentIndex(0);
        m_zahlart->setCurrentIndex(0);
        m_zahlstatus->setCurrentIndex(0);
        m_beitrag->setCents(0);
        m_gebdat->setDatum(kOhneDatum);
        m_bezahlt->setDatum(kOhneDatum);
        m_eintritt->setDatum(kOhneDatum);
        m_statusdatum->setDatum(QDate::currentDate());
        m_austritt->setDatum(kMitglied);
    }

    m_mid->setEnabled(wahl);
    const QList<QWidget *> persoenlich{m_intnr,      m_sex,            m_gebdat,    m_tel,     m_nation,
                                      m_gliederung, m_wohngliederung, m_speichern, m_abbruch, m_zuwend};
    for (QWidget *feld : persoenlich)
        feld->setEnabled(bearbeiten);
    if (m_loeschen)
        m_loeschen->setEnabled(bearbeiten);
    m_adresse.setEnabled(bearbeiten);
    m_bank.setEnabled(bearbeiten);

    // Other persons (from 1000000) pay no fees; their fee data stay as stored.
    const int mid = m_mid->getInt();
    const bool beitrag = bearbeiten && mid < kErsteAndere;
    const QList<QWidget *> beitragsfelder{m_zahlart, m_zahlstatus, m_statusdatum, m_beitrag,
                                          m_bezahlt, m_eintritt,   m_austritt};
    for (QWidget *feld : beitragsfelder)
        feld->setEnabled(beitrag);
    m_mandat.setEnabled(beitrag);

    const bool umnummern = bearbeiten && !m_anlegen && mid >= kErsteAndere;
    m_mitglied->setVisible(umnummern);
    m_mitglied->setEnabled(umnummern);

    pFuellListe();

    if (wahl)
        m_mid->setFocus();
    else if (m_adresse.isEmpty())
        m_intnr->setFocus();
    else
        m_abbruch->setFocus();
}

void Mitglieder::pFelder()
{
    Felder &f = m_felder;
    f.mid = m_mid->getInt();
    f.key = m_mid->getKey();
    bool zahl = false;
    const qint64 intern = m_intnr->text().simplified().toLongLong(&zahl);
    f.intnr = QString::number(zahl ? intern : 0);
    f.gliederung = UtilSauber(m_gliederung->text());
    f.wohngliederung = UtilSauber(m_wohngliederung->text());
    if (f.wohngliederung == f.gliederung)
        f.wohngliederung = QStringLiteral(""); // empty, never NULL
    f.sex = code(m_sex, kSexCode);
    f.nation = UtilSauber(m_nation->text());
    f.tel = UtilSauber(m_tel->text());
    f.gebdat = m_gebdat->datumText();
    f.zahlart = code(m_zahlart, kZahlartCode);
    f.beitrag = m_beitrag->cents();
    f.eintritt = m_eintritt->datumText();
    f.austritt = m_austritt->datumText();
    f.bezahlt = m_bezahlt->datumText();
    f.zahlstatus = code(m_zahlstatus, kStatusCode);
    f.statusdatum = m_statusdatum->datumText();
}

void Mitglieder::pRead()
{
    if (!m_wahl)
        return;
    pFelder();
    const int mid = m_felder.mid;
    if (mid < 1 || mid > kLetzteNummer)
        return;
    m_mid->setText(QString::number(mid));

    if (mid < kErsteAndere) {
        const QDate heute = QDate::currentDate();
        m_zahlstatus->setCurrentIndex(kStatusCode.indexOf(QStringLiteral("N")));
        m_statusdatum->setDatum(heute);
        m_eintritt->setDatum(heute);
        m_bezahlt->setDatum(heute);
        m_beitrag->setCents(3600);
    }

    QSqlQuery q = Db::abfrage(kSelectMitglied, {mid});
    const bool gefunden = q.next();
    UtilNeu(m_neu, !gefunden);
    if (gefunden) {
        m_intnr->setText(q.value(0).toString());
        m_gliederung->setText(q.value(1).toString());
        setzeCode(m_sex, kSexCode, q.value(2).toString());
        m_nation->setText(q.value(3).toString());
        m_tel->setText(q.value(4).toString());
        setzeDatum(m_gebdat, q.value(5).toString());
        setzeCode(m_zahlart, kZahlartCode, q.value(6).toString());
        m_beitrag->setCents(q.value(7).toLongLong());
        setzeDatum(m_eintritt, q.value(8).toString());
        setzeDatum(m_austritt, q.value(9).toString());
        setzeDatum(m_bezahlt, q.value(10).toString());
        setzeCode(m_zahlstatus, kStatusCode, q.value(11).toString());
        setzeDatum(m_statusdatum, q.value(12).toString());
        m_wohngliederung->setText(q.value(13).toString());
    }

    const QString key = UtilMidKey(mid);
    m_adresse.read(QStringLiteral("M"), key);
    m_bank.read(QStringLiteral("M"), key);
    m_mandat.read(key, mid);
    pSetWahl(false);
}

void Mitglieder::speichern()
{
    const Felder &f = m_felder;
    const QVariantList werte = {f.intnr,   f.gliederung, f.wohngliederung, f.sex,       f.nation,
                                f.tel,     f.gebdat,     f.zahlart,        f.beitrag,   f.eintritt,
                                f.austritt, f.bezahlt,   f.zahlstatus,     f.statusdatum};
    const int geaendert = Db::ausfuehren(
        QStringLiteral("UPDATE mitglied SET intnr=?,gliederung=?,wohngliederung=?,sex=?,nation=?,tel=?,"
                       "gebdat=?,zahlart=?,beitrag=?,eintritt=?,austritt=?,bezahlt=?,zahlstatus=?,"
                       "statusdatum=? WHERE mid=?"),
        QVariantList(werte) << f.mid);
    if (geaendert == 0) {
        Db::ausfuehren(QStringLiteral("INSERT INTO mitglied (mid,intnr,gliederung,wohngliederung,sex,nation,"
                                      "tel,gebdat,zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus,"
                                      "statusdatum) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                       QVariantList{f.mid} + werte);
    }
    m_adresse.write(QStringLiteral("M"), f.key);
    m_bank.write(QStringLiteral("M"), f.key);
    m_mandat.write(f.key);
}

void Mitglieder::pWrite()
{
    if (m_wahl || !WBetrag::alleGueltig(this) || !m_bank.pruefen() || !m_mandat.pruefen(m_bank.Hinweis()))
        return;
    pFelder();
    if (m_adresse.Name1()->text().simplified().isEmpty())
        return;

    const QString nummer = m_mid->text();
    const bool gespeichert = Db::speichern(this, windowTitle(), [this] {
        if (m_anlegen) {
            const int hoechste =
                Db::wert(QStringLiteral("SELECT mid FROM mitglied ORDER BY mid DESC LIMIT 1")).toInt();
            m_mid->setText(QString::number(qMax(hoechste + 1, kErsteAndere)));
            pFelder();
        }
        speichern();
    });
    if (!gespeichert) {
        // Still editing, with the input as it was.
        m_mid->setText(nummer);
        return;
    }

    m_angelegt = m_felder.mid;
    pSetWahl(true);
    if (m_anlegen)
        accept();
}

void Mitglieder::pCancel()
{
    reject();
}

void Mitglieder::reject()
{
    if (!m_anlegen && !m_wahl)
        pSetWahl(true);
    else
        QDialog::reject();
}

void Mitglieder::closeEvent(QCloseEvent *event)
{
    // Closing the window while editing only leaves the record.
    if (!m_anlegen && !m_wahl) {
        pSetWahl(true);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Mitglieder::pDelete()
{
    if (m_wahl || !UtilQDelete())
        return;
    pFelder();
    const int spenden =
        Db::wert(QStringLiteral("SELECT count(*) FROM spende WHERE mid=?"), {m_felder.mid}).toInt();
    if (spenden > 0
        && Interaktion::frage(this, QStringLiteral("Löschen"),
                              QStringLiteral("Achtung: Es existieren bereits Zahlungen. Trotzdem löschen?"),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
               != QMessageBox::Ok)
        return;

    if (Db::speichern(this, windowTitle(), [this] { pDelete1(); }))
        pSetWahl(true);
}

// Deletes the collected number's record with its address and bank details.
// Donations, journal entries and account lines stay.
void Mitglieder::pDelete1()
{
    m_adresse.del(QStringLiteral("M"), m_felder.key);
    m_bank.del(QStringLiteral("M"), m_felder.key);
    Db::ausfuehren(QStringLiteral("DELETE FROM mitglied WHERE mid=?"), {m_felder.mid});
}

void Mitglieder::pZuwend()
{
    pFelder();
    emit zuwendungDrucken(m_felder.mid);
}

// Fills the dialog with what is stored under `mid`, keeping a field where the stored value is empty.
void Mitglieder::datenUebernehmen(int mid)
{
    const QString key = UtilMidKey(mid);
    QSqlQuery a = Db::abfrage(
        QStringLiteral("SELECT name1,name2,strasse,plz,ort,land,mail FROM adresse WHERE art=? AND key=?"),
        {QStringLiteral("M"), key});
    if (a.next()) {
        QLineEdit *felder[] = {m_adresse.Name1(), m_adresse.Name2(), m_adresse.Strasse(), m_adresse.Plz(),
                               m_adresse.Ort(),   m_adresse.Land(),  m_adresse.Mail()};
        for (int i = 0; i < 7; ++i)
            uebernimmText(felder[i], a.value(i).toString());
    }
    QSqlQuery b = Db::abfrage(
        QStringLiteral("SELECT inhaber,nummer,blz,bank,bic,iban FROM bankverbindung WHERE art=? AND key=?"),
        {QStringLiteral("M"), key});
    if (b.next()) {
        QLineEdit *felder[] = {m_bank.KontoInh(),  m_bank.KontoNr(),  m_bank.KontoBlz(),
                               m_bank.KontoBank(), m_bank.KontoBic(), m_bank.KontoIban()};
        for (int i = 0; i < 6; ++i)
            uebernimmText(felder[i], b.value(i).toString());
    }
}

void Mitglieder::pMitglied()
{
    if (m_wahl || m_anlegen)
        return;
    pFelder();
    const int alt = m_felder.mid;
    if (alt < kErsteAndere)
        return;
    const std::optional<int> eingabe =
        Interaktion::ganzzahl(this, QStringLiteral("Mitglieder"), QStringLiteral("Mitgliedsnummer"), 1, 1, 999999);
    if (!eingabe)
        return;
    const int neu = *eingabe;

    QSqlQuery q = Db::abfrage(kSelectMitglied, {neu});
    if (q.next()) {
        if (Interaktion::frage(this, QStringLiteral("Mitglieder"),
                               QStringLiteral("Mitglied ") + QString::number(neu)
                                   + QStringLiteral(" existiert bereits. Daten übernehmen?"),
                               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
            != QMessageBox::Ok)
            return;
        uebernimmText(m_intnr, q.value(0).toString());
        if (!q.value(1).toString().isEmpty())
            m_gliederung->setText(q.value(1).toString());
        uebernimmCode(m_sex, kSexCode, q.value(2).toString());
        uebernimmText(m_nation, q.value(3).toString());
        uebernimmText(m_tel, q.value(4).toString());
        uebernimmDatum(m_gebdat, q.value(5).toString());
        uebernimmCode(m_zahlart, kZahlartCode, q.value(6).toString());
        if (q.value(7).toLongLong() > 0)
            m_beitrag->setCents(q.value(7).toLongLong());
        uebernimmDatum(m_eintritt, q.value(8).toString());
        uebernimmDatum(m_austritt, q.value(9).toString());
        uebernimmDatum(m_bezahlt, q.value(10).toString());
        uebernimmCode(m_zahlstatus, kStatusCode, q.value(11).toString());
        uebernimmDatum(m_statusdatum, q.value(12).toString());
        if (!q.value(13).toString().isEmpty())
            m_wohngliederung->setText(q.value(13).toString());
    }
    q.finish();
    datenUebernehmen(neu);
    // Without a surname the record could not be saved under the new number: change nothing.
    if (m_adresse.Name1()->text().simplified().isEmpty())
        return;

    const QString altKonto = UtilMIDKonto(alt);
    const QString neuKonto = UtilMIDKonto(neu);
    const QString altTag = QStringLiteral("MID ") + QString::number(alt) + QLatin1Char(' ');
    const QString neuTag = QStringLiteral("MID ") + QString::number(neu) + QLatin1Char(' ');

    // Renumbering is one unit: the old record, its donations, its account lines,
    // the posting texts and the payment run move together or not at all.
    const bool umnummeriert = Db::speichern(this, windowTitle(), [&] {
        pDelete1(); // m_felder still holds the old number
        Db::ausfuehren(QStringLiteral("UPDATE spende SET mid=? WHERE mid=?"), {neu, alt});

        if (!altKonto.isEmpty()) {
            QList<std::pair<QString, int>> eintraege;
            QSqlQuery k =
                Db::abfrage(QStringLiteral("SELECT DISTINCT datum,lfd FROM kgkto WHERE konto=?"), {altKonto});
            while (k.next())
                eintraege.append({k.value(0).toString(), k.value(1).toInt()});
            k.finish();
            for (const auto &[datum, lfd] : std::as_const(eintraege)) {
                const QVariant butext =
                    Db::wert(QStringLiteral("SELECT butext FROM journdat WHERE datum=? AND lfd=?"), {datum, lfd});
                if (!butext.isValid())
                    continue;
                QString text = butext.toString();
                if (text.contains(altTag))
                    text.replace(altTag, neuTag);
                else
                    text.prepend(neuTag);
                Db::ausfuehren(QStringLiteral("UPDATE journdat SET butext=? WHERE datum=? AND lfd=?"),
                               {text, datum, lfd});
            }
            Db::ausfuehren(QStringLiteral("UPDATE kgkto SET konto=? WHERE konto=?"), {neuKonto, altKonto});
        }
        Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET mid=? WHERE mid=?"), {neu, alt});

        // The merged record under the new number belongs to the same change.
        m_mid->setText(QString::number(neu));
        pFelder();
        speichern();
    });
    if (!umnummeriert) {
        // Nothing moved: the dialog stays on the old number.
        m_mid->setText(QString::number(alt));
        pFelder();
        return;
    }

    pSetWahl(true);
    m_mid->setText(QString::number(neu));
    pRead();
}

void Mitglieder::pFuellListe()
{
    m_liste->clear();
    m_liste->setRowCount(0);
    m_liste->setColumnCount(4);
    m_liste->setHorizontalHeaderLabels(QStringLiteral("Datum,Kost.,Text,Betrag").split(QLatin1Char(',')));
    m_liste->setColumnWidth(0, 100);
    m_liste->setColumnWidth(1, 150);
    m_liste->setColumnWidth(2, 400);
    m_liste->setColumnWidth(3, 120);

    const int mid = m_mid->getInt();
    if (mid < 1)
        return;
    const QString mitgliedKonto = UtilMIDKonto(mid);

    QList<std::pair<QString, int>> spenden;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT jdatum,jlfd,art,quittung FROM spende WHERE mid=? "
                                             "ORDER BY mid DESC, jdatum DESC LIMIT 20"),
                              {mid});
    while (q.next() && spenden.size() < 20)
        spenden.append({q.value(0).toString(), q.value(1).toInt()});
    q.finish();

    const auto zelle = [](const QString &text) {
        auto *item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled);
        return item;
    };

    for (const auto &[datum, lfd] : std::as_const(spenden)) {
        QSqlQuery j = Db::abfrage(QStringLiteral("SELECT kost,butext FROM journdat WHERE datum=? AND lfd=? LIMIT 1"),
                                  {datum, lfd});
        if (!j.next())
            continue;
        QSqlQuery k = Db::abfrage(
            QStringLiteral("SELECT konto,cent FROM kgkto WHERE datum=? AND lfd=? AND kg=? LIMIT 1"),
            {datum, lfd, QStringLiteral("1")});
        if (!k.next())
            continue;

        const qint64 cent = UtilSpendeVorzeichen(k.value(0).toString(), mitgliedKonto) * k.value(1).toLongLong();

        const int zeile = m_liste->rowCount();
        m_liste->insertRow(zeile);
        m_liste->setItem(zeile, 0, zelle(UtilDatumZeige(UtilDatum(datum))));
        m_liste->setItem(zeile, 1, zelle(j.value(0).toString()));
        m_liste->setItem(zeile, 2, zelle(j.value(1).toString()));
        QTableWidgetItem *betrag = zelle(UtilBetragText(cent));
        betrag->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_liste->setItem(zeile, 3, betrag);
    }
}
