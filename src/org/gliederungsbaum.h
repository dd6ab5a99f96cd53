#pragma once

#include <QAbstractItemModel>

#include <memory>

class QTreeView;
class TreeItem;

// The organisation units of `verband` as a tree along `teilvon`, columns
// "Kurzname", "Konto", "Schatzmeister". Built level by level; a unit whose
// parent has not been created before it shows at the top level.
class GliederungsBaum : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit GliederungsBaum(QObject *parent = nullptr);
    ~GliederungsBaum() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The value in `column` of the index's node, whatever column the index points at.
    QVariant datac(const QModelIndex &index, int column) const;

    // Rebuilds the tree from the levels 0 .. ebene-1 (at most 0 .. 4) and returns
    // the index of the unit named `finden`, invalid if it is not in the tree.
    QModelIndex setupModelData(const QString &finden, int ebene);

private:
    TreeItem *knoten(const QModelIndex &index) const;

    std::unique_ptr<TreeItem> m_root;
};

// Expands the ancestors of `index` in `view` and scrolls it into sight.
void GliederungZeigen(QTreeView *view, const QModelIndex &index);
