#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;
class QPushButton;
class WFortschritt;

// One pass over the payment run's rows of one form (mails or letters): the eight
// kind boxes, the box to repeat rows already done, "&OK" and "&Abbruch" and a
// progress label. While a pass runs, "&Abbruch" and closing the window only ask
// it to stop before the next row.
class ZahlungDurchlauf : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kArten = 8; // R, r, L, l, G, 1, 2, 3

public slots:
    virtual void pLauf() = 0;
    void pDupWarn(int state);
    void reject() override;

protected:
    // `form` "M" or "B"; `neuText` labels the box that repeats rows already done,
    // `warnung` is what checking it says.
    ZahlungDurchlauf(QChar form, const QString &titel, const QString &neuText, const QString &warnung,
                     QWidget *parent);

    void closeEvent(QCloseEvent *event) override;

    // One row of the run in this form.
    struct Zeile
    {
        int mid;
        int art; // index into the kinds, -1 for direct debits (they go to the DTAUS file)
        QString baustein;
        qint64 cent;
        bool done;
        bool gesperrt;
    };

    void pFelder();
    void pSetLauf(bool laeuft);
    bool laeuft() const { return m_laeuft; }
    void pStart();
    // All rows read before the first one is worked on, so that each "done" commits at once.
    QList<Zeile> pZeilen() const;
    // Notes the row's kind as seen; true when the row is to be worked on in this pass
    // (never for a direct debit: it goes to the DTAUS file).
    bool pFaellig(const Zeile &z);
    // The kinds with rows in this form and none failed (marker 1) are carried out in
    // 'Status/Zahlungen'; a kind counts also when its box was off.
    void pStatusSetzen() const;

    QLabel *m_fortschritt;
    WFortschritt *m_balken;
    bool m_abbrechen = false;
    int m_marke[kArten] = {}; // 0 no row seen, 1 rows seen, 2 a row of the kind failed

private:
    const QChar m_form;
    const QString m_warnung;
    QCheckBox *m_artKasten[kArten];
    QCheckBox *m_neuKasten;
    QPushButton *m_ok;
    QPushButton *m_abbruch;
    bool m_an[kArten] = {};
    bool m_neu = false;
    bool m_laeuft = false;
};
