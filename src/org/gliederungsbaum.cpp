#include "gliederungsbaum.h"

#include "db.h"
#include "treeitem.h"

#include <QHash>
#include <QTreeView>

GliederungsBaum::GliederungsBaum(QObject *parent) : QAbstractItemModel(parent) {}

GliederungsBaum::~GliederungsBaum() = default;

TreeItem *GliederungsBaum::knoten(const QModelIndex &index) const
{
    if (index.isValid())
        return static_cast<TreeItem *>(index.internalPointer());
    return m_root.get();
}

QModelIndex GliederungsBaum::index(int row, int column, const QModelIndex &parent) const
{
    if (!m_root || !hasIndex(row, column, parent))
        return QModelIndex();
    TreeItem *kind = knoten(parent)->child(row);
    return kind ? createIndex(row, column, kind) : QModelIndex();
}

QModelIndex GliederungsBaum::parent(const QModelIndex &index) const
{
    if (!m_root || !index.isValid())
        return QModelIndex();
    TreeItem *eltern = knoten(index)->parent();
    if (!eltern || eltern == m_root.get())
        return QModelIndex();
    return createIndex(eltern->row(), 0, eltern);
}

int GliederungsBaum::rowCount(const QModelIndex &parent) const
{
    if (!m_root || parent.column() > 0)
        return 0;
    return knoten(parent)->childCount();
}

int GliederungsBaum::columnCount(const QModelIndex &parent) const
{
    if (!m_root)
        return 0;
    return knoten(parent)->columnCount();
}

QVariant GliederungsBaum::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    return knoten(index)->data(index.column());
}

QVariant GliederungsBaum::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_root || orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return m_root->data(section);
}

Qt::ItemFlags GliederungsBaum::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QVariant GliederungsBaum::datac(const QModelIndex &index, int column) const
{
    if (!index.isValid())
        return QVariant();
    return knoten(index)->data(column);
}

QModelIndex GliederungsBaum::setupModelData(const QString &finden, int ebene)
{
    beginResetModel();
    m_root = std::make_unique<TreeItem>(
        QVariantList{QStringLiteral("Kurzname"), QStringLiteral("Konto"), QStringLiteral("Schatzmeister")});

    // The first node created under each short name: parents are looked up only
    // among the nodes that exist already.
    QHash<QString, TreeItem *> erstellt;
    TreeItem *gefunden = nullptr;

    for (int e = 0; e < ebene && e <= 4; ++e) {
        QString gemerkt;
        TreeItem *eltern = m_root.get();
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT namekurz,bukto,schatzname,teilvon FROM verband "
                                                 "WHERE ebene=? ORDER BY ebene,teilvon,namekurz"),
                                  {e});
        while (q.next()) {
            const QString name = q.value(0).toString();
            const QString teilvon = q.value(3).toString();
            // Rows come sorted by parent, so the parent is looked up once per run.
            if (teilvon != gemerkt) {
                if (teilvon.isEmpty()) {
                    gemerkt.clear();
                    eltern = m_root.get();
                } else {
                    gemerkt = teilvon;
                    eltern = erstellt.value(teilvon);
                    if (!eltern) {
                        eltern = m_root.get();
                        gemerkt.clear();
                    }
                }
            }
            TreeItem *neu = eltern->appendChild(std::make_unique<TreeItem>(
                QVariantList{name, q.value(1).toString(), q.value(2).toString()}));
            if (!erstellt.contains(name))
                erstellt.insert(name, neu);
            if (!finden.isEmpty() && name == finden)
                gefunden = neu;
        }
    }
    endResetModel();
    return gefunden ? createIndex(gefunden->row(), 0, gefunden) : QModelIndex();
}

void GliederungZeigen(QTreeView *view, const QModelIndex &index)
{
    if (!index.isValid())
        return;
    for (QModelIndex vorfahr = index.parent(); vorfahr.isValid(); vorfahr = vorfahr.parent())
        view->expand(vorfahr);
    view->scrollTo(index);
}
