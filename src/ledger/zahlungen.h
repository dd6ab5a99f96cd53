#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Spende;
class WBetrag;
class WDatum;
class WKonto;

// "Bank/Kasse": bank-statement and cash-book lines one after the other. Each
// saved line books the bank or cash account against a contra account and then
// passes up to six parts of the amount on from the contra account.
class Zahlungen : public QDialog
{
    Q_OBJECT

public:
    explicit Zahlungen(QWidget *parent = nullptr);

public slots:
    void pSpende();
    void pWrite();

private slots:
    void pDatumHinweis();

private:
    static constexpr int kZeilen = 6;

    // Empties the form for the next line; account and date stay.
    void leeren();
    // The first field that keeps the line from being saved, with the reason
    // ("Betrag fehlt", "Konto unbekannt", ...); nullptr when it may be saved.
    // Known accounts come back in their owner's form.
    QWidget *pruefen(QString *grund, QString *konto, QString *gkonto, QString aufKonto[]);
    // Writes the entry, its donation split and its split entries as one unit.
    // Returns the main entry's number, or UtilBuch's result of the failure.
    int buchen(const QString &konto, const QString &gkonto, const QString aufKonto[]);

    struct Aufteilung
    {
        WBetrag *betrag;
        QLineEdit *kost;
        WKonto *konto;
        QLabel *label;
    };

    QLabel *m_kontoLabel;
    WKonto *m_konto;
    WDatum *m_datum;
    QLabel *m_datumHinweis;
    WBetrag *m_betrag;
    QPushButton *m_spendeKnopf;
    QLabel *m_spendeLabel;
    QLineEdit *m_text;
    QLineEdit *m_kost;
    QLineEdit *m_beschluss;
    QLineEdit *m_beleg;
    QLabel *m_gkontoLabel;
    WKonto *m_gkonto;
    Aufteilung m_aufteilung[kZeilen];
    QPushButton *m_speichern;
    QPushButton *m_abbruch;
    QLabel *m_meldung; // the entry just saved, or why a save was refused

    Spende *m_spende;
};
