#pragma once

#include <QDate>
#include <QDialog>

// Marks one journal entry as a donation or membership fee and splits it over
// the organisation levels (up to six split lines on the units' accounts).
class Spende : public QDialog
{
    Q_OBJECT

public:
    explicit Spende(QWidget *parent = nullptr);

    using QDialog::exec;
    int exec(qint64 cent);
    void read(const QDate &jdatum, int jlfd);
    void write(const QDate &jdatum, int jlfd);
    void clear();
    void setParam(int mid, QChar art, const QDate &bezahlt);
    // Line -2: posting text; -1: main account and cost centre; 0..5: split lines.
    void aufteilung(bool kasse, int zeile, qint64 cent, qint64 *betrag, QString *konto, QString *text);
    QString disName() const;
};
