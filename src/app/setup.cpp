#include "setup.h"

#include "db.h"
#include "interaktion.h"
#include "parameter.h"
#include "smtp.h"
#include "textutil.h"
#include "wbetrag.h"
#include "wgliederung.h"
#include "wkonto.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Every key this dialog writes, in the order it writes them.
const char *const kSchluessel[] = {
    "General/Gliederung", "General/BeitragAb", "Konten/AbgrAktiv", "Konten/AbgrPassiv", "Konten/BankGeb",
    "Konten/PrefGliederung", "Konten/PrefMitglied", "Konten/AddMitglied", "Konten/PrefLief",
    "Mail/Host", "Mail/Port", "Mail/Verschl", "Mail/User", "Mail/Passwd", "Mail/Abs", "Mail/Name",
    "Mail/AdrL", "Mail/AdrT", "Mail/AdrPt", "Mail/L", "Mail/T", "Mail/R", "Mail/B", "Mail/Pt",
    "Spende/Adr1", "Spende/Adr2", "Spende/Adr3", "Spende/Abs", "Spende/Ort", "Spende/Funkt", "Spende/Min",
    "Spende/Name"};

// Fields stored as integers: an empty or unreadable text becomes 0.
bool istGanzzahl(const QString &key)
{
    static const QStringList ganz = {
        QStringLiteral("Konten/AddMitglied"), QStringLiteral("Mail/AdrL"), QStringLiteral("Mail/AdrT"),
        QStringLiteral("Mail/AdrPt"),         QStringLiteral("Mail/L"),    QStringLiteral("Mail/T"),
        QStringLiteral("Mail/R"),             QStringLiteral("Mail/B"),    QStringLiteral("Mail/Pt")};
    return ganz.contains(key);
}

// What an empty field shows when the dialog opens; reaches the table only by saving.
const QList<QPair<QString, QString>> &vorgaben()
{
    static const QList<QPair<QString, QString>> v = {
        {QStringLiteral("Mail/Port"), QStringLiteral("25")},  {QStringLiteral("Mail/AdrL"), QStringLiteral("12")},
        {QStringLiteral("Mail/AdrT"), QStringLiteral("55")},  {QStringLiteral("Mail/AdrPt"), QStringLiteral("12")},
        {QStringLiteral("Mail/L"), QStringLiteral("25")},     {QStringLiteral("Mail/T"), QStringLiteral("95")},
        {QStringLiteral("Mail/R"), QStringLiteral("20")},     {QStringLiteral("Mail/B"), QStringLiteral("20")},
        {QStringLiteral("Mail/Pt"), QStringLiteral("12")},
        {QStringLiteral("Spende/Name"), UtilSpendeNameVorgabe()}};
    return v;
}

} // namespace

Setup::Setup(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Setup"));

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(seiteAllgemein(), QStringLiteral("A&llgemein"));
    m_tabs->addTab(seiteMail(), QStringLiteral("&Mail/Brief"));
    m_tabs->addTab(seiteZuwendung(), QStringLiteral("&Zuwendungsbest."));

    auto *speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    auto *abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    connect(speichern, &QPushButton::clicked, this, &Setup::pWrite);
    connect(abbruch, &QPushButton::clicked, this, &Setup::pCancel);

    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(speichern);
    knoepfe->addWidget(abbruch);
    knoepfe->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(knoepfe);

    pLesen();
}

// Every input carries its parameter key as object name.
QLineEdit *Setup::feld(const QString &key, int breite, int min, int max)
{
    auto *f = new QLineEdit(this);
    f->setObjectName(key);
    f->setFixedWidth(breite);
    if (min >= 0)
        f->setValidator(new QIntValidator(min, max, f));
    m_felder.insert(key, f);
    return f;
}

WKonto *Setup::kontoZeile(QGridLayout *grid, int zeile, const QString &text, const QString &key)
{
    auto *label = new QLabel(this);
    auto *konto = new WKonto(label, true, this);
    konto->setObjectName(key);
    grid->addWidget(new QLabel(text, this), zeile, 0);
    grid->addWidget(konto, zeile, 1);
    grid->addWidget(label, zeile, 2);
    m_konten.insert(key, konto);
    return konto;
}

