#pragma once

class QGridLayout;
class QWidget;
class WDatum;

// The date range of the exports: "Datum von" (start of the fiscal year) and
// "bis" (today) in one grid row, from column 1.
struct ExportZeitraum {
    WDatum *von;
    WDatum *bis;
};
ExportZeitraum UtilExportZeitraum(QGridLayout *layout, int zeile, QWidget *parent);
