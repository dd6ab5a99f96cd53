#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class Smtp;
class WFortschritt;

// "Zahlungen - Emails": sends the mails of the payment run, every unblocked row
// of form "M" whose kind is chosen, one SMTP dialogue per mail. A sent
// row is marked done at once; the run's mail slots are marked done only after a
// pass without failure. Cancelling takes effect between two mails.
class ZahlungMail : public QDialog
{
    Q_OBJECT

public:
    explicit ZahlungMail(QWidget *parent = nullptr);

    static constexpr int kArten = 8; // R, r, L, l, G, 1, 2, 3

public slots:
    void pLauf();
    void pDupWarn(int state);
    void reject() override; // while a pass runs: only asks it to stop

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // One mail row of the run.
    struct Zeile
    {
        int mid;
        int art; // index into the kinds, -1 for rows without a mail kind (direct debits)
        QString baustein;
        qint64 cent;
        bool done;
        bool gesperrt;
    };

    void pFelder();
    void pSetLauf(bool laeuft);
    static QList<Zeile> pZeilen();
    void pSenden(Smtp &smtp);
    void pStatusSetzen() const;

    QCheckBox *m_artKasten[kArten];
    QCheckBox *m_neuKasten;
    QPushButton *m_ok;
    QPushButton *m_abbruch;
    QLabel *m_fortschritt;
    WFortschritt *m_balken;

    bool m_an[kArten] = {};
    bool m_neu = false;
    bool m_laeuft = false;
    bool m_abbrechen = false;
    bool m_vermerkt = true; // every accepted mail is marked done
    int m_marke[kArten] = {}; // 0 no row seen, 1 rows seen, 2 a mail of the kind failed
    int m_fehler = 0;
};
