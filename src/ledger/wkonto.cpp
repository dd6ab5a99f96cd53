#include "wkonto.h"

#include "db.h"
#include "gliederungswahl.h"
#include "kplsuche.h"
#include "lssuche.h"
#include "midsuche.h"
#include "textutil.h"
#include "utilkonto.h"

#include <QFocusEvent>
#include <QLabel>

namespace {
// The unit chooser offers the levels down to the Ortsverband.
constexpr int GliederungsEbene = 4;
} // namespace

WKonto::WKonto(QLabel *label, bool anlegen, QWidget *parent) : QLineEdit(parent), m_label(label), m_anlegen(anlegen)
{
    setFixedSize(150, 25);
    setWhatsThis(QStringLiteral(
        "Hier wird ein Buchungskonto eingegeben. Dabei gibt es folgende Suchmöglichkeiten:\n"
        "MName: Suche nach einem Mitglied mit dem Nachnamen 'Name'\n"
        "Mnnnnn: Suche nach einem mitglied mit der Postleitzahl nnnnn\n"
        "LName : Such nach einem Lieferanten mit diesem Namen\n"
        "GName : Suche nach einer Gliederung mit diesem Namen\n"
        "KText : Suche im Kontanplan nach diesem Text"));
    connect(this, &QLineEdit::textChanged, this, &WKonto::pChanged);
    connect(this, &QLineEdit::returnPressed, this, &WKonto::pEnter);
}

QString WKonto::text() const
{
    const QString s = UtilSauberGross(QLineEdit::text());
    return s.size() >= 2 && s.at(0).isDigit() && s.at(1).isDigit() ? s : QStringLiteral("");
}

QString WKonto::buchungsKonto()
{
    const QString konto = text();
    if (konto.isEmpty())
        return konto;
    const int stand = Db::fehlerStand();
    const QString kanonisch = UtilKtoKanon(konto);
    // A lookup that failed says nothing about the account; the caller reports the database.
    if (kanonisch.isEmpty() && m_label && Db::fehlerStand() == stand)
        m_label->setText(QStringLiteral("unbekanntes Konto"));
    return kanonisch;
}

void WKonto::setLabel(QLabel *label)
{
    m_label = label;
}

void WKonto::pChanged()
{
    // Without an open database (start-up, tests of other widgets) there is nothing to resolve.
    if (!m_label || !Db::istOffen())
        return;
    const QString konto = text();
    m_label->setText(konto.isEmpty() ? QString() : UtilKtoText(konto));
}

QString WKonto::suchEingabe() const
{
    return UtilSauberGross(QLineEdit::text());
}

bool WKonto::istSuche(const QString &s)
{
    return s.startsWith(QLatin1Char('M')) || s.startsWith(QLatin1Char('L')) || s.startsWith(QLatin1Char('G'))
           || s.startsWith(QLatin1Char('K')) || s.endsWith(QLatin1Char('?'));
}

void WKonto::pEnter()
{
    const QString s = suchEingabe();
    m_gewaehlt = false;
    const bool frage = s.endsWith(QLatin1Char('?'));
    QString konto;

    if (s.startsWith(QLatin1Char('M')) && !frage) {
        const QString mid = suchen(QLatin1Char('M'), s);
        if (!mid.isEmpty())
            konto = UtilMIDKonto(mid.toInt());
    } else if (s.startsWith(QLatin1Char('L')) && !frage) {
        const QString name = suchen(QLatin1Char('L'), s.mid(1) + QLatin1Char('?'));
        if (!name.isEmpty())
            konto = UtilLsKonto(name);
    } else if (s.startsWith(QLatin1Char('G')) && !frage) {
        const QString namekurz = suchen(QLatin1Char('G'), s.mid(1));
        if (!namekurz.isEmpty()) {
            const QVariant bukto =
                Db::wert(QStringLiteral("SELECT bukto FROM verband WHERE namekurz=?"), {namekurz});
            if (bukto.isValid())
                konto = UtilGlKonto(bukto.toString());
        }
    } else if (s.startsWith(QLatin1Char('K')) || frage) {
        // A trailing "?" searches the chart with everything before it, a leading letter included.
        konto = suchen(QLatin1Char('K'), frage ? s.chopped(1) : s.mid(1));
    }

    if (konto.isEmpty())
        return;
    setText(konto);
    m_gewaehlt = true;
}

QString WKonto::suchen(QChar art, const QString &suchtext)
{
    switch (art.unicode()) {
    case 'M': {
        MIDSuche suche(m_anlegen, this);
        return suche.exec(suchtext) == QDialog::Accepted ? QString::number(suche.auswahl()) : QString();
    }
    case 'L': {
        LsSuche suche(m_anlegen, this);
        return suche.exec(suchtext) == QDialog::Accepted ? suche.auswahl() : QString();
    }
    case 'G': {
        GliederungsWahl wahl(GliederungsEbene, this);
        return wahl.exec() == QDialog::Accepted ? wahl.text() : QString();
    }
    case 'K': {
        KplSuche suche(m_anlegen, this);
        return suche.exec(suchtext) == QDialog::Accepted ? suche.auswahl() : QString();
    }
    default:
        return QString();
    }
}

void WKonto::focusOutEvent(QFocusEvent *event)
{
    const bool perTab = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    // A field being disabled or hidden loses its focus "by Tab" too; only the user tabs out.
    if (perTab && isEnabled() && isVisible() && istSuche(suchEingabe())) {
        pEnter();
        if (!m_gewaehlt) {
            // An unresolved search text must not be tabbed past.
            event->accept();
            setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    QLineEdit::focusOutEvent(event);
}
