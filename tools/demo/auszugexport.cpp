#include "auszugexport.h"

#include <QDate>
#include <QXmlStreamWriter>

namespace {

QString betrag(qint64 cent, QChar komma)
{
    const qint64 b = qAbs(cent);
    return QStringLiteral("%1%2%3").arg(b / 100).arg(komma).arg(b % 100, 2, 10, QLatin1Char('0'));
}

QString sollHaben(qint64 cent)
{
    return cent < 0 ? QStringLiteral("DBIT") : QStringLiteral("CRDT");
}

class Camt
{
public:
    Camt(const QString &version, QByteArray *ziel) : m_x(ziel), m_neu(version != QLatin1String("001.02")) {}

    void betragFeld(const QString &name, qint64 cent)
    {
        m_x.writeStartElement(name);
        m_x.writeAttribute(QStringLiteral("Ccy"), QStringLiteral("EUR"));
        m_x.writeCharacters(betrag(cent, QLatin1Char('.')));
        m_x.writeEndElement();
    }
    void datum(const QString &name, const QString &tag)
    {
        m_x.writeStartElement(name);
        m_x.writeTextElement(QStringLiteral("Dt"), tag);
        m_x.writeEndElement();
    }
    void saldo(const QString &art, qint64 cent, const QString &tag)
    {
        m_x.writeStartElement(QStringLiteral("Bal"));
        m_x.writeStartElement(QStringLiteral("Tp"));
        m_x.writeStartElement(QStringLiteral("CdOrPrtry"));
        m_x.writeTextElement(QStringLiteral("Cd"), art);
        m_x.writeEndElement();
        m_x.writeEndElement();
        betragFeld(QStringLiteral("Amt"), cent);
        m_x.writeTextElement(QStringLiteral("CdtDbtInd"), sollHaben(cent));
        datum(QStringLiteral("Dt"), tag);
        m_x.writeEndElement();
    }
    void gebuehr(qint64 cent)
    {
        if (cent == 0)
            return;
        m_x.writeStartElement(QStringLiteral("Chrgs"));
        if (m_neu) {
            betragFeld(QStringLiteral("TtlChrgsAndTaxAmt"), cent);
            m_x.writeStartElement(QStringLiteral("Rcrd"));
        }
        betragFeld(QStringLiteral("Amt"), cent);
        m_x.writeTextElement(QStringLiteral("CdtDbtInd"), QStringLiteral("DBIT"));
        if (m_neu) {
            m_x.writeTextElement(QStringLiteral("ChrgInclInd"), QStringLiteral("true"));
            m_x.writeEndElement();
        }
        m_x.writeEndElement();
    }
    void partei(const QString &rolle, const QString &name, const QString &iban)
    {
        m_x.writeStartElement(rolle);
        if (m_neu)
            m_x.writeStartElement(QStringLiteral("Pty"));
        m_x.writeTextElement(QStringLiteral("Nm"), name);
        if (m_neu)
            m_x.writeEndElement();
        m_x.writeEndElement();
        m_x.writeStartElement(rolle + QStringLiteral("Acct"));
        m_x.writeStartElement(QStringLiteral("Id"));
        m_x.writeTextElement(QStringLiteral("IBAN"), iban);
        m_x.writeEndElement();
        m_x.writeEndElement();
    }
    void transaktion(const AuszugPosten &p)
    {
        m_x.writeStartElement(QStringLiteral("TxDtls"));
        m_x.writeStartElement(QStringLiteral("Refs"));
        if (!p.ref.isEmpty())
            m_x.writeTextElement(QStringLiteral("AcctSvcrRef"), p.ref);
        m_x.writeTextElement(QStringLiteral("EndToEndId"), QStringLiteral("NOTPROVIDED"));
        m_x.writeEndElement();
        if (m_neu) {
            betragFeld(QStringLiteral("Amt"), p.cent);
            m_x.writeTextElement(QStringLiteral("CdtDbtInd"), sollHaben(p.cent));
        } else {
            m_x.writeStartElement(QStringLiteral("AmtDtls"));
            m_x.writeStartElement(QStringLiteral("TxAmt"));
            betragFeld(QStringLiteral("Amt"), p.cent);
            m_x.writeEndElement();
            m_x.writeEndElement();
        }
        // Money received names its payer as debtor; a returned debit too.
        m_x.writeStartElement(QStringLiteral("RltdPties"));
        const bool eingang = p.cent >= 0 || !p.grund.isEmpty();
        partei(QStringLiteral("Dbtr"), eingang ? p.name : QStringLiteral("Eigener Verein"),
               eingang ? p.iban : AuszugExport::eigeneIban());
        partei(QStringLiteral("Cdtr"), eingang ? QStringLiteral("Eigener Verein") : p.name,
               eingang ? AuszugExport::eigeneIban() : p.iban);
        m_x.writeEndElement();
        m_x.writeStartElement(QStringLiteral("RmtInf"));
        // Unstructured purpose comes in pieces of at most 140 characters.
        for (int i = 0; i < p.zweck.size(); i += 140)
            m_x.writeTextElement(QStringLiteral("Ustrd"), p.zweck.mid(i, 140));
        m_x.writeEndElement();
        if (!p.grund.isEmpty()) {
            m_x.writeStartElement(QStringLiteral("RtrInf"));
            m_x.writeStartElement(QStringLiteral("Rsn"));
            m_x.writeTextElement(QStringLiteral("Cd"), p.grund);
            m_x.writeEndElement();
            m_x.writeEndElement();
        }
        m_x.writeEndElement();
    }
    // One entry of the bank: a single line, or the lines of one batch.
    void eintrag(const QList<AuszugPosten> &teile)
    {
        qint64 summe = 0;
        qint64 gebuehren = 0;
        for (const AuszugPosten &p : teile) {
            summe += p.cent;
            gebuehren += p.gebuehr;
        }
        const AuszugPosten &erster = teile.first();
        m_x.writeStartElement(QStringLiteral("Ntry"));
        betragFeld(QStringLiteral("Amt"), summe);
        m_x.writeTextElement(QStringLiteral("CdtDbtInd"), sollHaben(summe));
        if (!erster.grund.isEmpty())
            m_x.writeTextElement(QStringLiteral("RvslInd"), QStringLiteral("true"));
        if (m_neu) {
            m_x.writeStartElement(QStringLiteral("Sts"));
            m_x.writeTextElement(QStringLiteral("Cd"), QStringLiteral("BOOK"));
            m_x.writeEndElement();
        } else {
            m_x.writeTextElement(QStringLiteral("Sts"), QStringLiteral("BOOK"));
        }
        datum(QStringLiteral("BookgDt"), erster.datum);
        datum(QStringLiteral("ValDt"), erster.datum);
        if (teile.size() > 1)
            m_x.writeTextElement(QStringLiteral("AcctSvcrRef"), erster.ref.section(QLatin1Char('-'), 0, -2));
        else if (!erster.ref.isEmpty())
            m_x.writeTextElement(QStringLiteral("AcctSvcrRef"), erster.ref);
        gebuehr(gebuehren);
        m_x.writeStartElement(QStringLiteral("NtryDtls"));
        if (teile.size() > 1) {
            m_x.writeStartElement(QStringLiteral("Btch"));
            m_x.writeTextElement(QStringLiteral("NbOfTxs"), QString::number(teile.size()));
            m_x.writeEndElement();
        }
        for (const AuszugPosten &p : teile)
            transaktion(p);
        m_x.writeEndElement();
        m_x.writeEndElement();
    }

