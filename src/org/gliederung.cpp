#include "gliederung.h"

#include "db.h"
#include "gliederungsbaum.h"
#include "textutil.h"
#include "utilbuch.h"
#include "wadresse.h"
#include "wbank.h"
#include "wdatum.h"
#include "wgliederung.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kArt = QStringLiteral("V");

QDate keinDatum()
{
    return QDate(1900, 1, 1);
}

// Empty fields are stored as empty text, never as NULL, so that
// comparisons such as teilvon='' keep finding them.
QString text(const QString &s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

QLineEdit *feld(QWidget *parent, int breite, int maxLaenge = 0)
{
    auto *f = new QLineEdit(parent);
    f->setFixedWidth(breite);
    if (maxLaenge > 0)
        f->setMaxLength(maxLaenge);
    return f;
}

} // namespace

Gliederung::Gliederung(QWidget *parent)
    : QDialog(parent), m_adresse(std::make_unique<WAdresse>(0, this)), m_bank(std::make_unique<WBank>(this))
{
    setWindowTitle(QStringLiteral("Gliederungen"));

    auto *haupt = new QVBoxLayout(this);

    auto *kopf = new QHBoxLayout;
    kopf->addWidget(new QLabel(QStringLiteral("Bezeichnung"), this));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("namekurz"));
    m_name->setFixedSize(350, 25);
    m_name->setMaxLength(40);
    kopf->addWidget(m_name);
    m_neu = UtilNeuLabel(this);
    kopf->addWidget(m_neu);
    kopf->addStretch();
    haupt->addLayout(kopf);

    m_tabs = new QTabWidget(this);
    haupt->addWidget(m_tabs);

    // "A&dresse": the address block, then level, parent and founding date.
    auto *adressSeite = new QWidget(m_tabs);
    auto *adressGrid = new QGridLayout(adressSeite);
    m_adresse->FuellLayout(adressGrid, 0, 0);
    m_ebene = new QComboBox(adressSeite);
    m_ebene->addItems({QStringLiteral("Bundesverband"), QStringLiteral("Landesverband"),
                       QStringLiteral("Bezirksverband"), QStringLiteral("Kreisverband"),
                       QStringLiteral("Ortsverband")});
    m_ebene->setFixedSize(200, 25);
    m_unter = new WGliederung(adressSeite);
    m_unter->setFixedSize(350, 25);
    m_gegruendet = new WDatum(keinDatum(), adressSeite);
    m_gegruendet->setLeer(LeerDatum::Jahr1900);
    m_gegruendet->setFixedSize(m_gegruendet->sizeHint());
    const int zeile = adressGrid->rowCount();
    adressGrid->addWidget(new QLabel(QStringLiteral("Art"), adressSeite), zeile, 0);
    adressGrid->addWidget(m_ebene, zeile, 1, 1, 6, Qt::AlignLeft);
    adressGrid->addWidget(new QLabel(QStringLiteral("Unter"), adressSeite), zeile + 1, 0);
    adressGrid->addWidget(m_unter, zeile + 1, 1, 1, 6, Qt::AlignLeft);
    adressGrid->addWidget(new QLabel(QStringLiteral("Gegründet"), adressSeite), zeile + 2, 0);
    adressGrid->addWidget(m_gegruendet, zeile + 2, 1, 1, 6, Qt::AlignLeft);
    adressGrid->setRowStretch(zeile + 3, 1);
    m_tabs->addTab(adressSeite, QStringLiteral("A&dresse"));

    // "&Kontakte": chair, treasurer and general secretary; only the chair's fields are limited.
    auto *kontaktSeite = new QWidget(m_tabs);
    auto *kontaktGrid = new QGridLayout(kontaktSeite);
    m_vorsitz = kontaktZeilen(kontaktGrid, 0, QStringLiteral("Vorsitzender"));
    m_vorsitz.name->setMaxLength(60);
    m_vorsitz.mail->setMaxLength(60);
    m_vorsitz.tel->setMaxLength(25);
    m_vorsitz.fax->setMaxLength(25);
    m_schatz = kontaktZeilen(kontaktGrid, 3, QStringLiteral("Schatzmeister"));
    m_gensek = kontaktZeilen(kontaktGrid, 6, QStringLiteral("Gensek"));
    kontaktGrid->setRowStretch(9, 1);
    kontaktGrid->setColumnStretch(3, 1);
    m_tabs->addTab(kontaktSeite, QStringLiteral("&Kontakte"));

    // "&Bankverbindung": the booking account, then the bank block.
    auto *bankSeite = new QWidget(m_tabs);
    auto *bankGrid = new QGridLayout(bankSeite);
    m_bukto = new QLineEdit(bankSeite);
    m_bukto->setFixedSize(150, 25);
    m_bukto->setMaxLength(15);
    bankGrid->addWidget(new QLabel(QStringLiteral("Buchungskonto"), bankSeite), 0, 0);
    bankGrid->addWidget(m_bukto, 0, 1, 1, 2, Qt::AlignLeft);
    m_bank->FuellLayout(bankGrid, 1, 0);
    bankGrid->setRowStretch(bankGrid->rowCount(), 1);
    m_tabs->addTab(bankSeite, QStringLiteral("&Bankverbindung"));

    auto *knoepfe = new QHBoxLayout;
    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    m_loeschen = UtilKnopf(QStringLiteral("&Löschen"), this);
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_abbruch);
    knoepfe->addWidget(m_loeschen);
    knoepfe->addStretch();
    haupt->addLayout(knoepfe);

    m_baum = new GliederungsBaum(this);
    m_liste = new QTreeView(this);
    m_liste->setModel(m_baum);
    haupt->addWidget(m_liste, 1);

    connect(m_name, &QLineEdit::returnPressed, this, &Gliederung::pRead);
    connect(m_name, &QLineEdit::editingFinished, this, &Gliederung::pRead);
    connect(m_speichern, &QPushButton::clicked, this, &Gliederung::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &Gliederung::pCancel);
    connect(m_loeschen, &QPushButton::clicked, this, &Gliederung::pDelete);
    connect(m_ebene, &QComboBox::currentIndexChanged, this, &Gliederung::pEbene);
    connect(m_liste, &QTreeView::clicked, this, &Gliederung::pAuswahl);

    pFuellListe(QString());
    pSetWahl(true);
}

