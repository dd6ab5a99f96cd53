#pragma once

#include "csvdatei.h"

#include <QDialog>

class QComboBox;
class WDatum;
class WFortschritt;
class WGliederung;

// "Akkreditierungsliste": the current members of a unit and of all units below
// it as a CSV file, optionally only the paid or the unpaid ones, in one of six
// orders; for the unpaid the list shows paid-up date, fee and way of paying.
class AkkredListe : public QDialog
{
    Q_OBJECT

public:
    explicit AkkredListe(QWidget *parent = nullptr);

public slots:
    void pExport();

private:
    void pFuellListe() const;

    CSVDatei m_datei;
    WGliederung *m_gliederung;
    WDatum *m_bezahltBis;
    QComboBox *m_zahlstatus;
    QComboBox *m_sortierung;
    WFortschritt *m_balken;
};
