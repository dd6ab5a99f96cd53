#pragma once

#include <array>

#include <QDate>
#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class WBetrag;
class WDatum;
class WGliederung;
class WMitglied;

// Marks one journal entry as a donation or membership fee and splits it over
// the organisation levels (up to six split lines on the units' accounts).
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
    // What the form holds, as collected by pFelder. Shares run International,
    // Bundes-, Landes-, Bezirks-, Kreis-, Ortsverband in hundredths of a percent.
    struct Felder
    {
        int mid = 0;
        QString midText;
        QString gliederung;
        QChar art = QLatin1Char('Z');
        QString quittung;
        qint64 proz[6] = {0, 0, 0, 0, 0, 0};
        QDate bezahlt;
        QDate bezahltNeu;
    };
    // The kind's row of `spendenparam`: accounts and cost centres in the order
    // Kasse, Bank, Anonym Kasse, Anonym Bank, Jur. Kasse, Jur. Bank.
    struct Param
    {
        bool midBuchung = false;
        QString konto[6];
        QString kost[6];
    };
    struct Zeile
    {
        qint64 cent = 0;
        QString konto;
        QString kost;
    };

    void pFelder();
    void pBeitrDat();
    QString pVariablen(qint64 cent, const QString &text) const;
    // Shares per month (rows) and level column (International .. Ortsverband).
    using Monatstabelle = std::array<std::array<qint64, 6>, 12>;
    using Ebenenkonten = std::array<QString, 6>;
    enum Spenderklasse { kNamentlich = 0, kAnonym = 1, kJuristisch = 2 };

    void pAufteilen(bool kasse, qint64 cent);
    int spenderKlasse(QString *spender) const;
    void monatsBereich(int jahr, int *von, int *bis) const;
    bool verbandsKette(const QString &selbst, int jahr, Monatstabelle &tabelle, Ebenenkonten &ebenenKonto) const;
    int beitragsJahr(qint64 cent) const;
    int feldMid() const;
    void zeigeFelder();
    void zeigeAnteile();

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

    Felder m_f;
    Param m_param;
    qint64 m_cent = 0;
    int m_selbstEbene = 0;
    bool m_geaendert = true;  // the split must be recomputed
    bool m_neu = true;        // no stored `spende` row was loaded
    bool m_neuDatum = true;   // recompute the new paid-until date
    int m_artGeladen = -1;    // kind index of the loaded record

    // State before exec(), put back by a rejected dialog.
    Felder m_vorher;
    Param m_paramVorher;
    qint64 m_gebuehrVorher = 0;
    bool m_offen = false;

    // Split results.
    QString m_kostenstelle;
    QString m_kontoEigen;
    QString m_hauptKonto;
    QString m_buText;
    Zeile m_zeilen[6];
};