QWidget *Setup::seiteAllgemein()
{
    auto *seite = new QWidget(this);
    auto *grid = new QGridLayout(seite);

    m_gliederung = new WGliederung(this);
    m_gliederung->setObjectName(QStringLiteral("General/Gliederung"));
    m_gliederung->setFixedSize(500, 25);
    grid->addWidget(new QLabel(QStringLiteral("Gliederung"), this), 0, 0);
    grid->addWidget(m_gliederung, 0, 1, 1, 2);

    kontoZeile(grid, 1, QStringLiteral("Abgrenzung Aktiv"), QStringLiteral("Konten/AbgrAktiv"));
    kontoZeile(grid, 2, QStringLiteral("Abgrenzung Passiv"), QStringLiteral("Konten/AbgrPassiv"));
    kontoZeile(grid, 3, QStringLiteral("Bankgebühren"), QStringLiteral("Konten/BankGeb"));
    kontoZeile(grid, 4, QStringLiteral("Kontenprefix Gliederung"), QStringLiteral("Konten/PrefGliederung"));
    kontoZeile(grid, 5, QStringLiteral("Kontenprefix Mitglieder"), QStringLiteral("Konten/PrefMitglied"));

    QLineEdit *add = feld(QStringLiteral("Konten/AddMitglied"), 95, 0, 9999999);
    add->setFixedHeight(25);
    grid->addWidget(new QLabel(QStringLiteral("Addition Mitglieder"), this), 6, 0);
    grid->addWidget(add, 6, 1);

    kontoZeile(grid, 7, QStringLiteral("Kontenprefix Lieferanten"), QStringLiteral("Konten/PrefLief"));

    m_beitragAb = new QComboBox(this);
    m_beitragAb->setObjectName(QStringLiteral("General/BeitragAb"));
    m_beitragAb->addItems({QStringLiteral("Monat nach Gründung"), QStringLiteral("Jahr nach Gründung"),
                           QStringLiteral("Kein eigener Einzug")});
    grid->addWidget(new QLabel(QStringLiteral("Beitragsanteil Gliederungen"), this), 8, 0);
    grid->addWidget(m_beitragAb, 8, 1, 1, 2, Qt::AlignLeft);

    grid->setRowStretch(9, 1);
    grid->setColumnStretch(2, 1);
    return seite;
}

