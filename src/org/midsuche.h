#pragma once

#include <QDialog>

// Finds members by surname (search name) and postcode; "A&nlegen" creates a person.
class MIDSuche : public QDialog
{
    Q_OBJECT

public:
    explicit MIDSuche(bool anlegen, QWidget *parent = nullptr);
    using QDialog::exec;
    int exec(const QString &text);
    int auswahl() const;

private:
    int m_auswahl = -1;
};