    void schreiben(const QString &version, const QList<AuszugPosten> &posten, qint64 anfang)
    {
        qint64 ende = anfang;
        QString von = posten.isEmpty() ? QStringLiteral("2024-03-01") : posten.first().datum;
        QString bis = von;
        for (const AuszugPosten &p : posten) {
            ende += p.cent;
            von = qMin(von, p.datum);
            bis = qMax(bis, p.datum);
        }
        m_x.setAutoFormatting(true);
        m_x.writeStartDocument();
        m_x.writeDefaultNamespace(QStringLiteral("urn:iso:std:iso:20022:tech:xsd:camt.053.") + version);
        m_x.writeStartElement(QStringLiteral("Document"));
        m_x.writeStartElement(QStringLiteral("BkToCstmrStmt"));
        m_x.writeStartElement(QStringLiteral("GrpHdr"));
        m_x.writeTextElement(QStringLiteral("MsgId"), QStringLiteral("AUSZUG-") + bis);
        m_x.writeTextElement(QStringLiteral("CreDtTm"), bis + QStringLiteral("T18:00:00"));
        m_x.writeEndElement();
        m_x.writeStartElement(QStringLiteral("Stmt"));
        m_x.writeTextElement(QStringLiteral("Id"), QStringLiteral("STMT-") + bis);
        m_x.writeTextElement(QStringLiteral("CreDtTm"), bis + QStringLiteral("T18:00:00"));
        m_x.writeStartElement(QStringLiteral("Acct"));
        m_x.writeStartElement(QStringLiteral("Id"));
        m_x.writeTextElement(QStringLiteral("IBAN"), AuszugExport::eigeneIban());
        m_x.writeEndElement();
        m_x.writeTextElement(QStringLiteral("Ccy"), QStringLiteral("EUR"));
        m_x.writeEndElement();
        saldo(QStringLiteral("OPBD"), anfang, von);
        saldo(QStringLiteral("CLBD"), ende, bis);
        for (int i = 0; i < posten.size();) {
            int n = 1;
            while (posten.at(i).stapel > 0 && i + n < posten.size() && posten.at(i + n).stapel == posten.at(i).stapel)
                ++n;
            eintrag(posten.mid(i, n));
            i += n;
        }
        m_x.writeEndDocument();
    }

private:
    QXmlStreamWriter m_x;
    bool m_neu; // 001.08: parties, amounts, status and charges in their later form
};

QString jjmmtt(const QString &datum)
{
    return QDate::fromString(datum, Qt::ISODate).toString(QStringLiteral("yyMMdd"));
}

// A text cut into the subfields ?nn of :86:, 27 characters each.
QString unterfelder(int ab, int bis, const QString &text)
{
    QString s;
    for (int i = 0, nr = ab; i < text.size() && nr <= bis; i += 27, ++nr)
        s += QStringLiteral("?%1").arg(nr, 2, 10, QLatin1Char('0')) + text.mid(i, 27);
    return s;
}

} // namespace

