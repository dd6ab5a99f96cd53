#include "journal.h"

#include "db.h"
#include "interaktion.h"
#include "spende.h"
#include "textutil.h"
#include "utilbuch.h"
#include "wbetrag.h"
#include "wdatum.h"
#include "wkonto.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

QLineEdit *textFeld(QWidget *parent, int breite, const char *name)
{
    auto *feld = new QLineEdit(parent);
    feld->setFixedWidth(breite);
    feld->setObjectName(QLatin1String(name));
    return feld;
}

QStandardItem *zelle(const QString &text, bool rechts = false)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    if (rechts)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

Journal::Journal(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Journal"));
    auto *gitter = new QGridLayout(this);

    m_datum = new WDatum(QDate::currentDate(), this);
    m_datum->setObjectName(QStringLiteral("datum"));
    m_nummer = textFeld(this, 50, "nummer");
    m_nummer->setValidator(new QIntValidator(0, 9999, m_nummer));
    gitter->addWidget(new QLabel(QStringLiteral("Datum"), this), 0, 0);
    gitter->addWidget(m_datum, 0, 1);
    gitter->addWidget(new QLabel(QStringLiteral("Nummer"), this), 0, 2);
    gitter->addWidget(m_nummer, 0, 3);

    m_text = textFeld(this, 900, "text");
    gitter->addWidget(new QLabel(QStringLiteral("Text"), this), 1, 0);
    gitter->addWidget(m_text, 1, 1, 1, 9);

    m_kost = textFeld(this, 200, "kost");
    m_beschluss = textFeld(this, 200, "beschluss");
    m_beleg = textFeld(this, 100, "beleg");
    gitter->addWidget(new QLabel(QStringLiteral("Kostenstelle"), this), 2, 0);
    gitter->addWidget(m_kost, 2, 1);
    gitter->addWidget(new QLabel(QStringLiteral("Beschluss"), this), 2, 2);
    gitter->addWidget(m_beschluss, 2, 3);
    gitter->addWidget(new QLabel(QStringLiteral("Beleg"), this), 2, 4);
    gitter->addWidget(m_beleg, 2, 5);

    m_betrag = new WBetrag(this);
    m_betrag->setObjectName(QStringLiteral("betrag"));
    m_spendeKnopf = UtilKnopf(QStringLiteral("S&penden"), this);
    m_spendeLabel = new QLabel(this);
    m_spendeLabel->setObjectName(QStringLiteral("spendeLabel"));
    gitter->addWidget(new QLabel(QStringLiteral("Betrag"), this), 3, 0);
    gitter->addWidget(m_betrag, 3, 1);
    gitter->addWidget(m_spendeKnopf, 3, 2);
    gitter->addWidget(m_spendeLabel, 3, 3, 1, 7);

    m_kontoLabel = new QLabel(this);
    m_kontoLabel->setObjectName(QStringLiteral("kontoLabel"));
    m_konto = new WKonto(m_kontoLabel, true, this);
    m_konto->setObjectName(QStringLiteral("konto"));
    gitter->addWidget(new QLabel(QStringLiteral("Konto"), this), 4, 0);
    gitter->addWidget(m_konto, 4, 1);
    gitter->addWidget(m_kontoLabel, 4, 2, 1, 4);

    m_gkontoLabel = new QLabel(this);
    m_gkontoLabel->setObjectName(QStringLiteral("gkontoLabel"));
    m_gkonto = new WKonto(m_gkontoLabel, true, this);
    m_gkonto->setObjectName(QStringLiteral("gkonto"));
    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    m_loeschen = UtilKnopf(QStringLiteral("&Löschen"), this);
    gitter->addWidget(new QLabel(QStringLiteral("Gegenkonto"), this), 5, 0);
    gitter->addWidget(m_gkonto, 5, 1);
    gitter->addWidget(m_gkontoLabel, 5, 2, 1, 4);
    gitter->addWidget(m_speichern, 5, 6);
    gitter->addWidget(m_abbruch, 5, 7);
    gitter->addWidget(m_loeschen, 5, 8);
    m_meldung = new QLabel(this);
    m_meldung->setObjectName(QStringLiteral("meldung"));
    gitter->addWidget(m_meldung, 5, 9);

    m_modell = new QStandardItemModel(this);
    m_liste = new QTableView(this);
    m_liste->setObjectName(QStringLiteral("liste"));
    m_liste->setModel(m_modell);
    m_liste->setMinimumSize(1000, 300);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();
    gitter->addWidget(m_liste, 6, 0, 1, 10);

    m_spende = new Spende(this);

    m_nummer->installEventFilter(this);
    connect(m_nummer, &QLineEdit::editingFinished, this, &Journal::pRead);
    connect(m_speichern, &QPushButton::clicked, this, &Journal::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &Journal::pCancel);
    connect(m_loeschen, &QPushButton::clicked, this, &Journal::pDelete);
    connect(m_spendeKnopf, &QPushButton::clicked, this, &Journal::pSpende);
    connect(m_liste, &QTableView::clicked, this, &Journal::pAuswahl);

    pFuellListe();
    pSetWahl(true);
    m_nummer->setFocus();
}

