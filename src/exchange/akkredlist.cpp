#include "akkredlist.h"

#include "db.h"
#include "parameter.h"
#include "textutil.h"
#include "utilgliederung.h"
#include "wdatum.h"
#include "wgliederung.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <tuple>

// One member of the list; `bezahlt` true for those who count as paid.
struct AkkredListe::Zeile {
    QString sort1;
    QString sort2;
    qint64 mid = 0;
    QStringList adresse; // first name, surname, street, postcode, town, country
    QString gliederung;
    QString wohngliederung;
    QString bezahltBis;
    qint64 beitrag = 0;
    QString zahlart;
    bool bezahlt = false;
};

namespace {

enum Zahlstatus { Alle, NurGezahlte, NurNichtGezahlte };

QString zahlartText(const QString &zahlart)
{
    if (zahlart == QLatin1String("L"))
        return QStringLiteral("Lastschrift");
    if (zahlart == QLatin1String("G"))
        return QStringLiteral("! Lastschrift !");
    return QStringLiteral("Vorkasse");
}

} // namespace

AkkredListe::AkkredListe(QWidget *parent) : QDialog(parent), m_datei(false, false, this)
{
    setWindowTitle(QStringLiteral("Akkreditierungsliste"));
    auto *layout = new QGridLayout(this);
    m_gliederung = new WGliederung(this);
    m_gliederung->setText(UtilSelbst());
    m_bezahltBis = new WDatum(QDate::currentDate(), this);
    m_zahlstatus = new QComboBox(this);
    m_zahlstatus->addItems({QStringLiteral("Alle Mitglieder"), QStringLiteral("Nur gezahlte Mitglieder"),
                            QStringLiteral("Nur nicht gezahlte Mitglieder")});
    m_sortierung = new QComboBox(this);
    m_sortierung->addItems({QStringLiteral("Mitgliedsnummer"), QStringLiteral("Nachname"),
                            QStringLiteral("Postleitzahl"), QStringLiteral("Gliederung/Mitgliedsnummer"),
                            QStringLiteral("Gliederung/Nachname"), QStringLiteral("Gliederung/Postleitzahl")});
    const QList<QPair<QString, QWidget *>> zeilen{{QStringLiteral("Gliederung"), m_gliederung},
                                                  {QStringLiteral("Bezahlt bis"), m_bezahltBis},
                                                  {QStringLiteral("Zahlstatus"), m_zahlstatus},
                                                  {QStringLiteral("Sortierung"), m_sortierung}};
    for (int i = 0; i < zeilen.size(); ++i) {
        layout->addWidget(new QLabel(zeilen.at(i).first, this), i + 1, 1);
        layout->addWidget(zeilen.at(i).second, i + 1, 2, 1, 2);
    }
    m_datei.FuellLayout(layout, 5, 0);
    QPushButton *exportKnopf = UtilKnopf(QStringLiteral("&Export"), this);
    QPushButton *abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    layout->addWidget(exportKnopf, 7, 1);
    layout->addWidget(abbruch, 7, 2);
    connect(exportKnopf, &QPushButton::clicked, this, &AkkredListe::pExport);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);
}

