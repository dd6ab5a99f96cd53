#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WKonto;

// Keeps one row of `spendenparam` per donation kind: the default shares of the
// six levels, booking on the member account, and account and cost centre for
// cash or bank with a named, anonymous or juristic donor.
class SpendenParam : public QDialog
{
    Q_OBJECT

public:
    explicit SpendenParam(QWidget *parent = nullptr);

public slots:
    void pRead();
    void pWrite();
    void pCancel();
    void pSetWahl(bool wahl);
    // Escape and the window's close button: back to selection while editing.
    void reject() override;

private:
    QComboBox *m_art;
    QPushButton *m_lesen;
    QLabel *m_neu;
    QDoubleSpinBox *m_proz[6]; // International, Bundes-, Landes-, Bezirks-, Kreis-, Ortsverband
    QCheckBox *m_midBuchung;
    QLineEdit *m_kost[6];      // Kasse, Bank, Anonym Kasse, Anonym Bank, Jur. Kasse, Jur. Bank
    WKonto *m_konto[6];
    QLabel *m_kontoText[6];
    QPushButton *m_speichern;
    QPushButton *m_abbruch;
    bool m_wahl = true;
};
