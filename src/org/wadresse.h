#pragma once

#include "wdatensatz.h"

class QGridLayout;
class QLineEdit;
class QWidget;

// The postal address of a member ("M"), supplier ("L") or unit ("V"): its
// input fields and its one row of `adresse`, stored with the search name.
// A non-zero variant is the person form with a first name.
class WAdresse : public WDatensatz
{
public:
    WAdresse(int variante, QWidget *parent);

    QLineEdit *Name1() const { return m_name1; }
    QLineEdit *Name2() const { return m_name2; } // nullptr outside the person variant
    QLineEdit *Strasse() const { return m_strasse; }
    QLineEdit *Plz() const { return m_plz; }
    QLineEdit *Ort() const { return m_ort; }
    QLineEdit *Land() const { return m_land; }
    QLineEdit *Mail() const { return m_mail; }

    void FuellLayout(QGridLayout *layout, int zeile, int spalte);

protected:
    QStringList zusatzSpalten() const override;
    QVariantList zusatzWerte() const override;

private:
    QLineEdit *m_name1;
    QLineEdit *m_name2;
    QLineEdit *m_strasse;
    QLineEdit *m_plz;
    QLineEdit *m_ort;
    QLineEdit *m_land;
    QLineEdit *m_mail;
};
