#pragma once

#include <QDialog>

// Finds suppliers by name and postcode; "A&nlegen" creates one.
class LsSuche : public QDialog
{
    Q_OBJECT

public:
    explicit LsSuche(bool anlegen, QWidget *parent = nullptr);
    using QDialog::exec;
    int exec(const QString &text);
    QString auswahl() const;

private:
    QString m_auswahl;
};