QWidget *Setup::seiteMail()
{
    auto *seite = new QWidget(this);
    auto *grid = new QGridLayout(seite);

    grid->addWidget(new QLabel(QStringLiteral("Mailausgang:"), this), 0, 0);
    const struct
    {
        const char *links, *keyLinks, *rechts, *keyRechts;
    } mail[] = {{"Mailserver", "Mail/Host", "Port", "Mail/Port"},
                {"Auth. User", "Mail/User", "Passwort", "Mail/Passwd"},
                {"Absender", "Mail/Abs", "Name", "Mail/Name"}};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(mail[i].links), this), i + 1, 0);
        grid->addWidget(feld(QString::fromUtf8(mail[i].keyLinks), 300), i + 1, 1, 1, 5);
        grid->addWidget(new QLabel(QString::fromUtf8(mail[i].rechts), this), i + 1, 6);
    }
    grid->addWidget(feld(QStringLiteral("Mail/Port"), 100, 1, 65535), 1, 7);
    QLineEdit *passwort = feld(QStringLiteral("Mail/Passwd"), 200);
    passwort->setEchoMode(QLineEdit::Password);
    grid->addWidget(passwort, 2, 7);
    grid->addWidget(feld(QStringLiteral("Mail/Name"), 200), 3, 7);

    m_verschluesselung = new QComboBox(this);
    m_verschluesselung->setObjectName(QStringLiteral("Mail/Verschl"));
    m_verschluesselung->addItems(Smtp::verschluesselungen());
    connect(m_verschluesselung, &QComboBox::activated, this, &Setup::pVerschluesselung);
    grid->addWidget(new QLabel(QStringLiteral("Verschlüsselung"), this), 4, 0);
    grid->addWidget(m_verschluesselung, 4, 1, 1, 5, Qt::AlignLeft);

    grid->addWidget(new QLabel(QStringLiteral("Briefpapier:"), this), 5, 0);
    // Positions in millimetres 0 to 999, font sizes 1 to 36.
    auto lage = [&](int zeile, int spalte, const QString &text, const QString &key, int max) {
        grid->addWidget(new QLabel(text, this), zeile, spalte);
        grid->addWidget(feld(key, 50, max == 36 ? 1 : 0, max), zeile, spalte + 1);
    };
    grid->addWidget(new QLabel(QStringLiteral("Adressfeld"), this), 6, 0);
    lage(6, 1, QStringLiteral("links"), QStringLiteral("Mail/AdrL"), 999);
    lage(6, 3, QStringLiteral("oben"), QStringLiteral("Mail/AdrT"), 999);
    lage(6, 5, QStringLiteral("Schrift"), QStringLiteral("Mail/AdrPt"), 36);
    grid->addWidget(new QLabel(QStringLiteral("Textfeld"), this), 7, 0);
    lage(7, 1, QStringLiteral("links"), QStringLiteral("Mail/L"), 999);
    lage(7, 3, QStringLiteral("oben"), QStringLiteral("Mail/T"), 999);
    lage(7, 5, QStringLiteral("Schrift"), QStringLiteral("Mail/Pt"), 36);
    lage(8, 1, QStringLiteral("rechts"), QStringLiteral("Mail/R"), 999);
    lage(8, 3, QStringLiteral("unten"), QStringLiteral("Mail/B"), 999);

    grid->setRowStretch(9, 1);
    grid->setColumnStretch(8, 1);
    return seite;
}

QWidget *Setup::seiteZuwendung()
{
    auto *seite = new QWidget(this);
    auto *grid = new QGridLayout(seite);

    const struct
    {
        const char *text, *key;
        int breite;
    } zeilen[] = {{"Name", "Spende/Name", 400},         {"Adr. 1.Zeile", "Spende/Adr1", 400},
                  {"Adr. 2.Zeile", "Spende/Adr2", 400}, {"Adr. 3.Zeile", "Spende/Adr3", 400},
                  {"Absender", "Spende/Abs", 500},      {"Ort", "Spende/Ort", 300},
                  {"Funktion", "Spende/Funkt", 500}};
    int zeile = 0;
    for (const auto &z : zeilen) {
        grid->addWidget(new QLabel(QString::fromUtf8(z.text), this), zeile, 0);
        grid->addWidget(feld(QString::fromUtf8(z.key), z.breite), zeile, 1, Qt::AlignLeft);
        ++zeile;
    }
    m_spendeMin = new WBetrag(this);
    m_spendeMin->setObjectName(QStringLiteral("Spende/Min"));
    grid->addWidget(new QLabel(QStringLiteral("Min.Betrag"), this), zeile, 0);
    grid->addWidget(m_spendeMin, zeile, 1, Qt::AlignLeft);

    grid->setRowStretch(zeile + 1, 1);
    grid->setColumnStretch(1, 1);
    return seite;
}

// Reads the table itself, not the cache: the dialog shows what is stored.
void Setup::pLesen()
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT key,wert FROM parameter"));
    while (q.next()) {
        const QString key = q.value(0).toString();
        const QString wert = q.value(1).toString();
        if (key == QLatin1String("General/Gliederung"))
            m_gliederung->setText(wert);
        else if (key == QLatin1String("General/BeitragAb"))
            m_beitragAb->setCurrentIndex(wert == QLatin1String("J") ? 1 : wert == QLatin1String("X") ? 2 : 0);
        else if (key == QLatin1String("Spende/Min"))
            m_spendeMin->setCents(wert.toLongLong());
        else if (key == QLatin1String("Mail/Verschl"))
            m_verschluesselung->setCurrentIndex(qMax(0, int(Smtp::verschluesselungen().indexOf(wert))));
        else if (WKonto *konto = m_konten.value(key))
            konto->setText(wert);
        else if (QLineEdit *f = m_felder.value(key))
            f->setText(wert);
    }
    for (const auto &[key, vorgabe] : vorgaben()) {
        QLineEdit *f = m_felder.value(key);
        if (f->text().isEmpty())
            f->setText(vorgabe);
    }
}

