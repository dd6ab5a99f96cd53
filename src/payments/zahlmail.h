#pragma once

#include "zahldurchlauf.h"

class Smtp;

// "Zahlungen - Emails": sends the mails of the payment run, every unblocked row
// of form "M" whose kind is chosen, one SMTP dialogue per mail. A sent
// row is marked done at once; the run's mail slots are marked done only after a
// pass without failure. Cancelling takes effect between two mails.
class ZahlungMail : public ZahlungDurchlauf
{
    Q_OBJECT

public:
    explicit ZahlungMail(QWidget *parent = nullptr);

public slots:
    void pLauf() override;

private:
    void pSenden(Smtp &smtp);

    bool m_vermerkt = true; // every accepted mail is marked done
    int m_fehler = 0;
};
