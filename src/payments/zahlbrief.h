#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
struct Vorlagentext;

// "Zahlungen - Briefe": prints the letters of the payment run, one page per
// unblocked row of form "B" whose kind is chosen, the address placed for a
// window envelope. A printed row is marked done at once; the letter slots of the
// run are marked done after a pass that was not cancelled.
class ZahlungBrief : public QDialog
{
    Q_OBJECT

public:
    explicit ZahlungBrief(QWidget *parent = nullptr);

    static constexpr int kArten = 8; // R, r, L, l, G, 1, 2, 3

public slots:
    void pLauf();
    void pDupWarn(int state);
    void reject() override; // while a pass runs: only asks it to stop

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // One letter row of the run.
    struct Zeile
    {
        int mid;
        int art; // index into the kinds, -1 for rows without a letter kind (direct debits)
        QString baustein;
        qint64 cent;
        bool done;
        bool gesperrt;
    };

    // The page as the `Mail/` parameters lay it out, in printer dots.
    struct Seite
    {
        int adrL = 0;
        int adrT = 0;
        int adrPt = 0;
        int l = 0;
        int r = 0;
        int t = 0;
        int b = 0;
        int pt = 0;
    };

    void pFelder();
    void pSetLauf(bool laeuft);
    static QList<Zeile> pZeilen();
    static Seite pSeite(const QPrinter &printer);
    void pDrucken(QPrinter &printer);
    static void pBrief(QPainter &painter, const QPrinter &printer, const Seite &seite, const Vorlagentext &text);
    void pStatusSetzen() const;

    QCheckBox *m_artKasten[kArten];
    QCheckBox *m_neuKasten;
    QPushButton *m_ok;
    QPushButton *m_abbruch;
    QLabel *m_fortschritt;

    bool m_an[kArten] = {};
    bool m_neu = false;
    bool m_laeuft = false;
    bool m_abbrechen = false;
    int m_marke[kArten] = {}; // 0 no row seen, 1 rows seen, 2 a letter of the kind could not be made
    int m_seiten = 0;
    QList<int> m_ohneText; // members whose template or address is missing
};
