#include "akkredlist.h"

#include "db.h"
#include "parameter.h"
#include "textutil.h"
#include "utilgliederung.h"
#include "wdatum.h"
#include "wfortschritt.h"
#include "wgliederung.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QPushButton>

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
    m_sortierung->setObjectName(QStringLiteral("sortierung"));
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
    m_balken = new WFortschritt(nullptr, this);
    layout->addWidget(m_balken, 7, 3);
    connect(exportKnopf, &QPushButton::clicked, this, &AkkredListe::pExport);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);
}

// Fills the work table zwiakkred with the members of the chosen unit and all
// units below it who have not left by the reference date and have an address,
// each with the sort keys of the chosen order.
void AkkredListe::pFuellListe() const
{
    const QString stichtag = m_bezahltBis->datumText();
    // Paid counts as paid up to three months before the reference date.
    const QString grenze = UtilDatumText(m_bezahltBis->datum().addMonths(-3));
    QString filter;
    if (m_zahlstatus->currentIndex() == NurGezahlte)
        filter = QStringLiteral(" AND m.bezahlt>=?");
    else if (m_zahlstatus->currentIndex() == NurNichtGezahlte)
        filter = QStringLiteral(" AND m.bezahlt<?");
    const QString name = QStringLiteral("ifnull(a.name1,'')||','||ifnull(a.name2,'')");
    const QString plz = QStringLiteral("ifnull(a.plz,'')");
    const QString einheit = QStringLiteral("m.gliederung");
    const QString x = QStringLiteral("'X'");
    QString sort1 = x;
    QString sort2 = x;
    switch (m_sortierung->currentIndex()) {
    case 1: sort1 = name; break;
    case 2: sort1 = plz, sort2 = name; break;
    case 3: sort1 = einheit; break;
    case 4: sort1 = einheit, sort2 = name; break;
    case 5: sort1 = einheit, sort2 = plz + QStringLiteral("||','||") + name; break;
    default: break;
    }

    Db::ausfuehren(QStringLiteral("DROP TABLE IF EXISTS zwiakkred"));
    Db::ausfuehren(QStringLiteral(
        "CREATE TEMPORARY TABLE zwiakkred (sort1 text, sort2 text, mid int, name1 text, name2 text, strasse text, "
        "plz text, ort text, land text, gliederung text, wohngliederung text, bezahlt date, beitrag int64, "
        "zahlart char, PRIMARY KEY (sort1 ASC, sort2 ASC, mid ASC))"));
    // The work code "X" marks those who count as paid; the others keep their way of paying.
    const QString einfuegen
        = QStringLiteral("INSERT INTO zwiakkred (sort1,sort2,mid,name1,name2,strasse,plz,ort,land,gliederung,"
                         "wohngliederung,bezahlt,beitrag,zahlart) SELECT ")
          + sort1 + QLatin1Char(',') + sort2
          + QStringLiteral(",m.mid,a.name1,a.name2,a.strasse,a.plz,a.ort,a.land,m.gliederung,m.wohngliederung,"
                           "m.bezahlt,m.beitrag,CASE WHEN m.bezahlt>=? THEN 'X' ELSE m.zahlart END FROM mitglied m "
                           "JOIN adresse a ON a.art='M' AND a.key=printf('%08d',m.mid) "
                           "WHERE m.gliederung=? AND m.austritt>? AND m.mid<?")
          + filter;
    Db::Transaktion transaktion;
    for (const QString &gliederung : UtilGliederungMitUnteren(m_gliederung->text())) {
        QVariantList werte{grenze, gliederung, stichtag, 1000000};
        if (!filter.isEmpty())
            werte << grenze;
        Db::ausfuehren(einfuegen, werte);
    }
    transaktion.commit();
}

void AkkredListe::pExport()
{
    if (!m_datei.isValid())
        return;
    // The window repaints meanwhile but takes no input.
    setEnabled(false);
    pFuellListe();
    m_balken->start(Db::wert(QStringLiteral("SELECT count(*) FROM zwiakkred")).toInt());
    int nr = 0;
    m_datei.writeLine({QStringLiteral("MID"), QStringLiteral("Vorname"), QStringLiteral("Nachname"),
                       QStringLiteral("Strasse"), QStringLiteral("PLZ"), QStringLiteral("Stadt"),
                       QStringLiteral("Land"), QStringLiteral("Gliederung"), QStringLiteral("Bezahlt bis"),
                       QStringLiteral("Beitrag"), QStringLiteral("Zahlart")});
    const QString gewaehlt = m_gliederung->text();
    // Whether the unit of residence is worth showing, once per pair of units.
    QHash<QPair<QString, QString>, bool> wohnZeigen;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT mid,name2,name1,strasse,plz,ort,land,gliederung,bezahlt,beitrag,"
                                             "zahlart,wohngliederung FROM zwiakkred ORDER BY sort1,sort2,mid"));
    while (q.next()) {
        m_balken->schritt(++nr);
        QString gliederung = q.value(7).toString();
        const QString wohn = q.value(11).toString();
        if (!wohn.isEmpty() && wohn != gliederung && wohn != gewaehlt) {
            const QPair<QString, QString> paar{wohn, gliederung};
            auto it = wohnZeigen.constFind(paar);
            if (it == wohnZeigen.cend())
                it = wohnZeigen.insert(paar, !UtilGliederungUnter(wohn, gliederung)
                                                 && !UtilGliederungUnter(wohn, gewaehlt));
            if (it.value())
                gliederung += QStringLiteral(" (") + wohn + QLatin1Char(')');
        }
        m_datei.write(q.value(0).toString(), false, false);
        for (int i = 1; i <= 6; ++i)
            m_datei.write(q.value(i).toString(), true, false);
        m_datei.write(gliederung, true, false);
        const QString zahlart = q.value(10).toString();
        if (zahlart == QLatin1String("X")) {
            m_datei.write(QString(), false, false);
            m_datei.write(QString(), false, false);
            m_datei.write(QString(), false, true);
        } else {
            const QDate bezahlt = UtilDatum(q.value(8).toString());
            m_datei.write(bezahlt.isValid() ? UtilDatumZeige(bezahlt) : QString(), false, false);
            m_datei.write(UtilBetragText(q.value(9).toLongLong()), true, false);
            m_datei.write(zahlartText(zahlart), true, true);
        }
        m_datei.newLine();
    }
    q.finish();
    Db::ausfuehren(QStringLiteral("DROP TABLE zwiakkred"));
    m_balken->ende();
    setEnabled(true);
    m_datei.fertig(this, QStringLiteral("Akkreditierungsliste"));
}
