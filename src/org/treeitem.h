#pragma once

#include <QVariant>
#include <QVariantList>

#include <memory>
#include <vector>

// One node of the unit tree: its column values and its children. A node owns
// its children, so deleting it deletes the whole subtree.
class TreeItem
{
public:
    explicit TreeItem(const QVariantList &daten);
    ~TreeItem();
    TreeItem(const TreeItem &) = delete;
    TreeItem &operator=(const TreeItem &) = delete;

    // Takes the node over as the last child; returns it for further use.
    TreeItem *appendChild(std::unique_ptr<TreeItem> item);

    TreeItem *child(int row) const;
    int childCount() const;
    int columnCount() const;
    QVariant data(int column) const;
    TreeItem *parent() const;
    int row() const;

private:
    QVariantList m_daten;
    TreeItem *m_parent = nullptr;
    int m_row = 0; // children are only ever appended, so the position never changes
    std::vector<std::unique_ptr<TreeItem>> m_kinder;
};