void Setup::pFelder()
{
    m_werte.clear();
    for (const char *k : kSchluessel) {
        const QString key = QString::fromLatin1(k);
        QString wert;
        if (key == QLatin1String("General/Gliederung")) {
            wert = UtilSauber(m_gliederung->text());
        } else if (key == QLatin1String("General/BeitragAb")) {
            const int index = m_beitragAb->currentIndex();
            wert = index == 0 ? QStringLiteral("M") : index == 1 ? QStringLiteral("J") : QStringLiteral("X");
        } else if (key == QLatin1String("Spende/Min")) {
            wert = QString::number(m_spendeMin->cents());
        } else if (key == QLatin1String("Mail/Verschl")) {
            wert = m_verschluesselung->currentText();
        } else if (WKonto *konto = m_konten.value(key)) {
            // Empty unless the entry begins with two digits.
            wert = UtilSauberGross(konto->text());
        } else if (istGanzzahl(key)) {
            wert = QString::number(m_felder.value(key)->text().toInt());
        } else {
            wert = UtilSauber(m_felder.value(key)->text());
        }
        m_werte.append({key, wert});
    }
}

// The usual port of the new kind, unless the user chose another one.
void Setup::pVerschluesselung(int index)
{
    static const QStringList ports = {QStringLiteral("25"), QStringLiteral("587"), QStringLiteral("465")};
    QLineEdit *port = m_felder.value(QStringLiteral("Mail/Port"));
    if (ports.contains(port->text()))
        port->setText(ports.value(index));
}

// A login over a plain connection shows the password to everyone on the way: asked once.
bool Setup::pKlartextErlaubt()
{
    if (m_gewarnt || m_verschluesselung->currentIndex() != Smtp::Keine
        || m_felder.value(QStringLiteral("Mail/User"))->text().trimmed().isEmpty())
        return true;
    m_gewarnt = true;
    if (Interaktion::frage(this, windowTitle(),
                           QStringLiteral("Ohne Verschlüsselung geht das Passwort lesbar an den Mailserver.\n"
                                          "Trotzdem speichern?"),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes)
        return true;
    m_tabs->setCurrentWidget(m_verschluesselung->parentWidget());
    m_verschluesselung->setFocus();
    return false;
}

void Setup::pWrite()
{
    if (!WBetrag::alleGueltig(this) || !pKlartextErlaubt())
        return;
    pFelder();
    const bool gespeichert = Db::speichern(this, windowTitle(), [this] {
        const QString einzeln = QStringLiteral("DELETE FROM parameter WHERE key=?");
        Db::ausfuehren(einzeln, {QStringLiteral("General/Gliederung")});
        Db::ausfuehren(einzeln, {QStringLiteral("General/BeitragAb")});
        // The ranges also remove keys of these groups that this dialog does not know.
        const QString bereich = QStringLiteral("DELETE FROM parameter WHERE key>=? AND key < ?");
        Db::ausfuehren(bereich, {QStringLiteral("Konten/"), QStringLiteral("Konten0")});
        Db::ausfuehren(bereich, {QStringLiteral("Mail/"), QStringLiteral("Mail0")});
        Db::ausfuehren(bereich, {QStringLiteral("Spende/"), QStringLiteral("Spende0")});
        const QString einfuegen = QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)");
        for (const auto &[key, wert] : std::as_const(m_werte))
            Db::ausfuehren(einfuegen, {key, wert});
    });
    if (!gespeichert)
        return;
    UtilInit(true);
    accept();
}

void Setup::pCancel() { reject(); }
