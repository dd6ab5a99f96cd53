#include "zahlungen.h"

#include "db.h"
#include "interaktion.h"
#include "spende.h"
#include "textutil.h"
#include "utilbuch.h"
#include "wbetrag.h"
#include "wdatum.h"
#include "wkonto.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

QLineEdit *textFeld(QWidget *parent, int breite, const QString &name)
{
    auto *feld = new QLineEdit(parent);
    feld->setFixedWidth(breite);
    feld->setObjectName(name);
    return feld;
}

// Cash accounts are 1000 to 1099 in text order, so 1050 and 10500 count, 1100 does not.
bool istKasse(const QString &konto)
{
    return konto >= QLatin1String("1000") && konto <= QLatin1String("1099");
}

} // namespace

Zahlungen::Zahlungen(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Bank/Kasse"));
    auto *aussen = new QVBoxLayout(this);
    auto *gitter = new QGridLayout;
    aussen->addLayout(gitter);

    m_kontoLabel = new QLabel(this);
    m_kontoLabel->setObjectName(QStringLiteral("kontoLabel"));
    m_konto = new WKonto(m_kontoLabel, true, this);
    m_konto->setObjectName(QStringLiteral("konto"));
    gitter->addWidget(new QLabel(QStringLiteral("Konto"), this), 0, 0);
    gitter->addWidget(m_konto, 0, 1);
    gitter->addWidget(m_kontoLabel, 0, 2, 1, 4);

    m_datum = new WDatum(QDate::currentDate(), this);
    m_datum->setObjectName(QStringLiteral("datum"));
    m_datumHinweis = new QLabel(this);
    m_datumHinweis->setObjectName(QStringLiteral("datumHinweis"));
    gitter->addWidget(new QLabel(QStringLiteral("Datum"), this), 1, 0);
    gitter->addWidget(m_datum, 1, 1);
    gitter->addWidget(m_datumHinweis, 1, 2, 1, 4);

    m_betrag = new WBetrag(this);
    m_betrag->setObjectName(QStringLiteral("betrag"));
    m_spendeKnopf = UtilKnopf(QStringLiteral("S&penden"), this);
    m_spendeLabel = new QLabel(this);
    m_spendeLabel->setObjectName(QStringLiteral("spendeLabel"));
    gitter->addWidget(new QLabel(QStringLiteral("Betrag"), this), 2, 0);
    gitter->addWidget(m_betrag, 2, 1);
    gitter->addWidget(m_spendeKnopf, 2, 2);
    gitter->addWidget(m_spendeLabel, 2, 3, 1, 3);

    m_text = textFeld(this, 850, QStringLiteral("text"));
    gitter->addWidget(new QLabel(QStringLiteral("Text"), this), 3, 0);
    gitter->addWidget(m_text, 3, 1, 1, 6);

    m_kost = textFeld(this, 200, QStringLiteral("kost"));
    m_beschluss = textFeld(this, 200, QStringLiteral("beschluss"));
    m_beleg = textFeld(this, 100, QStringLiteral("beleg"));
    gitter->addWidget(new QLabel(QStringLiteral("Kostenstelle"), this), 4, 0);
    gitter->addWidget(m_kost, 4, 1);
    gitter->addWidget(new QLabel(QStringLiteral("Beschluss"), this), 4, 2);
    gitter->addWidget(m_beschluss, 4, 3);
    gitter->addWidget(new QLabel(QStringLiteral("Beleg"), this), 4, 4);
    gitter->addWidget(m_beleg, 4, 5);

    m_gkontoLabel = new QLabel(this);
    m_gkontoLabel->setObjectName(QStringLiteral("gkontoLabel"));
    m_gkonto = new WKonto(m_gkontoLabel, true, this);
    m_gkonto->setObjectName(QStringLiteral("gkonto"));
    gitter->addWidget(new QLabel(QStringLiteral("Gegenkonto:"), this), 5, 0);
    gitter->addWidget(m_gkonto, 5, 1);
    gitter->addWidget(m_gkontoLabel, 5, 2, 1, 4);

    gitter->addWidget(new QLabel(QStringLiteral("Aufteilung"), this), 6, 1);
    gitter->addWidget(new QLabel(QStringLiteral("Kostenstelle"), this), 6, 2);
    gitter->addWidget(new QLabel(QStringLiteral("Konto"), this), 6, 3);
    for (int i = 0; i < kZeilen; ++i) {
        Aufteilung &a = m_aufteilung[i];
        a.betrag = new WBetrag(this);
        a.betrag->setObjectName(QStringLiteral("aufBetrag%1").arg(i));
        a.kost = textFeld(this, 200, QStringLiteral("aufKost%1").arg(i));
        a.label = new QLabel(this);
        a.label->setObjectName(QStringLiteral("aufLabel%1").arg(i));
        a.konto = new WKonto(a.label, true, this);
        a.konto->setObjectName(QStringLiteral("aufKonto%1").arg(i));
        gitter->addWidget(a.betrag, 7 + i, 1);
        gitter->addWidget(a.kost, 7 + i, 2);
        gitter->addWidget(a.konto, 7 + i, 3);
        gitter->addWidget(a.label, 7 + i, 4, 1, 2);
    }

    auto *knoepfe = new QHBoxLayout;
    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_abbruch);
    m_meldung = new QLabel(this);
    m_meldung->setObjectName(QStringLiteral("meldung"));
    knoepfe->addWidget(m_meldung);
    knoepfe->addStretch();
    aussen->addLayout(knoepfe);

    m_spende = new Spende(this);

    connect(m_spendeKnopf, &QPushButton::clicked, this, &Zahlungen::pSpende);
    connect(m_speichern, &QPushButton::clicked, this, &Zahlungen::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_datum, &WDatum::dateChanged, this, &Zahlungen::pDatumHinweis);

    pDatumHinweis();
    m_konto->setFocus();
}

