#pragma once

#include <QString>
#include <QTemporaryFile>

// A checked copy of a database that takes the place of a target file. The copy is
// written into a temporary file beside the target and checked there, so that a
// failed or faulty copy (full disk, no permission, broken source) never replaces
// what the target held before.
class Sicherungskopie
{
public:
    explicit Sicherungskopie(const QString &ziel);

    // Copies the open books with SQLite's own backup: consistent even while they are open.
    bool ausBuechern();
    // Copies a database file that nobody writes, byte for byte.
    bool ausDatei(const QString &quelle);
    // Checks the copy as thoroughly as a restore does.
    bool pruefen();
    // Puts the checked copy in the target's place in one step.
    bool einsetzen();

    // Why the last step failed, in the user's words.
    QString grund() const { return m_grund; }

private:
    bool fehler(const QString &grund);

    QString m_ziel;
    QTemporaryFile m_kopie;
    bool m_geprueft = false;
    QString m_grund;
};
