#include "textutil.h"

#include "interaktion.h"

#include <QDate>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStackedWidget>

#include <cmath>

QString UtilSauber(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QChar(0x60));
    // Never a null text: bound as a value it would be stored as NULL.
    s = s.simplified();
    return s.isNull() ? QStringLiteral("") : s;
}

QString UtilSauberGross(const QString &text)
{
    return UtilSauber(text).toUpper();
}

qint64 UtilCent(double wert)
{
    return static_cast<qint64>(std::llround(wert * 100.0));
}

QString UtilBetragText(qint64 cent)
{
    return QLocale().toString(static_cast<double>(cent) / 100.0, 'f', 2);
}

QString UtilMidKey(int mid)
{
    return QString::asprintf("%08i", mid);
}

QString UtilDatumText(const QDate &datum)
{
    return datum.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate UtilDatum(const QString &text)
{
    // The stored form is read by hand: the format parser is slow for the many
    // dates a batch reads, and gives the same date for it.
    if (text.size() == 10 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-')) {
        int teil[3] = {0, 0, 0};
        int stelle = 0;
        bool ziffern = true;
        for (int i = 0; i < 10 && ziffern; ++i) {
            if (i == 4 || i == 7) {
                ++stelle;
                continue;
            }
            const char16_t c = text.at(i).unicode();
            ziffern = c >= u'0' && c <= u'9';
            teil[stelle] = teil[stelle] * 10 + (c - u'0');
        }
        if (ziffern)
            return QDate(teil[0], teil[1], teil[2]);
    }
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

bool UtilIstLeerDatum(const QDate &datum, LeerDatum art)
{
    switch (art) {
    case LeerDatum::Keins:
        return false;
    case LeerDatum::Jahr1900:
        return datum == QDate(1900, 1, 1);
    case LeerDatum::Jahr2200:
        return datum == QDate(2200, 1, 1);
    case LeerDatum::Vor2000:
        return datum.isValid() && datum < QDate(2000, 1, 1);
    }
    return false;
}

QDate UtilLeerDatum(LeerDatum art)
{
    return art == LeerDatum::Jahr2200 ? QDate(2200, 1, 1) : QDate(1900, 1, 1);
}

QString UtilDatumZeige(const QDate &datum, LeerDatum art)
{
    if (!datum.isValid() || UtilIstLeerDatum(datum, art))
        return QStringLiteral("—");
    return datum.toString(QStringLiteral("dd.MM.yyyy"));
}

QDoubleSpinBox *UtilProzentFeld(QWidget *parent)
{
    auto *feld = new QDoubleSpinBox(parent);
    feld->setDecimals(2);
    feld->setRange(0.0, 100.0);
    feld->setSuffix(QStringLiteral(" %"));
    feld->setAlignment(Qt::AlignRight);
    return feld;
}

QPushButton *UtilKnopf(const QString &text, QWidget *parent)
{
    auto *knopf = new QPushButton(text, parent);
    knopf->setAutoDefault(false);
    knopf->setDefault(false);
    return knopf;
}

QLabel *UtilNeuLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("neu"));
    return label;
}

void UtilNeu(QLabel *label, bool neu)
{
    label->setText(neu ? QStringLiteral("neu") : QString());
}

void UtilFokus(QWidget *feld)
{
    for (QWidget *kind = feld; kind && kind->parentWidget(); kind = kind->parentWidget()) {
        if (auto *seiten = qobject_cast<QStackedWidget *>(kind->parentWidget()))
            seiten->setCurrentWidget(kind);
    }
    feld->setFocus();
}

bool UtilQDelete()
{
    return Interaktion::frage(nullptr, QStringLiteral("Löschen"), QStringLiteral("Soll der Datensatz gelöscht werden"),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
           == QMessageBox::Ok;
}
