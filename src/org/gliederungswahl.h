#pragma once

#include <QDialog>

// Picks an organisation unit from the tree of the levels below `ebene`.
class GliederungsWahl : public QDialog
{
    Q_OBJECT

public:
    explicit GliederungsWahl(int ebene, QWidget *parent = nullptr);
    QString text() const;

private:
    QString m_text;
};
