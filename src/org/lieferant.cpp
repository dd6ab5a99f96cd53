#include "lieferant.h"

#include "db.h"
#include "lssuche.h"
#include "textutil.h"
#include "wadresse.h"
#include "wbank.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kBezLaenge = 6;

QLineEdit *feld(QWidget *parent, int breite, int laenge = 0)
{
    auto *f = new QLineEdit(parent);
    f->setFixedWidth(breite);
    if (laenge > 0)
        f->setMaxLength(laenge);
    return f;
}

QLabel *beschriftung(const QString &text, QLineEdit *feld)
{
    auto *label = new QLabel(text, feld->parentWidget());
    label->setBuddy(feld);
    return label;
}

} // namespace

Lieferant::Lieferant(bool anlegen, QWidget *parent) : SatzDialog(anlegen, parent)
{
    setWindowTitle(QStringLiteral("Lieferanten"));

    auto *haupt = new QVBoxLayout(this);
    auto *kopf = new QHBoxLayout;
    m_bezFeld = feld(this, 60);
    kopf->addWidget(beschriftung(QStringLiteral("Bezeichnung"), m_bezFeld));
    kopf->addWidget(m_bezFeld);
    kopf->addWidget(neuZeichen());
    kopf->addStretch();
    haupt->addLayout(kopf);

    auto *tabs = new QTabWidget(this);
    m_tabs = tabs;
    auto *adressSeite = new QWidget(tabs);
    auto *adressGitter = new QGridLayout(adressSeite);
    m_adresse = std::make_unique<WAdresse>(0, adressSeite);
    m_adresse->FuellLayout(adressGitter, 0, 0);
    m_telFeld = feld(adressSeite, 250, 25);
    m_faxFeld = feld(adressSeite, 250, 25);
    adressGitter->addWidget(beschriftung(QStringLiteral("Telefon"), m_telFeld), 5, 0);
    adressGitter->addWidget(m_telFeld, 5, 1, 1, 6);
    adressGitter->addWidget(beschriftung(QStringLiteral("Fax"), m_faxFeld), 6, 0);
    adressGitter->addWidget(m_faxFeld, 6, 1, 1, 6);
    adressGitter->setRowStretch(7, 1);
    tabs->addTab(adressSeite, QStringLiteral("A&dresse"));

    auto *bankSeite = new QWidget(tabs);
    auto *bankGitter = new QGridLayout(bankSeite);
    m_buktoFeld = feld(bankSeite, 150, 15);
    bankGitter->addWidget(beschriftung(QStringLiteral("Buchungskonto"), m_buktoFeld), 0, 0);
    bankGitter->addWidget(m_buktoFeld, 0, 1, 1, 2);
    m_bank = std::make_unique<WBank>(bankSeite);
    m_bank->FuellLayout(bankGitter, 1, 0);
    bankGitter->setRowStretch(7, 1);
    tabs->addTab(bankSeite, QStringLiteral("&Bankverbindung"));
    haupt->addWidget(tabs);

    haupt->addLayout(knopfZeile());

    setSchluesselFeld(m_bezFeld);
    pSetWahl(true);
}

Lieferant::~Lieferant() = default;

// A key ending in "?" opens the supplier search with it.
QString Lieferant::pSchluessel()
{
    QString bez = UtilSauberGross(m_bezFeld->text());
    if (bez.isEmpty())
        return bez;
    m_bezFeld->setText(bez);
    if (bez.endsWith(QLatin1Char('?'))) {
        m_bezFeld->clear();
        LsSuche suche(false, this);
        if (suche.exec(bez) != QDialog::Accepted || suche.auswahl().isEmpty()) {
            m_bezFeld->clear();
            m_bezFeld->setFocus();
            return {};
        }
        bez = suche.auswahl();
    }
    // A blank at the cut would end the key; keys never end in one.
    bez = bez.left(kBezLaenge).trimmed();
    m_bezFeld->setText(bez);
    return bez;
}

bool Lieferant::pLies()
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT tel,fax,bukto FROM lieferant WHERE bez=?"), {schluessel()});
    const bool gefunden = q.next();
    if (gefunden) {
        m_telFeld->setText(q.value(0).toString());
        m_faxFeld->setText(q.value(1).toString());
        m_buktoFeld->setText(q.value(2).toString());
    }
    m_adresse->read(QStringLiteral("L"), schluessel());
    m_bank->read(QStringLiteral("L"), schluessel());
    return gefunden;
}

// A supplier needs a name in its address.
bool Lieferant::pFelder()
{
    m_tel = UtilSauber(m_telFeld->text());
    m_fax = UtilSauber(m_faxFeld->text());
    m_bukto = UtilSauberGross(m_buktoFeld->text());
    return !UtilSauber(m_adresse->Name1()->text()).isEmpty() && m_bank->pruefen();
}

void Lieferant::pSchreib()
{
    const QString bez = schluessel();
    const int geaendert = Db::ausfuehren(QStringLiteral("UPDATE lieferant SET tel=?,fax=?,bukto=? WHERE bez=?"),
                                         {m_tel, m_fax, m_bukto, bez});
    if (geaendert == 0)
        Db::ausfuehren(QStringLiteral("INSERT INTO lieferant (bez,tel,fax,bukto,zahlart) VALUES (?,?,?,?,?)"),
                       {bez, m_tel, m_fax, m_bukto, QStringLiteral(" ")});
    m_adresse->write(QStringLiteral("L"), bez);
    m_bank->write(QStringLiteral("L"), bez);
}

void Lieferant::pLoesch()
{
    Db::ausfuehren(QStringLiteral("DELETE FROM lieferant WHERE bez=?"), {schluessel()});
    m_adresse->del(QStringLiteral("L"), schluessel());
    m_bank->del(QStringLiteral("L"), schluessel());
}

void Lieferant::pLeeren()
{
    m_adresse->clear();
    m_bank->clear();
    m_telFeld->clear();
    m_faxFeld->clear();
    m_buktoFeld->clear();
}

void Lieferant::pFreigeben(bool an)
{
    m_adresse->setEnabled(an);
    m_bank->setEnabled(an);
    m_telFeld->setEnabled(an);
    m_faxFeld->setEnabled(an);
    m_buktoFeld->setEnabled(an);
}

QWidget *Lieferant::pFokus()
{
    if (!m_adresse->isEmpty())
        return abbruchKnopf();
    m_tabs->setCurrentIndex(0);
    return m_adresse->Name1();
}
