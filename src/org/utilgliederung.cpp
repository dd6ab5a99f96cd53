#include "utilgliederung.h"

#include "db.h"

QStringList UtilGliederungMitUnteren(const QString &gliederung)
{
    QStringList liste{gliederung};
    QSqlQuery q;
    for (int i = 0; i < liste.size(); ++i) {
        q = Db::abfrage(QStringLiteral("SELECT namekurz FROM verband WHERE teilvon=?"), {liste.at(i)});
        while (q.next()) {
            const QString name = q.value(0).toString();
            if (!liste.contains(name))
                liste << name;
        }
    }
    return liste;
}

bool UtilGliederungUnter(const QString &gliederung, const QString &oben)
{
    // Followed upwards until a unit has no parent or is unknown; the set guards against cycles.
    QStringList gesehen;
    QString g = gliederung;
    while (!g.isEmpty() && !gesehen.contains(g)) {
        if (g == oben)
            return true;
        gesehen << g;
        g = Db::wert(QStringLiteral("SELECT teilvon FROM verband WHERE namekurz=?"), {g}).toString();
    }
    return false;
}
