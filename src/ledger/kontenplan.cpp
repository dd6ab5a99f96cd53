#include "kontenplan.h"

#include "db.h"
#include "textutil.h"
#include "wkonto.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {
// The accrual codes in the order of the combo box: none, "Saldo", "OPs".
const QString kAbgrArten = QStringLiteral(" SO");
} // namespace

Kontenplan::Kontenplan(bool anlegen, QWidget *parent)
    : SatzDialog(anlegen, parent), m_konto(new WKonto(nullptr, anlegen, this)), m_text(new QLineEdit(this)),
      m_abgrenzung(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Kontenplan"));

    m_konto->setFixedSize(150, 25);
    m_konto->setMaxLength(15);
    m_text->setFixedSize(500, 25);
    m_text->setMaxLength(80);
    m_abgrenzung->addItems({QString(), QStringLiteral("Saldo"), QStringLiteral("OPs")});

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Konto"), this), 0, 0);
    grid->addWidget(m_konto, 0, 1);
    grid->addWidget(speichernKnopf(), 0, 2);
    grid->addWidget(neuZeichen(), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Text"), this), 1, 0);
    grid->addWidget(m_text, 1, 1);
    grid->addWidget(abbruchKnopf(), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Abgrenzung"), this), 2, 0);
    grid->addWidget(m_abgrenzung, 2, 1, Qt::AlignLeft);
    if (loeschenKnopf())
        grid->addWidget(loeschenKnopf(), 2, 2);
    grid->addWidget(listeAnlegen(QStringLiteral("SELECT konto,text FROM kontenplan ORDER BY konto"),
                                 {QStringLiteral("Konto"), QStringLiteral("Text")}, {150, 500}),
                    3, 0, 1, 4);

    setSchluesselFeld(m_konto);
    connect(m_text, &QLineEdit::returnPressed, this, &Kontenplan::pWrite);
    pSetWahl(true);
}

QString Kontenplan::pSchluessel()
{
    return UtilSauber(m_konto->text());
}

bool Kontenplan::pLies()
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT text,abgrart FROM kontenplan WHERE konto=?"), {schluessel()});
    if (!q.next())
        return false;
    m_text->setText(q.value(0).toString());
    const QString art = q.value(1).toString();
    m_abgrenzung->setCurrentIndex(art.isEmpty() ? 0 : qMax(0, kAbgrArten.indexOf(art.at(0))));
    return true;
}

bool Kontenplan::pFelder()
{
    m_fText = UtilSauber(m_text->text());
    m_fAbgrArt = kAbgrArten.at(m_abgrenzung->currentIndex());
    return !m_fText.isEmpty();
}

void Kontenplan::pSchreib()
{
    const int geaendert = Db::ausfuehren(QStringLiteral("UPDATE kontenplan SET text=?,abgrart=? WHERE konto = ?"),
                                         {m_fText, m_fAbgrArt, schluessel()});
    if (geaendert == 0)
        Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES (?,?,?)"),
                       {schluessel(), m_fText, m_fAbgrArt});
}

// Bookings on the account stay; their account text simply becomes empty.
void Kontenplan::pLoesch()
{
    Db::ausfuehren(QStringLiteral("DELETE FROM kontenplan WHERE konto=?"), {schluessel()});
}

void Kontenplan::pLeeren()
{
    m_konto->clear();
    m_text->clear();
    m_abgrenzung->setCurrentIndex(0);
}

void Kontenplan::pFreigeben(bool an)
{
    m_text->setEnabled(an);
    m_abgrenzung->setEnabled(an);
}

// On "&Abbruch" when an existing account was read, else on its text.
QWidget *Kontenplan::pFokus()
{
    return m_text->text().isEmpty() ? static_cast<QWidget *>(m_text) : abbruchKnopf();
}
