#include "sepadatei.h"

#include "db.h"
#include "dtausdatei.h"
#include "iban.h"
#include "textutil.h"

#include <QDateTime>
#include <QIODevice>
#include <QSqlQuery>
#include <QXmlStreamWriter>

namespace {

const QString kNamensraum = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.008.001.08");

// Lengths the standard allows.
constexpr int kNameLaenge = 70;
constexpr int kIdLaenge = 35;

// An amount as the file writes it: euros, a point, two digits of cents.
QString betrag(qint64 cent)
{
    return QString::number(cent / 100) + QLatin1Char('.') + QString::number(cent % 100).rightJustified(2, QLatin1Char('0'));
}

// One debit as read from the run, checked.
struct Zeile
{
    QString inhaber;
    QString iban;
    QString bic;
    QString mandat;
    QString mandatDatum;
    QString folge; // "FRST" or "RCUR"
    QString fehler; // empty for a correct debit
};

// Bank details and mandate of one debit; the first fault found is the row's error.
Zeile pruefen(const QSqlQuery &q, qint64 cent, const QDate &faellig)
{
    Zeile z;
    z.inhaber = SepaDatei::pText(q.value(5).toString(), kNameLaenge).trimmed();
    z.iban = Iban::normal(q.value(6).toString());
    z.bic = Iban::normal(q.value(7).toString());
    const QString referenz = q.value(8).toString().trimmed();
    z.mandat = referenz.isEmpty() ? q.value(0).toString() : referenz;
    const QString datum = q.value(9).toString().trimmed();
    const QDate unterschrieben = UtilDatum(datum.isEmpty() ? q.value(11).toString() : datum);
    z.mandatDatum = UtilDatumText(unterschrieben);
    z.folge = q.value(10).toString() == z.mandat ? QStringLiteral("RCUR") : QStringLiteral("FRST");

    if (q.value(4).isNull())
        z.fehler = QStringLiteral("Keine Bankverbindung eingetragen");
    else if (z.inhaber.size() < 2)
        z.fehler = QStringLiteral("Kontoinhaber fehlt");
    else if (z.iban.isEmpty())
        z.fehler = QStringLiteral("Keine IBAN eingetragen");
    else if (!Iban::gueltig(z.iban))
        z.fehler = Iban::fehler(z.iban);
    else if (!z.bic.isEmpty() && !Iban::bicFehler(z.bic).isEmpty())
        z.fehler = Iban::bicFehler(z.bic);
    else if (!Iban::mandatsreferenzFehler(z.mandat).isEmpty())
        z.fehler = Iban::mandatsreferenzFehler(z.mandat);
    else if (!unterschrieben.isValid() || unterschrieben.year() <= 1900)
        z.fehler = QStringLiteral("Mandat ohne Datum der Unterschrift");
    else if (unterschrieben > faellig)
        z.fehler = QStringLiteral("Mandat erst nach der Fälligkeit unterschrieben");
    else if (cent <= 0)
        z.fehler = QStringLiteral("Betrag fehlt");
    return z;
}

// The bank of an account: its BIC, or the note that the IBAN alone identifies it.
void bank(QXmlStreamWriter &xml, const QString &element, const QString &bic)
{
    xml.writeStartElement(element);
    xml.writeStartElement(QStringLiteral("FinInstnId"));
    if (bic.isEmpty()) {
        xml.writeStartElement(QStringLiteral("Othr"));
        xml.writeTextElement(QStringLiteral("Id"), QStringLiteral("NOTPROVIDED"));
        xml.writeEndElement();
    } else {
        xml.writeTextElement(QStringLiteral("BICFI"), bic);
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

void konto(QXmlStreamWriter &xml, const QString &element, const QString &iban)
{
    xml.writeStartElement(element);
    xml.writeStartElement(QStringLiteral("Id"));
    xml.writeTextElement(QStringLiteral("IBAN"), iban);
    xml.writeEndElement();
    xml.writeEndElement();
}

void name(QXmlStreamWriter &xml, const QString &element, const QString &text)
{
    xml.writeStartElement(element);
    xml.writeTextElement(QStringLiteral("Nm"), text);
    xml.writeEndElement();
}

} // namespace

SepaDatei::~SepaDatei() { Db::ausfuehren(QStringLiteral("DROP TABLE IF EXISTS zwisepa")); }

QString SepaDatei::pText(const QString &text, int laenge)
{
    static const QString erlaubt = QStringLiteral("/-?:().,'+ ");
    QString ergebnis;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case 0xC4: ergebnis += QLatin1String("Ae"); continue;
        case 0xD6: ergebnis += QLatin1String("Oe"); continue;
        case 0xDC: ergebnis += QLatin1String("Ue"); continue;
        case 0xE4: ergebnis += QLatin1String("ae"); continue;
        case 0xF6: ergebnis += QLatin1String("oe"); continue;
        case 0xFC: ergebnis += QLatin1String("ue"); continue;
        case 0xDF: ergebnis += QLatin1String("ss"); continue;
        case 0x1E9E: ergebnis += QLatin1String("SS"); continue;
        case '&': ergebnis += QLatin1Char('+'); continue;
        case '`': ergebnis += QLatin1Char('\''); continue; // the stored form of an apostrophe
        default: break;
        }
        // An accented letter loses its accent; what is then still unknown becomes a blank.
        const QChar basis = c.decompositionTag() == QChar::Canonical ? c.decomposition().at(0) : c;
        const ushort u = basis.unicode();
        const bool bekannt = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')
                             || erlaubt.contains(basis);
        ergebnis += bekannt ? basis : QLatin1Char(' ');
    }
    return ergebnis.simplified().left(laenge);
}