// The members of the chosen unit and all units below it who have not left by
// the reference date, with an address, sorted for the list.
QList<AkkredListe::Zeile> AkkredListe::pFuellListe() const
{
    const QString stichtag = m_bezahltBis->datumText();
    // Paid counts as paid up to three months before the reference date.
    const QString grenze = UtilDatumText(m_bezahltBis->datum().addMonths(-3));
    QString filter;
    if (m_zahlstatus->currentIndex() == NurGezahlte)
        filter = QStringLiteral(" AND m.bezahlt>=?");
    else if (m_zahlstatus->currentIndex() == NurNichtGezahlte)
        filter = QStringLiteral(" AND m.bezahlt<?");
    const int sortierung = m_sortierung->currentIndex();
    const QString x = QStringLiteral("X");

    QList<Zeile> liste;
    for (const QString &gliederung : UtilGliederungMitUnteren(m_gliederung->text())) {
        QVariantList werte{gliederung, stichtag, 1000000};
        if (!filter.isEmpty())
            werte << grenze;
        QSqlQuery q = Db::abfrage(
            QStringLiteral("SELECT m.mid,m.bezahlt,m.beitrag,m.zahlart,m.wohngliederung,"
                           "a.name2,a.name1,a.strasse,a.plz,a.ort,a.land FROM mitglied m "
                           "JOIN adresse a ON a.art='M' AND a.key=printf('%08d',m.mid) "
                           "WHERE m.gliederung=? AND m.austritt>? AND m.mid<?")
                + filter,
            werte);
        while (q.next()) {
            Zeile z;
            z.mid = q.value(0).toLongLong();
            z.bezahltBis = q.value(1).toString();
            z.bezahlt = z.bezahltBis >= grenze;
            z.beitrag = q.value(2).toLongLong();
            z.zahlart = q.value(3).toString();
            z.wohngliederung = q.value(4).toString();
            for (int i = 5; i <= 10; ++i)
                z.adresse << q.value(i).toString();
            z.gliederung = gliederung;
            const QString name = z.adresse.at(1) + QLatin1Char(',') + z.adresse.at(0);
            switch (sortierung) {
            case 1: z.sort1 = name, z.sort2 = x; break;
            case 2: z.sort1 = z.adresse.at(3), z.sort2 = name; break;
            case 3: z.sort1 = gliederung, z.sort2 = x; break;
            case 4: z.sort1 = gliederung, z.sort2 = name; break;
            case 5: z.sort1 = gliederung, z.sort2 = z.adresse.at(3) + QLatin1Char(',') + name; break;
            default: z.sort1 = x, z.sort2 = x; break;
            }
            liste << z;
        }
    }
    std::sort(liste.begin(), liste.end(), [](const Zeile &a, const Zeile &b) {
        return std::tie(a.sort1, a.sort2, a.mid) < std::tie(b.sort1, b.sort2, b.mid);
    });
    return liste;
}

void AkkredListe::pExport()
{
    if (!m_datei.isValid())
        return;
    const QList<Zeile> liste = pFuellListe();
    m_datei.writeLine({QStringLiteral("MID"), QStringLiteral("Vorname"), QStringLiteral("Nachname"),
                       QStringLiteral("Strasse"), QStringLiteral("PLZ"), QStringLiteral("Stadt"),
                       QStringLiteral("Land"), QStringLiteral("Gliederung"), QStringLiteral("Bezahlt bis"),
                       QStringLiteral("Beitrag"), QStringLiteral("Zahlart")});
    const QString gewaehlt = m_gliederung->text();
    // Whether the unit of residence is worth showing, once per pair of units.
    QHash<QPair<QString, QString>, bool> wohnZeigen;
    for (const Zeile &z : liste) {
        const QString &wohn = z.wohngliederung;
        QString gliederung = z.gliederung;
        if (!wohn.isEmpty() && wohn != z.gliederung && wohn != gewaehlt) {
            const QPair<QString, QString> paar{wohn, z.gliederung};
            auto it = wohnZeigen.constFind(paar);
            if (it == wohnZeigen.cend())
                it = wohnZeigen.insert(paar, !UtilGliederungUnter(wohn, z.gliederung)
                                                 && !UtilGliederungUnter(wohn, gewaehlt));
            if (it.value())
                gliederung += QStringLiteral(" (") + wohn + QLatin1Char(')');
        }
        m_datei.write(QString::number(z.mid), false, false);
        for (const QString &feld : z.adresse)
            m_datei.write(feld, true, false);
        m_datei.write(gliederung, true, false);
        if (z.bezahlt) {
            m_datei.write(QString(), false, false);
            m_datei.write(QString(), false, false);
            m_datei.write(QString(), false, true);
        } else {
            const QDate bezahlt = UtilDatum(z.bezahltBis);
            m_datei.write(bezahlt.isValid() ? UtilDatumZeige(bezahlt) : QString(), false, false);
            m_datei.write(UtilBetragText(z.beitrag), true, false);
            m_datei.write(zahlartText(z.zahlart), true, true);
        }
        m_datei.newLine();
    }
    m_datei.fertig(this, QStringLiteral("Akkreditierungsliste"));
}
