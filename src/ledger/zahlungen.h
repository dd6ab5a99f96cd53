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

    Spende *m_spende;
};
