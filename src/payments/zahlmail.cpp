#include "zahlmail.h"

#include "db.h"
#include "interaktion.h"
#include "smtp.h"
#include "textutil.h"
#include "wfortschritt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

#include <optional>

namespace {

// The kinds with mails, in the order of their boxes and of their mail slots in
// 'Status/Zahlungen' (kind k at position 1 + 2k).
const char kCodes[ZahlungMail::kArten + 1] = "RrLlG123";
const char *const kTexte[ZahlungMail::kArten] = {"&Vorkasse",
                                                 "Vorkasse &Neumitglieder",
                                                 "&Lastschrifthinweis",
                                                 "Lastschrifthinweis N&eumitglieder",
                                                 "&Geplatzte Lastschrift",
                                                 "&1. Mahnung",
                                                 "&2. Mahnung",
                                                 "&3. Mahnung"};

const QString kTitel = QStringLiteral("Zahlungen - Emails");
const QString kMeldungTitel = QStringLiteral("Zahlungen Email");

int artIndex(const QString &code)
{
    for (int k = 0; k < ZahlungMail::kArten; ++k) {
        if (code == QString(QLatin1Char(kCodes[k])))
            return k;
    }
    return -1;
}

// The done marks of a pass. A mark is committed at once unless committing takes
// longer than mailing (a busy disk): then the marks of the mails that went out
// while the last commit took are committed together. A crash can thus send again
// only the few mails of one commit's time, and the pass keeps the server's pace.
class Erledigt
{
public:
    Erledigt() { m_seitCommit.start(); }
    Erledigt(const Erledigt &) = delete;
    Erledigt &operator=(const Erledigt &) = delete;

    // False when the mark, or the commit of the marks, failed.
    bool markieren(int mid)
    {
        if (!m_offen)
            m_offen.emplace();
        Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET done='J' WHERE mid=?"), {QString::number(mid)});
        return festschreibenWennFaellig();
    }

    // Also before every mail, so that no mark waits for the next accepted one.
    bool festschreibenWennFaellig() { return m_seitCommit.elapsed() < m_commitMs || festschreiben(); }

    bool festschreiben()
    {
        if (!m_offen)
            return true;
        QElapsedTimer uhr;
        uhr.start();
        const bool ok = m_offen->commit();
        m_offen.reset();
        m_commitMs = uhr.elapsed();
        m_seitCommit.start();
        return ok;
    }

private:
    QElapsedTimer m_seitCommit;
    qint64 m_commitMs = 0;
    std::optional<Db::Transaktion> m_offen;
};

} // namespace

ZahlungMail::ZahlungMail(QWidget *parent)
    : QDialog(parent), m_neuKasten(new QCheckBox(QStringLiteral("&Bereits erstellte Mails neu erstellen"), this)),
      m_ok(UtilKnopf(QStringLiteral("&OK"), this)), m_abbruch(UtilKnopf(QStringLiteral("&Abbruch"), this)),
      m_fortschritt(new QLabel(this)), m_balken(new WFortschritt(m_fortschritt, this))
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
    knoepfe->addWidget(m_balken);
    knoepfe->addStretch();
    layout->addLayout(knoepfe);

    connect(m_neuKasten, &QCheckBox::stateChanged, this, &ZahlungMail::pDupWarn);
    connect(m_ok, &QPushButton::clicked, this, &ZahlungMail::pLauf);
    connect(m_abbruch, &QPushButton::clicked, this, &ZahlungMail::reject);
}

void ZahlungMail::pDupWarn(int state)
{
    if (state == Qt::Checked)
        Interaktion::warnung(this, kTitel,
                             QStringLiteral("Achtung: Wenn diese Option aktiviert ist, ist es nicht ausgeschlossen, "
                                            "dass Emails doppelt versendet werden!"));
}

void ZahlungMail::pFelder()
{
    for (int k = 0; k < kArten; ++k)
        m_an[k] = m_artKasten[k]->isChecked();
    m_neu = m_neuKasten->isChecked();
}

void ZahlungMail::pSetLauf(bool laeuft)
{
    m_laeuft = laeuft;
    for (QCheckBox *kasten : m_artKasten)
        kasten->setEnabled(!laeuft);
    m_ok->setEnabled(!laeuft);
}

void ZahlungMail::reject()
{
    if (m_laeuft)
        m_abbrechen = true;
    else
        QDialog::reject();
}

