#pragma once

#include <QLineEdit>

// The member-number field: a number, or a search text ("NMeier", "P530", "M12",
// "Meier?") that opens the member search.
class WMitglied : public QLineEdit
{
    Q_OBJECT

public:
    explicit WMitglied(bool anlegen, QWidget *parent = nullptr);
    int getInt() const;     // 0 when the text is no number
    QString getKey() const; // "%08i", empty below 1

signals:
    void finished();

private slots:
    void pEnter();

private:
    bool m_anlegen;
};
