#include "exportzeitraum.h"

#include "utilbuch.h"
#include "wdatum.h"

#include <QGridLayout>
#include <QLabel>

ExportZeitraum UtilExportZeitraum(QGridLayout *layout, int zeile, QWidget *parent)
{
    const ExportZeitraum zeitraum{new WDatum(UtilGJVon(), parent), new WDatum(QDate::currentDate(), parent)};
    zeitraum.von->setObjectName(QStringLiteral("von"));
    zeitraum.bis->setObjectName(QStringLiteral("bis"));
    layout->addWidget(new QLabel(QStringLiteral("Datum von"), parent), zeile, 1);
    layout->addWidget(zeitraum.von, zeile, 2);
    layout->addWidget(new QLabel(QStringLiteral("bis"), parent), zeile, 3);
    layout->addWidget(zeitraum.bis, zeile, 4);
    return zeitraum;
}
