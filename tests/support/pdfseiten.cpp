#include "pdfseiten.h"

#include "testdb.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

QStringList pdfSeiten(const QString &pdf, const QStringList &optionen)
{
    QStringList seiten = pdfText(pdf, optionen).split(QLatin1Char('\f'));
    seiten.removeLast(); // after the last form feed
    for (QString &s : seiten)
        s = s.simplified();
    return seiten;
}

QList<QPair<QString, QRectF>> pdfWoerter(const QString &pdf, int seite)
{
    const QString s = QString::number(seite);
    const QString html = pdfText(pdf, {QStringLiteral("-bbox"), QStringLiteral("-f"), s, QStringLiteral("-l"), s});
    static const QRegularExpression wort(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<QPair<QString, QRectF>> woerter;
    for (auto it = wort.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        woerter.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                              QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return woerter;
}

QImage pdfBild(const QString &pdf, int dpi, int seite)
{
    QTemporaryDir dir;
    const QString s = QString::number(seite);
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                         QStringLiteral("-f"), s, QStringLiteral("-l"), s,
                                         QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("seite"))});
    p.waitForFinished();
    return QImage(dir.filePath(QStringLiteral("seite.png")));
}
