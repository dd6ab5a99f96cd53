#pragma once

#include "zahldurchlauf.h"

class QPainter;
class QPrinter;
struct Vorlagentext;

// "Zahlungen - Briefe": prints the letters of the payment run, one page per
// unblocked row of form "B" whose kind is chosen, the address placed for a
// window envelope. A printed row is marked done at once; the letter slots of the
// run are marked done after a pass that was not cancelled.
class ZahlungBrief : public ZahlungDurchlauf
{
    Q_OBJECT

public:
    explicit ZahlungBrief(QWidget *parent = nullptr);

public slots:
    void pLauf() override;

private:
    // The page as the `Mail/` parameters lay it out, in printer dots (sizes in points).
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

    static Seite pSeite(const QPrinter &printer);
    void pDrucken(QPrinter &printer);
    static void pBrief(QPainter &painter, const QPrinter &printer, const Seite &seite, const Vorlagentext &text);

    int m_seiten = 0;
    QList<int> m_ohneText; // members whose template or address is missing
};
