#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WFortschritt;
class WKonto;

// "Erstellung Zahlungsdaten": creates the payment run. It walks over all members
// whose fees are open, decides the kind of demand (invoice, debit notice, debit,
// reminders), its amount and form, fills `zahllauf` and records in
// 'Status/Zahlungen' which parts of the run exist. A started run always runs to its end.
class ZahlungErst : public QDialog
{
    Q_OBJECT

public:
    explicit ZahlungErst(QWidget *parent = nullptr);

    // Kinds of demand in dialog, result and slot order; Dtaus has no templates.
    enum Art { Rech, RechNeu, Last, LastNeu, Dtaus, Platz, Mahn1, Mahn2, Mahn3, AnzahlArten };

public slots:
    void pLauf();
    void reject() override; // ignored while the run works
    void pStateRech(int state);
    void pStateRechNeu(int state);
    void pStateLast(int state);
    void pStateLastNeu(int state);
    void pStatePlatz(int state);
    void pStateMahn1(int state);
    void pStateMahn2(int state);
    void pStateMahn3(int state);

private:
    // What a run found: rows per status slot, rows and sum per kind.
    struct Ergebnis
    {
        int teile[17] = {};
        int anzahl[AnzahlArten] = {};
        qint64 summe[AnzahlArten] = {};
        bool gefunden = false; // an insert was issued
    };

    void pReadParam();
    void pFelder();
    void pSaveParam();
    void pState(Art art, int state);
    Ergebnis pZeilen();
    static QString pMeldung(const Ergebnis &e);

    // The kind for a member's payment state and way of paying, -1 when none applies.
    static int artFuer(const QString &zahlstatus, const QString &zahlart);
    bool artAn(int art, bool hatMail) const;
    int wartetage(int art) const;
    bool lange(const QString &statusdatum, int tage) const;
    qint64 betrag(qint64 beitrag, const QString &bezahlt, const QString &eintritt) const;

    QLineEdit *m_tageFeld[4]; // TageLast, TageMahn1, TageMahn2, TageMahn3
    QCheckBox *m_an[AnzahlArten];
    QLineEdit *m_mailFeld[AnzahlArten] = {}; // none for Dtaus
    QLineEdit *m_briefFeld[AnzahlArten] = {};
    WKonto *m_konto;
    QLabel *m_kontoText;
    QPushButton *m_ok;
    QPushButton *m_abbruch;
    QLabel *m_fortschritt;
    WFortschritt *m_balken;
    bool m_laeuft = false;

    // Dialog state read by pFelder.
    int m_tage[4] = {7, 7, 7, 7};
    QString m_mail[AnzahlArten];
    QString m_brief[AnzahlArten];
    QString m_kontoDtaus;
    bool m_mailAn[AnzahlArten] = {};
    bool m_briefAn[AnzahlArten] = {};
    bool m_dtausAn = false;
    QDate m_gjVon;
    QDate m_heute;
};
