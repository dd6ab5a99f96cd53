#pragma once

#include <QList>
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
    QList<QLineEdit *> felder() const;

    QLineEdit *m_name1 = nullptr;
    QLineEdit *m_name2 = nullptr;
    QLineEdit *m_strasse = nullptr;
    QLineEdit *m_plz = nullptr;
    QLineEdit *m_ort = nullptr;
    QLineEdit *m_land = nullptr;
    QLineEdit *m_mail = nullptr;

    // The cleaned values of the last collection; the first name stays empty outside the person variant.
    QString m_wName1;
    QString m_wName2;
    QString m_wStrasse;
    QString m_wPlz;
    QString m_wOrt;
    QString m_wLand;
    QString m_wMail;
};
