#pragma once

#include <QDialog>

class QLineEdit;
class QModelIndex;
class QStandardItemModel;
class QTableView;

// Finds chart accounts by text; "A&nlegen" creates a missing one.
class KplSuche : public QDialog
{
    Q_OBJECT

public:
    explicit KplSuche(bool anlegen, QWidget *parent = nullptr);
    using QDialog::exec;
    // Pre-fills the search field (a trailing "?" dropped) and searches at once when it is not empty.
    int exec(const QString &text);
    QString auswahl() const;

public slots:
    void pSuche();
    void pAnlegen();
    void pAuswahl(const QModelIndex &index);

private:
    void pInitListe();

    QLineEdit *m_suche;
    QTableView *m_liste;
    QStandardItemModel *m_model;
    QString m_auswahl;
};
