#pragma once

#include <QChar>
#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
class WDatum;
class WFortschritt;

// One receipt line of a member: a donation, or a donation merged into another
// one of the same day, which then stays with amount 0 so that it is marked too.
struct ZuwendZeile
{
    QDate datum; // spende.jdatum, the day of the donation
    int lfd = 0; // spende.jlfd
    qint64 cent = 0;
    QChar art;
    QDate quittung; // receipt date: today for a donation never printed, else the stored one
};

// What PrepareZuwend collects for one member.
struct ZuwendBeleg
{
    int mid = 0;
    QString adresse[3]; // name, street, postcode and town
    QList<ZuwendZeile> zeilen;
};

// Which donations are wanted: by day, and by whether a receipt was printed before.
struct ZuwendFilter
{
    enum Auswahl { NichtGedruckt = 0, Gedruckt = 1, Alle = 2 };
    Auswahl auswahl = NichtGedruckt;
    QDate von;
    QDate bis;
    QDate druckVon; // printed between, for Gedruckt and Alle
    QDate druckBis;
};

// At most this many donations of a member per run.
constexpr int ZuwendMaxZeilen = 100;

// Collects the receipt lines of `mid` into `beleg` and returns their number (0:
// no receipt). Refunds cancel an earlier donation not above them; both are marked
// "2200-12-31" at once and never offered again. Donations of one day are merged,
// Aufwandsspenden apart from the rest. With `minimumPruefen` a member whose total
// stays below the minimum of the settings gets no receipt.
int PrepareZuwend(ZuwendBeleg &beleg, int mid, const ZuwendFilter &filter, bool minimumPruefen);

// Prints line `zeile` of `beleg` as one page; false when it makes no page (amount
// 0, a Sachspende, no such line). The painter is active on the printer; every
// page but the first starts a new one.
bool DruckZuwend(QPrinter *printer, QPainter *painter, const ZuwendBeleg &beleg, int zeile, bool ersteSeite);

// The temporary table `zwispende` remembers what a run printed, until the user
// says whether the print dates are stored.
void ZuwendZwidatStart();
void ZuwendZwidatVermerk(const ZuwendZeile &zeile);
// Stores the remembered print dates in `spende.quittung` when `speichern` is set,
// as one unit, then drops the table. False when storing failed (Db::fehlerText()).
bool ZuwendZwidatEnd(bool speichern);

// Prints the receipts of all members (mid below 1) or of one member, and marks
// them as printed when the user confirms.
class Zuwenddruck : public QDialog
{
    Q_OBJECT

public:
    explicit Zuwenddruck(int mid, QWidget *parent = nullptr);

public slots:
    void pDrucken();
    // While a run prints, "&Abbruch", Escape and closing the window ask it to stop after the current member.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void pAuswahl();

private:
    void pSetLauf(bool laeuft);
    ZuwendFilter filter() const;
    QList<int> mitglieder(const ZuwendFilter &f) const;

    const int m_mid;
    bool m_laeuft = false;
    bool m_stop = false;

    QComboBox *m_auswahl = nullptr;
    WDatum *m_von = nullptr;
    WDatum *m_bis = nullptr;
    WDatum *m_druckVon = nullptr;
    WDatum *m_druckBis = nullptr;
    QPushButton *m_drucken = nullptr;
    QPushButton *m_abbruch = nullptr;
    QLabel *m_fortschritt = nullptr;
    WFortschritt *m_balken = nullptr;
};
