#pragma once

#include "satzdialog.h"

#include <memory>

class QLineEdit;
class QTabWidget;
class WAdresse;
class WBank;

// The suppliers: key, telephone, fax and booking account of a `lieferant` row
// with its address and bank details (owner kind "L"). In creation mode the
// dialog closes as accepted after the first save; `angelegt()` names the key.
class Lieferant : public SatzDialog
{
    Q_OBJECT

public:
    explicit Lieferant(bool anlegen, QWidget *parent = nullptr);
    ~Lieferant() override;

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
    QString m_tel;
    QString m_fax;
    QString m_bukto;

    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_bezFeld = nullptr;
    QLineEdit *m_telFeld = nullptr;
    QLineEdit *m_faxFeld = nullptr;
    QLineEdit *m_buktoFeld = nullptr;
    std::unique_ptr<WAdresse> m_adresse;
    std::unique_ptr<WBank> m_bank;
};
