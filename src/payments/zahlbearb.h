#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QTableView;
class WBetrag;
class WMitglied;

// "Bearbeitung der Zahlungen": the rows of one kind of the payment run. A row is
// chosen by member number or from the list, then blocked, switched between mail
// and letter (direct debits: given another amount) or sent as a test mail to any
// address. Every save marks the row as changed by hand.
class ZahlungBearb : public QDialog
{
    Q_OBJECT

public:
    explicit ZahlungBearb(const QString &art, QWidget *parent = nullptr);

public slots:
    void pRead();
    void pWrite();
    void pCancel();
    void pAuswahl(const QModelIndex &index);
    void pBaustein(int index);
    void pTest();
    void reject() override; // from editing back to choosing

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void pFuellListe();
    void pSetWahl(bool wahl);
    bool istDtaus() const { return m_art == QLatin1String("D"); }

    const QString m_art;
    bool m_wahl = true;

    // The row being edited.
    int m_mid = 0;
    qint64 m_cent = 0;
    QString m_bausteinm;
    QString m_bausteinb;
    QString m_mail; // the member's address

    WMitglied *m_midFeld;
    QLabel *m_name;
    WBetrag *m_betrag = nullptr;    // direct debits
    QLabel *m_betragText = nullptr; // the other kinds
    QComboBox *m_form = nullptr;
    QLabel *m_baustein = nullptr;
    QCheckBox *m_sperren;
    QPushButton *m_testen = nullptr;
    QPushButton *m_speichern;
    QPushButton *m_abbruch;
    QTableView *m_liste;
    QStandardItemModel *m_model;
};
