#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

struct AuszugZeile;

// What a statement line is to be booked as: proposed, or chosen by hand.
struct Vorschlag
{
    enum class Art {
        Offen,     // no proposal: waits for a manual choice
        Beitrag,   // a member's fee (through the donation split)
        Rueckgabe, // a member's returned direct debit: the fee reversed
        Lieferant, // a supplier's account
        Konto,     // any account, with cost centre and text
    };
    Art art = Art::Offen;
    int mid = 0;
    QString konto;   // contra account of Lieferant and Konto
    QString kost;    // cost centre of Konto
    QString text;    // booking text of Konto
    QString hinweis; // why, or why not: shown beside the line
};

// Proposes for each line of a statement what it is, in this order: the member
// number in the purpose ("MITGLIEDSNR. n", "Mitgl.-Nr. n", "MID n"), the IBAN of
// a member, the IBAN of a supplier; a member's line that returns a direct debit
// is the debit returned. Reads the members' and suppliers' bank details once.
class AuszugVorschlag
{
public:
    AuszugVorschlag();

    Vorschlag vorschlag(const AuszugZeile &zeile) const;

    // The member number that a purpose text names, 0 when it names none.
    static int mitgliedsnummer(const QString &zweck);

private:
    QHash<QString, QList<int>> m_mitgliedIban;
    QHash<QString, QStringList> m_lieferantIban;
    QSet<int> m_mitglieder;
};
