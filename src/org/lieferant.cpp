#include "lieferant.h"

#include "db.h"
#include "lssuche.h"
#include "textutil.h"
#include "utilbuch.h"
#include "wadresse.h"
#include "wbank.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
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

Lieferant::Lieferant(bool anlegen, QWidget *parent) : QDialog(parent), m_anlegen(anlegen)
{
    setWindowTitle(QStringLiteral("Lieferanten"));

    auto *haupt = new QVBoxLayout(this);
    auto *kopf = new QHBoxLayout;
    m_bezFeld = feld(this, 60);
    kopf->addWidget(beschriftung(QStringLiteral("Bezeichnung"), m_bezFeld));
    kopf->addWidget(m_bezFeld);
    m_neu = UtilNeuLabel(this);
    kopf->addWidget(m_neu);
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

    auto *knoepfe = new QHBoxLayout;
    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_abbruch);
    if (!m_anlegen) {
        m_loeschen = UtilKnopf(QStringLiteral("&Löschen"), this);
        knoepfe->addWidget(m_loeschen);
        connect(m_loeschen, &QPushButton::clicked, this, &Lieferant::pDelete);
    }
    knoepfe->addStretch();
    haupt->addLayout(knoepfe);

    connect(m_bezFeld, &QLineEdit::returnPressed, this, &Lieferant::pRead);
    connect(m_bezFeld, &QLineEdit::editingFinished, this, &Lieferant::pRead);
    connect(m_speichern, &QPushButton::clicked, this, &Lieferant::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &Lieferant::pCancel);

    pSetWahl(true);
}

Lieferant::~Lieferant() = default;

QString Lieferant::angelegt() const { return m_angelegt; }

void Lieferant::pFelder()
{
    m_bez = UtilSauberGross(m_bezFeld->text());
    m_tel = UtilSauber(m_telFeld->text());
    m_fax = UtilSauber(m_faxFeld->text());
    m_bukto = UtilSauberGross(m_buktoFeld->text());
}

void Lieferant::pSetWahl(bool wahl)
{
    // The flag changes first: disabling the focused key field finishes its editing,
    // and that must not load the record a second time.
    m_wahl = wahl;
    if (wahl) {
        UtilNeu(m_neu, false);
        m_adresse->clear();
        m_bank->clear();
        m_telFeld->clear();
        m_faxFeld->clear();
        m_buktoFeld->clear();
    }
    m_bezFeld->setEnabled(wahl);
    m_adresse->setEnabled(!wahl);
    m_bank->setEnabled(!wahl);
    m_telFeld->setEnabled(!wahl);
    m_faxFeld->setEnabled(!wahl);
    m_buktoFeld->setEnabled(!wahl);
    m_speichern->setEnabled(!wahl);
    if (m_loeschen)
        m_loeschen->setEnabled(!wahl);

    if (wahl) {
        m_bezFeld->selectAll();
        m_bezFeld->setFocus();
    } else if (m_adresse->isEmpty()) {
        m_tabs->setCurrentIndex(0);
        m_adresse->Name1()->setFocus();
    } else {
        m_abbruch->setFocus();
    }
}

void Lieferant::pRead()
{
    // Return also finishes the editing, and the search below takes the focus away:
    // only the first of these signals loads.
    if (!m_wahl || m_liest)
        return;
    pFelder();
    if (m_bez.isEmpty())
        return;
    m_liest = true;
    m_bezFeld->setText(m_bez);

    if (m_bez.endsWith(QLatin1Char('?'))) {
        const QString suchtext = m_bez;
        m_bezFeld->clear();
        LsSuche suche(false, this);
        if (suche.exec(suchtext) != QDialog::Accepted || suche.auswahl().isEmpty()) {
            m_liest = false;
            m_bezFeld->clear();
            m_bezFeld->setFocus();
            return;
        }
        m_bez = suche.auswahl();
    }
    // A blank at the cut would end the key; keys never end in one.
    m_bez = m_bez.left(kBezLaenge).trimmed();
    m_bezFeld->setText(m_bez);

    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT tel,fax,bukto FROM lieferant WHERE bez=?"), {m_bez});
    const bool gefunden = q.next();
    UtilNeu(m_neu, !gefunden);
    if (gefunden) {
        m_telFeld->setText(q.value(0).toString());
        m_faxFeld->setText(q.value(1).toString());
        m_buktoFeld->setText(q.value(2).toString());
    }
    m_adresse->read(QStringLiteral("L"), m_bez);
    m_bank->read(QStringLiteral("L"), m_bez);
    pSetWahl(false);
    m_liest = false;
}

void Lieferant::pWrite()
{
    if (m_wahl)
        return;
    const QString bez = m_bez;
    pFelder();
    m_bez = bez; // the key field shows the loaded key; keep it as loaded
    if (UtilSauber(m_adresse->Name1()->text()).isEmpty() || !m_bank->pruefen())
        return;

    const bool gespeichert = Db::speichern(this, windowTitle(), [this] {
        const int geaendert = Db::ausfuehren(QStringLiteral("UPDATE lieferant SET tel=?,fax=?,bukto=? WHERE bez=?"),
                                             {m_tel, m_fax, m_bukto, m_bez});
        if (geaendert == 0)
            Db::ausfuehren(QStringLiteral("INSERT INTO lieferant (bez,tel,fax,bukto,zahlart) VALUES (?,?,?,?,?)"),
                           {m_bez, m_tel, m_fax, m_bukto, QStringLiteral(" ")});
        m_adresse->write(QStringLiteral("L"), m_bez);
        m_bank->write(QStringLiteral("L"), m_bez);
    });
    if (!gespeichert)
        return;

    pSetWahl(true);
    if (m_anlegen) {
        m_angelegt = m_bez;
        accept();
    }
}

void Lieferant::pDelete()
{
    if (m_wahl)
        return;
    if (!UtilQDelete())
        return;
    const bool geloescht = Db::speichern(this, windowTitle(), [this] {
        Db::ausfuehren(QStringLiteral("DELETE FROM lieferant WHERE bez=?"), {m_bez});
        m_adresse->del(QStringLiteral("L"), m_bez);
        m_bank->del(QStringLiteral("L"), m_bez);
    });
    if (geloescht)
        pSetWahl(true);
}

void Lieferant::pCancel()
{
    if (!m_wahl && !m_anlegen) {
        pSetWahl(true);
        return;
    }
    reject();
}

void Lieferant::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        pCancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Lieferant::closeEvent(QCloseEvent *event)
{
    if (!m_wahl) {
        pSetWahl(true);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
