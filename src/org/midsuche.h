#pragma once

#include <QDialog>

class QLineEdit;
class QModelIndex;
class QStandardItemModel;
class QTableView;

// Finds members by surname (search name) and postcode; "A&nlegen" creates a person.
class MIDSuche : public QDialog
{
    Q_OBJECT

public:
    explicit MIDSuche(bool anlegen, QWidget *parent = nullptr);
    using QDialog::exec;
    // Pre-fills the fields from a search text ("NMeier", "P530", "M12", "Meier?"),
    // searches when the text asks for it and runs the dialog.
    int exec(const QString &text);
    int auswahl() const;

private slots:
    void pSuche();
    void pAuswahl(const QModelIndex &index);
    void pAnlegen();

private:
    QLineEdit *m_name = nullptr;
    QLineEdit *m_plz = nullptr;
    QStandardItemModel *m_modell = nullptr;
    QTableView *m_liste = nullptr;
    int m_auswahl = -1;
};