void Zahlungen::pSpende()
{
    if (!m_betrag->pruefe())
        return;
    const bool kasse = istKasse(UtilSauberGross(m_konto->text()));
    const qint64 cent = m_betrag->cents();
    if (m_spende->exec(cent) != QDialog::Accepted)
        return;
    m_spendeLabel->setText(m_spende->disName());

    qint64 betrag = 0;
    QString konto;
    QString text;
    for (int i = 0; i < kZeilen; ++i) {
        m_spende->aufteilung(kasse, i, cent, &betrag, &konto, &text);
        m_aufteilung[i].betrag->setCents(betrag);
        m_aufteilung[i].konto->setText(konto);
        m_aufteilung[i].kost->setText(text);
    }
    m_spende->aufteilung(kasse, -1, cent, &betrag, &konto, &text);
    m_gkonto->setText(konto);
    m_kost->setText(text);
    m_spende->aufteilung(kasse, -2, cent, &betrag, &konto, &text);
    m_text->setText(text);
}

QWidget *Zahlungen::pruefen(QString *grund, QString *konto, QString *gkonto, QString aufKonto[])
{
    const QString kost = UtilSauber(m_kost->text());
    // A split line with an amount and no cost centre of its own takes the main one.
    for (Aufteilung &a : m_aufteilung) {
        if (a.betrag->cents() != 0 && UtilSauber(a.kost->text()).isEmpty())
            a.kost->setText(kost);
    }

    QWidget *fehlt = nullptr;
    const auto pruefe = [&](bool leer, QWidget *feld, const QString &name) {
        if (!fehlt && leer) {
            fehlt = feld;
            *grund = name + QStringLiteral(" fehlt");
        }
    };
    // An account of no one is refused like a missing one.
    const auto pruefeKonto = [&](WKonto *feld, QString *nr, const QString &name) {
        pruefe(feld->text().isEmpty(), feld, name);
        if (fehlt)
            return;
        *nr = feld->buchungsKonto();
        if (nr->isEmpty()) {
            fehlt = feld;
            *grund = name + QStringLiteral(" unbekannt");
        }
    };
    pruefeKonto(m_konto, konto, QStringLiteral("Konto"));
    pruefe(m_betrag->cents() == 0, m_betrag, QStringLiteral("Betrag"));
    pruefe(UtilSauber(m_text->text()).isEmpty(), m_text, QStringLiteral("Text"));
    pruefe(kost.isEmpty(), m_kost, QStringLiteral("Kostenstelle"));
    pruefeKonto(m_gkonto, gkonto, QStringLiteral("Gegenkonto"));
    for (int i = 0; i < kZeilen; ++i) {
        if (m_aufteilung[i].betrag->cents() != 0)
            pruefeKonto(m_aufteilung[i].konto, &aufKonto[i], QStringLiteral("Aufteilung %1: Konto").arg(i + 1));
    }
    return fehlt;
}

