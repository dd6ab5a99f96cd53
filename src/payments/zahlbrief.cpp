#include "zahlbrief.h"

#include "db.h"
#include "interaktion.h"
#include "smtp.h"
#include "textutil.h"
#include "wfortschritt.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPainter>
#include <QPrinter>

namespace {

const QString kTitel = QStringLiteral("Zahlungen - Briefe");

// A font size that is not set still prints readable text.
constexpr int kPunktVorgabe = 10;

int parameterZahl(const QString &key)
{
    return Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key=?"), {key}).toString().trimmed().toInt();
}

// Millimetres to printer dots, in whole numbers as the layout parameters are meant.
int punkte(int mm, int dpi)
{
    return int(qint64(mm) * 10 * dpi / 254);
}

QFont helvetica(int pt, bool fett = false)
{
    QFont schrift(QStringLiteral("Helvetica"), pt > 0 ? pt : kPunktVorgabe);
    schrift.setBold(fett);
    return schrift;
}

} // namespace

ZahlungBrief::ZahlungBrief(QWidget *parent)
    : ZahlungDurchlauf(QLatin1Char('B'), kTitel, QStringLiteral("&Bereits erstellte Briefe neu drucken"),
                       QStringLiteral("Achtung: Wenn diese Option aktiviert ist, ist es nicht ausgeschlossen, "
                                      "dass Briefe doppelt gedruckt werden!"),
                       parent)
{
}

ZahlungBrief::Seite ZahlungBrief::pSeite(const QPrinter &printer)
{
    const int x = printer.logicalDpiX();
    const int y = printer.logicalDpiY();
    Seite s;
    s.adrL = punkte(parameterZahl(QStringLiteral("Mail/AdrL")), x);
    s.adrT = punkte(parameterZahl(QStringLiteral("Mail/AdrT")), y);
    s.adrPt = parameterZahl(QStringLiteral("Mail/AdrPt"));
    s.l = punkte(parameterZahl(QStringLiteral("Mail/L")), x);
    s.r = punkte(parameterZahl(QStringLiteral("Mail/R")), x);
    s.t = punkte(parameterZahl(QStringLiteral("Mail/T")), y);
    s.b = punkte(parameterZahl(QStringLiteral("Mail/B")), y);
    s.pt = parameterZahl(QStringLiteral("Mail/Pt"));
    return s;
}

void ZahlungBrief::pLauf()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(QPageSize(QPageSize::A4)); // what window envelopes are made for
    if (!Interaktion::druckDialog(printer, this))
        return;
    printer.setFullPage(true);

    pStart();
    m_seiten = 0;
    m_ohneText.clear();
    pDrucken(printer);
    pSetLauf(false);

    if (m_abbrechen) {
        Interaktion::information(this, QStringLiteral("Zahlungen Brief"), QStringLiteral("Der Lauf wurde abgebrochen"));
    } else {
        pStatusSetzen();
        Interaktion::information(this, QStringLiteral("Zahlungen Briefe"),
                                 QString::number(m_seiten) + QStringLiteral(" Seiten wurden gedruckt"));
    }
    if (!m_ohneText.isEmpty()) {
        QStringList mids;
        for (int mid : std::as_const(m_ohneText))
            mids.append(QString::number(mid));
        Interaktion::warnung(this, kTitel,
                             QStringLiteral("Ohne Textbaustein oder Adresse, nicht gedruckt: MID ")
                                 + mids.join(QStringLiteral(", ")));
    }
    accept();
}

// One page per due row, until the rows end or a stop is requested.
void ZahlungBrief::pDrucken(QPrinter &printer)
{
    const Seite seite = pSeite(printer);
    const int jahr = QDate::currentDate().year();
    QPainter painter;
    const QList<Zeile> zeilen = pZeilen();
    m_balken->start(zeilen.size());
    int nr = 0;
    for (const Zeile &z : zeilen) {
        ++nr;
        if (m_abbrechen)
            break;
        if (!pFaellig(z))
            continue;

        // No blank page for a letter without text or address: it stays due.
        const std::optional<Vorlagentext> text =
            Smtp::fuellen(z.baustein, QStringLiteral("M"), UtilMidKey(z.mid), z.mid, jahr, z.cent);
        if (!text) {
            m_ohneText.append(z.mid);
            if (!z.done)
                m_marke[z.art] = 2;
            continue;
        }
        if (m_seiten == 0 ? !painter.begin(&printer) : !printer.newPage()) {
            m_abbrechen = true; // the printer refused: what is printed stays done
            break;
        }
        ++m_seiten;
        m_balken->schritt(nr, QString::number(z.mid));
        pBrief(painter, printer, seite, *text);
        Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET done='J' WHERE mid=?"), {QString::number(z.mid)});
        // Lets "Abbruch" through between two letters.
        QApplication::processEvents();
    }
    if (painter.isActive())
        painter.end();
}

void ZahlungBrief::pBrief(QPainter &painter, const QPrinter &printer, const Seite &seite, const Vorlagentext &text)
{
    painter.setFont(helvetica(seite.adrPt));
    const int h = painter.fontMetrics().lineSpacing();
    const int y = seite.adrT + h;
    const QString name = text.name2.isEmpty() ? text.name1 : text.name2 + QLatin1Char(' ') + text.name1;
    painter.drawText(seite.adrL, y, name);
    painter.drawText(seite.adrL, y + h * 3 / 2, text.strasse);
    painter.drawText(seite.adrL, y + 3 * h, text.plz + QLatin1Char(' ') + text.ort);

    painter.setFont(helvetica(seite.pt, true));
    const int h2 = painter.fontMetrics().lineSpacing();
    painter.drawText(seite.l, seite.t + h2, text.subject);

    // Clipped at the bottom margin: a letter never takes a second page.
    const QRect blatt = printer.pageLayout().fullRectPixels(printer.resolution());
    const QRect rumpf(QPoint(seite.l, seite.t + 3 * h2), QPoint(blatt.width() - seite.r, blatt.height() - seite.b));
    painter.setFont(helvetica(seite.pt));
    painter.drawText(rumpf, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text.body);
}
