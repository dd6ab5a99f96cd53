#pragma once

#include "csvdatei.h"

#include <QDialog>

class WDatum;
class WFortschritt;

// "Journal Export": the journal entries of a date range as a CSV file, one line
// per entry with its debit and credit account, numbered within the fiscal year.
class JournalExport : public QDialog
{
    Q_OBJECT

public:
    explicit JournalExport(QWidget *parent = nullptr);

public slots:
    void pExport();

private:
    CSVDatei m_datei;
    WDatum *m_von;
    WDatum *m_bis;
    WFortschritt *m_balken;
};
