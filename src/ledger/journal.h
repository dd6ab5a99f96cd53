#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Spende;
class WBetrag;
class WDatum;
class WKonto;

// Writes, changes and deletes journal entries one at a time. Shows the ten
// newest entries; an entry is picked by date and number (or a click in the list)
// and may carry a donation split that is saved together with it.
class Journal : public QDialog
{
    Q_OBJECT

public:
    explicit Journal(QWidget *parent = nullptr);
    ~Journal() override;

    // exec() runs the dialog in the selection state.
    using QDialog::exec;
    // Runs one edit of the entry (datum, lfd): save, delete or cancel ends it.
    int exec(const QDate &datum, int lfd);

public slots:
    void pEnter();
    void pRead();
    void pWrite();
    void pCancel();
    void pDelete();
    void pSpende();
    void pAuswahl(const QModelIndex &index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *objekt, QEvent *event) override;

private:
    void pFelder();
    // True when the entry may be saved; otherwise the focus goes to the field at
    // fault and, with `melden`, the message beside the buttons names it.
    bool pCheck(bool melden = false);
    void pFuellListe();
    void pSetWahl(bool wahl);

    WDatum *m_datum;
    QLineEdit *m_nummer;
    QLineEdit *m_kost;
    QLineEdit *m_beleg;
    QLineEdit *m_text;
    QLineEdit *m_beschluss;
    QLabel *m_kontoLabel;
    QLabel *m_gkontoLabel;
    WKonto *m_konto;
    WKonto *m_gkonto;
    WBetrag *m_betrag;
    QTableView *m_liste;
    QStandardItemModel *m_modell;
    QPushButton *m_spendeKnopf;
    QPushButton *m_speichern;
    QPushButton *m_abbruch;
    QPushButton *m_loeschen;
    QLabel *m_spendeLabel;
    QLabel *m_meldung; // the entry just saved, or why a save was refused

    bool m_wahl = true;
    bool m_einzel = false;

    // Values taken from the widgets by pFelder.
    QString m_datumText;
    int m_lfd = 0;
    QString m_lfdText;
    QString m_kontoNr;
    QString m_gkontoNr;
    QString m_kostText;
    QString m_belegText;
    QString m_butext;
    QString m_beschlussText;

    Spende *m_spende;
};
