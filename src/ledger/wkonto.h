#pragma once

#include <QLineEdit>

class QLabel;

// The account input field of every dialog. It normalises its text, shows the
// account's text in a label and opens a search for texts like "MMeier",
// "LBau", "GKreis", "KKasse" or "Miete?".
class WKonto : public QLineEdit
{
    Q_OBJECT

public:
    WKonto(QLabel *label, bool anlegen, QWidget *parent = nullptr);

    // The normalised account number, or empty when the text is no account.
    QString text() const;
    // The account as a booking stores it, in its owner's form (UtilKtoKanon). Empty
    // when the field is empty, or when the account resolves to no one: then the
    // label says "unbekanntes Konto".
    QString buchungsKonto();
    void setLabel(QLabel *label);

    // True when the last search (Return or Tab) picked a value.
    bool gewaehlt() const { return m_gewaehlt; }

public slots:
    void pChanged();
    void pEnter();

protected:
    void focusOutEvent(QFocusEvent *event) override;

    // Runs one search and returns what the user picked, empty when cancelled:
    // 'M' member search with `suchtext` -> the member number in decimal;
    // 'L' supplier search with `suchtext` -> the supplier name;
    // 'G' unit chooser (`suchtext` is the name typed, the chooser does not take it) -> the unit's short name;
    // 'K' chart search with `suchtext` -> the account number.
    virtual QString suchen(QChar art, const QString &suchtext);

private:
    // The raw text the way searches see it.
    QString suchEingabe() const;
    static bool istSuche(const QString &s);

    QLabel *m_label;
    bool m_gewaehlt = false;
    bool m_anlegen;
};
