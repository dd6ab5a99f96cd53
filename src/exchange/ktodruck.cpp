#include "ktodruck.h"

#include "db.h"
#include "interaktion.h"
#include "kontozeilen.h"
#include "textutil.h"
#include "utilbuch.h"
#include "utilkonto.h"
#include "wdatum.h"
#include "wfortschritt.h"
#include "wkonto.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// One account sheet. The first pass measures every line and counts the pages,
// the second draws them, so every page header knows the page total.
class KontoBlatt
{
public:
    KontoBlatt(QPrinter *printer, QPainter *painter, const QString &konto, const QDate &von, const QDate &bis,
               const QString &kost)
        : m_printer(printer), m_painter(painter), m_konto(konto), m_von(von), m_bis(bis), m_kost(kost),
          m_daten(konto, von, bis, kost), m_normal(QStringLiteral("Helvetica"), 10), m_fett(m_normal)
    {
        m_daten.texteLesen(0, m_daten.zeilen().size());
        m_fett.setBold(true);
        const QFontMetrics fm(m_normal, printer);
        m_g = fm.horizontalAdvance(QLatin1Char('G'));
        m_n = fm.horizontalAdvance(QLatin1Char('9'));
        m_h = fm.lineSpacing();
        const QRect seite = printer->pageLayout().paintRectPixels(printer->resolution());
        m_breite = seite.width();
        m_hoehe = seite.height();
        m_y0 = printer->resolution() * 100 / 254 + m_h;

        m_xBeleg = 8 * m_g;
        m_xBetrag = 9 * m_n + 9 * m_g;
        m_xGkonto = 9 * m_n + 10 * m_g;
        m_xKost = m_xGkonto + m_g + fm.horizontalAdvance(QStringLiteral("1406#69999#99"));
        m_xDatum = m_xKost + 2 * m_g + fm.horizontalAdvance(QStringLiteral("zwBarSpende"));
        m_xText = m_xDatum + m_g + fm.horizontalAdvance(QStringLiteral("88.88.8888"));
        m_xSaldo = m_breite - 16 * m_n - m_g;
        m_xBeschluss = m_breite - 16 * m_n;
        m_textBreite = std::max(m_g, m_xSaldo - m_g - 10 * m_n - m_xText);
        m_zeit = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm"));
    }

    int drucken()
    {
        if (m_daten.zeilen().empty()) {
            m_seiten = 1;
            kopf(1, false);
            m_painter->setFont(m_normal);
            links(0, m_y0 + 4 * m_h, QStringLiteral("Keine Buchungen im ausgewähten Zeitraum"));
            return 1;
        }
        messen();
        return lauf(true);
    }

private:
    void messen()
    {
        const QFontMetrics fm(m_normal, m_printer);
        m_zeilenHoehen.reserve(m_daten.zeilen().size());
        for (const KontoZeile &z : m_daten.zeilen()) {
            int hoehe = m_h;
            // Most texts fit their column: only the others are wrapped to measure them.
            if (fm.horizontalAdvance(z.butext) > m_textBreite)
                hoehe = std::max(m_h, fm.boundingRect(QRect(0, 0, m_textBreite, INT_MAX / 2), kUmbruch, z.butext)
                                          .height());
            m_zeilenHoehen.push_back(hoehe);
        }
        m_seiten = lauf(false);
    }

    // Places every line on its page; draws when `zeichnen` is set. The number of pages.
    int lauf(bool zeichnen)
    {
        int seite = 0;
        int y = 0;
        const std::vector<KontoZeile> &zeilen = m_daten.zeilen();
        for (std::size_t i = 0; i < zeilen.size(); ++i) {
            const int hoehe = m_zeilenHoehen[i];
            if (seite == 0 || y + hoehe + m_h > m_hoehe) {
                if (zeichnen && seite > 0)
                    m_printer->newPage();
                ++seite;
                if (zeichnen) {
                    kopf(seite, true);
                    m_painter->setFont(m_normal);
                }
                y = m_y0 + 5 * m_h;
            }
            if (zeichnen)
                zeile(zeilen[i], y, hoehe);
            y += hoehe;
        }
        return seite;
    }

    void zeile(const KontoZeile &z, int y, int hoehe)
    {
        rechts(m_xBeleg, y, z.beleg);
        betrag(m_xBetrag, y, z.cent);
        links(m_xGkonto, y, z.gkonto);
        links(m_xKost, y, z.kost);
        links(m_xDatum, y, UtilDatumZeige(z.datum));
        m_painter->drawText(QRect(m_xText, y, m_textBreite, hoehe), kUmbruch, z.butext);
        betrag(m_xSaldo, y, z.saldo);
        links(m_xBeschluss, y, z.beschluss);
    }

