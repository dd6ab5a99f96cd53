#pragma once

#include <QImage>
#include <QList>
#include <QPair>
#include <QRectF>
#include <QString>
#include <QStringList>

// Printed PDF files read back with poppler's tools.

// The text of every page, whitespace simplified.
QStringList pdfSeiten(const QString &pdf, const QStringList &optionen = {QStringLiteral("-layout")});

// The words of one page with their boxes in points from the paper's top left corner.
QList<QPair<QString, QRectF>> pdfWoerter(const QString &pdf, int seite = 1);

// One page rendered at `dpi`, so that a pixel at 72 dpi is a point.
QImage pdfBild(const QString &pdf, int dpi, int seite = 1);