QString SepaDatei::inhaltSql()
{
    return QStringLiteral(
        "SELECT mid,inhaber,iban,bic,mandat,folge,cent,mandatdatum FROM zwisepa WHERE ff!='F' ORDER BY folge,mid");
}

QString SepaDatei::fehlerSql()
{
    return QStringLiteral("SELECT mid,fehler FROM zwisepa WHERE ff='F' ORDER BY mid");
}

void SepaDatei::vorbereiten(bool neu, const QDate &faellig, const std::function<void(int nr)> &fortschritt)
{
    Db::ausfuehren(QStringLiteral("DROP TABLE IF EXISTS zwisepa"));
    Db::ausfuehren(QStringLiteral("CREATE TEMPORARY TABLE zwisepa (mid int PRIMARY KEY, inhaber text, iban text, "
                                  "bic text, mandat text, mandatdatum text, folge text, cent int64, ff char, "
                                  "fehler text)"));
    m_richtige = 0;
    m_fehlerhafte = 0;
    m_summe = 0;
    m_faellig = faellig;

    // As for DTAUS: blocked rows never, rows already in a file only on request, members without address not.
    QSqlQuery q = Db::abfrage(QStringLiteral(
        "SELECT z.mid,z.cent,a.name1,a.name2,b.key,b.inhaber,b.iban,b.bic,b.mandatref,b.mandatdatum,"
        "b.mandatgenutzt,m.eintritt FROM zahllauf z JOIN adresse a ON a.art='M' AND a.key=printf('%08d',z.mid) "
        "LEFT JOIN bankverbindung b ON b.art='M' AND b.key=a.key LEFT JOIN mitglied m ON m.mid=z.mid "
        "WHERE z.art='D' AND z.sperren!='J' AND (? OR z.done!='J')"),
        {neu});
    QSqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO zwisepa (mid,inhaber,iban,bic,mandat,mandatdatum,folge,cent,ff,fehler) "
                                  "VALUES (?,?,?,?,?,?,?,?,?,?)"));
    Db::Transaktion transaktion;
    int nr = 0;
    while (q.next()) {
        if (fortschritt)
            fortschritt(++nr);
        const qint64 cent = q.value(1).toLongLong();
        const Zeile z = pruefen(q, cent, faellig);
        const bool richtig = z.fehler.isEmpty();
        const QVariantList werte = {q.value(0).toInt(), z.inhaber, z.iban, z.bic, z.mandat, z.mandatDatum,
                                    z.folge, cent, richtig ? QStringLiteral(" ") : QStringLiteral("F"), z.fehler};
        for (int i = 0; i < werte.size(); ++i)
            insert.bindValue(i, werte.at(i));
        if (!insert.exec())
            Db::fehlgeschlagen(insert);
        if (richtig) {
            ++m_richtige;
            m_summe += cent;
        } else {
            ++m_fehlerhafte;
        }
    }
    transaktion.commit();
}

