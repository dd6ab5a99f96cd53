#include "textbaustein.h"

#include "db.h"
#include "textutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

Textbaustein::Textbaustein(bool pick, QWidget *parent)
    : SatzDialog(pick, parent), m_bez(new QLineEdit(this)), m_beschreibung(new QLineEdit(this)),
      m_betreff(new QLineEdit(this)), m_inhalt(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Textbausteine"));

    m_bez->setFixedSize(150, 25);
    m_bez->setMaxLength(15);
    m_beschreibung->setFixedSize(500, 25);
    m_beschreibung->setMaxLength(80);
    m_betreff->setFixedSize(500, 25);
    m_betreff->setMaxLength(80);
    m_inhalt->setTabChangesFocus(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Bezeichnung"), this), 0, 0);
    grid->addWidget(m_bez, 0, 1, Qt::AlignLeft);
    grid->addWidget(neuZeichen(), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Beschreibung"), this), 1, 0);
    grid->addWidget(m_beschreibung, 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Betreff"), this), 2, 0);
    grid->addWidget(m_betreff, 2, 1, Qt::AlignLeft);
    grid->addWidget(m_inhalt, 3, 0, 1, 3);
    grid->addLayout(knopfZeile(), 4, 0, 1, 3);
    grid->addWidget(listeAnlegen(QStringLiteral("SELECT bez,beschreibung FROM textbaustein ORDER BY bez"),
                                 {QStringLiteral("Bez."), QStringLiteral("Beschreibung")}, {150, 400}),
                    5, 0, 1, 3);

    setSchluesselFeld(m_bez);
    pSetWahl(true);
}

// Names are kept upper-case, so a name typed in any case finds its template.
QString Textbaustein::pSchluessel()
{
    m_bez->setText(UtilSauberGross(m_bez->text()));
    return m_bez->text();
}

bool Textbaustein::pLies()
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT beschreibung,subject,inhalt FROM textbaustein WHERE bez=?"),
                              {schluessel()});
    if (!q.next())
        return false;
    m_beschreibung->setText(q.value(0).toString());
    m_betreff->setText(q.value(1).toString());
    m_inhalt->setPlainText(q.value(2).toString());
    return true;
}

// The body keeps its lines and spacing.
bool Textbaustein::pFelder()
{
    m_fBeschreibung = UtilSauber(m_beschreibung->text());
    m_fBetreff = UtilSauber(m_betreff->text());
    m_fInhalt = m_inhalt->toPlainText().replace(QLatin1Char('\''), QChar(0x60));
    return true;
}

void Textbaustein::pSchreib()
{
    const int geaendert =
        Db::ausfuehren(QStringLiteral("UPDATE textbaustein SET beschreibung=?,subject=?,inhalt=? WHERE bez = ?"),
                       {m_fBeschreibung, m_fBetreff, m_fInhalt, schluessel()});
    if (geaendert == 0)
        Db::ausfuehren(QStringLiteral("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES (?,?,?,?)"),
                       {schluessel(), m_fBeschreibung, m_fBetreff, m_fInhalt});
}

void Textbaustein::pLoesch()
{
    Db::ausfuehren(QStringLiteral("DELETE FROM textbaustein WHERE bez=?"), {schluessel()});
}

void Textbaustein::pLeeren()
{
    m_bez->clear();
    m_beschreibung->clear();
    m_betreff->clear();
    m_inhalt->clear();
}

void Textbaustein::pFreigeben(bool an)
{
    m_beschreibung->setEnabled(an);
    m_betreff->setEnabled(an);
    m_inhalt->setEnabled(an);
}

QWidget *Textbaustein::pFokus()
{
    return m_beschreibung;
}
