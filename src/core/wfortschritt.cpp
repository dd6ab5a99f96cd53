#include "wfortschritt.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

constexpr qint64 kAbstandMs = 40;

} // namespace

WFortschritt::WFortschritt(QLabel *label, QWidget *parent) : QProgressBar(parent), m_label(label)
{
    setFormat(QStringLiteral("%v von %m"));
    setMinimumWidth(150);
    QSizePolicy platz = sizePolicy();
    platz.setRetainSizeWhenHidden(true);
    setSizePolicy(platz);
    hide();
}

void WFortschritt::start(int gesamt)
{
    setRange(0, gesamt);
    setValue(0);
    show();
    m_seitAnzeige.invalidate();
}

void WFortschritt::schritt(int nr, const QString &text)
{
    // Painting every step would cost more than the step itself.
    if (m_seitAnzeige.isValid() && m_seitAnzeige.elapsed() < kAbstandMs)
        return;
    setValue(qMin(nr, maximum()));
    if (m_label)
        m_label->setText(text);
    QCoreApplication::processEvents();
    m_seitAnzeige.start();
}

void WFortschritt::ende()
{
    hide();
    if (m_label)
        m_label->clear();
}
