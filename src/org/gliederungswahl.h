#pragma once

#include <QDialog>

class GliederungsBaum;
class QModelIndex;
class QTreeView;

// Picks an organisation unit from the tree of the levels below `ebene`.
class GliederungsWahl : public QDialog
{
    Q_OBJECT

public:
    explicit GliederungsWahl(int ebene, QWidget *parent = nullptr);
    QString text() const;

private slots:
    void pWahl(const QModelIndex &index);

private:
    QString m_text;
    GliederungsBaum *m_baum = nullptr;
    QTreeView *m_view = nullptr;
};
