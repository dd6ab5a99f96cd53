#include "spendenexport.h"

#include "db.h"
#include "exportzeitraum.h"
#include "textutil.h"
#include "utilgliederung.h"
#include "utilkonto.h"
#include "wdatum.h"
#include "wfortschritt.h"
#include "wgliederung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QSet>

namespace {

QString artText(const QString &art)
{
    if (art == QLatin1String("M"))
        return QStringLiteral("Mitgliedsbeitrag");
    if (art == QLatin1String("G"))
        return QStringLiteral("Geldspende");
    if (art == QLatin1String("A"))
        return QStringLiteral("Spende durch Aufwandsverzicht");
    if (art == QLatin1String("S"))
        return QStringLiteral("Sachspende");
    return QStringLiteral("Zweckgebundene Spende");
}

} // namespace

SpendenExport::SpendenExport(QWidget *parent) : QDialog(parent), m_datei(false, false, this)
{
    setWindowTitle(QStringLiteral("Spendenbuch Export"));
    auto *layout = new QGridLayout(this);
    const ExportZeitraum zeitraum = UtilExportZeitraum(layout, 1, this);
    m_von = zeitraum.von;
    m_bis = zeitraum.bis;

    m_art = new QComboBox(this);
    m_art->addItems({QStringLiteral("Beiträge+Spenden"), QStringLiteral("nur Beiträge"), QStringLiteral("nur Spenden")});
    m_kost = new QLineEdit(this);
    layout->addWidget(new QLabel(QStringLiteral("Best. Art"), this), 2, 1);
    layout->addWidget(m_art, 2, 2);
    layout->addWidget(new QLabel(QStringLiteral("Best.Kost."), this), 2, 3);
    layout->addWidget(m_kost, 2, 4);

    m_bestGl = new QCheckBox(QStringLiteral("Bestimmte Gliederung"), this);
    m_gliederung = new WGliederung(this);
    m_gliederung->setEnabled(false);
    layout->addWidget(m_bestGl, 3, 1);
    layout->addWidget(m_gliederung, 3, 2);
    connect(m_bestGl, &QCheckBox::stateChanged, this, &SpendenExport::pBestGl);

    m_datei.FuellLayout(layout, 4, 0);
    QPushButton *exportKnopf = UtilKnopf(QStringLiteral("&Export"), this);
    QPushButton *abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    layout->addWidget(exportKnopf, 6, 1);
    layout->addWidget(abbruch, 6, 2);
    m_balken = new WFortschritt(nullptr, this);
    layout->addWidget(m_balken, 6, 3);
    connect(exportKnopf, &QPushButton::clicked, this, &SpendenExport::pExport);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);
}

void SpendenExport::pBestGl()
{
    m_gliederung->setEnabled(m_bestGl->isChecked());
}

void SpendenExport::pExport()
{
    if (!m_datei.isValid())
        return;
    const int art = m_art->currentIndex();
    QSet<QString> gliederungen;
    const QString gewaehlt = m_gliederung->text().trimmed();
    const bool mitGliederung = m_bestGl->isChecked() && !gewaehlt.isEmpty();
    if (mitGliederung) {
        const QStringList liste = UtilGliederungMitUnteren(gewaehlt);
        gliederungen = QSet<QString>(liste.cbegin(), liste.cend());
    }
    const QString kost = m_kost->text().trimmed().toUpper();
    const QString mitgliedKonto = UtilMIDKonto(-1);

    m_datei.writeLine({QStringLiteral("Datum"), QStringLiteral("EUR"), QStringLiteral("Art"), QStringLiteral("MID"),
                       QStringLiteral("Vorname"), QStringLiteral("Nachname"), QStringLiteral("Strasse"),
                       QStringLiteral("PLZ"), QStringLiteral("Ort")});
    const QVariantList zeitraum{m_von->datumText(), m_bis->datumText()};
    // The window repaints meanwhile but takes no input.
    setEnabled(false);
    m_balken->start(Db::wert(QStringLiteral("SELECT count(*) FROM spende WHERE jdatum>=? AND jdatum<=?"), zeitraum)
                        .toInt());
    // One query for donation, entry, first line and address; the amount and
    // the address are those of the first matching row, as a lookup would give.
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT s.jdatum,s.mid,s.art,s.gliederung,j.datum IS NOT NULL,j.kost,"
                       "(SELECT konto FROM kgkto k WHERE k.datum=s.jdatum AND k.lfd=s.jlfd AND k.kg='1' LIMIT 1),"
                       "(SELECT cent FROM kgkto k WHERE k.datum=s.jdatum AND k.lfd=s.jlfd AND k.kg='1' LIMIT 1),"
                       "a.key IS NOT NULL,a.name1,a.name2,a.strasse,a.plz,a.ort FROM spende s "
                       "LEFT JOIN journdat j ON j.datum=s.jdatum AND j.lfd=s.jlfd "
                       "LEFT JOIN adresse a ON a.art='M' AND a.key=printf('%08d',s.mid) "
                       "WHERE s.jdatum>=? AND s.jdatum<=? ORDER BY s.sortname,s.jdatum"),
        zeitraum);
    const QList<bool> quoten{false, true, true, false, true, true, true, true, true};
    int nr = 0;
    while (q.next()) {
        m_balken->schritt(++nr);
        const QString spendenArt = q.value(2).toString();
        if ((art == 1 && spendenArt != QLatin1String("M")) || (art == 2 && spendenArt == QLatin1String("M")))
            continue;
        if (mitGliederung && !gliederungen.contains(q.value(3).toString()))
            continue;
        if (!kost.isEmpty() && (!q.value(4).toBool() || q.value(5).toString().toUpper() != kost))
            continue;
        const qint64 cent = q.isNull(7) ? 0
                                        : UtilSpendeVorzeichen(q.value(6).toString(), mitgliedKonto)
                                              * q.value(7).toLongLong();
        const qint64 mid = q.value(1).toLongLong();
        QStringList zeile{q.value(0).toString(), UtilBetragText(cent), artText(spendenArt),
                          mid < 1000000 ? QString::number(mid) : QString()};
        if (q.value(8).toBool())
            zeile << q.value(10).toString() << q.value(9).toString() << q.value(11).toString()
                  << q.value(12).toString() << q.value(13).toString();
        else
            zeile << QString() << QString() << QString() << QString() << QString();
        m_datei.writeLine(zeile, quoten);
    }
    m_balken->ende();
    setEnabled(true);
    m_datei.fertig(this, QStringLiteral("Spendenexport"));
}