QString AuszugExport::eigeneIban()
{
    return QStringLiteral("DE44500105175407324931");
}

QByteArray AuszugExport::camt(const QString &version, const QList<AuszugPosten> &posten, qint64 anfang)
{
    QByteArray daten;
    Camt(version, &daten).schreiben(version, posten, anfang);
    return daten;
}

QByteArray AuszugExport::mt940(const QList<AuszugPosten> &posten, qint64 anfang)
{
    const QString von = posten.isEmpty() ? QStringLiteral("2024-03-01") : posten.first().datum;
    qint64 ende = anfang;
    QString bis = von;
    QString s = QStringLiteral(":20:STARTUMS\r\n:25:") + eigeneIban() + QStringLiteral("\r\n:28C:00001/001\r\n")
                + QStringLiteral(":60F:%1%2EUR%3\r\n").arg(anfang < 0 ? 'D' : 'C').arg(jjmmtt(von), betrag(anfang, ','));
    for (const AuszugPosten &p : posten) {
        ende += p.cent;
        bis = qMax(bis, p.datum);
        const QString art = !p.grund.isEmpty() ? QStringLiteral("NRTI") : p.cent < 0 ? QStringLiteral("NDDT")
                                                                                     : QStringLiteral("NTRF");
        s += QStringLiteral(":61:%1%2%3R%4%5NONREF").arg(jjmmtt(p.datum), jjmmtt(p.datum).mid(2),
                                                         p.cent < 0 ? QStringLiteral("D") : QStringLiteral("C"),
                                                         betrag(p.cent, ','), art);
        if (!p.ref.isEmpty())
            s += QStringLiteral("//") + p.ref;
        s += QStringLiteral("\r\n");
        if (p.gebuehr != 0)
            s += QStringLiteral("/CHGS/EUR%1/\r\n").arg(betrag(p.gebuehr, ','));
        const int gvc = !p.grund.isEmpty() ? 109 : p.cent < 0 ? 105 : 166;
        QString f = QStringLiteral("%1?00%2?109310").arg(gvc).arg(
            !p.grund.isEmpty() ? QStringLiteral("RUECKLASTSCHRIFT") : p.cent < 0 ? QStringLiteral("LASTSCHRIFT")
                                                                                  : QStringLiteral("GUTSCHRIFT"));
        f += unterfelder(20, 29, QStringLiteral("EREF+NOTPROVIDED SVWZ+") + p.zweck);
        f += QStringLiteral("?30GENODEF1XXX?31") + p.iban + unterfelder(32, 33, p.name);
        if (!p.grund.isEmpty())
            f += QStringLiteral("?34") + p.grund;
        // Lines of at most 65 characters; the subfields run on across them.
        s += QStringLiteral(":86:");
        for (int i = 0; i < f.size(); i += 65)
            s += f.mid(i, 65) + QStringLiteral("\r\n");
    }
    s += QStringLiteral(":62F:%1%2EUR%3\r\n-\r\n").arg(ende < 0 ? 'D' : 'C').arg(jjmmtt(bis), betrag(ende, ','));
    return s.toLatin1();
}