Journal::~Journal()
{
    // Hiding the dialog on destruction ends the number field's editing; by then
    // the members that pRead uses are gone.
    m_nummer->removeEventFilter(this);
    disconnect(m_nummer, nullptr, this, nullptr);
}

int Journal::exec(const QDate &datum, int lfd)
{
    m_einzel = true;
    m_datum->setDatum(datum);
    m_nummer->setText(QString::number(lfd));
    pRead();
    return QDialog::exec();
}

bool Journal::eventFilter(QObject *objekt, QEvent *event)
{
    // The number field's own Return signal needs an acceptable input, but an
    // empty field must start a new entry too.
    if (objekt == m_nummer && event->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent *>(event)->key();
        if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
            pEnter();
            return true;
        }
    }
    return QDialog::eventFilter(objekt, event);
}

void Journal::pEnter()
{
    if (!m_wahl)
        return;
    if (m_nummer->text().simplified().isEmpty())
        m_nummer->setText(QStringLiteral("0"));
    pRead();
}

void Journal::pRead()
{
    if (!m_wahl || m_nummer->text().simplified().isEmpty())
        return;
    pFelder();
    if (m_lfd > 0) {
        const QVariantList schluessel{m_datumText, m_lfd};
        QSqlQuery q = Db::abfrage(
            QStringLiteral("SELECT kost,beleg,butext,beschluss FROM journdat WHERE datum=? AND lfd=?"), schluessel);
        if (!q.next())
            return;
        m_kost->setText(q.value(0).toString());
        m_beleg->setText(q.value(1).toString());
        m_text->setText(q.value(2).toString());
        m_beschluss->setText(q.value(3).toString());

        q = Db::abfrage(QStringLiteral("SELECT konto,cent FROM kgkto WHERE datum=? AND lfd=? AND kg='1'"),
                        schluessel);
        if (q.next()) {
            m_konto->setText(q.value(0).toString());
            m_betrag->setCents(q.value(1).toLongLong());
        }
        m_gkonto->setText(
            Db::wert(QStringLiteral("SELECT konto FROM kgkto WHERE datum=? AND lfd=? AND kg='2'"), schluessel)
                .toString());

        m_spende->read(m_datum->datum(), m_lfd);
        m_spendeLabel->setText(m_spende->disName());
    }
    // Number 0 starts a new entry.
    pSetWahl(false);
}

