#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
class WDatum;
class WFortschritt;
class WKonto;

// Prints the sheet of one account from `von` to `bis` on a printer that is set up,
// with the painter already active on it: opening, running and closing balance, one
// line per booking, page headers with "Seite: n/m". A non-empty `kost` keeps only
// the entries of that cost centre. The caller starts a new page between two sheets.
// Returns the number of pages printed.
int DruckKonto(QPrinter *printer, QPainter *painter, const QString &konto, const QDate &von, const QDate &bis,
               const QString &kost);

// Prints the sheets of a range of accounts, for the whole period or month by month.
class Kontendruck : public QDialog
{
    Q_OBJECT

public:
    explicit Kontendruck(QWidget *parent = nullptr);

public slots:
    void pDrucken();

private:
    QLabel *m_vonLabel;
    QLabel *m_bisLabel;
    WKonto *m_kontoVon;
    WKonto *m_kontoBis;
    WDatum *m_datumVon;
    WDatum *m_datumBis;
    QCheckBox *m_monatsweise;
    QPushButton *m_drucken;
    QPushButton *m_abbruch;
    QLabel *m_fortschritt;
    WFortschritt *m_balken;
};
