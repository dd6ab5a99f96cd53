#pragma once

#include "csvdatei.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class WDatum;
class WFortschritt;
class WGliederung;

// "Spendenbuch Export": the donations and fees of a date range as a CSV file
// with the donor's address, limited on request to fees or donations, to a unit
// with all units below it and to one cost centre.
class SpendenExport : public QDialog
{
    Q_OBJECT

public:
    explicit SpendenExport(QWidget *parent = nullptr);

public slots:
    void pExport();

private slots:
    void pBestGl();

private:
    CSVDatei m_datei;
    WDatum *m_von;
    WDatum *m_bis;
    QComboBox *m_art;
    QLineEdit *m_kost;
    QCheckBox *m_bestGl;
    WGliederung *m_gliederung;
    WFortschritt *m_balken;
};