int Zahlungen::buchen(const QString &konto, const QString &gkonto, const QString aufKonto[])
{
    const QDate datum = m_datum->datum();
    const QString butext = UtilSauber(m_text->text());
    // The payment is one unit: killed or refused at any point, none of it stays.
    Db::Transaktion t;
    const int lfd = UtilBuch(datum, 0, m_kost->text(), m_beleg->text(), butext, m_betrag->cents(), konto,
                             gkonto, m_beschluss->text(), QString());
    if (lfd < 1)
        return lfd;
    if (!m_spende->write(datum, lfd))
        return UtilBuchFehler;
    // Each part moves on from the contra account as an entry of its own.
    for (int i = 0; i < kZeilen; ++i) {
        const qint64 teil = m_aufteilung[i].betrag->cents();
        if (teil == 0)
            continue;
        const int ergebnis = UtilBuch(datum, 0, m_aufteilung[i].kost->text(), QString(), butext, teil, gkonto,
                                      aufKonto[i], QString(), QString());
        if (ergebnis < 1)
            return ergebnis;
    }
    return t.commit() ? lfd : UtilBuchFehler;
}

void Zahlungen::pWrite()
{
    if (!WBetrag::alleGueltig(this))
        return;
    QString grund;
    QString konto;
    QString gkonto;
    QString aufKonto[kZeilen];
    const int stand = Db::fehlerStand();
    if (QWidget *fehlt = pruefen(&grund, &konto, &gkonto, aufKonto)) {
        fehlt->setFocus();
        m_meldung->setText(grund);
        // An account that could not be looked up: the database tells why.
        if (Db::fehlerStand() != stand)
            Interaktion::kritisch(this, QStringLiteral("Journal"), UtilBuchMeldung(UtilBuchFehler));
        return;
    }
    const int lfd = buchen(konto, gkonto, aufKonto);
    if (lfd < 1) {
        // Nothing was written; the fields stay as the user entered them.
        Interaktion::kritisch(this, QStringLiteral("Journal"), UtilBuchMeldung(lfd));
        return;
    }
    m_meldung->setText(UtilGespeichert(m_datum->datum(), lfd, m_betrag->cents()));
    leeren();
}

void Zahlungen::leeren()
{
    m_betrag->setCents(0);
    m_text->clear();
    m_kost->clear();
    m_beschluss->clear();
    m_beleg->clear();
    m_gkonto->clear();
    m_gkontoLabel->clear();
    for (Aufteilung &a : m_aufteilung) {
        a.betrag->setCents(0);
        a.kost->clear();
        a.konto->clear();
        a.label->clear();
    }
    m_spende->clear();
    m_spendeLabel->clear();
    m_datum->setFocus();
}

void Zahlungen::pDatumHinweis()
{
    // The date stays from line to line; saying so keeps a stale date from slipping through.
    const QDate datum = m_datum->datum();
    m_datumHinweis->setText(QStringLiteral("%1: gilt für jede folgende Zeile%2")
                                .arg(QLocale().dayName(datum.dayOfWeek()),
                                     datum == QDate::currentDate() ? QString() : QStringLiteral(" (nicht heute)")));
}
