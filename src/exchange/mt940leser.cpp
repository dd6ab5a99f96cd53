#include "mt940leser.h"

#include "iban.h"
#include "kontoauszug.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// One field ":tag:content", its continuation lines joined by line breaks.
struct Feld
{
    QString tag;
    QString inhalt;
    int zeile = 0;
};

QString text(const QByteArray &daten)
{
    // Banks write ISO 8859-1; a file that is valid UTF-8 is taken as such.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString s = utf8(daten);
    return utf8.hasError() ? QString::fromLatin1(daten) : s;
}

QList<Feld> felder(const QString &text)
{
    static const QRegularExpression beginn(QStringLiteral("^:(\\d\\d[A-Z]?):(.*)$"));
    QList<Feld> liste;
    const QStringList zeilen = text.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")));
    bool imFeld = false;
    for (int i = 0; i < zeilen.size(); ++i) {
        const QString &z = zeilen.at(i);
        const QRegularExpressionMatch m = beginn.match(z);
        if (m.hasMatch()) {
            liste.append({m.captured(1), m.captured(2), i + 1});
            imFeld = true;
        } else if (z.trimmed() == QLatin1String("-") || z.startsWith(QLatin1String("-}")) || z.startsWith(QLatin1Char('{'))) {
            imFeld = false; // end of a message, or the envelope of a transmission
        } else if (imFeld) {
            liste.last().inhalt += QLatin1Char('\n') + z;
        }
    }
    return liste;
}

QDate datum6(const QString &jjmmtt)
{
    const int jj = jjmmtt.left(2).toInt();
    return QDate(jj < 80 ? 2000 + jj : 1900 + jj, jjmmtt.mid(2, 2).toInt(), jjmmtt.mid(4, 2).toInt());
}

// ":60F:C240301EUR1234,56" and the like: the sign, the date and the amount.
bool saldo(const Feld &f, qint64 *cent, QDate *tag, QString *fehler)
{
    static const QRegularExpression muster(QStringLiteral("^([CD])(\\d{6})([A-Z]{3})(\\d{1,15},\\d{0,2})$"));
    const QRegularExpressionMatch m = muster.match(f.inhalt.trimmed());
    if (!m.hasMatch() || !datum6(m.captured(2)).isValid() || !UtilAuszugCent(m.captured(4), cent)) {
        *fehler = QStringLiteral("MT940, Zeile %1: der Saldo „:%2:%3“ ist nicht lesbar.")
                      .arg(QString::number(f.zeile), f.tag, f.inhalt.trimmed());
        return false;
    }
    if (m.captured(1) == QLatin1String("D"))
        *cent = -*cent;
    *tag = datum6(m.captured(2));
    return true;
}

