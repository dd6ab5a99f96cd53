#pragma once

#include "wadresse.h"
#include "wbank.h"
#include "wmandat.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class WBetrag;
class WDatum;
class WGliederung;
class WMitglied;

// The member master data: a member's record in `mitglied` with address and
// bank details, the member's donations, renumbering and deletion. In creation
// mode (opened from a search) it creates one other person and closes.
class Mitglieder : public QDialog
{
    Q_OBJECT

public:
    explicit Mitglieder(bool anlegen, QWidget *parent = nullptr);
    int exec() override;
    // The number of the record saved last, -1 before the first save in creation mode.
    int angelegt() const;

public slots:
    void reject() override;

signals:
    // "&Zuwendungsbest.": the receipts of this member are wanted. Receipts build on
    // members, not the other way round: whoever opens this dialog connects the receipt dialog.
    void zuwendungDrucken(int mid);

private slots:
    void pRead();
    void pWrite();
    void pCancel();
    void pDelete();
    void pZuwend();
    void pMitglied();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The values of the fields as they are stored.
    struct Felder
    {
        int mid = 0;
        QString key;
        QString intnr;
        QString gliederung;
        QString wohngliederung;
        QString sex;
        QString nation;
        QString tel;
        QString gebdat;
        QString zahlart;
        qint64 beitrag = 0;
        QString eintritt;
        QString austritt;
        QString bezahlt;
        QString zahlstatus;
        QString statusdatum;
    };

    void pSetWahl(bool wahl);
    void pFelder();
    void pFuellListe();
    void pDelete1();
    // Writes the collected record with address and bank details, inside the caller's transaction.
    void speichern();
    void datenUebernehmen(int mid);

    const bool m_anlegen;
    bool m_wahl = true;
    int m_angelegt = -1;
    Felder m_felder;

    WMitglied *m_mid = nullptr;
    QLabel *m_neu = nullptr;
    QLineEdit *m_intnr = nullptr;
    QComboBox *m_sex = nullptr;
    WDatum *m_gebdat = nullptr;
    WAdresse m_adresse;
    QLineEdit *m_tel = nullptr;
    QLineEdit *m_nation = nullptr;
    WGliederung *m_gliederung = nullptr;
    WGliederung *m_wohngliederung = nullptr;
    WBetrag *m_beitrag = nullptr;
    WDatum *m_bezahlt = nullptr;
    WDatum *m_eintritt = nullptr;
    WDatum *m_austritt = nullptr;
    QComboBox *m_zahlart = nullptr;
    WDatum *m_statusdatum = nullptr;
    QComboBox *m_zahlstatus = nullptr;
    WBank m_bank;
    WMandat m_mandat;
    QPushButton *m_speichern = nullptr;
    QPushButton *m_abbruch = nullptr;
    QPushButton *m_loeschen = nullptr;
    QPushButton *m_zuwend = nullptr;
    QPushButton *m_mitglied = nullptr;
    QTableWidget *m_liste = nullptr;
};
