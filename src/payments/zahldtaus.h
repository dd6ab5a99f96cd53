#pragma once

#include "dtausdatei.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WDatum;
class WFortschritt;

// "DTAUS Datei generieren": the direct debits of the payment run in four steps:
// prepare and check them, print the content and error lists, write the file,
// and confirm the run.
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
    void reject() override;

private:
    void pReadParam();
    void pSaveParam(const DtausDatei::Auftraggeber &auftraggeber);
    void pSetEnabled();
    DtausDatei::Auftraggeber pAuftraggeber() const;
    QString pKopf() const;

    QLineEdit *m_name = nullptr;
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
    bool m_vorbereitet = false;
    bool m_gedruckt = false;
    bool m_geschrieben = false;
};