void Journal::pWrite()
{
    if (m_wahl || !WBetrag::alleGueltig(this))
        return;
    pFelder();
    const int stand = Db::fehlerStand();
    if (!pCheck(true)) {
        // An account that could not be looked up: the database tells why.
        if (Db::fehlerStand() != stand)
            Interaktion::kritisch(this, QStringLiteral("Journal"), UtilBuchMeldung(UtilBuchFehler));
        return;
    }
    const qint64 cent = m_betrag->cents();
    int lfd = UtilBuchFehler;
    {
        // The entry and its donation split are one unit: both are written or neither.
        Db::Transaktion t;
        lfd = UtilBuch(m_datum->datum(), m_lfd, m_kostText, m_belegText, m_butext, cent, m_kontoNr, m_gkontoNr,
                       m_beschlussText, QString());
        if (lfd >= 1 && !(m_spende->write(m_datum->datum(), lfd) && t.commit()))
            lfd = UtilBuchFehler;
    }
    if (lfd < 1) {
        // The dialog stays in the editing state with everything the user entered.
        Interaktion::kritisch(this, QStringLiteral("Journal"), UtilBuchMeldung(lfd));
        return;
    }
    m_meldung->setText(UtilGespeichert(m_datum->datum(), lfd, cent));
    if (m_einzel)
        accept();
    pFuellListe();
    pSetWahl(true);
}

void Journal::pDelete()
{
    if (m_wahl)
        return;
    pFelder();
    if (m_lfd > 0) {
        if (!UtilQDelete())
            return;
        const QVariantList schluessel{m_datumText, m_lfd};
        // All three go, or none: a half-deleted entry would unbalance the books.
        const bool geloescht = Db::speichern(this, windowTitle(), [&schluessel] {
            Db::ausfuehren(QStringLiteral("DELETE FROM spende WHERE jdatum=? AND jlfd=?"), schluessel);
            Db::ausfuehren(QStringLiteral("DELETE FROM kgkto WHERE datum=? AND lfd=?"), schluessel);
            Db::ausfuehren(QStringLiteral("DELETE FROM journdat WHERE datum=? AND lfd=?"), schluessel);
        });
        if (!geloescht)
            return;
        pFuellListe();
    }
    if (m_einzel)
        accept();
    pSetWahl(true);
}

void Journal::pCancel()
{
    if (m_einzel)
        reject();
    if (m_wahl)
        close();
    else
        pSetWahl(true);
}

void Journal::pSpende()
{
    if (m_wahl || !m_betrag->pruefe())
        return;
    m_spende->exec(m_betrag->cents());
    m_spendeLabel->setText(m_spende->disName());
}

void Journal::pAuswahl(const QModelIndex &index)
{
    if (!m_wahl || !index.isValid())
        return;
    const int zeile = index.row();
    const QDate datum = QDate::fromString(m_modell->item(zeile, 0)->text(), QStringLiteral("dd.MM.yyyy"));
    if (!datum.isValid())
        return;
    m_datum->setDatum(datum);
    m_nummer->setText(m_modell->item(zeile, 1)->text());
    pRead();
}

void Journal::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_wahl)
            close();
        else
            pCancel();
    }
    // Everything else stays here, so Return never reaches a button.
    event->accept();
}

void Journal::closeEvent(QCloseEvent *event)
{
    if (!m_wahl) {
        event->ignore();
        pCancel();
        return;
    }
    QDialog::closeEvent(event);
}

void Journal::pFelder()
{
    m_lfdText = m_nummer->text().simplified();
    m_lfd = m_lfdText.toInt();
    m_datumText = m_datum->datumText();
    m_kontoNr = m_konto->text();
    m_gkontoNr = m_gkonto->text();
    m_kostText = UtilSauber(m_kost->text());
    m_belegText = UtilSauber(m_beleg->text());
    m_butext = UtilSauber(m_text->text());
    m_beschlussText = UtilSauber(m_beschluss->text());
}

