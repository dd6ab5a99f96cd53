#pragma once

#include <QString>

// Account identifiers of SEPA payments, checked without any widget: the IBAN
// (ISO 13616: country, two check digits, national account, mod 97 = 1), the
// creditor identifier (built like an IBAN, but its check skips the business
// code) and the BIC. The check functions return an empty text for a valid
// value, else the reason as the user reads it.
class Iban
{
public:
    // Without blanks and upper-cased: the form that is checked and stored.
    static QString normal(const QString &text);

    // In groups of four, as printed on bank statements: "DE89 3704 0044 0532 0130 00".
    static QString gruppiert(const QString &iban);

    static QString fehler(const QString &iban);
    static bool gueltig(const QString &iban) { return fehler(iban).isEmpty(); }

    // The length of an IBAN of this SEPA country, 0 for any other country.
    static int laenge(const QString &land);

    // The German IBAN of a bank code and an account number: "DE", the check digits,
    // the eight-digit bank code and the account number with leading zeros to ten
    // digits. Empty when bank code or account number do not fit.
    static QString ausKonto(const QString &blz, const QString &konto);

    // The creditor identifier ("Gläubiger-ID"), e.g. "DE98ZZZ09999999999".
    static QString glaeubigerIdFehler(const QString &id);

    // A BIC of 8 or 11 characters: bank, country, location and optional branch.
    static QString bicFehler(const QString &bic);

    // A mandate reference: 1 to 35 characters out of "A-Z a-z 0-9 + ? / - : ( ) . ,", no blank.
    static QString mandatsreferenzFehler(const QString &referenz);

private:
    // The remainder mod 97 of a text whose letters count as 10 ("A") to 35 ("Z"); -1 for other characters.
    static int rest97(const QString &text);
};
