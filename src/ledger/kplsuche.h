#pragma once

#include <QDialog>

// Finds chart accounts by text; "A&nlegen" creates a missing one.
class KplSuche : public QDialog
{
    Q_OBJECT

public:
    explicit KplSuche(bool anlegen, QWidget *parent = nullptr);
    using QDialog::exec;
    int exec(const QString &text);
    QString auswahl() const;

private:
    QString m_auswahl;
};
