#include "testdb.h"

#include "db.h"
#include "parameter.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
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

void TestDb::beitragsBuecher()
{
    Db::ausfuehren("INSERT INTO verband (namekurz,gegruendet,ebene,teilvon,bukto) VALUES ('BV','1990-01-01',0,'',"
                   "'100'),('LV Nord','1990-01-01',1,'BV','210'),('KV Hafen','1990-01-01',3,'LV Nord','3105')");
    for (const auto &[key, wert] : {std::pair{"General/Gliederung", "LV Nord"}, {"Konten/PrefGliederung", "08"},
                                    {"Konten/PrefMitglied", "20"}, {"Konten/AddMitglied", "100000"}})
        setParameter(key, wert);
    Db::ausfuehren("INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,"
                   "kontokasse,kontobank,kostkasse,kostbank) VALUES ('M',0,2000,3000,0,5000,0,'N','4000','4000',"
                   "'BEITRAG','BEITRAG')");
    Db::ausfuehren("INSERT INTO kontenplan (konto,text) VALUES ('1200','Bank'),('4000','Beiträge')");
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

QStringList TestDb::zeileIn(const QString &datei, const QString &sql)
{
    QStringList texte;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("zeileIn"));
        db.setDatabaseName(datei);
        QSqlQuery q(db);
        if (db.open() && q.exec(sql) && q.next()) {
            for (int i = 0; i < q.record().count(); ++i)
                texte << q.value(i).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("zeileIn"));
    return texte;
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
    antworte(Interaktion::Antwort{knopf, true, 0, QString()});
}

void SkriptInteraktion::antworteZahl(int zahl)
{
    antworte(Interaktion::Antwort{QMessageBox::NoButton, true, zahl, QString()});
}

void SkriptInteraktion::antworteText(const QString &text)
{
    antworte(Interaktion::Antwort{QMessageBox::NoButton, true, 0, text});
}

void SkriptInteraktion::antworteAbbruch()
{
    antworte(Interaktion::Antwort{QMessageBox::Cancel, false, 0, QString()});
}

void SkriptInteraktion::antworte(const Interaktion::Antwort &antwort)
{
    m_antworten.append(antwort);
}

QByteArray dateiInhalt(const QString &datei)
{
    QFile f(datei);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool dateiSchreiben(const QString &datei, const QByteArray &daten)
{
    QFile f(datei);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(daten) == daten.size();
}

QString pdfText(const QString &pdf, const QStringList &optionen)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), optionen + QStringList{pdf, QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}