void ZahlungMail::closeEvent(QCloseEvent *event)
{
    if (m_laeuft) {
        m_abbrechen = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// All mail rows read before the first mail: an open read would hold back the
// commit of every "done" until the pass ends.
QList<ZahlungMail::Zeile> ZahlungMail::pZeilen()
{
    QList<Zeile> zeilen;
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT mid,art,bausteinm,cent,done,sperren FROM zahllauf WHERE form='M' ORDER BY mid"));
    while (q.next()) {
        zeilen.append({q.value(0).toInt(), artIndex(q.value(1).toString()), q.value(2).toString(),
                       q.value(3).toLongLong(), q.value(4).toString() == QLatin1String("J"),
                       q.value(5).toString() == QLatin1String("J")});
    }
    return zeilen;
}

void ZahlungMail::pLauf()
{
    if (m_laeuft)
        return;
    if (Db::nurLesen()) {
        Interaktion::kritisch(this, kMeldungTitel,
                              QStringLiteral("Die Datenbank ist schreibgeschützt: gesendete Emails könnten nicht "
                                             "vermerkt werden."));
        return;
    }
    Smtp smtp;
    pFelder();
    pSetLauf(true);
    m_abbrechen = false;
    m_vermerkt = true;
    m_fehler = 0;
    std::fill(std::begin(m_marke), std::end(m_marke), 0);
    pSenden(smtp);
    m_balken->ende();
    pSetLauf(false);

    if (!m_vermerkt)
        Interaktion::kritisch(this, kMeldungTitel,
                              QStringLiteral("Der Lauf wurde angehalten: gesendete Emails konnten nicht vermerkt "
                                             "werden und gehen beim nächsten Lauf erneut hinaus.\n")
                                  + Db::fehlerText());
    else if (m_abbrechen)
        Interaktion::information(this, kMeldungTitel, QStringLiteral("Der Lauf wurde abgebrochen"));
    if (m_fehler > 0)
        Interaktion::information(this, kMeldungTitel,
                                 smtp.mitGrund(QString::number(m_fehler)
                                               + QStringLiteral("Emails konnten nicht gesendet wewrden")));
    if (m_vermerkt && !m_abbrechen && m_fehler == 0) {
        pStatusSetzen();
        Interaktion::information(this, kMeldungTitel, QStringLiteral("Fertig"));
    }
    accept();
}

// One mail per due row, until the rows end, a stop is requested or a sent mail
// cannot be marked (it would go out again with every pass).
void ZahlungMail::pSenden(Smtp &smtp)
{
    const int jahr = QDate::currentDate().year();
    const QList<Zeile> zeilen = pZeilen();
    Erledigt erledigt;
    m_balken->start(zeilen.size());
    int nr = 0;
    for (const Zeile &z : zeilen) {
        ++nr;
        if (m_abbrechen)
            break;
        if (z.art < 0) // a direct debit: goes to the DTAUS file, never by mail
            continue;
        if (m_marke[z.art] == 0)
            m_marke[z.art] = 1;
        if (z.gesperrt || (z.done && !m_neu) || !m_an[z.art])
            continue;

        // A member without mail address is a failure like a refused one, not a mail to nobody.
        if (smtp.setText(z.baustein, QStringLiteral("M"), UtilMidKey(z.mid), z.mid, jahr, z.cent)
            && !smtp.recipient().trimmed().isEmpty()) {
            m_balken->schritt(nr, QString::number(z.mid));
            m_vermerkt = erledigt.festschreibenWennFaellig();
            if (m_vermerkt && smtp.sendMail()) {
                m_vermerkt = erledigt.markieren(z.mid);
                continue;
            }
            if (!m_vermerkt)
                break;
        }
        ++m_fehler;
        if (!z.done)
            m_marke[z.art] = 2;
    }
    m_vermerkt = erledigt.festschreiben() && m_vermerkt;
}

// A kind is done once it has mail rows and none failed; its box may have been off.
void ZahlungMail::pStatusSetzen() const
{
    QString status =
        Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Status/Zahlungen'")).toString();
    for (int k = 0; k < kArten; ++k) {
        const int pos = 1 + 2 * k;
        if (m_marke[k] == 1 && pos < status.size())
            status[pos] = QLatin1Char('D');
    }
    Db::ausfuehren(QStringLiteral("UPDATE parameter SET wert=? WHERE key='Status/Zahlungen'"), {status});
}
