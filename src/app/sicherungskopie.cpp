#include "sicherungskopie.h"

#include "db.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

Sicherungskopie::Sicherungskopie(const QString &ziel)
    : m_ziel(QFileInfo(ziel).absoluteFilePath()),
      m_kopie(QFileInfo(ziel).absolutePath() + QStringLiteral("/.vela-kopie-XXXXXX"))
{
}

bool Sicherungskopie::fehler(const QString &grund)
{
    m_grund = grund;
    return false;
}

bool Sicherungskopie::ausBuechern()
{
    if (!m_kopie.open())
        return fehler(QStringLiteral("Die Datei kann im Ordner ") + QFileInfo(m_ziel).absolutePath()
                      + QStringLiteral(" nicht angelegt werden: ") + m_kopie.errorString());
    m_kopie.close();
    // SQLite writes into the empty file it is given.
    if (Db::ausfuehren(QStringLiteral("VACUUM INTO ?"), {m_kopie.fileName()}) < 0)
        return fehler(Db::fehlerText());
    return true;
}

bool Sicherungskopie::ausDatei(const QString &quelle)
{
    QFile datei(quelle);
    if (!datei.open(QIODevice::ReadOnly))
        return fehler(QStringLiteral("Die Datei kann nicht gelesen werden: ") + datei.errorString());
    if (!m_kopie.open())
        return fehler(QStringLiteral("Die Datei kann im Ordner ") + QFileInfo(m_ziel).absolutePath()
                      + QStringLiteral(" nicht angelegt werden: ") + m_kopie.errorString());
    while (!datei.atEnd()) {
        const QByteArray block = datei.read(1 << 20);
        if (block.isEmpty() && datei.error() != QFileDevice::NoError)
            return fehler(QStringLiteral("Die Datei kann nicht gelesen werden: ") + datei.errorString());
        if (m_kopie.write(block) != block.size())
            return fehler(QStringLiteral("Die Kopie kann nicht geschrieben werden: ") + m_kopie.errorString());
    }
    if (!m_kopie.flush())
        return fehler(QStringLiteral("Die Kopie kann nicht geschrieben werden: ") + m_kopie.errorString());
    m_kopie.close();
    return true;
}

bool Sicherungskopie::pruefen()
{
    const QString problem = Db::pruefen(m_kopie.fileName());
    if (!problem.isEmpty())
        return fehler(QStringLiteral("Die Kopie ist fehlerhaft: ") + problem);
    m_geprueft = true;
    return true;
}

bool Sicherungskopie::einsetzen()
{
    if (!m_geprueft)
        return fehler(QStringLiteral("Die Kopie ist nicht geprüft."));
    // Unlike QFile::rename, rename(2) replaces an existing target atomically.
    if (std::rename(QFile::encodeName(m_kopie.fileName()).constData(), QFile::encodeName(m_ziel).constData()) != 0)
        return fehler(QStringLiteral("Die Kopie kann nicht an die Stelle von ") + m_ziel
                      + QStringLiteral(" treten."));
    m_kopie.setAutoRemove(false);
    return true;
}
