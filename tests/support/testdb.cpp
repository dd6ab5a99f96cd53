#include "testdb.h"

#include "db.h"
#include "parameter.h"

#include <QSqlQuery>
#include <QSqlRecord>

TestDb::TestDb()
{
    m_datei = m_dir.filePath(QStringLiteral("test.db"));
    m_ok = m_dir.isValid() && Db::anlegen(m_datei);
    // A scratch file needs no flush to disk after every commit; tests stay fast.
    Db::ausfuehren(QStringLiteral("PRAGMA synchronous=OFF"));
    Db::setOffen(m_ok);
    UtilInitLeeren();
}

TestDb::~TestDb()
{
    Db::setOffen(false);
    Db::schliessen();
    UtilInitLeeren();
}

void TestDb::setParameter(const QString &key, const QString &wert)
{
    Db::ausfuehren(QStringLiteral("DELETE FROM parameter WHERE key=?"), {key});
    Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)"), {key, wert});
    UtilInit(true);
}

QStringList TestDb::zeile(const QString &sql, const QVariantList &werte)
{
    QSqlQuery q = Db::abfrage(sql, werte);
    QStringList texte;
    if (q.next()) {
        for (int i = 0; i < q.record().count(); ++i)
            texte << q.value(i).toString();
    }
    return texte;
}

int TestDb::anzahl(const QString &sql, const QVariantList &werte)
{
    return Db::wert(sql, werte).toInt();
}

SkriptInteraktion::SkriptInteraktion()
{
    Interaktion::setSkript([this](const Interaktion::Anfrage &anfrage) {
        m_anfragen.append(anfrage);
        if (m_antworten.isEmpty()) {
            ++m_unerwartet;
            Interaktion::Antwort nein;
            nein.knopf = anfrage.knoepfe.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No;
            return nein;
        }
        return m_antworten.takeFirst();
    });
}

SkriptInteraktion::~SkriptInteraktion()
{
    Interaktion::setSkript({});
}

void SkriptInteraktion::antworte(QMessageBox::StandardButton knopf)
{
    Interaktion::Antwort a;
    a.knopf = knopf;
    a.ok = true;
    m_antworten.append(a);
}

void SkriptInteraktion::antworteZahl(int zahl)
{
    Interaktion::Antwort a;
    a.ok = true;
    a.zahl = zahl;
    m_antworten.append(a);
}

void SkriptInteraktion::antworteText(const QString &text)
{
    Interaktion::Antwort a;
    a.ok = true;
    a.text = text;
    m_antworten.append(a);
}

void SkriptInteraktion::antworteAbbruch()
{
    Interaktion::Antwort a;
    a.knopf = QMessageBox::Cancel;
    m_antworten.append(a);
}

void SkriptInteraktion::antworte(const Interaktion::Antwort &antwort)
{
    m_antworten.append(antwort);
}
