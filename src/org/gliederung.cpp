#include "gliederung.h"

#include "db.h"
#include "gliederungsbaum.h"
#include "textutil.h"
#include "wadresse.h"
#include "wbank.h"
#include "wdatum.h"
#include "wgliederung.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
    : SatzDialog(false, parent), m_adresse(std::make_unique<WAdresse>(0, this)), m_bank(std::make_unique<WBank>(this))
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
    kopf->addWidget(neuZeichen());
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

    haupt->addLayout(knopfZeile());

    m_baum = new GliederungsBaum(this);
    m_liste = new QTreeView(this);
    m_liste->setModel(m_baum);
    haupt->addWidget(m_liste, 1);

    setSchluesselFeld(m_name);
    connect(m_ebene, &QComboBox::currentIndexChanged, this, &Gliederung::pEbene);
    connect(m_liste, &QTreeView::clicked, this, &Gliederung::pAuswahl);

    pFuellListe();
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

QString Gliederung::pSchluessel()
{
    m_name->setText(UtilSauberGross(m_name->text()));
    return m_name->text();
}

bool Gliederung::pLies()
{
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT gegruendet,ebene,teilvon,bukto,vorsitzname,vorsitzmail,vorsitztel,vorsitzfax,"
                       "gensekname,gensekmail,gensektel,gensekfax,schatzname,schatzmail,schatztel,schatzfax "
                       "FROM verband WHERE namekurz=?"),
        {schluessel()});
    const bool gefunden = q.next();
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
    m_adresse->read(kArt, schluessel());
    m_bank->read(kArt, schluessel());
    return gefunden;
}

// A Bundesverband is only stored with a name in its address.
bool Gliederung::pFelder()
{
    auto werte = [](const Kontakt &k) {
        return KontaktWerte{UtilSauber(k.name->text()), UtilSauber(k.tel->text()), UtilSauber(k.fax->text()),
                            UtilSauber(k.mail->text())};
    };
    m_ebeneWert = m_ebene->currentIndex();
    m_teilvon = UtilSauber(m_unter->text());
    m_datum = m_gegruendet->datumText();
    m_buktoWert = UtilSauber(m_bukto->text());
    m_vorsitzWert = werte(m_vorsitz);
    m_schatzWert = werte(m_schatz);
    m_gensekWert = werte(m_gensek);
    m_adresse->pFelder();
    m_bank->pFelder();
    return (m_ebeneWert != 0 || !UtilSauber(m_adresse->Name1()->text()).isEmpty()) && m_bank->pruefen();
}

void Gliederung::pSchreib()
{
    const QVariantList werte = {
        text(m_datum),           m_ebeneWert,              text(m_teilvon),          text(m_buktoWert),
        text(m_vorsitzWert.name), text(m_vorsitzWert.mail), text(m_vorsitzWert.tel), text(m_vorsitzWert.fax),
        text(m_gensekWert.name),  text(m_gensekWert.mail),  text(m_gensekWert.tel),  text(m_gensekWert.fax),
        text(m_schatzWert.name),  text(m_schatzWert.mail),  text(m_schatzWert.tel),  text(m_schatzWert.fax)};
    if (Db::ausfuehren(QStringLiteral("UPDATE verband SET gegruendet=?,ebene=?,teilvon=?,bukto=?,"
                                      "vorsitzname=?,vorsitzmail=?,vorsitztel=?,vorsitzfax=?,"
                                      "gensekname=?,gensekmail=?,gensektel=?,gensekfax=?,"
                                      "schatzname=?,schatzmail=?,schatztel=?,schatzfax=? WHERE namekurz=?"),
                       werte + QVariantList{schluessel()})
        == 0) {
        Db::ausfuehren(QStringLiteral("INSERT INTO verband (namekurz,gegruendet,ebene,teilvon,bukto,"
                                      "vorsitzname,vorsitzmail,vorsitztel,vorsitzfax,"
                                      "gensekname,gensekmail,gensektel,gensekfax,"
                                      "schatzname,schatzmail,schatztel,schatzfax) "
                                      "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                       QVariantList{schluessel()} + werte);
    }
    m_adresse->write(kArt, schluessel());
    m_bank->write(kArt, schluessel());
    m_zeigen = schluessel();
}

// Sub-units keep their teilvon and move to the top of the tree.
void Gliederung::pLoesch()
{
    m_adresse->del(kArt, schluessel());
    m_bank->del(kArt, schluessel());
    Db::ausfuehren(QStringLiteral("DELETE FROM verband WHERE namekurz=?"), {schluessel()});
    m_zeigen = UtilSauber(m_unter->text());
}

void Gliederung::pLeeren()
{
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

void Gliederung::pFreigeben(bool an)
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
}

QWidget *Gliederung::pFokus()
{
    if (!m_adresse->isEmpty())
        return abbruchKnopf();
    m_tabs->setCurrentIndex(0);
    return m_adresse->Name1();
}

void Gliederung::pEbene(int ebene)
{
    m_unter->setEbene(ebene);
}

void Gliederung::pFuellListe()
{
    const QModelIndex gefunden = m_baum->setupModelData(m_zeigen, 9);
    m_liste->setColumnWidth(0, 250);
    m_liste->setColumnWidth(1, 120);
    GliederungZeigen(m_liste, gefunden);
}
