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
    void setLabel(QLabel *label);

public slots:
    void pChanged();
    void pEnter();

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    QLabel *m_label;
    bool m_gewaehlt = false;
    bool m_anlegen;
};
