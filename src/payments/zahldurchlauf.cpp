#include "zahldurchlauf.h"

#include "db.h"
#include "interaktion.h"
#include "textutil.h"
#include "wfortschritt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace {

// The kinds, in the order of their boxes and of their slots in 'Status/Zahlungen':
// kind k has its mail at position 1 + 2k and its letter at 2 + 2k.
const char kCodes[ZahlungDurchlauf::kArten + 1] = "RrLlG123";
const char *const kTexte[ZahlungDurchlauf::kArten] = {"&Vorkasse",
                                                      "Vorkasse &Neumitglieder",
                                                      "&Lastschrifthinweis",
                                                      "Lastschrifthinweis N&eumitglieder",
                                                      "&Geplatzte Lastschrift",
                                                      "&1. Mahnung",
                                                      "&2. Mahnung",
                                                      "&3. Mahnung"};

int artIndex(const QString &code)
{
    for (int k = 0; k < ZahlungDurchlauf::kArten; ++k) {
        if (code == QString(QLatin1Char(kCodes[k])))
            return k;
    }
    return -1;
}

} // namespace

ZahlungDurchlauf::ZahlungDurchlauf(QChar form, const QString &titel, const QString &neuText, const QString &warnung,
                                   QWidget *parent)
    : QDialog(parent), m_fortschritt(new QLabel(this)), m_balken(new WFortschritt(m_fortschritt, this)), m_form(form), m_warnung(warnung),
      m_neuKasten(new QCheckBox(neuText, this)), m_ok(UtilKnopf(QStringLiteral("&OK"), this)),
      m_abbruch(UtilKnopf(QStringLiteral("&Abbruch"), this))
{
    setWindowTitle(titel);
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
    knoepfe->addWidget(m_balken);
    knoepfe->addStretch();
    layout->addLayout(knoepfe);

    connect(m_neuKasten, &QCheckBox::stateChanged, this, &ZahlungDurchlauf::pDupWarn);
    connect(m_ok, &QPushButton::clicked, this, [this] { pLauf(); });
    connect(m_abbruch, &QPushButton::clicked, this, &ZahlungDurchlauf::reject);
}

void ZahlungDurchlauf::pDupWarn(int state)
{
    if (state == Qt::Checked)
        Interaktion::warnung(this, windowTitle(), m_warnung);
}

void ZahlungDurchlauf::pFelder()
{
    for (int k = 0; k < kArten; ++k)
        m_an[k] = m_artKasten[k]->isChecked();
    m_neu = m_neuKasten->isChecked();
}

void ZahlungDurchlauf::pSetLauf(bool laeuft)
{
    m_laeuft = laeuft;
    for (QCheckBox *kasten : m_artKasten)
        kasten->setEnabled(!laeuft);
    m_ok->setEnabled(!laeuft);
    if (!laeuft)
        m_balken->ende();
}

void ZahlungDurchlauf::pStart()
{
    pFelder();
    pSetLauf(true);
    m_abbrechen = false;
    std::fill(std::begin(m_marke), std::end(m_marke), 0);
}

void ZahlungDurchlauf::reject()
{
    if (m_laeuft)
        m_abbrechen = true;
    else
        QDialog::reject();
}

void ZahlungDurchlauf::closeEvent(QCloseEvent *event)
{
    if (m_laeuft) {
        m_abbrechen = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QList<ZahlungDurchlauf::Zeile> ZahlungDurchlauf::pZeilen() const
{
    const bool mail = m_form == QLatin1Char('M');
    QList<Zeile> zeilen;
    QSqlQuery q = Db::abfrage(mail ? QStringLiteral("SELECT mid,art,bausteinm,cent,done,sperren FROM zahllauf "
                                                    "WHERE form='M' ORDER BY mid")
                                   : QStringLiteral("SELECT mid,art,bausteinb,cent,done,sperren FROM zahllauf "
                                                    "WHERE form='B' ORDER BY mid"));
    while (q.next()) {
        zeilen.append({q.value(0).toInt(), artIndex(q.value(1).toString()), q.value(2).toString(),
                       q.value(3).toLongLong(), q.value(4).toString() == QLatin1String("J"),
                       q.value(5).toString() == QLatin1String("J")});
    }
    return zeilen;
}

bool ZahlungDurchlauf::pFaellig(const Zeile &z)
{
    if (z.art < 0)
        return false;
    if (m_marke[z.art] == 0)
        m_marke[z.art] = 1;
    return !z.gesperrt && (!z.done || m_neu) && m_an[z.art];
}

// A kind counts once it has rows in this form, also when its box was off.
void ZahlungDurchlauf::pStatusSetzen() const
{
    QString status =
        Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Status/Zahlungen'")).toString();
    const int erste = m_form == QLatin1Char('M') ? 1 : 2;
    for (int k = 0; k < kArten; ++k) {
        const int pos = erste + 2 * k;
        if (m_marke[k] == 1 && pos < status.size())
            status[pos] = QLatin1Char('D');
    }
    Db::ausfuehren(QStringLiteral("UPDATE parameter SET wert=? WHERE key='Status/Zahlungen'"), {status});
}