bool SepaDatei::schreiben(QIODevice &ziel, const Glaeubiger &glaeubiger, const QDateTime &erstellt) const
{
    struct Lastschrift
    {
        int mid;
        QString inhaber, iban, bic, mandat, folge;
        qint64 cent;
        QString mandatDatum;
    };
    QList<Lastschrift> liste;
    QSqlQuery q = Db::abfrage(inhaltSql());
    while (q.next()) {
        liste.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                      q.value(4).toString(), q.value(5).toString(), q.value(6).toLongLong(),
                      q.value(7).toString()});
    }
    if (liste.isEmpty())
        return true;

    const QString nachricht = QStringLiteral("VELA-") + erstellt.toString(QStringLiteral("yyyyMMddhhmmss"));
    const QString glaeubigerName = pText(glaeubiger.name, kNameLaenge);
    const int jahr = erstellt.date().year();

    QXmlStreamWriter xml(&ziel);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kNamensraum);
    xml.writeStartElement(kNamensraum, QStringLiteral("Document"));
    xml.writeStartElement(QStringLiteral("CstmrDrctDbtInitn"));

    xml.writeStartElement(QStringLiteral("GrpHdr"));
    xml.writeTextElement(QStringLiteral("MsgId"), nachricht);
    xml.writeTextElement(QStringLiteral("CreDtTm"), erstellt.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")));
    xml.writeTextElement(QStringLiteral("NbOfTxs"), QString::number(liste.size()));
    qint64 gesamt = 0;
    for (const Lastschrift &l : std::as_const(liste))
        gesamt += l.cent;
    xml.writeTextElement(QStringLiteral("CtrlSum"), betrag(gesamt));
    name(xml, QStringLiteral("InitgPty"), glaeubigerName);
    xml.writeEndElement();

    for (const QString &folge : {QStringLiteral("FRST"), QStringLiteral("RCUR")}) {
        QList<Lastschrift> block;
        qint64 summe = 0;
        for (const Lastschrift &l : std::as_const(liste)) {
            if (l.folge == folge) {
                block.append(l);
                summe += l.cent;
            }
        }
        if (block.isEmpty())
            continue;
        xml.writeStartElement(QStringLiteral("PmtInf"));
        xml.writeTextElement(QStringLiteral("PmtInfId"), nachricht + QLatin1Char('-') + folge);
        xml.writeTextElement(QStringLiteral("PmtMtd"), QStringLiteral("DD"));
        xml.writeTextElement(QStringLiteral("NbOfTxs"), QString::number(block.size()));
        xml.writeTextElement(QStringLiteral("CtrlSum"), betrag(summe));
        xml.writeStartElement(QStringLiteral("PmtTpInf"));
        xml.writeStartElement(QStringLiteral("SvcLvl"));
        xml.writeTextElement(QStringLiteral("Cd"), QStringLiteral("SEPA"));
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("LclInstrm"));
        xml.writeTextElement(QStringLiteral("Cd"), QStringLiteral("CORE"));
        xml.writeEndElement();
        xml.writeTextElement(QStringLiteral("SeqTp"), folge);
        xml.writeEndElement();
        xml.writeTextElement(QStringLiteral("ReqdColltnDt"), UtilDatumText(m_faellig));
        name(xml, QStringLiteral("Cdtr"), glaeubigerName);
        konto(xml, QStringLiteral("CdtrAcct"), Iban::normal(glaeubiger.iban));
        bank(xml, QStringLiteral("CdtrAgt"), Iban::normal(glaeubiger.bic));
        xml.writeTextElement(QStringLiteral("ChrgBr"), QStringLiteral("SLEV"));
        xml.writeStartElement(QStringLiteral("CdtrSchmeId"));
        xml.writeStartElement(QStringLiteral("Id"));
        xml.writeStartElement(QStringLiteral("PrvtId"));
        xml.writeStartElement(QStringLiteral("Othr"));
        xml.writeTextElement(QStringLiteral("Id"), Iban::normal(glaeubiger.id));
        xml.writeStartElement(QStringLiteral("SchmeNm"));
        xml.writeTextElement(QStringLiteral("Prtry"), QStringLiteral("SEPA"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();

        for (const Lastschrift &l : std::as_const(block)) {
            xml.writeStartElement(QStringLiteral("DrctDbtTxInf"));
            xml.writeStartElement(QStringLiteral("PmtId"));
            xml.writeTextElement(QStringLiteral("EndToEndId"),
                                 QStringLiteral("MITGLIED-%1-%2").arg(l.mid).arg(jahr).left(kIdLaenge));
            xml.writeEndElement();
            xml.writeStartElement(QStringLiteral("InstdAmt"));
            xml.writeAttribute(QStringLiteral("Ccy"), QStringLiteral("EUR"));
            xml.writeCharacters(betrag(l.cent));
            xml.writeEndElement();
            xml.writeStartElement(QStringLiteral("DrctDbtTx"));
            xml.writeStartElement(QStringLiteral("MndtRltdInf"));
            xml.writeTextElement(QStringLiteral("MndtId"), l.mandat);
            xml.writeTextElement(QStringLiteral("DtOfSgntr"), l.mandatDatum);
            xml.writeEndElement();
            xml.writeEndElement();
            bank(xml, QStringLiteral("DbtrAgt"), l.bic);
            name(xml, QStringLiteral("Dbtr"), l.inhaber);
            konto(xml, QStringLiteral("DbtrAcct"), l.iban);
            xml.writeStartElement(QStringLiteral("RmtInf"));
            xml.writeTextElement(QStringLiteral("Ustrd"),
                                 QStringLiteral("Mitgliedsbeitrag %1 Mitgliedsnr. %2").arg(jahr).arg(l.mid));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return !xml.hasError();
}

void SepaDatei::abschliessen(const QDate &ausfuehrung) const
{
    Db::Transaktion transaktion;
    DtausDatei::laufAbschliessen(QStringLiteral("SELECT mid FROM zwisepa WHERE ff!='F'"), ausfuehrung);
    // From now on the next debit under the same mandate is a recurring one.
    Db::ausfuehren(QStringLiteral(
        "UPDATE bankverbindung SET mandatgenutzt=(SELECT s.mandat FROM zwisepa s WHERE ff!='F' AND "
        "printf('%08d',s.mid)=bankverbindung.key) WHERE art='M' AND key IN "
        "(SELECT printf('%08d',mid) FROM zwisepa WHERE ff!='F')"));
    transaktion.commit();
}
