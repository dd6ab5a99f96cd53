#pragma once

#include <QString>

#include <functional>

class QDate;
class QIODevice;

// The direct debits (kind "D") of the payment run as a DTAUS debit file: checked
// into the temporary table `zwidtaus`, written as one A record, one C record per
// debit and one E record, and finally marked done in the run.
class DtausDatei
{
public:
    // The creditor: own name after the text rule, account and bank code after the number rule.
    struct Auftraggeber
    {
        QString name;
        QString konto;
        QString blz;
    };

    DtausDatei() = default;
    ~DtausDatei(); // drops `zwidtaus`
    DtausDatei(const DtausDatei &) = delete;
    DtausDatei &operator=(const DtausDatei &) = delete;

    // Text rule: upper case, German umlauts spelt out, every character the format
    // does not know becomes a blank.
    static QString pText(const QString &text);
    // Number rule: the digits only.
    static QString pNummer(const QString &text);

    // Fills `zwidtaus` from the run; with `neu` also debits already put into a file.
    // `fortschritt` hears the number of each debit row of the run as it is checked.
    void vorbereiten(bool neu, const std::function<void(int nr)> &fortschritt = {});
    int richtige() const { return m_richtige; }
    int fehlerhafte() const { return m_fehlerhafte; }
    qint64 summe() const { return m_summe; }

    // Writes A, C and E records of the correct rows; false when the device refused.
    bool schreiben(QIODevice &ziel, const Auftraggeber &auftraggeber, const QDate &heute) const;

    // Marks the correct rows done (with the execution date in `bausteinb` when it is
    // valid) and the debit slot of 'Status/Zahlungen' carried out.
    void abschliessen(const QDate &ausfuehrung) const;
    // The same for the members that `richtige` (a SELECT of member numbers) gives,
    // for every file of debits.
    static void laufAbschliessen(const QString &richtige, const QDate &ausfuehrung);

    // The rows of the content list in file order, and of the error list.
    static QString inhaltSql();
    static QString fehlerSql();

private:
    int m_richtige = 0;
    int m_fehlerhafte = 0;
    qint64 m_summe = 0;
};
