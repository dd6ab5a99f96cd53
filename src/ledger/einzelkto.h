#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QVariantList>

#include <functional>

class QLabel;
class QLineEdit;
class QModelIndex;
class QPainter;
class QPrinter;
class QPushButton;
class QTableView;
class WDatum;
class WKonto;

// Shows the lines of one account for a period with opening and closing balance,
// optionally of one cost centre. Steps to the next or previous account with
// bookings, opens a line's entry in the journal and prints the account sheet.
class EinzelKto : public QDialog
{
    Q_OBJECT

public:
    // Prints the sheet of (konto, von, bis, kost) with the painter active on the printer;
    // the number of pages. The printout lives with the reports, which build on the ledger.
    using Drucker = std::function<int(QPrinter *, QPainter *, const QString &konto, const QDate &von,
                                      const QDate &bis, const QString &kost)>;

    // Without a printer function "&Drucken" stays disabled.
    explicit EinzelKto(Drucker drucker = {}, QWidget *parent = nullptr);
    ~EinzelKto() override;

public slots:
    void pEnter();
    void pKtoVor();
    void pKtoRu();
    void pDrucken();
    void pAuswahl(const QModelIndex &index);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pFelder();
    void pFuellListe();
    // The account found by `sql` (bound to account, Von, Bis) goes into the field, or it is cleared.
    void pSpringe(const QString &sql, const QVariantList &werte);

    class Modell;

    Drucker m_drucker;
    QLabel *m_kontoLabel;
    WKonto *m_konto;
    WDatum *m_von;
    WDatum *m_bis;
    QLineEdit *m_anfang;
    QLineEdit *m_ende;
    QLineEdit *m_kost;
    QPushButton *m_ok;
    QPushButton *m_drucken;
    QPushButton *m_vor;
    QPushButton *m_zurueck;
    QTableView *m_liste;
    Modell *m_modell;

    // Values taken from the widgets by pFelder.
    QString m_kontoNr;
    QString m_kostFilter;
};
