#pragma once

#include <QDate>
#include <QDialog>

#include "spendenaufteilung.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class WBetrag;
class WDatum;
class WGliederung;
class WMitglied;

// Marks one journal entry as a donation or membership fee and splits it over
// the organisation levels (up to six split lines on the units' accounts); the
// split itself is SpendenAufteilung's.
class Spende : public QDialog
{
    Q_OBJECT

public:
    explicit Spende(QWidget *parent = nullptr);

    using QDialog::exec;
    int exec(qint64 cent);
    void read(const QDate &jdatum, int jlfd);
    // Stores the split of the entry and moves a member's paid-until date, as one
    // unit inside the caller's transaction; false when anything failed.
    bool write(const QDate &jdatum, int jlfd);
    void clear();
    void setParam(int mid, QChar art, const QDate &bezahlt);
    // Line -2: posting text; -1: main account and cost centre; 0..5: split lines.
    void aufteilung(bool kasse, int zeile, qint64 cent, qint64 *betrag, QString *konto, QString *text);
    QString disName() const;

public slots:
    void accept() override;
    void reject() override;

private slots:
    void pDisName();
    void pArtChg(int index);

private:
    void pFelder();
    void pBeitrDat();
    int feldMid() const;
    QString midText() const;
    void zeigeFelder();
    void zeigeAnteile();
    void zeigeDaten();

    WMitglied *m_midFeld;
    WDatum *m_bezahltFeld;
    QLabel *m_name;
    WGliederung *m_gliederungFeld;
    QComboBox *m_artListe;
    WDatum *m_bezahltNeuFeld;
    WBetrag *m_gebuehr;
    QDoubleSpinBox *m_proz[6];
    WDatum *m_quittungFeld;
    QPushButton *m_speichern;
    QPushButton *m_abbruch;

    // What the form held at the last pFelder, and the split computed from it.
    SpendenAufteilung m_aufteilung;
    bool m_geaendert = true;  // the split must be recomputed
    bool m_neu = true;        // no stored `spende` row was loaded
    bool m_neuDatum = true;   // recompute the new paid-until date
    int m_artGeladen = -1;    // kind index of the loaded record

    // State before exec(), put back by a rejected dialog.
    SpendenAufteilung m_vorher;
    qint64 m_gebuehrVorher = 0;
    bool m_offen = false;
};
