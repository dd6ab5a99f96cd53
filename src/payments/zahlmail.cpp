#include "zahlmail.h"

#include "db.h"
#include "interaktion.h"
#include "smtp.h"
#include "textutil.h"
#include "wfortschritt.h"

#include <QDate>
#include <QElapsedTimer>
#include <QLabel>

#include <optional>

namespace {

const QString kTitel = QStringLiteral("Zahlungen - Emails");
const QString kMeldungTitel = QStringLiteral("Zahlungen Email");

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
    : ZahlungDurchlauf(QLatin1Char('M'), kTitel, QStringLiteral("&Bereits erstellte Mails neu erstellen"),
                       QStringLiteral("Achtung: Wenn diese Option aktiviert ist, ist es nicht ausgeschlossen, "
                                      "dass Emails doppelt versendet werden!"),
                       parent)
{
}

void ZahlungMail::pLauf()
{
    if (laeuft())
        return;
    if (Db::nurLesen()) {
        Interaktion::kritisch(this, kMeldungTitel,
                              QStringLiteral("Die Datenbank ist schreibgeschützt: gesendete Emails könnten nicht "
                                             "vermerkt werden."));
        return;
    }
    Smtp smtp;
    pStart();
    m_vermerkt = true;
    m_fehler = 0;
    pSenden(smtp);
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
        if (!pFaellig(z))
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
