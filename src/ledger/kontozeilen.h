#pragma once

#include <QDate>
#include <QString>

#include <vector>

// One line of an account with what its journal entry says about it.
struct KontoZeile
{
    QDate datum;
    int lfd = 0;
    QString kg;
    qint64 cent = 0;
    qint64 saldo = 0; // running balance of the fiscal year, this line included
    bool mitTexten = false; // the texts below are read (KontoZeilen::texteLesen)
    QString kost;
    QString butext;
    QString beschluss;
    QString beleg;
    QString gkonto; // the other line's account, empty when there is none
};

// The lines of one account from `von` to `bis` with opening and closing balance.
// Every fiscal year starts from zero: the lines from the start of the fiscal year
// that contains `von` make up the balances. An accrual entry ("A") counts in the
// running and closing balance only on the first day of the fiscal year, and in the
// opening balance when it lies on or before `von`. A non-empty `kost` keeps only the
// lines of entries with that cost centre (upper case). Lines without entry are left out.
//
// The amounts and balances of all lines are read at once; the texts of the entries
// and the contra accounts follow in one joined query for the lines asked for, so a
// list needs only those of the lines in view and a printout reads all of them in one go.
class KontoZeilen
{
public:
    KontoZeilen(const QString &konto, const QDate &von, const QDate &bis, const QString &kost = QString());

    // The lines dated from `von` on, in date and number order.
    const std::vector<KontoZeile> &zeilen() const { return m_zeilen; }
    qint64 anfangssaldo() const { return m_anfang; }
    qint64 endsaldo() const { return m_ende; }

    // Reads the texts of up to `anzahl` lines from line `ab` on.
    void texteLesen(std::size_t ab, std::size_t anzahl);

private:
    QString m_konto;
    QString m_bis;
    QString m_filter;
    std::vector<KontoZeile> m_zeilen;
    qint64 m_anfang = 0;
    qint64 m_ende = 0;
};
