#include "journexport.h"

#include "db.h"
#include "exportzeitraum.h"
#include "interaktion.h"
#include "textutil.h"
#include "utilbuch.h"
#include "wdatum.h"
#include "wfortschritt.h"

#include <QGridLayout>
#include <QPushButton>

JournalExport::JournalExport(QWidget *parent) : QDialog(parent), m_datei(false, false, this)
{
    setWindowTitle(QStringLiteral("Journal Export"));
    auto *layout = new QGridLayout(this);
    const ExportZeitraum zeitraum = UtilExportZeitraum(layout, 1, this);
    m_von = zeitraum.von;
    m_bis = zeitraum.bis;
    m_datei.FuellLayout(layout, 2, 0);
    QPushButton *exportKnopf = UtilKnopf(QStringLiteral("&Export"), this);
    QPushButton *abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    layout->addWidget(exportKnopf, 4, 1);
    layout->addWidget(abbruch, 4, 2);
    m_balken = new WFortschritt(nullptr, this);
    layout->addWidget(m_balken, 4, 3);
    connect(exportKnopf, &QPushButton::clicked, this, &JournalExport::pExport);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);
}

void JournalExport::pExport()
{
    if (!m_datei.isValid())
        return;
    m_datei.writeLine({QStringLiteral("Nr."), QStringLiteral("Datum"), QStringLiteral("Beleg"),
                       QStringLiteral("Beleg_Text"), QStringLiteral("Betrag"), QStringLiteral("Kto_S"),
                       QStringLiteral("Kto_H")});

    // Entries are numbered from the start of the fiscal year, so reading starts there.
    const QString von = m_von->datumText();
    const QVariantList zeitraum{UtilDatumText(UtilGJVonDatum(m_von->datum())), m_bis->datumText()};
    // The window repaints meanwhile but takes no input.
    setEnabled(false);
    m_balken->start(Db::wert(QStringLiteral("SELECT count(*) FROM journdat WHERE datum>=? AND datum<=?"), zeitraum)
                        .toInt());
    // One query for entries and lines: an entry without lines comes once, with null columns.
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT j.datum,j.lfd,j.kost,j.butext,k.konto,k.cent FROM journdat j "
                       "LEFT JOIN kgkto k ON k.datum=j.datum AND k.lfd=j.lfd "
                       "WHERE j.datum>=? AND j.datum<=? ORDER BY j.datum,j.lfd,k.kg"),
        zeitraum);
    const QList<bool> quoten{false, false, true, true, true, true, true};
    int nr = 0;
    bool weiter = q.next();
    while (weiter) {
        const QString datum = q.value(0).toString();
        const qint64 lfd = q.value(1).toLongLong();
        const QString kost = q.value(2).toString();
        const QString text = q.value(3).toString();
        QString soll;
        QString haben;
        qint64 cent = 0;
        // The last line of each side names its account; the last line gives the amount.
        do {
            if (!q.isNull(4)) {
                const qint64 c = q.value(5).toLongLong();
                if (c < 0) {
                    haben = q.value(4).toString();
                    cent = -c;
                } else {
                    soll = q.value(4).toString();
                    cent = c;
                }
            }
            weiter = q.next();
        } while (weiter && q.value(0).toString() == datum && q.value(1).toLongLong() == lfd);
        m_balken->schritt(++nr);
        if (datum < von)
            continue;
        m_datei.writeLine({QString::number(nr), datum, kost, text, UtilBetragText(cent), soll, haben}, quoten);
    }
    m_balken->ende();
    setEnabled(true);
    m_datei.fertig(this, QStringLiteral("Journalexport"));
}
