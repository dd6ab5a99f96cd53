#include "treeitem.h"

TreeItem::TreeItem(const QVariantList &daten) : m_daten(daten) {}

TreeItem::~TreeItem() = default;

TreeItem *TreeItem::appendChild(std::unique_ptr<TreeItem> item)
{
    item->m_parent = this;
    item->m_row = childCount();
    m_kinder.push_back(std::move(item));
    return m_kinder.back().get();
}

TreeItem *TreeItem::child(int row) const
{
    if (row < 0 || row >= childCount())
        return nullptr;
    return m_kinder[static_cast<size_t>(row)].get();
}

int TreeItem::childCount() const
{
    return static_cast<int>(m_kinder.size());
}

int TreeItem::columnCount() const
{
    return m_daten.size();
}

QVariant TreeItem::data(int column) const
{
    if (column < 0 || column >= m_daten.size())
        return QVariant();
    return m_daten.at(column);
}

TreeItem *TreeItem::parent() const
{
    return m_parent;
}

int TreeItem::row() const
{
    return m_row;
}
