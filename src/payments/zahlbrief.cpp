#include "zahlbrief.h"

#include "db.h"
#include "interaktion.h"
#include "smtp.h"
#include "textutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace {

// The kinds with letters, in the order of their boxes and of their letter slots in
// 'Status/Zahlungen' (kind k at position 2 + 2k).
const char kCodes[ZahlungBrief::kArten + 1] = "RrLlG123";
const char *const kTexte[ZahlungBrief::kArten] = {"&Vorkasse",
                                                  "Vorkasse &Neumitglieder",
                                                  "&Lastschrifthinweis",
                                                  "Lastschrifthinweis N&eumitglieder",
                                                  "&Geplatzte Lastschrift",
                                                  "&1. Mahnung",
                                                  "&2. Mahnung",
                                                  "&3. Mahnung"};

const QString kTitel = QStringLiteral("Zahlungen - Briefe");

// A font size that is not set still prints readable text.
constexpr int kPunktVorgabe = 10;

int artIndex(const QString &code)
{
    for (int k = 0; k < ZahlungBrief::kArten; ++k) {
        if (code == QString(QLatin1Char(kCodes[k])))
            return k;
    }
    return -1;
}

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
    : QDialog(parent), m_neuKasten(new QCheckBox(QStringLiteral("&Bereits erstellte Briefe neu drucken"), this)),
      m_ok(UtilKnopf(QStringLiteral("&OK"), this)), m_abbruch(UtilKnopf(QStringLiteral("&Abbruch"), this)),
      m_fortschritt(new QLabel(this))
{
    setWindowTitle(kTitel);
    auto *layout = new QVBoxLayout(this);
    for (int k = 0; k < kArten; ++k) {
        m_artKasten[k] = new QCheckBox(QString::fromUtf8(kTexte[k]), this);
        m_artKasten[k]->setChecked(true);
        layout->addWidget(m_artKasten[k]);
    }
    layout->addWidget(m_neuKasten);

    auto *knoepfe = new QHBoxLayout;
    m_fortschritt->setMinimumWidth(150);
    knoepfe->addWidget(m_ok);
    knoepfe->addWidget(m_abbruch);
    knoepfe->addWidget(m_fortschritt);
    knoepfe->addStretch();
    layout->addLayout(knoepfe);

    connect(m_neuKasten, &QCheckBox::stateChanged, this, &ZahlungBrief::pDupWarn);
    connect(m_ok, &QPushButton::clicked, this, &ZahlungBrief::pLauf);
    connect(m_abbruch, &QPushButton::clicked, this, &ZahlungBrief::reject);
}

void ZahlungBrief::pDupWarn(int state)
{
    if (state == Qt::Checked)
        Interaktion::warnung(this, kTitel,
                             QStringLiteral("Achtung: Wenn diese Option aktiviert ist, ist es nicht ausgeschlossen, "
                                            "dass Briefe doppelt gedruckt werden!"));
}

void ZahlungBrief::pFelder()
{
    for (int k = 0; k < kArten; ++k)
        m_an[k] = m_artKasten[k]->isChecked();
    m_neu = m_neuKasten->isChecked();
}

void ZahlungBrief::pSetLauf(bool laeuft)
{
    m_laeuft = laeuft;
    for (QCheckBox *kasten : m_artKasten)
        kasten->setEnabled(!laeuft);
    m_ok->setEnabled(!laeuft);
}

void ZahlungBrief::reject()
{
    if (m_laeuft)
        m_abbrechen = true;
    else
        QDialog::reject();
}

void ZahlungBrief::closeEvent(QCloseEvent *event)
{
    if (m_laeuft) {
        m_abbrechen = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// All letter rows read before the first page, so that each "done" commits at once.
QList<ZahlungBrief::Zeile> ZahlungBrief::pZeilen()
{
    QList<Zeile> zeilen;
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT mid,art,bausteinb,cent,done,sperren FROM zahllauf WHERE form='B' ORDER BY mid"));
    while (q.next()) {
        zeilen.append({q.value(0).toInt(), artIndex(q.value(1).toString()), q.value(2).toString(),
                       q.value(3).toLongLong(), q.value(4).toString() == QLatin1String("J"),
                       q.value(5).toString() == QLatin1String("J")});
    }
    return zeilen;
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
    if (m_laeuft)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(QPageSize(QPageSize::A4)); // what window envelopes are made for
    if (!Interaktion::druckDialog(printer, this))
        return;
    printer.setFullPage(true);

    pFelder();
    pSetLauf(true);
    m_abbrechen = false;
    m_seiten = 0;
    m_ohneText.clear();
    std::fill(std::begin(m_marke), std::end(m_marke), 0);
    pDrucken(printer);
    m_fortschritt->clear();
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
    for (const Zeile &z : zeilen) {
        if (m_abbrechen)
            break;
        if (z.art < 0) // a direct debit: goes to the DTAUS file, never as a letter
            continue;
        if (m_marke[z.art] == 0)
            m_marke[z.art] = 1;
        if (z.gesperrt || (z.done && !m_neu) || !m_an[z.art])
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
        m_fortschritt->setText(QString::number(z.mid));
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

// A kind is done after a pass that was not cancelled once it has letter rows; its box may have been off.
void ZahlungBrief::pStatusSetzen() const
{
    QString status =
        Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Status/Zahlungen'")).toString();
    for (int k = 0; k < kArten; ++k) {
        const int pos = 2 + 2 * k;
        if (m_marke[k] == 1 && pos < status.size())
            status[pos] = QLatin1Char('D');
    }
    Db::ausfuehren(QStringLiteral("UPDATE parameter SET wert=? WHERE key='Status/Zahlungen'"), {status});
}
