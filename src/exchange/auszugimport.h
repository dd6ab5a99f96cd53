#pragma once

#include "auszugvorschlag.h"
#include "kontoauszug.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class WKonto;
class WMitglied;

// "Kontoauszug einlesen": reads a bank statement (CAMT.053 or MT940), shows
// every line with what it is proposed to be booked as, lets the user choose for
// the lines without a proposal, compares the statement's balances with the
// books and posts the chosen lines. Lines read before are shown as done.
class AuszugImport : public QDialog
{
    Q_OBJECT

public:
    explicit AuszugImport(QWidget *parent = nullptr);

    // Reads the statement; false, and a message was shown, when it cannot be read.
    bool lesen(const QString &datei);

public slots:
    void pDatei();
    void pZuordnen();
    void pBuchen();

private slots:
    void pAuswahl();
    void pSalden();

private:
    enum Spalte { kDatum, kBetrag, kName, kIban, kZweck, kVorschlag, kHinweis, kSpalten };

    void pFuellListe();
    void zeileZeigen(int zeile);
    QString wahlText(int zeile) const;
    // The balances of statement and books; empty when they agree.
    QString abweichung() const;

    QLineEdit *m_datei;
    QPushButton *m_dateiKnopf;
    QLabel *m_kontoLabel;
    WKonto *m_konto;
    QLabel *m_info;
    QLabel *m_salden;
    QTableWidget *m_liste;
    WMitglied *m_mid;
    QLabel *m_wahlKontoLabel;
    WKonto *m_wahlKonto;
    QLineEdit *m_kost;
    QLineEdit *m_text;
    QPushButton *m_zuordnen;
    QPushButton *m_buchen;
    QPushButton *m_abbruch;
    QLabel *m_meldung;

    Kontoauszug m_auszug;
    QList<Vorschlag> m_wahl;
    QList<bool> m_erledigt;
    qint64 m_buecherAnfang = 0;
    qint64 m_buecherEnde = 0;
};
