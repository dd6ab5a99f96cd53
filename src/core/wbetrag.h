#pragma once

#include <QLineEdit>

// The amount field of every dialog, in cents. It reads amounts the way German
// users type them: "12,50", "12.50" and "1.250,50"; a point before one or two
// final digits is a decimal point, before three digits it groups thousands.
// What was typed is never cut: an amount beyond the range or with more than
// two decimals stays in the field, marked red with the reason, and counts as
// not valid until corrected. An emptied field is 0,00.
class WBetrag : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(qint64 cents READ cents WRITE setCents)

public:
    explicit WBetrag(QWidget *parent = nullptr);

    // The amount in cents; 0 while the input is not valid.
    qint64 cents() const;
    void setCents(qint64 cent);

    // The range in cents, both ends included; -99999999.99 to 99999999.99 EUR by default.
    void setBereich(qint64 min, qint64 max);

    // False while the text is no amount or lies outside the range.
    bool istGueltig() const { return m_grund.isEmpty(); }
    // Why the text is not valid, as the field shows it; empty when valid.
    QString grund() const { return m_grund; }

    // Before the amount is used: when it is not valid, the field is brought
    // to the front, gets the focus and shows its reason, and this is false.
    bool pruefe();
    // The same for the enabled amount fields in the window of `bereich`, stopping at the first.
    static bool alleGueltig(QWidget *bereich);

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void pPruefe();
    void pFormat();
    void zeigeGrund();

private:
    struct Lesung
    {
        qint64 cent = 0;
        QString grund; // empty when the text is a valid amount
    };
    Lesung lies(const QString &text) const;

    qint64 m_min;
    qint64 m_max;
    qint64 m_cent = 0;
    QString m_grund;
};
