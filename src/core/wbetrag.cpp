#include "wbetrag.h"

#include "textutil.h"

#include <QLocale>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>

namespace {

constexpr qint64 kGrenze = 9999999999; // 99.999.999,99 EUR
const QString kWaehrung = QStringLiteral("EUR");
constexpr int kRand = 3; // between the currency and the frame

bool nurZiffern(const QString &s)
{
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The integer part with optional thousands separators: "1250" or "1.250.000".
bool ganzzahlTeil(const QString &s, QChar gruppe)
{
    if (!s.contains(gruppe))
        return nurZiffern(s);
    const QStringList teile = s.split(gruppe);
    if (teile.first().isEmpty() || teile.first().size() > 3 || !nurZiffern(teile.first()))
        return false;
    for (int i = 1; i < teile.size(); ++i) {
        if (teile.at(i).size() != 3 || !nurZiffern(teile.at(i)))
            return false;
    }
    return true;
}

} // namespace

WBetrag::WBetrag(QWidget *parent) : QLineEdit(parent), m_min(-kGrenze), m_max(kGrenze)
{
    // Only what can belong to an amount; everything else is checked by pPruefe.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\s*[-+\\x{2212}]?[0-9.,\\s]*")),
                                                 this));
    setAlignment(Qt::AlignRight);
    setFixedWidth(150);
    setTextMargins(0, 0, fontMetrics().horizontalAdvance(QLatin1Char(' ') + kWaehrung) + kRand, 0);
    connect(this, &QLineEdit::textChanged, this, &WBetrag::pPruefe);
    connect(this, &QLineEdit::editingFinished, this, &WBetrag::pFormat);
    setCents(0);
}

qint64 WBetrag::cents() const
{
    return istGueltig() ? m_cent : 0;
}

void WBetrag::setCents(qint64 cent)
{
    setText(UtilBetragText(cent));
}

void WBetrag::setBereich(qint64 min, qint64 max)
{
    m_min = min;
    m_max = max;
    pPruefe();
}

WBetrag::Lesung WBetrag::lies(const QString &text) const
{
    QString s;
    for (const QChar c : text) {
        if (!c.isSpace())
            s += c;
    }
    bool negativ = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QChar(0x2212)) || s.startsWith(QLatin1Char('+'))) {
        negativ = s.at(0) != QLatin1Char('+');
        s.remove(0, 1);
    }

    // The locale's decimal sign always is one; its grouping sign is one only
    // before one or two final digits.
    const QChar komma = QLocale().decimalPoint() == QLatin1String(".") ? QLatin1Char('.') : QLatin1Char(',');
    const QChar gruppe = komma == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    int trenner = s.indexOf(komma);
    if (trenner < 0) {
        const int p = s.lastIndexOf(gruppe);
        if (p >= 0 && s.size() - p - 1 <= 2)
            trenner = p;
    }
    const QString ganz = trenner < 0 ? s : s.left(trenner);
    const QString bruch = trenner < 0 ? QString() : s.mid(trenner + 1);

    Lesung l;
    if (!ganzzahlTeil(ganz, gruppe) || !nurZiffern(bruch)) {
        l.grund = QStringLiteral("Kein gültiger Betrag");
        return l;
    }
    if (bruch.size() > 2) {
        l.grund = QStringLiteral("Höchstens zwei Nachkommastellen");
        return l;
    }
    QString ziffern = ganz;
    ziffern.remove(gruppe);
    while (ziffern.startsWith(QLatin1Char('0')))
        ziffern.remove(0, 1);
    // Longer than any range, and too long for the arithmetic below.
    if (ziffern.size() > 15) {
        l.grund = negativ ? QStringLiteral("Mindestens %1 EUR").arg(UtilBetragText(m_min))
                          : QStringLiteral("Höchstens %1 EUR").arg(UtilBetragText(m_max));
        return l;
    }
    l.cent = ziffern.toLongLong() * 100 + bruch.leftJustified(2, QLatin1Char('0')).toLongLong();
    if (negativ)
        l.cent = -l.cent;
    if (l.cent > m_max)
        l.grund = QStringLiteral("Höchstens %1 EUR").arg(UtilBetragText(m_max));
    else if (l.cent < m_min)
        l.grund = QStringLiteral("Mindestens %1 EUR").arg(UtilBetragText(m_min));
    return l;
}

void WBetrag::pPruefe()
{
    const Lesung l = lies(text());
    m_cent = l.cent;
    if (l.grund == m_grund)
        return;
    m_grund = l.grund;
    QPalette farben;
    if (!m_grund.isEmpty())
        farben.setColor(QPalette::Text, QColor(0xc0, 0x00, 0x00));
    setPalette(farben);
    setToolTip(m_grund);
}

void WBetrag::pFormat()
{
    if (istGueltig())
        setCents(m_cent);
    else // after the focus has moved on, which would close the note at once
        QTimer::singleShot(0, this, &WBetrag::zeigeGrund);
}

void WBetrag::zeigeGrund()
{
    QToolTip::showText(mapToGlobal(QPoint(0, height())), m_grund, this);
}

bool WBetrag::pruefe()
{
    if (istGueltig())
        return true;
    // A field on a hidden tab page comes to the front first.
    for (QWidget *w = this; w && !w->isWindow(); w = w->parentWidget()) {
        QWidget *stapel = w->parentWidget();
        if (auto *reiter = qobject_cast<QTabWidget *>(stapel ? stapel->parentWidget() : nullptr);
            reiter && reiter->indexOf(w) >= 0)
            reiter->setCurrentWidget(w);
    }
    setFocus();
    zeigeGrund();
    return false;
}

bool WBetrag::alleGueltig(QWidget *bereich)
{
    const QList<WBetrag *> felder = bereich->findChildren<WBetrag *>();
    for (WBetrag *feld : felder) {
        if (feld->window() == bereich->window() && feld->isEnabled() && !feld->pruefe())
            return false;
    }
    return true;
}

void WBetrag::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    // The currency sits in the right text margin, outside the editable text.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect inhalt = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int breite = textMargins().right();
    QPainter maler(this);
    maler.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    maler.drawText(QRect(inhalt.right() - breite + 1, inhalt.top(), breite - kRand, inhalt.height()),
                   Qt::AlignRight | Qt::AlignVCenter, kWaehrung);
}
