#pragma once

#include <QDate>
#include <QString>

#include <functional>

class QDateTime;
class QIODevice;

// The direct debits (kind "D") of the payment run as a SEPA core direct-debit
// file (pain.008.001.08): checked into the temporary table `zwisepa`, written
// as XML with one payment information block per sequence type, and finally
// marked done in the run, each mandate remembered as used.
class SepaDatei
{
public:
    // The creditor: name, creditor identifier and the own account.
    struct Glaeubiger
    {
        QString name;
        QString id;
        QString iban;
        QString bic; // may be empty
    };

    SepaDatei() = default;
    ~SepaDatei(); // drops `zwisepa`
    SepaDatei(const SepaDatei &) = delete;
    SepaDatei &operator=(const SepaDatei &) = delete;

    // A text in the SEPA Latin character set, cut to `laenge`: German umlauts
    // spelt out as in DTAUS, accents dropped, any other character a blank.
    static QString pText(const QString &text, int laenge);

    // Fills `zwisepa` from the run; with `neu` also debits already put into a file.
    // A mandate must be signed by the collection date `faellig`. `fortschritt` hears of every debit read.
    void vorbereiten(bool neu, const QDate &faellig, const std::function<void(int nr)> &fortschritt = {});
    int richtige() const { return m_richtige; }
    int fehlerhafte() const { return m_fehlerhafte; }
    qint64 summe() const { return m_summe; }

    // Writes the correct rows; false when the device refused.
    bool schreiben(QIODevice &ziel, const Glaeubiger &glaeubiger, const QDateTime &erstellt) const;

    // Marks the correct rows done like the DTAUS file does, and their mandates used.
    void abschliessen(const QDate &ausfuehrung) const;

    // The rows of the content list (mid, name, IBAN, BIC, mandate, sequence, cents) and of the error list.
    static QString inhaltSql();
    static QString fehlerSql();

private:
    int m_richtige = 0;
    int m_fehlerhafte = 0;
    qint64 m_summe = 0;
    QDate m_faellig;
};
