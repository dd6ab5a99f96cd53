#pragma once

#include "textutil.h"

#include <QDateEdit>

// The date field of every dialog, "dd.MM.yyyy". Tab and Shift+Tab leave it for
// the next or previous field; typing still moves on through day, month and
// year. A field can hold a marker date that stands for "no date": it shows
// "—" and gives the marker back unchanged, also when the user empties it.
class WDatum : public QDateEdit
{
    Q_OBJECT

public:
    explicit WDatum(const QDate &datum, QWidget *parent = nullptr);

    // Which dates are markers for this field (none by default).
    void setLeer(LeerDatum art);

    // The date; for an empty field the marker it was given, else the usual one.
    QDate datum() const;
    void setDatum(const QDate &datum);
    // The date as stored ("yyyy-MM-dd").
    QString datumText() const { return UtilDatumText(datum()); }
    bool istLeer() const;

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;
    void fixup(QString &input) const override;

private:
    LeerDatum m_art = LeerDatum::Keins;
    QDate m_leerWert; // the marker an empty field gives back
};