// ":61:" value date, entry date, debit or credit mark (R for a reversal), the
// third letter of the currency, amount, kind of transaction, references and
// on its second line supplementary details such as "/CHGS/EUR3,00/".
bool umsatz(const Feld &f, AuszugZeile *z, QString *fehler)
{
    static const QRegularExpression muster(QStringLiteral(
        "^(\\d{6})(\\d{4})?(RC|RD|C|D)([A-Z])?(\\d{1,15},\\d{0,2})([NSF][A-Z0-9]{3})([^\\n]*)(?:\\n(.*))?$"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = muster.match(f.inhalt);
    const QDate valuta = m.hasMatch() ? datum6(m.captured(1)) : QDate();
    if (!valuta.isValid() || !UtilAuszugCent(m.captured(5), &z->cent)) {
        *fehler = QStringLiteral("MT940, Zeile %1: der Umsatz „:61:%2“ ist nicht lesbar.")
                      .arg(QString::number(f.zeile), f.inhalt.section(QLatin1Char('\n'), 0, 0));
        return false;
    }
    const QString marke = m.captured(3);
    // A reversed credit takes money away, a reversed debit brings it back.
    if (marke == QLatin1String("D") || marke == QLatin1String("RC"))
        z->cent = -z->cent;
    z->valuta = valuta;
    z->datum = valuta;
    if (!m.captured(2).isEmpty()) {
        // The entry date has no year: the one nearest to the value date.
        QDate d(valuta.year(), m.captured(2).left(2).toInt(), m.captured(2).mid(2).toInt());
        if (d.isValid() && d.daysTo(valuta) > 180)
            d = d.addYears(1);
        else if (d.isValid() && valuta.daysTo(d) > 180)
            d = d.addYears(-1);
        if (d.isValid())
            z->datum = d;
    }
    z->rueckgabe = m.captured(6).mid(1) == QLatin1String("RTI") || marke.startsWith(QLatin1Char('R'));
    const QString refs = m.captured(7);
    const int trenner = refs.indexOf(QLatin1String("//"));
    z->referenz = trenner < 0 ? QString() : refs.mid(trenner + 2).trimmed();
    static const QRegularExpression gebuehr(QStringLiteral("/CHGS/[A-Z]{3}(\\d{1,15},\\d{0,2})"));
    const QRegularExpressionMatch g = gebuehr.match(m.captured(8));
    if (g.hasMatch())
        UtilAuszugCent(g.captured(1), &z->gebuehr);
    return true;
}

// A SEPA purpose carries tagged parts ("EREF+...", "SVWZ+..."): the reference
// of the payer and the purpose proper.
QString sepaTeil(const QString &zweck, const QString &tag)
{
    static const QRegularExpression tags(
        QStringLiteral("(EREF|KREF|MREF|CRED|DEBT|COAM|OAMT|SVWZ|ABWA|ABWE|IBAN|BIC|RTRN)\\+"));
    const int beginn = zweck.indexOf(tag + QLatin1Char('+'));
    if (beginn < 0)
        return QString();
    const int von = beginn + tag.size() + 1;
    const QRegularExpressionMatch naechster = tags.match(zweck, von);
    return zweck.mid(von, naechster.hasMatch() ? naechster.capturedStart() - von : -1).trimmed();
}

// ":86:" in the structured form "166?00GUTSCHRIFT?20...?32NAME", or plain text.
void details(const QString &inhalt, AuszugZeile *z)
{
    static const QRegularExpression strukturiert(QStringLiteral("^(\\d{3})\\?"));
    const QString flach = QString(inhalt).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    const QRegularExpressionMatch s = strukturiert.match(flach);
    if (!s.hasMatch()) {
        z->zweck = QString(inhalt).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
        return;
    }
    // Rücklastschrift, Lastschrift-Rückgabe, Rücküberweisung.
    const int gvc = s.captured(1).toInt();
    if (gvc == 108 || gvc == 109 || gvc == 159)
        z->rueckgabe = true;
    QString zweck;
    QString name;
    QString ergaenzung;
    static const QRegularExpression teil(QStringLiteral("\\?(\\d\\d)([^?]*)"));
    for (auto it = teil.globalMatch(flach); it.hasNext();) {
        const QRegularExpressionMatch t = it.next();
        const int nr = t.captured(1).toInt();
        if ((nr >= 20 && nr <= 29) || (nr >= 60 && nr <= 63))
            zweck += t.captured(2);
        else if (nr == 30)
            z->bic = t.captured(2).trimmed();
        else if (nr == 31)
            z->iban = Iban::normal(t.captured(2));
        else if (nr == 32 || nr == 33)
            name += t.captured(2);
        else if (nr == 34)
            ergaenzung = t.captured(2).trimmed();
    }
    z->name = name.simplified();
    z->endToEnd = sepaTeil(zweck, QStringLiteral("EREF"));
    const QString svwz = sepaTeil(zweck, QStringLiteral("SVWZ"));
    z->zweck = (svwz.isEmpty() ? zweck : svwz).simplified();
    if (!z->rueckgabe)
        return;
    static const QRegularExpression grund(QStringLiteral("^[A-Z]{2}\\d{2}$|^[A-Z]{4}$"));
    const QString rtrn = sepaTeil(zweck, QStringLiteral("RTRN")).left(4);
    z->grund = grund.match(ergaenzung).hasMatch() ? ergaenzung : rtrn;
}

} // namespace

bool Mt940Leser::istMt940(const QByteArray &daten)
{
    static const QRegularExpression beginn(QStringLiteral("(^|\\n):20:"));
    static const QRegularExpression konto(QStringLiteral("(^|\\n):25:"));
    const QString t = QString::fromLatin1(daten.left(4096));
    return beginn.match(t).hasMatch() && konto.match(t).hasMatch();
}

bool Mt940Leser::lesen(const QByteArray &daten, Kontoauszug *auszug, QString *fehler)
{
    auszug->format = QStringLiteral("MT940");
    bool anfang = false;
    bool ende = false;
    AuszugZeile *letzte = nullptr;
    for (const Feld &f : felder(text(daten))) {
        if (f.tag == QLatin1String("20")) {
            if (auszug->kennung.isEmpty())
                auszug->kennung = f.inhalt.trimmed();
            ende = false;
        } else if (f.tag == QLatin1String("25")) {
            const QString konto = Iban::normal(f.inhalt);
            if (!auszug->konto.isEmpty() && konto != auszug->konto) {
                *fehler = QStringLiteral("Die Datei enthält Auszüge mehrerer Konten (%1 und %2).")
                              .arg(auszug->konto, konto);
                return false;
            }
            auszug->konto = konto;
        } else if (f.tag.startsWith(QLatin1String("60"))) {
            qint64 cent = 0;
            QDate tag;
            if (!saldo(f, &cent, &tag, fehler))
                return false;
            // Several statements of one account: the first opens.
            if (!anfang) {
                auszug->anfangssaldo = cent;
                auszug->anfangsdatum = tag;
                anfang = true;
            }
        } else if (f.tag == QLatin1String("61")) {
            AuszugZeile z;
            if (!umsatz(f, &z, fehler))
                return false;
            auszug->zeilen.append(z);
            letzte = &auszug->zeilen.last();
        } else if (f.tag == QLatin1String("86") && letzte) {
            details(f.inhalt, letzte);
            letzte = nullptr;
        } else if (f.tag.startsWith(QLatin1String("62"))) {
            if (!saldo(f, &auszug->endsaldo, &auszug->enddatum, fehler))
                return false;
            ende = true;
            letzte = nullptr;
        }
    }
    if (!anfang || !ende) {
        *fehler = QStringLiteral("MT940: der Auszug ist unvollständig, ihm fehlt der %1 (:%2:).")
                      .arg(anfang ? QStringLiteral("Schlusssaldo") : QStringLiteral("Anfangssaldo"),
                           anfang ? QStringLiteral("62F") : QStringLiteral("60F"));
        return false;
    }
    auszug->mitSalden = true;
    return true;
}
