#pragma once

#include "satzdialog.h"

class QComboBox;
class QLineEdit;
class WKonto;

// Keeps the chart of accounts. In creation mode (opened from the account search)
// it saves one new account and closes; angelegt() names it.
class Kontenplan : public SatzDialog
{
    Q_OBJECT

public:
    explicit Kontenplan(bool anlegen, QWidget *parent = nullptr);

protected:
    QString pSchluessel() override;
    bool pLies() override;
    bool pFelder() override;
    void pSchreib() override;
    void pLoesch() override;
    void pLeeren() override;
    void pFreigeben(bool an) override;
    QWidget *pFokus() override;

private:
    WKonto *m_konto;
    QLineEdit *m_text;
    QComboBox *m_abgrenzung;

    // Values read by pFelder.
    QString m_fText;
    QString m_fAbgrArt;
};