    void kopf(int seite, bool spalten)
    {
        m_painter->setFont(m_fett);
        const QFontMetrics fb = m_painter->fontMetrics();
        const QString titel = QStringLiteral("Konto ") + m_konto + QLatin1Char(':');
        const int t = m_g + std::max(fb.horizontalAdvance(QStringLiteral("Anfangssaldo:")), fb.horizontalAdvance(titel));
        const int xSeite = m_breite - fb.horizontalAdvance(m_zeit) - m_g - fb.horizontalAdvance(QStringLiteral("Druckdatum"));
        const int xSaldo = t + 10 * m_n + fb.horizontalAdvance(QStringLiteral("88.88.8888"));

        int y = m_y0;
        links(0, y, titel + QLatin1Char(' '));
        links(t, y, UtilKtoText(m_konto));
        links(xSeite, y, QStringLiteral("Druckdatum"));
        rechts(m_breite, y, m_zeit);

        y += m_h;
        links(0, y, QStringLiteral("Anfangssaldo"));
        links(t, y, UtilDatumZeige(m_von));
        betrag(xSaldo, y, m_daten.anfangssaldo());
        links(xSaldo + m_g, y, QStringLiteral("EUR"));
        links(xSeite, y, QStringLiteral("Seite:"));
        rechts(m_breite, y, QStringLiteral("%1/%2").arg(seite).arg(m_seiten));

        y += m_h;
        links(0, y, QStringLiteral("Endsaldo"));
        links(t, y, UtilDatumZeige(m_bis));
        betrag(xSaldo, y, m_daten.endsaldo());
        links(xSaldo + m_g, y, QStringLiteral("EUR"));
        if (!m_kost.isEmpty()) {
            links(m_xDatum, y, QStringLiteral("OP-Name"));
            links(m_xText, y, m_kost);
        }
        if (!spalten)
            return;

        y += 2 * m_h;
        rechts(m_xBeleg, y, QStringLiteral("Beleg"));
        rechts(m_xBetrag, y, QStringLiteral("Betrag"));
        links(m_xGkonto, y, QStringLiteral("G.-Konto"));
        links(m_xKost, y, QStringLiteral("OP-Name"));
        links(m_xDatum, y, QStringLiteral("Datum"));
        links(m_xText, y, QStringLiteral("Buchungstext"));
        rechts(m_xSaldo, y, QStringLiteral("Saldo"));
        links(m_xBeschluss, y, QStringLiteral("Beschluss"));
    }

    // Texts hang from the line position `y`.
    void links(int x, int y, const QString &text)
    {
        if (!text.isEmpty())
            m_painter->drawText(x, y + m_painter->fontMetrics().ascent(), text);
    }
    void rechts(int x, int y, const QString &text)
    {
        if (!text.isEmpty())
            links(x - m_painter->fontMetrics().horizontalAdvance(text), y, text);
    }
    // Every amount of the sheet: right-aligned at x, red when negative.
    void betrag(int x, int y, qint64 cent)
    {
        const QPen vorher = m_painter->pen();
        m_painter->setPen(cent < 0 ? Qt::red : Qt::black);
        rechts(x, y, UtilBetragText(cent));
        m_painter->setPen(vorher);
    }

    static constexpr int kUmbruch = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

    QPrinter *m_printer;
    QPainter *m_painter;
    QString m_konto;
    QDate m_von;
    QDate m_bis;
    QString m_kost;
    KontoZeilen m_daten;
    QFont m_normal;
    QFont m_fett;
    QString m_zeit;
    std::vector<int> m_zeilenHoehen;
    int m_seiten = 0;
    int m_g = 0, m_n = 0, m_h = 0;
    int m_breite = 0, m_hoehe = 0, m_y0 = 0;
    int m_xBeleg = 0, m_xBetrag = 0, m_xGkonto = 0, m_xKost = 0, m_xDatum = 0, m_xText = 0, m_xSaldo = 0,
        m_xBeschluss = 0, m_textBreite = 0;
};

} // namespace

int DruckKonto(QPrinter *printer, QPainter *painter, const QString &konto, const QDate &von, const QDate &bis,
               const QString &kost)
{
    KontoBlatt blatt(printer, painter, konto, von, bis, kost);
    return blatt.drucken();
}

