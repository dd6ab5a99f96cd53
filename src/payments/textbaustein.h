#pragma once

#include "satzdialog.h"

class QLineEdit;
class QPlainTextEdit;

// Keeps the text templates of payment mails and letters. In pick mode it has no
// delete button and closes after saving; angelegt() names the saved template.
class Textbaustein : public SatzDialog
{
    Q_OBJECT

public:
    explicit Textbaustein(bool pick, QWidget *parent = nullptr);

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
    QLineEdit *m_bez;
    QLineEdit *m_beschreibung;
    QLineEdit *m_betreff;
    QPlainTextEdit *m_inhalt;

    // Values read by pFelder.
    QString m_fBeschreibung;
    QString m_fBetreff;
    QString m_fInhalt;
};
