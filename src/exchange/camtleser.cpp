#include "camtleser.h"

#include "iban.h"
#include "kontoauszug.h"

#include <QXmlStreamReader>

#include <memory>
#include <vector>

namespace {

const QLatin1String kNamensraum("urn:iso:std:iso:20022:tech:xsd:camt.053.");

// The document as a small tree of elements: statements are a few thousand
// entries at most, and the versions differ in where a value sits, not in what it is.
struct Knoten
{
    QString name;
    QString text;
    std::vector<std::unique_ptr<Knoten>> kinder;

    // The first element along a path such as "RltdPties/Dbtr/Nm", or nullptr.
    const Knoten *kind(QStringView pfad) const
    {
        const Knoten *k = this;
        for (const QStringView teil : pfad.split(QLatin1Char('/'))) {
            const Knoten *gefunden = nullptr;
            for (const auto &c : k->kinder) {
                if (c->name == teil) {
                    gefunden = c.get();
                    break;
                }
            }
            if (!gefunden)
                return nullptr;
            k = gefunden;
        }
        return k;
    }
    QString wert(QStringView pfad) const
    {
        const Knoten *k = kind(pfad);
        return k ? k->text.trimmed() : QString();
    }
    // The first path of several that names a value.
    QString ersterWert(std::initializer_list<QStringView> pfade) const
    {
        for (const QStringView p : pfade) {
            const QString w = wert(p);
            if (!w.isEmpty())
                return w;
        }
        return QString();
    }
    std::vector<const Knoten *> alle(const QString &name) const
    {
        std::vector<const Knoten *> liste;
        for (const auto &c : kinder) {
            if (c->name == name)
                liste.push_back(c.get());
        }
        return liste;
    }
};

bool baumLesen(const QByteArray &daten, Knoten *wurzel, QString *version, QString *fehler)
{
    QXmlStreamReader xml(daten);
    std::vector<Knoten *> pfad{wurzel};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (pfad.size() == 1) {
                const QString ns = xml.namespaceUri().toString();
                if (xml.name() != QLatin1String("Document") || !ns.startsWith(kNamensraum)) {
                    *fehler = QStringLiteral("Die Datei ist kein Kontoauszug im Format CAMT.053 (%1).")
                                  .arg(ns.isEmpty() ? xml.name().toString() : ns);
                    return false;
                }
                *version = ns.mid(kNamensraum.size());
            }
            auto neu = std::make_unique<Knoten>();
            neu->name = xml.name().toString();
            Knoten *k = neu.get();
            pfad.back()->kinder.push_back(std::move(neu));
            pfad.push_back(k);
        } else if (xml.isCharacters()) {
            pfad.back()->text += xml.text();
        } else if (xml.isEndElement()) {
            pfad.pop_back();
        }
    }
    if (xml.hasError()) {
        *fehler = xml.error() == QXmlStreamReader::PrematureEndOfDocumentError
                      ? QStringLiteral("Die Datei endet vorzeitig (Zeile %1): der Kontoauszug ist unvollständig.")
                            .arg(xml.lineNumber())
                      : QStringLiteral("Die XML-Datei ist fehlerhaft (Zeile %1): %2")
                            .arg(QString::number(xml.lineNumber()), xml.errorString());
        return false;
    }
    if (wurzel->kinder.empty()) {
        *fehler = QStringLiteral("Die Datei ist kein Kontoauszug im Format CAMT.053.");
        return false;
    }
    return true;
}

bool betrag(const Knoten *k, qint64 *cent)
{
    return k && UtilAuszugCent(k->text, cent);
}

// Debits are negative from the own account's side.
qint64 mitVorzeichen(qint64 cent, const QString &soll)
{
    return soll == QLatin1String("DBIT") ? -cent : cent;
}

// The bank's charges on an entry or transaction, as far as they are taken from its amount.
qint64 gebuehren(const Knoten *k)
{
    qint64 summe = 0;
    for (const Knoten *c : k->alle(QStringLiteral("Chrgs"))) {
        const auto posten = c->alle(QStringLiteral("Rcrd"));
        // 001.02 names the amount right in Chrgs, later versions in records.
        std::vector<const Knoten *> liste = posten.empty() ? std::vector<const Knoten *>{c} : posten;
        for (const Knoten *r : liste) {
            qint64 cent = 0;
            if (r->wert(u"ChrgInclInd") == QLatin1String("false") || !betrag(r->kind(u"Amt"), &cent))
                continue;
            summe += r->wert(u"CdtDbtInd") == QLatin1String("CRDT") ? -cent : cent;
        }
    }
    return summe;
}