bool Journal::pCheck(bool melden)
{
    QWidget *fehlt = nullptr;
    QString grund;
    const auto pruefe = [&](bool leer, QWidget *feld, const QString &name) {
        if (!fehlt && leer) {
            fehlt = feld;
            grund = name + QStringLiteral(" fehlt");
        }
    };
    // An account of no one is refused like a missing one; a known one is stored as its owner's account.
    const auto pruefeKonto = [&](WKonto *feld, QString *nr, const QString &name) {
        pruefe(nr->isEmpty(), feld, name);
        if (fehlt)
            return;
        *nr = feld->buchungsKonto();
        if (nr->isEmpty()) {
            fehlt = feld;
            grund = name + QStringLiteral(" unbekannt");
        }
    };
    pruefe(m_butext.isEmpty(), m_text, QStringLiteral("Text"));
    pruefe(m_kostText.isEmpty(), m_kost, QStringLiteral("Kostenstelle"));
    pruefeKonto(m_konto, &m_kontoNr, QStringLiteral("Konto"));
    pruefeKonto(m_gkonto, &m_gkontoNr, QStringLiteral("Gegenkonto"));
    pruefe(m_betrag->cents() == 0, m_betrag, QStringLiteral("Betrag"));
    if (fehlt) {
        fehlt->setFocus();
        if (melden)
            m_meldung->setText(grund);
    }
    return !fehlt;
}

void Journal::pFuellListe()
{
    m_modell->clear();
    m_modell->setHorizontalHeaderLabels(QStringLiteral("Datum,Nr,Kostenst.,Text,Konto,GKonto,Betrag").split(
        QLatin1Char(',')));
    // The newest ten walk the (datum,lfd) index backwards; each line comes from
    // the (datum,lfd,kg) index, so the list stays instant on any size of book.
    QSqlQuery q = Db::abfrage(QStringLiteral(
        "SELECT j.datum,j.lfd,j.kost,j.butext,"
        "(SELECT k.konto FROM kgkto k WHERE k.datum=j.datum AND k.lfd=j.lfd AND k.kg='1' LIMIT 1),"
        "(SELECT k.cent FROM kgkto k WHERE k.datum=j.datum AND k.lfd=j.lfd AND k.kg='1' LIMIT 1),"
        "(SELECT k.konto FROM kgkto k WHERE k.datum=j.datum AND k.lfd=j.lfd AND k.kg='2' LIMIT 1) "
        "FROM journdat j ORDER BY j.datum DESC,j.lfd DESC LIMIT 10"));
    while (q.next()) {
        const QList<QStandardItem *> zeile{
            zelle(UtilDatumZeige(UtilDatum(q.value(0).toString()))),
            zelle(q.value(1).toString(), true),
            zelle(q.value(2).toString()),
            zelle(q.value(3).toString()),
            zelle(q.value(4).toString()),
            zelle(q.value(6).toString()),
            zelle(UtilBetragText(q.value(5).toLongLong()), true)};
        m_modell->appendRow(zeile);
    }
    const int breiten[] = {85, 35, 110, 410, 115, 115, 85};
    for (int i = 0; i < 7; ++i)
        m_liste->setColumnWidth(i, breiten[i]);
}

void Journal::pSetWahl(bool wahl)
{
    // The flag first: disabling the focused number field ends its editing,
    // and pRead must then see the new state.
    m_wahl = wahl;
    m_datum->setEnabled(wahl);
    m_nummer->setEnabled(wahl);
    QWidget *const eingaben[] = {m_text,   m_kost,        m_beleg,     m_beschluss, m_konto,  m_gkonto,
                                 m_betrag, m_spendeKnopf, m_speichern, m_abbruch,   m_loeschen};
    for (QWidget *w : eingaben)
        w->setEnabled(!wahl);

    if (wahl) {
        m_nummer->clear();
        m_text->clear();
        m_kost->clear();
        m_beleg->clear();
        m_beschluss->clear();
        m_konto->clear();
        m_gkonto->clear();
        m_betrag->setCents(0);
        m_kontoLabel->clear();
        m_gkontoLabel->clear();
        m_spendeLabel->clear();
        m_spende->clear();
        m_nummer->setFocus();
        return;
    }
    pFelder();
    if (pCheck())
        m_abbruch->setFocus();
}