Kontendruck::Kontendruck(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Kontendruck"));
    auto *gitter = new QGridLayout(this);

    m_vonLabel = new QLabel(this);
    m_kontoVon = new WKonto(m_vonLabel, false, this);
    m_kontoVon->setObjectName(QStringLiteral("kontoVon"));
    gitter->addWidget(new QLabel(QStringLiteral("Konto von"), this), 0, 0);
    gitter->addWidget(m_kontoVon, 0, 1);
    gitter->addWidget(m_vonLabel, 0, 2, 1, 3);

    m_bisLabel = new QLabel(this);
    m_kontoBis = new WKonto(m_bisLabel, false, this);
    m_kontoBis->setObjectName(QStringLiteral("kontoBis"));
    gitter->addWidget(new QLabel(QStringLiteral("Konto bis"), this), 1, 0);
    gitter->addWidget(m_kontoBis, 1, 1);
    gitter->addWidget(m_bisLabel, 1, 2, 1, 3);

    m_datumVon = new WDatum(UtilGJVon(), this);
    m_datumVon->setObjectName(QStringLiteral("datumVon"));
    m_datumBis = new WDatum(QDate::currentDate(), this);
    m_datumBis->setObjectName(QStringLiteral("datumBis"));
    m_monatsweise = new QCheckBox(QStringLiteral("&Monatsweise"), this);
    gitter->addWidget(new QLabel(QStringLiteral("Datum von"), this), 2, 0);
    gitter->addWidget(m_datumVon, 2, 1);
    gitter->addWidget(new QLabel(QStringLiteral("bis"), this), 2, 2);
    gitter->addWidget(m_datumBis, 2, 3);
    gitter->addWidget(m_monatsweise, 2, 4);

    m_drucken = UtilKnopf(QStringLiteral("&Drucken"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    m_fortschritt = new QLabel(this);
    m_fortschritt->setObjectName(QStringLiteral("fortschritt"));
    gitter->addWidget(m_drucken, 3, 1);
    gitter->addWidget(m_abbruch, 3, 2);
    gitter->addWidget(m_fortschritt, 3, 3);
    m_balken = new WFortschritt(m_fortschritt, this);
    gitter->addWidget(m_balken, 3, 4);

    connect(m_drucken, &QPushButton::clicked, this, &Kontendruck::pDrucken);
    connect(m_abbruch, &QPushButton::clicked, this, &Kontendruck::reject);
}

void Kontendruck::pDrucken()
{
    const QString von = UtilSauberGross(m_kontoVon->QLineEdit::text());
    QString bis = UtilSauberGross(m_kontoBis->QLineEdit::text());
    if (von.isEmpty()) {
        m_kontoVon->setFocus();
        return;
    }
    if (bis.isEmpty())
        bis = von;
    m_kontoVon->setText(von);
    m_kontoBis->setText(bis);
    if (bis < von) {
        m_kontoBis->setFocus();
        return;
    }
    const QDate datumVon = m_datumVon->datum();
    const QDate datumBis = m_datumBis->datum();
    if (datumVon > datumBis) {
        m_datumBis->setFocus();
        return;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!Interaktion::druckDialog(printer, this))
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        return;

    // The sheets of one account: the whole period, or one per calendar month.
    QList<QPair<QDate, QDate>> zeitraeume;
    if (m_monatsweise->isChecked()) {
        for (QDate anfang = datumVon; anfang <= datumBis;) {
            const QDate ende = std::min(QDate(anfang.year(), anfang.month(), anfang.daysInMonth()), datumBis);
            zeitraeume.append({anfang, ende});
            anfang = ende.addDays(1);
        }
    } else {
        zeitraeume.append({datumVon, datumBis});
    }

    // The buttons rest while the run keeps the window alive.
    m_drucken->setEnabled(false);
    m_abbruch->setEnabled(false);
    int konten = 0;
    int seiten = 0;
    // The accounts with bookings in the period, in ascending order: the lower one itself, then each next.
    const QString erstes = QStringLiteral("SELECT konto FROM kgkto WHERE konto>=? AND konto<=? AND datum>=? "
                                          "AND datum<=? ORDER BY konto LIMIT 1");
    const QString naechstes = QStringLiteral("SELECT konto FROM kgkto WHERE konto>? AND konto<=? AND datum>=? "
                                             "AND datum<=? ORDER BY konto LIMIT 1");
    const QVariantList bereich{von, bis, UtilDatumText(datumVon), UtilDatumText(datumBis)};
    m_balken->start(Db::wert(QStringLiteral("SELECT count(DISTINCT konto) FROM kgkto WHERE konto>=? AND konto<=? "
                                            "AND datum>=? AND datum<=?"),
                             bereich)
                        .toInt());
    QString konto = von;
    for (;;) {
        konto = Db::wert(konten == 0 ? erstes : naechstes,
                         {konto, bis, UtilDatumText(datumVon), UtilDatumText(datumBis)})
                    .toString();
        if (konto.isEmpty())
            break;
        ++konten;
        m_balken->schritt(konten, konto);
        for (const auto &zeitraum : zeitraeume) {
            if (seiten > 0)
                printer.newPage();
            seiten += DruckKonto(&printer, &painter, konto, zeitraum.first, zeitraum.second, QString());
        }
    }
    painter.end();
    m_drucken->setEnabled(true);
    m_abbruch->setEnabled(true);
    Interaktion::information(this, QStringLiteral("Kontendruck"),
                             QStringLiteral("%1 Konten auf %2 Seiten gedruckt").arg(konten).arg(seiten));
    m_balken->ende();
}