QString datum(const Knoten *k, QStringView pfad)
{
    const Knoten *d = k->kind(pfad);
    if (!d)
        return QString();
    return d->ersterWert({u"Dt", u"DtTm"}).left(10);
}

// The other party of a transaction: the debtor of money received, the creditor
// of money paid; a returned debit names the member as its debtor.
void partei(const Knoten *tx, bool eingang, const QString &eigen, AuszugZeile *z)
{
    const Knoten *p = tx->kind(u"RltdPties");
    if (!p)
        return;
    const auto lesen = [p](const QString &rolle, QString *name, QString *iban) {
        *name = p->ersterWert({QString(rolle + QStringLiteral("/Nm")), QString(rolle + QStringLiteral("/Pty/Nm"))});
        *iban = Iban::normal(p->ersterWert({QString(rolle + QStringLiteral("Acct/Id/IBAN")),
                                            QString(rolle + QStringLiteral("Acct/Id/Othr/Id"))}));
    };
    QString rolle = eingang ? QStringLiteral("Dbtr") : QStringLiteral("Cdtr");
    QString name;
    QString iban;
    lesen(rolle, &name, &iban);
    if (!iban.isEmpty() && iban == eigen) {
        rolle = eingang ? QStringLiteral("Cdtr") : QStringLiteral("Dbtr");
        lesen(rolle, &name, &iban);
    }
    z->name = name.simplified();
    z->iban = iban;
    const QString agent = QStringLiteral("RltdAgts/") + rolle + QStringLiteral("Agt/FinInstnId/");
    z->bic = tx->ersterWert({QString(agent + QStringLiteral("BIC")), QString(agent + QStringLiteral("BICFI"))});
}

// One line from a transaction of an entry; `cent` as booked, from the entry when the transaction has none.
AuszugZeile zeile(const Knoten *ntry, const Knoten *tx, qint64 cent, const QString &eigen)
{
    AuszugZeile z;
    z.datum = QDate::fromString(datum(ntry, u"BookgDt"), Qt::ISODate);
    z.valuta = QDate::fromString(datum(ntry, u"ValDt"), Qt::ISODate);
    z.cent = cent;
    z.referenz = ntry->wert(u"AcctSvcrRef");
    if (!tx) {
        z.zweck = ntry->wert(u"AddtlNtryInf").simplified();
        z.gebuehr = gebuehren(ntry);
        return z;
    }
    partei(tx, cent >= 0 || tx->kind(u"RtrInf"), eigen, &z);
    QStringList zweck;
    if (const Knoten *rmt = tx->kind(u"RmtInf")) {
        for (const Knoten *u : rmt->alle(QStringLiteral("Ustrd")))
            zweck << u->text.trimmed();
    }
    z.zweck = zweck.join(QLatin1Char(' ')).simplified();
    if (z.zweck.isEmpty())
        z.zweck = tx->ersterWert({u"AddtlTxInf", u"RmtInf/Strd/CdtrRefInf/Ref"}).simplified();
    if (z.zweck.isEmpty())
        z.zweck = ntry->wert(u"AddtlNtryInf").simplified();
    z.endToEnd = tx->wert(u"Refs/EndToEndId");
    const QString eigeneRef = tx->wert(u"Refs/AcctSvcrRef");
    if (!eigeneRef.isEmpty())
        z.referenz = eigeneRef;
    if (const Knoten *rtr = tx->kind(u"RtrInf")) {
        z.rueckgabe = true;
        z.grund = rtr->ersterWert({u"Rsn/Cd", u"Rsn/Prtry"});
    }
    z.gebuehr = gebuehren(tx);
    return z;
}

