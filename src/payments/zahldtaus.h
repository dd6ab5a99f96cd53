#pragma once

#include "dtausdatei.h"
#include "sepadatei.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WDatum;
class WFortschritt;

// "DTAUS Datei generieren": the direct debits of the payment run in four steps:
// prepare and check them, print the content and error lists, write the file,
// and confirm the run. The file is a DTAUS file or a SEPA direct-debit file.
class ZahlungDtaus : public QDialog
{
    Q_OBJECT

public:
    explicit ZahlungDtaus(QWidget *parent = nullptr);

public slots:
    void pTempTable();
    void pInhalt();
    void pFehlerliste();
    void pDateiErst();
    void pAbschluss();
    void pDateiWahl();
    void pDupWarn(bool an);
    void pFormat();
    void reject() override;

private:
    void pReadParam();
    void pSaveParam(const DtausDatei::Auftraggeber &auftraggeber);
    void pSetEnabled();
    DtausDatei::Auftraggeber pAuftraggeber() const;
    SepaDatei::Glaeubiger pGlaeubiger() const;
    bool pSepa() const;
    int pRichtige() const;
    // The first field of the own data that keeps the file from being written.
    QWidget *pFehlendeDaten() const;
    QString pKopf() const;

    QComboBox *m_format = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_glaeubigerId = nullptr;
    QLineEdit *m_iban = nullptr;
    QLineEdit *m_bic = nullptr;
    WDatum *m_faellig = nullptr; // the requested collection date of SEPA debits
    QList<QWidget *> m_nurDtaus;
    QList<QWidget *> m_nurSepa;
    QLineEdit *m_konto = nullptr;
    QLineEdit *m_blz = nullptr;
    QCheckBox *m_neu = nullptr;
    QLineEdit *m_datei = nullptr;
    QPushButton *m_vorbereiten = nullptr;
    QLabel *m_richtige = nullptr;
    QLabel *m_fehlerhafte = nullptr;
    WFortschritt *m_balken = nullptr;
    QPushButton *m_inhalt = nullptr;
    QPushButton *m_fehlerliste = nullptr;
    QPushButton *m_dateiErst = nullptr;
    QPushButton *m_ok = nullptr;
    WDatum *m_ausfuehrung = nullptr; // only with a ledger account for the debits

    DtausDatei m_lauf;
    SepaDatei m_sepa;
    bool m_vorbereitet = false;
    bool m_gedruckt = false;
    bool m_geschrieben = false;
};
