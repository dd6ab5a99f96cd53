#include "textutil.h"

#include <QDate>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QPushButton>

#include <cmath>

QString UtilSauber(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QChar(0x60));
    return s.simplified();
}

QString UtilSauberGross(const QString &text)
{
    return UtilSauber(text).toUpper();
}

qint64 UtilCent(double euro)
{
    return static_cast<qint64>(std::llround(euro * 100.0));
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
    return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

QDoubleSpinBox *UtilBetragFeld(QWidget *parent, int breite)
{
    auto *feld = new QDoubleSpinBox(parent);
    feld->setDecimals(2);
    feld->setRange(-99999999.99, 99999999.99);
    feld->setSuffix(QStringLiteral(" EUR"));
    feld->setAlignment(Qt::AlignRight);
    feld->setFixedWidth(breite);
    return feld;
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

QDateEdit *UtilDatumFeld(const QDate &datum, QWidget *parent)
{
    auto *feld = new QDateEdit(datum, parent);
    feld->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return feld;
}

QPushButton *UtilKnopf(const QString &text, QWidget *parent)
{
    auto *knopf = new QPushButton(text, parent);
    knopf->setAutoDefault(false);
    knopf->setDefault(false);
    return knopf;
}