Gliederung::~Gliederung()
{
    // The base class hides the window later, which takes the focus from the
    // short-name field; by then the members are gone, so nothing may load.
    m_name->disconnect(this);
}

Gliederung::Kontakt Gliederung::kontaktZeilen(QGridLayout *grid, int zeile, const QString &titel)
{
    QWidget *seite = grid->parentWidget();
    Kontakt k;
    k.name = feld(seite, 525);
    k.tel = feld(seite, 250);
    k.fax = feld(seite, 250);
    k.mail = feld(seite, 525);
    grid->addWidget(new QLabel(titel, seite), zeile, 0);
    grid->addWidget(k.name, zeile, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Tel./Fax"), seite), zeile + 1, 0);
    grid->addWidget(k.tel, zeile + 1, 1, Qt::AlignLeft);
    grid->addWidget(k.fax, zeile + 1, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Email"), seite), zeile + 2, 0);
    grid->addWidget(k.mail, zeile + 2, 1, 1, 2, Qt::AlignLeft);
    return k;
}

void Gliederung::setEditierbar(bool an)
{
    m_adresse->setEnabled(an);
    m_bank->setEnabled(an);
    m_ebene->setEnabled(an);
    m_unter->setEnabled(an);
    m_gegruendet->setEnabled(an);
    m_bukto->setEnabled(an);
    for (const Kontakt &k : {m_vorsitz, m_schatz, m_gensek}) {
        k.name->setEnabled(an);
        k.tel->setEnabled(an);
        k.fax->setEnabled(an);
        k.mail->setEnabled(an);
    }
    m_speichern->setEnabled(an);
    m_abbruch->setEnabled(an);
    m_loeschen->setEnabled(an);
}

void Gliederung::pSetWahl(bool wahl)
{
    m_wahl = wahl;
    if (wahl) {
        UtilNeu(m_neu, false);
        m_adresse->clear();
        m_bank->clear();
        m_name->clear();
        m_bukto->clear();
        for (const Kontakt &k : {m_vorsitz, m_schatz, m_gensek}) {
            k.name->clear();
            k.tel->clear();
            k.fax->clear();
            k.mail->clear();
        }
        m_ebene->setCurrentIndex(0);
        // After the level: the empty caption gives the chooser all levels again.
        m_unter->setText(QString());
        m_gegruendet->setDatum(keinDatum());
    }
    // Enable before disabling, so that the focus never lands on nothing.
    if (wahl)
        m_name->setEnabled(true);
    setEditierbar(!wahl);
    if (!wahl)
        m_name->setEnabled(false);

    if (wahl) {
        m_name->setFocus();
    } else if (m_adresse->isEmpty()) {
        m_tabs->setCurrentIndex(0);
        m_adresse->Name1()->setFocus();
    } else {
        m_abbruch->setFocus();
    }
}

void Gliederung::pFelder()
{
    auto werte = [](const Kontakt &k) {
        return KontaktWerte{UtilSauber(k.name->text()), UtilSauber(k.tel->text()), UtilSauber(k.fax->text()),
                            UtilSauber(k.mail->text())};
    };
    m_namekurz = UtilSauberGross(m_name->text());
    m_ebeneWert = m_ebene->currentIndex();
    m_teilvon = UtilSauber(m_unter->text());
    m_datum = m_gegruendet->datumText();
    m_buktoWert = UtilSauber(m_bukto->text());
    m_vorsitzWert = werte(m_vorsitz);
    m_schatzWert = werte(m_schatz);
    m_gensekWert = werte(m_gensek);
    m_adresse->pFelder();
    m_bank->pFelder();
}

void Gliederung::pRead()
{
    pFelder();
    m_name->setText(m_namekurz);
    // Return and the end of editing both arrive here; only the first one loads.
    if (!m_wahl || m_namekurz.isEmpty())
        return;

    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT gegruendet,ebene,teilvon,bukto,vorsitzname,vorsitzmail,vorsitztel,vorsitzfax,"
                       "gensekname,gensekmail,gensektel,gensekfax,schatzname,schatzmail,schatztel,schatzfax "
                       "FROM verband WHERE namekurz=?"),
        {m_namekurz});
    const bool gefunden = q.next();
    UtilNeu(m_neu, !gefunden);
    if (gefunden) {
        const QDate datum = UtilDatum(q.value(0).toString());
        if (datum.isValid())
            m_gegruendet->setDatum(datum);
        const int ebene = q.value(1).toInt();
        if (ebene >= 0 && ebene < m_ebene->count())
            m_ebene->setCurrentIndex(ebene);
        m_unter->setText(q.value(2).toString());
        m_unter->setEbene(ebene);
        m_bukto->setText(q.value(3).toString());
        auto fuelle = [&q](const Kontakt &k, int spalte) {
            k.name->setText(q.value(spalte).toString());
            k.mail->setText(q.value(spalte + 1).toString());
            k.tel->setText(q.value(spalte + 2).toString());
            k.fax->setText(q.value(spalte + 3).toString());
        };
        fuelle(m_vorsitz, 4);
        fuelle(m_gensek, 8);
        fuelle(m_schatz, 12);
    }
    m_adresse->read(kArt, m_namekurz);
    m_bank->read(kArt, m_namekurz);
    pSetWahl(false);
}