// The lines of one entry: one per transaction of a batch whose amounts add up
// to the entry; otherwise the entry as one line.
void eintragLesen(const Knoten *ntry, const QString &eigen, QList<AuszugZeile> *zeilen, QString *fehler)
{
    qint64 cent = 0;
    if (!betrag(ntry->kind(u"Amt"), &cent)) {
        *fehler = QStringLiteral("Ein Umsatz ohne lesbaren Betrag: „%1“.").arg(ntry->wert(u"Amt"));
        return;
    }
    cent = mitVorzeichen(cent, ntry->wert(u"CdtDbtInd"));
    std::vector<const Knoten *> txs;
    for (const Knoten *d : ntry->alle(QStringLiteral("NtryDtls"))) {
        for (const Knoten *tx : d->alle(QStringLiteral("TxDtls")))
            txs.push_back(tx);
    }
    const bool rueckgabe = ntry->wert(u"RvslInd") == QLatin1String("true");
    if (txs.size() <= 1) {
        AuszugZeile z = zeile(ntry, txs.empty() ? nullptr : txs.front(), cent, eigen);
        z.rueckgabe = z.rueckgabe || rueckgabe;
        // The charges of a single transaction may stand at the entry.
        if (z.gebuehr == 0)
            z.gebuehr = gebuehren(ntry);
        zeilen->append(z);
        return;
    }
    QList<AuszugZeile> teile;
    qint64 summe = 0;
    for (const Knoten *tx : txs) {
        qint64 teil = 0;
        const Knoten *amt = tx->kind(u"Amt");
        if (!amt)
            amt = tx->kind(u"AmtDtls/TxAmt/Amt");
        if (!betrag(amt, &teil))
            break;
        const QString soll = tx->wert(u"CdtDbtInd");
        teil = mitVorzeichen(teil, soll.isEmpty() ? ntry->wert(u"CdtDbtInd") : soll);
        summe += teil;
        teile.append(zeile(ntry, tx, teil, eigen));
    }
    if (teile.size() == static_cast<int>(txs.size()) && summe == cent) {
        for (AuszugZeile &z : teile)
            z.rueckgabe = z.rueckgabe || rueckgabe;
        zeilen->append(teile);
        return;
    }
    AuszugZeile z = zeile(ntry, nullptr, cent, eigen);
    z.zweck = QStringLiteral("Sammelbuchung, %1 Posten. ").arg(txs.size()) + z.zweck;
    zeilen->append(z);
}

bool saldo(const Knoten *stmt, const QString &art, qint64 *cent, QDate *tag)
{
    for (const Knoten *bal : stmt->alle(QStringLiteral("Bal"))) {
        if (bal->ersterWert({u"Tp/CdOrPrtry/Cd", u"Tp/CdOrPrtry/Prtry"}) != art)
            continue;
        if (!betrag(bal->kind(u"Amt"), cent))
            return false;
        *cent = mitVorzeichen(*cent, bal->wert(u"CdtDbtInd"));
        *tag = QDate::fromString(datum(bal, u"Dt"), Qt::ISODate);
        return true;
    }
    return false;
}

} // namespace

bool CamtLeser::lesen(const QByteArray &daten, Kontoauszug *auszug, QString *fehler)
{
    fehler->clear();
    Knoten wurzel;
    QString version;
    if (!baumLesen(daten, &wurzel, &version, fehler))
        return false;
    const Knoten *doc = wurzel.kinder.front().get();
    const Knoten *bank = doc->kind(u"BkToCstmrStmt");
    const auto stmts = bank ? bank->alle(QStringLiteral("Stmt")) : std::vector<const Knoten *>{};
    if (stmts.empty()) {
        *fehler = QStringLiteral("Die Datei enthält keinen Kontoauszug (kein Element Stmt).");
        return false;
    }
    auszug->format = QStringLiteral("camt.053.") + version;
    for (std::size_t i = 0; i < stmts.size(); ++i) {
        const Knoten *stmt = stmts[i];
        const QString konto = Iban::normal(stmt->ersterWert({u"Acct/Id/IBAN", u"Acct/Id/Othr/Id"}));
        if (i == 0) {
            auszug->konto = konto;
            auszug->kennung = stmt->wert(u"Id");
        } else if (konto != auszug->konto) {
            *fehler = QStringLiteral("Die Datei enthält Auszüge mehrerer Konten (%1 und %2).").arg(auszug->konto, konto);
            return false;
        }
        qint64 cent = 0;
        QDate tag;
        // Several statements of one account: the first opens, the last closes.
        if (saldo(stmt, QStringLiteral("OPBD"), &cent, &tag) || saldo(stmt, QStringLiteral("PRCD"), &cent, &tag)) {
            if (i == 0) {
                auszug->anfangssaldo = cent;
                auszug->anfangsdatum = tag;
                auszug->mitSalden = true;
            }
        } else if (i == 0) {
            auszug->mitSalden = false;
        }
        if (saldo(stmt, QStringLiteral("CLBD"), &cent, &tag)) {
            auszug->endsaldo = cent;
            auszug->enddatum = tag;
        } else {
            auszug->mitSalden = false;
        }
        for (const Knoten *ntry : stmt->alle(QStringLiteral("Ntry"))) {
            // Pending and informational entries are not booked yet.
            const QString status = ntry->ersterWert({u"Sts/Cd", u"Sts"});
            if (!status.isEmpty() && status != QLatin1String("BOOK"))
                continue;
            eintragLesen(ntry, auszug->konto, &auszug->zeilen, fehler);
            if (!fehler->isEmpty())
                return false;
        }
    }
    return true;
}
