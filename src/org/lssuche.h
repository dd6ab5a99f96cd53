#pragma once

#include <QDialog>

class QLineEdit;
class QModelIndex;
class QStandardItemModel;
class QTableView;

// Finds suppliers by name and postcode; "A&nlegen" creates one.
class LsSuche : public QDialog
{
    Q_OBJECT

public:
    explicit LsSuche(bool anlegen, QWidget *parent = nullptr);
    using QDialog::exec;
    int exec(const QString &text);
    QString auswahl() const;

private slots:
    void pSuche();
    void pAuswahl(const QModelIndex &index);
    void pAnlegen();

private:
    QString m_auswahl;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_plz = nullptr;
    QStandardItemModel *m_modell = nullptr;
    QTableView *m_liste = nullptr;
};
