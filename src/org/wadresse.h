#pragma once

#include <QString>

class QGridLayout;
class QLineEdit;
class QWidget;

// The postal address of a member ("M"), supplier ("L") or unit ("V"): its
// input fields and its one row of `adresse`. Not a widget itself; the parent
// dialog owns the fields. A non-zero variant is the person form with a first name.
class WAdresse
{
public:
    WAdresse(int variante, QWidget *parent);

    QLineEdit *Name1() const;
    QLineEdit *Name2() const; // nullptr outside the person variant
    QLineEdit *Strasse() const;
    QLineEdit *Plz() const;
    QLineEdit *Ort() const;
    QLineEdit *Land() const;
    QLineEdit *Mail() const;

    void FuellLayout(QGridLayout *layout, int zeile, int spalte);
    void setEnabled(bool an);
    void clear();
    void pFelder();
    bool isEmpty();
    void read(const QString &art, const QString &key);
    void write(const QString &art, const QString &key);
    void del(const QString &art, const QString &key);

private:
    QLineEdit *m_name1 = nullptr;
    QLineEdit *m_name2 = nullptr;
    QLineEdit *m_strasse = nullptr;
    QLineEdit *m_plz = nullptr;
    QLineEdit *m_ort = nullptr;
    QLineEdit *m_land = nullptr;
    QLineEdit *m_mail = nullptr;
};
