#include "wadresse.h"

#include "db.h"
#include "suchname.h"
#include "textutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QLineEdit *feld(QWidget *parent, int breite, int laenge)
{
    auto *f = new QLineEdit(parent);
    f->setFixedWidth(breite);
    f->setMaxLength(laenge);
    return f;
}

} // namespace

WAdresse::WAdresse(int variante, QWidget *parent)
    : m_name1(feld(parent, 525, 60)), m_name2(variante ? feld(parent, 525, 60) : nullptr),
      m_strasse(feld(parent, 525, 60)), m_plz(feld(parent, 95, 10)), m_ort(feld(parent, 525, 60)),
      m_land(feld(parent, 525, 60)), m_mail(feld(parent, 625, 80))
{
}

QLineEdit *WAdresse::Name1() const { return m_name1; }
QLineEdit *WAdresse::Name2() const { return m_name2; }
QLineEdit *WAdresse::Strasse() const { return m_strasse; }
QLineEdit *WAdresse::Plz() const { return m_plz; }
QLineEdit *WAdresse::Ort() const { return m_ort; }
QLineEdit *WAdresse::Land() const { return m_land; }
QLineEdit *WAdresse::Mail() const { return m_mail; }

QList<QLineEdit *> WAdresse::felder() const
{
    QList<QLineEdit *> alle{m_name1, m_name2, m_strasse, m_plz, m_ort, m_land, m_mail};
    alle.removeAll(nullptr);
    return alle;
}

void WAdresse::FuellLayout(QGridLayout *layout, int zeile, int spalte)
{
    QWidget *eltern = m_name1->parentWidget();
    auto beschriftung = [&](const QString &text, int z, QWidget *feld) {
        auto *label = new QLabel(text, eltern);
        label->setBuddy(feld);
        layout->addWidget(label, z, spalte);
    };
    int z = zeile;
    if (m_name2) {
        beschriftung(QStringLiteral("Vorname"), z, m_name2);
        layout->addWidget(m_name2, z++, spalte + 1, 1, 6);
        beschriftung(QStringLiteral("Nachname"), z, m_name1);
    } else {
        beschriftung(QStringLiteral("Name"), z, m_name1);
    }
    layout->addWidget(m_name1, z++, spalte + 1, 1, 6);
    beschriftung(QStringLiteral("Strasse"), z, m_strasse);
    layout->addWidget(m_strasse, z++, spalte + 1, 1, 6);
    beschriftung(QStringLiteral("PLZ/Ort"), z, m_plz);
    layout->addWidget(m_plz, z, spalte + 1);
    layout->addWidget(m_ort, z++, spalte + 2, 1, 6);
    beschriftung(QStringLiteral("Land"), z, m_land);
    layout->addWidget(m_land, z++, spalte + 1, 1, 6);
    beschriftung(QStringLiteral("Email"), z, m_mail);
    layout->addWidget(m_mail, z, spalte + 1, 1, 6);
}

void WAdresse::setEnabled(bool an)
{
    for (QLineEdit *f : felder())
        f->setEnabled(an);
}

void WAdresse::clear()
{
    for (QLineEdit *f : felder())
        f->clear();
}

void WAdresse::pFelder()
{
    m_wName1 = UtilSauber(m_name1->text());
    // An empty text, not a null one: the column holds "" and never NULL.
    m_wName2 = m_name2 ? UtilSauber(m_name2->text()) : QStringLiteral("");
    m_wStrasse = UtilSauber(m_strasse->text());
    m_wPlz = UtilSauber(m_plz->text());
    m_wOrt = UtilSauber(m_ort->text());
    m_wLand = UtilSauber(m_land->text());
    m_wMail = UtilSauber(m_mail->text());
}

bool WAdresse::isEmpty()
{
    pFelder();
    return m_wName1.isEmpty() && m_wName2.isEmpty() && m_wStrasse.isEmpty() && m_wPlz.isEmpty()
        && m_wOrt.isEmpty() && m_wLand.isEmpty() && m_wMail.isEmpty();
}

void WAdresse::read(const QString &art, const QString &key)
{
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT name1,name2,strasse,plz,ort,land,mail from adresse WHERE art=? AND key=?"),
        {art, key});
    if (!q.next())
        return;
    m_name1->setText(q.value(0).toString());
    if (m_name2)
        m_name2->setText(q.value(1).toString());
    m_strasse->setText(q.value(2).toString());
    m_plz->setText(q.value(3).toString());
    m_ort->setText(q.value(4).toString());
    m_land->setText(q.value(5).toString());
    m_mail->setText(q.value(6).toString());
}

void WAdresse::write(const QString &art, const QString &key)
{
    if (isEmpty()) {
        del(art, key);
        return;
    }
    const QString suchname = SuchName(m_wName1, m_wName2);
    const int geaendert = Db::ausfuehren(
        QStringLiteral("UPDATE adresse SET suchname=?,name1=?,name2=?,strasse=?,plz=?,ort=?,land=?,mail=?"
                       " WHERE art=? AND key=?"),
        {suchname, m_wName1, m_wName2, m_wStrasse, m_wPlz, m_wOrt, m_wLand, m_wMail, art, key});
    if (geaendert < 1)
        Db::ausfuehren(QStringLiteral("INSERT INTO adresse (art,key,suchname,name1,name2,strasse,plz,ort,land,mail)"
                                      " VALUES (?,?,?,?,?,?,?,?,?,?)"),
                       {art, key, suchname, m_wName1, m_wName2, m_wStrasse, m_wPlz, m_wOrt, m_wLand, m_wMail});
}

void WAdresse::del(const QString &art, const QString &key)
{
    Db::ausfuehren(QStringLiteral("DELETE FROM adresse WHERE art=? AND key=?"), {art, key});
}
