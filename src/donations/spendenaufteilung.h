#pragma once

#include <QChar>
#include <QDate>
#include <QHash>
#include <QString>

#include <array>

// The split of a donation or membership fee over the organisation levels,
// without a window: from the kind's shares, the member's unit and the chain of
// units above it, up to six split lines (amount, account, cost centre) that move
// each level's part from the main account to that level's account. It posts
// nothing itself; schreiben() stores the `spende` row of the posted main entry
// and moves a member's paid-until date.
//
// A fee of a member, as a batch books it:
//     SpendenAufteilung aufteilung;
//     aufteilung.festhalten();                       // many rows, units unchanged
//     aufteilung.setParam(mid, QLatin1Char('M'), QDate(jahr, 12, 31));
//     aufteilung.aufteilen(false, cent);             // false: paid to the bank
//     aufteilung.aufteilung(-2, cent, ...)           // posting text
//     aufteilung.aufteilung(-1, cent, ...)           // main account, cost centre
//     aufteilung.aufteilung(0 .. 5, cent, ...)       // split lines
//     ... post them, then aufteilung.schreiben(datum, lfd);
class SpendenAufteilung
{
public:
    static constexpr int kZeilen = 6;

    // What a split is computed from. Shares run International, Bundes-, Landes-,
    // Bezirks-, Kreis-, Ortsverband in hundredths of a percent (10000 = 100 %).
    struct Angaben
    {
        int mid = 0; // below 1: anonymous
        QString gliederung; // the unit the money is for; empty: the own unit
        QChar art = QLatin1Char('Z');
        QString quittung = QStringLiteral("1900-01-01"); // receipt date, "yyyy-MM-dd"
        std::array<qint64, 6> proz = {};
        QDate bezahlt;    // the member's paid-until date
        QDate bezahltNeu; // and after this payment
        qint64 gebuehr = 0; // bank fee in cents, split on top of the amount
        qint64 betrag = 0;  // the entry's amount as shown: below 0 it is a refund
    };

    struct Zeile
    {
        qint64 cent = 0;
        QString konto;
        QString kost;
    };

    SpendenAufteilung();

    // From now on units, kind parameters and settings are read once and kept,
    // and a member is read once per setParam(): for a batch that books many
    // rows while nobody edits units or members.
    void festhalten();

    // Forgets the angaben and the kind's parameters, keeping the amount as shown.
    void clear();

    Angaben &angaben() { return m_a; }
    const Angaben &angaben() const { return m_a; }

    // Kind code; its row of `spendenparam` gives accounts and shares, and what
    // the levels above do not take stays with the own level.
    void setArt(QChar art);

    // Presets a payment of member `mid` as the donation dialog would show it:
    // the member's unit and paid-until date, the kind with its shares. For a
    // fee ("M") `bezahltNeu` is the new paid-until date.
    void setParam(int mid, QChar art, const QDate &bezahltNeu);

    // Computes the split of `cent` paid in cash (`kasse`) or to the bank.
    void aufteilen(bool kasse, qint64 cent);

    // One line of the last split. -2: `cent` and the posting text; -1: `cent`,
    // the main account and its cost centre; 0 .. 5: the split lines.
    void aufteilung(int zeile, qint64 cent, qint64 *betrag, QString *konto, QString *text) const;

    // Stores the `spende` row of the posted main entry and, for a fee, moves the
    // member's paid-until date; one unit inside the caller's transaction.
    bool schreiben(const QDate &jdatum, int jlfd);

    // The member's paid-until date, invalid when `mid` is no member with a row.
    static QDate bezahltBis(int mid);

private:
    // The kind's row of `spendenparam`: accounts and cost centres in the order
    // Kasse, Bank, Anonym Kasse, Anonym Bank, Jur. Kasse, Jur. Bank.
    struct Param
    {
        std::array<qint64, 6> proz = {};
        bool midBuchung = false;
        QString konto[6];
        QString kost[6];
    };
    // One row of `verband` as the walk up the unit chain reads it.
    struct Einheit
    {
        bool da = false;
        QString namekurz;
        QString gegruendet;
        int ebene = 0;
        QString teilvon;
        QString bukto;
    };
    // What the split and the write read of the member.
    struct Person
    {
        int mid = 0;
        bool adresseDa = false;
        QString name1, name2, plz;
        bool mitgliedDa = false;
        QString gliederung, bezahlt, sex, eintritt, austritt, zahlart, zahlstatus;
    };
    // Shares per month (rows) and level column (International .. Ortsverband).
    using Monatstabelle = std::array<std::array<qint64, 6>, 12>;
    using Ebenenkonten = std::array<QString, 6>;
    enum Spenderklasse { kNamentlich = 0, kAnonym = 1, kJuristisch = 2 };

    Param param(QChar art);
    Einheit einheit(const QString &namekurz);
    Einheit bundesverband();
    const Person &person();
    QString variablen(qint64 cent, const QString &text) const;
    int beitragsJahr(qint64 cent) const;
    int spenderKlasse(QString *spender);
    void monatsBereich(int jahr, int *von, int *bis);
    bool verbandsKette(const QString &selbst, int jahr, Monatstabelle &tabelle, Ebenenkonten &ebenenKonto);

    Angaben m_a;
    Param m_param;
    int m_selbstEbene = 0;

    bool m_festhalten = false;
    QHash<QChar, Param> m_params;
    QHash<QString, Einheit> m_einheiten;
    Person m_person;
    bool m_personGelesen = false;

    // Results of the last split.
    QString m_kostenstelle;
    QString m_hauptKonto;
    QString m_buText;
    Zeile m_zeilen[kZeilen];
};