void Gliederung::pWrite()
{
    if (m_wahl || !m_bank->pruefen())
        return;
    pFelder();
    // A Bundesverband is only stored with a name in its address.
    if (m_ebeneWert == 0 && UtilSauber(m_adresse->Name1()->text()).isEmpty())
        return;

    const QVariantList werte = {
        text(m_datum),           m_ebeneWert,              text(m_teilvon),          text(m_buktoWert),
        text(m_vorsitzWert.name), text(m_vorsitzWert.mail), text(m_vorsitzWert.tel), text(m_vorsitzWert.fax),
        text(m_gensekWert.name),  text(m_gensekWert.mail),  text(m_gensekWert.tel),  text(m_gensekWert.fax),
        text(m_schatzWert.name),  text(m_schatzWert.mail),  text(m_schatzWert.tel),  text(m_schatzWert.fax)};
    const bool gespeichert = Db::speichern(this, windowTitle(), [this, &werte] {
        if (Db::ausfuehren(QStringLiteral("UPDATE verband SET gegruendet=?,ebene=?,teilvon=?,bukto=?,"
                                          "vorsitzname=?,vorsitzmail=?,vorsitztel=?,vorsitzfax=?,"
                                          "gensekname=?,gensekmail=?,gensektel=?,gensekfax=?,"
                                          "schatzname=?,schatzmail=?,schatztel=?,schatzfax=? WHERE namekurz=?"),
                           werte + QVariantList{m_namekurz})
            == 0) {
            Db::ausfuehren(QStringLiteral("INSERT INTO verband (namekurz,gegruendet,ebene,teilvon,bukto,"
                                          "vorsitzname,vorsitzmail,vorsitztel,vorsitzfax,"
                                          "gensekname,gensekmail,gensektel,gensekfax,"
                                          "schatzname,schatzmail,schatztel,schatzfax) "
                                          "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                           QVariantList{m_namekurz} + werte);
        }
        m_adresse->write(kArt, m_namekurz);
        m_bank->write(kArt, m_namekurz);
    });
    if (!gespeichert)
        return;
    pFuellListe(m_namekurz);
    pSetWahl(true);
}

void Gliederung::pDelete()
{
    if (m_wahl)
        return;
    if (!UtilQDelete())
        return;
    pFelder();
    const bool geloescht = Db::speichern(this, windowTitle(), [this] {
        m_adresse->del(kArt, m_namekurz);
        m_bank->del(kArt, m_namekurz);
        Db::ausfuehren(QStringLiteral("DELETE FROM verband WHERE namekurz=?"), {m_namekurz});
    });
    if (!geloescht)
        return;
    // Sub-units keep their teilvon and move to the top of the tree.
    pFuellListe(m_teilvon);
    pSetWahl(true);
}

void Gliederung::pCancel()
{
    if (m_wahl)
        reject();
    else
        pSetWahl(true);
}

void Gliederung::pEbene(int ebene)
{
    m_unter->setEbene(ebene);
}

void Gliederung::pAuswahl(const QModelIndex &index)
{
    if (!m_wahl || !index.isValid())
        return;
    m_name->setText(m_baum->datac(index, 0).toString());
    pRead();
}

void Gliederung::pFuellListe(const QString &name)
{
    const QModelIndex gefunden = m_baum->setupModelData(name, 9);
    m_liste->setColumnWidth(0, 250);
    m_liste->setColumnWidth(1, 120);
    GliederungZeigen(m_liste, gefunden);
}

void Gliederung::keyPressEvent(QKeyEvent *event)
{
    // Escape leaves edit mode or closes; every other key stays here, so
    // Return never presses a button.
    if (event->key() == Qt::Key_Escape)
        pCancel();
    event->accept();
}

void Gliederung::closeEvent(QCloseEvent *event)
{
    if (m_wahl) {
        QDialog::closeEvent(event);
        return;
    }
    pSetWahl(true);
    event->ignore();
}
