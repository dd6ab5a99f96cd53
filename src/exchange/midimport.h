#pragma once

#include "csvdatei.h"

#include <QDialog>

class QLabel;
class WFortschritt;
class QPushButton;

// "Import Mitgliederdatei": brings members, addresses and bank details up to
// date from the central register's CSV export, reports what it did and offers
// to mark the members that the file no longer lists as left.
class MIDImport : public QDialog
{
    Q_OBJECT

public:
    explicit MIDImport(QWidget *parent = nullptr);

public slots:
    void pImport();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void pAbbruch();

private:
    CSVDatei m_datei;
    QLabel *m_fortschritt;
    WFortschritt *m_balken;
    QPushButton *m_ok;
    bool m_laeuft = false;
    bool m_stop = false;
};
