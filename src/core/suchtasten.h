#pragma once

#include <QObject>

class QAbstractItemView;
class QLineEdit;
class QModelIndex;

// The keyboard of a search dialog: the arrow keys move from a search field into
// the result list, and Return on its highlighted row chooses that row.
class SuchTasten : public QObject
{
    Q_OBJECT

public:
    explicit SuchTasten(QAbstractItemView *liste);
    void feld(QLineEdit *feld);

signals:
    void gewaehlt(const QModelIndex &index);

protected:
    bool eventFilter(QObject *objekt, QEvent *event) override;

private:
    QAbstractItemView *m_liste;
};
