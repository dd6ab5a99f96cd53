#include "zahldtaus.h"

#include "db.h"
#include "iban.h"
#include "interaktion.h"
#include "textutil.h"
#include "wdatum.h"
#include "wfortschritt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSqlQuery>

namespace {

const QString &titel()
{
    static const QString t = QStringLiteral("Zahlungen Dtaus-Datei");
    return t;
}

// A list printed landscape in Courier 10: on every page the bold heading with
// date and page number and the bold column titles, then the rows. Column
// widths count characters; one blank separates two columns.
class DruckListe
{
public:
    struct Spalte
    {
        int breite;
        Qt::Alignment ausrichtung;
    };

    DruckListe(QPrinter &printer, const QString &kopf, const QList<Spalte> &spalten, const QStringList &titel)
        : m_printer(printer), m_painter(&printer), m_kopf(kopf), m_spalten(spalten), m_titel(titel)
    {
        QFont schrift(QStringLiteral("Courier"), 10);
        schrift.setStyleHint(QFont::TypeWriter);
        schrift.setFixedPitch(true);
        m_painter.setFont(schrift);
        m_zeichen = m_painter.fontMetrics().horizontalAdvance(QStringLiteral("1234567890")) / 10.0;
        m_zeilenHoehe = m_painter.fontMetrics().lineSpacing();
        m_unten = m_printer.pageLayout().paintRectPixels(m_printer.resolution()).height() - m_zeilenHoehe;
    }

    bool ok() const { return m_painter.isActive(); }

    void zeile(const QStringList &zellen, bool fett = false)
    {
        if (m_seite == 0 || m_y > m_unten)
            neueSeite();
        schreibe(zellen, fett);
    }

private:
    void neueSeite()
    {
        if (m_seite > 0)
            m_printer.newPage();
        ++m_seite;
        m_y = 0;
        const QString erstellt = QStringLiteral("Erstellt: ") + UtilDatumZeige(QDate::currentDate())
                                 + QStringLiteral("  Seite:") + QString::asprintf("%5i", m_seite);
        for (const QString &z : m_kopf.split(QLatin1Char('\n')) + QStringList{erstellt, QString()})
            kopfzeile(z);
        schreibe(m_titel, true);
    }

    // A heading line across the columns.
    void kopfzeile(const QString &text)
    {
        setFett(true);
        m_painter.drawText(0, m_y + m_painter.fontMetrics().ascent(), text);
        m_y += m_zeilenHoehe;
    }

    void schreibe(const QStringList &zellen, bool fett)
    {
        setFett(fett);
        const int basis = m_y + m_painter.fontMetrics().ascent();
        int spalte = 0;
        for (int i = 0; i < m_spalten.size() && i < zellen.size(); ++i) {
            const Spalte &s = m_spalten.at(i);
            const QString text = zellen.at(i).left(s.breite);
            const int luecke = s.ausrichtung & Qt::AlignRight ? s.breite - int(text.size()) : 0;
            m_painter.drawText(int((spalte + luecke) * m_zeichen), basis, text);
            spalte += s.breite + 1;
        }
        m_y += m_zeilenHoehe;
    }

    void setFett(bool fett)
    {
        QFont schrift = m_painter.font();
        schrift.setBold(fett);
        m_painter.setFont(schrift);
    }

    QPrinter &m_printer;
    QPainter m_painter;
    QString m_kopf;
    QList<Spalte> m_spalten;
    QStringList m_titel;
    double m_zeichen = 0;
    int m_zeilenHoehe = 0;
    int m_unten = 0;
    int m_y = 0;
    int m_seite = 0;
};

} // namespace

namespace {

const QString kSepaFormat = QStringLiteral("SEPA-Lastschrift (pain.008.001.08)");

// The first bank day at least five days ahead: time enough for the bank to present first debits.
QDate vorgabeFaelligkeit()
{
    QDate tag = QDate::currentDate().addDays(5);
    while (tag.dayOfWeek() > 5)
        tag = tag.addDays(1);
    return tag;
}

} // namespace

ZahlungDtaus::ZahlungDtaus(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("DTAUS Datei generieren"));

    m_format = new QComboBox(this);
    m_format->addItems({QStringLiteral("DTAUS"), kSepaFormat});
    m_name = new QLineEdit(this);
    m_name->setMaxLength(27);
    m_konto = new QLineEdit(this);
    m_konto->setMaxLength(12);
    m_blz = new QLineEdit(this);
    m_blz->setMaxLength(8);
    m_glaeubigerId = new QLineEdit(this);
    m_glaeubigerId->setMaxLength(35);
    m_iban = new QLineEdit(this);
    m_iban->setMaxLength(42);
    m_bic = new QLineEdit(this);
    m_bic->setMaxLength(11);
    m_faellig = new WDatum(vorgabeFaelligkeit(), this);
    m_faellig->setObjectName(QStringLiteral("faellig"));
    m_neu = new QCheckBox(QStringLiteral("&Bereits erstellte Zahlungen neu erstellen"), this);
    m_datei = new QLineEdit(this);
    auto *waehlen = UtilKnopf(QStringLiteral("&Wählen"), this);
    m_vorbereiten = UtilKnopf(QStringLiteral("&Vorbereiten"), this);
    m_richtige = new QLabel(this);
    m_fehlerhafte = new QLabel(this);
    m_inhalt = UtilKnopf(QStringLiteral("&Inhaltsliste"), this);
    m_fehlerliste = UtilKnopf(QStringLiteral("&Fehlerliste"), this);
    m_dateiErst = UtilKnopf(QStringLiteral("&Datei erstellen"), this);
    m_ok = UtilKnopf(QStringLiteral("&Ok"), this);
    auto *abbrechen = UtilKnopf(QStringLiteral("&Abbrechen"), this);

    auto *grid = new QGridLayout(this);
    int zeile = 0;
    // A row: its label, and its fields from column 1 on (the first spanning `breite` columns).
    auto reihe = [&](const QString &text, const QList<QWidget *> &felder, int breite = 1) {
        auto *label = new QLabel(text, this);
        label->setBuddy(felder.constFirst());
        grid->addWidget(label, zeile, 0);
        int spalte = 1;
        for (QWidget *feld : felder) {
            const int weite = spalte == 1 ? breite : 1;
            grid->addWidget(feld, zeile, spalte, 1, weite);
            spalte += weite;
        }
        ++zeile;
        return QList<QWidget *>{label} + felder;
    };
    reihe(QStringLiteral("Format"), {m_format});
    reihe(QStringLiteral("Eigener Name"), {m_name}, 3);
    m_nurDtaus = reihe(QStringLiteral("Konto, BLZ"), {m_konto, m_blz});
    m_nurSepa = reihe(QStringLiteral("Gläubiger-ID"), {m_glaeubigerId}) + reihe(QStringLiteral("IBAN"), {m_iban}, 2)
                + reihe(QStringLiteral("BIC"), {m_bic}) + reihe(QStringLiteral("Fälligkeit"), {m_faellig});
    grid->addWidget(m_neu, zeile++, 0, 1, 4);
    reihe(QStringLiteral("Dateiname"), {m_datei, waehlen});
    reihe(QStringLiteral("1. Schritt"), {m_vorbereiten, m_richtige, m_fehlerhafte});
    reihe(QStringLiteral("2. Schritt"), {m_inhalt, m_fehlerliste});
    reihe(QStringLiteral("3. Schritt"), {m_dateiErst});
    // The execution date only matters when the debits are booked to a ledger account.
    if (Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Zahlungen/KontoDtaus'")).toString().size() >= 2) {
        m_ausfuehrung = new WDatum(QDate::currentDate(), this);
        m_ausfuehrung->setObjectName(QStringLiteral("ausfuehrung"));
        reihe(QStringLiteral("4. Schritt"), {m_ok, m_ausfuehrung});
    } else {
        reihe(QStringLiteral("4. Schritt"), {m_ok});
    }
    grid->addWidget(abbrechen, zeile, 1);
    m_balken = new WFortschritt(nullptr, this);
    grid->addWidget(m_balken, zeile, 2, 1, 2);

    connect(m_format, &QComboBox::currentIndexChanged, this, &ZahlungDtaus::pFormat);
    connect(m_neu, &QCheckBox::toggled, this, &ZahlungDtaus::pDupWarn);
    connect(waehlen, &QPushButton::clicked, this, &ZahlungDtaus::pDateiWahl);
    connect(m_vorbereiten, &QPushButton::clicked, this, &ZahlungDtaus::pTempTable);
    connect(m_inhalt, &QPushButton::clicked, this, &ZahlungDtaus::pInhalt);
    connect(m_fehlerliste, &QPushButton::clicked, this, &ZahlungDtaus::pFehlerliste);
    connect(m_dateiErst, &QPushButton::clicked, this, &ZahlungDtaus::pDateiErst);
    connect(m_ok, &QPushButton::clicked, this, &ZahlungDtaus::pAbschluss);
    connect(abbrechen, &QPushButton::clicked, this, &ZahlungDtaus::reject);

    pReadParam();
    pFormat();
    pSetEnabled();
}

// The own data for both formats; each line edit by its parameter key.
void ZahlungDtaus::pReadParam()
{
    const QList<std::pair<QString, QLineEdit *>> felder = {
        {QStringLiteral("dtaus/name"), m_name},   {QStringLiteral("dtaus/konto"), m_konto},
        {QStringLiteral("dtaus/blz"), m_blz},     {QStringLiteral("dtaus/datei"), m_datei},
        {QStringLiteral("dtaus/glaeubigerid"), m_glaeubigerId}, {QStringLiteral("dtaus/iban"), m_iban},
        {QStringLiteral("dtaus/bic"), m_bic}};
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT key,wert  FROM parameter WHERE key>='dtaus/' AND key<'dtaus/zzz'"));
    while (q.next()) {
        const QString key = q.value(0).toString();
        const QString wert = q.value(1).toString();
        if (key == QLatin1String("dtaus/format"))
            m_format->setCurrentIndex(wert == QLatin1String("SEPA") ? 1 : 0);
        for (const auto &[name, feld] : felder) {
            if (key == name)
                feld->setText(key == QLatin1String("dtaus/iban") ? Iban::gruppiert(wert) : wert);
        }
    }
}

void ZahlungDtaus::pSaveParam(const DtausDatei::Auftraggeber &auftraggeber)
{
    const QList<std::pair<QString, QString>> werte = {
        {QStringLiteral("dtaus/name"), auftraggeber.name},
        {QStringLiteral("dtaus/konto"), auftraggeber.konto},
        {QStringLiteral("dtaus/blz"), auftraggeber.blz},
        {QStringLiteral("dtaus/datei"), m_datei->text()},
        {QStringLiteral("dtaus/format"), pSepa() ? QStringLiteral("SEPA") : QStringLiteral("DTAUS")},
        {QStringLiteral("dtaus/glaeubigerid"), Iban::normal(m_glaeubigerId->text())},
        {QStringLiteral("dtaus/iban"), Iban::normal(m_iban->text())},
        {QStringLiteral("dtaus/bic"), Iban::normal(m_bic->text())}};
    Db::Transaktion transaktion;
    Db::ausfuehren(QStringLiteral("DELETE FROM parameter WHERE key>='dtaus/' AND key<'dtaus/zzz'"));
    for (const auto &[key, wert] : werte)
        Db::ausfuehren(QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)"),
                       {key, wert.isNull() ? QStringLiteral("") : wert});
    transaktion.commit();
}

bool ZahlungDtaus::pSepa() const
{
    return m_format->currentIndex() == 1;
}

int ZahlungDtaus::pRichtige() const
{
    return pSepa() ? m_sepa.richtige() : m_lauf.richtige();
}

void ZahlungDtaus::pFormat()
{
    for (QWidget *w : std::as_const(m_nurDtaus))
        w->setVisible(!pSepa());
    for (QWidget *w : std::as_const(m_nurSepa))
        w->setVisible(pSepa());
    // The file keeps its name and gets the suffix of the format.
    QString datei = m_datei->text();
    const QString alt = pSepa() ? QStringLiteral(".dta") : QStringLiteral(".xml");
    if (datei.endsWith(alt, Qt::CaseInsensitive)) {
        datei.chop(alt.size());
        m_datei->setText(datei + (pSepa() ? QStringLiteral(".xml") : QStringLiteral(".dta")));
    }
}

void ZahlungDtaus::pSetEnabled()
{
    const QList<QWidget *> eingaben = {m_format, m_name,   m_konto,   m_blz, m_glaeubigerId,
                                       m_iban,   m_bic,    m_faellig, m_neu, m_vorbereiten};
    for (QWidget *w : eingaben)
        w->setEnabled(!m_vorbereitet);
    const int fehlerhafte = pSepa() ? m_sepa.fehlerhafte() : m_lauf.fehlerhafte();
    m_inhalt->setEnabled(m_vorbereitet && pRichtige() > 0);
    m_fehlerliste->setEnabled(m_vorbereitet && fehlerhafte > 0);
    m_dateiErst->setEnabled(m_vorbereitet && pRichtige() > 0 && m_gedruckt);
    m_ok->setEnabled(m_geschrieben);
    if (m_ausfuehrung)
        m_ausfuehrung->setEnabled(m_geschrieben);
}

void ZahlungDtaus::pDupWarn(bool an)
{
    if (an)
        Interaktion::warnung(this, titel(),
                             QStringLiteral("Achtung: Wenn diese Option aktiviert ist, ist es nicht ausgeschlossen, "
                                            "dass Lastschriften doppelt eingezogen werden!"));
}

void ZahlungDtaus::pDateiWahl()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(pSepa() ? QStringLiteral("xml") : QStringLiteral("dta"));
    dialog.setNameFilters({pSepa() ? QStringLiteral("SEPA-Datei (*.xml)") : QStringLiteral("DTAUS-Datei (*.dta)"),
                           QStringLiteral("Any file (*)")});
    if (!m_datei->text().isEmpty())
        dialog.selectFile(m_datei->text());
    if (Interaktion::dateidialog(dialog) && !dialog.selectedFiles().isEmpty())
        m_datei->setText(dialog.selectedFiles().constFirst());
}

void ZahlungDtaus::pTempTable()
{
    // Banks take no debit due today or before.
    if (pSepa() && m_faellig->datum() <= QDate::currentDate()) {
        m_faellig->setFocus();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The window repaints meanwhile but takes no input: a second start would pull the table away.
    setEnabled(false);
    m_balken->start(Db::wert(QStringLiteral("SELECT count(*) FROM zahllauf WHERE art='D'")).toInt());
    const auto schritt = [this](int nr) { m_balken->schritt(nr); };
    if (pSepa())
        m_sepa.vorbereiten(m_neu->isChecked(), m_faellig->datum(), schritt);
    else
        m_lauf.vorbereiten(m_neu->isChecked(), schritt);
    m_balken->ende();
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    m_vorbereitet = true;
    m_gedruckt = false;
    m_richtige->setText(QString::number(pRichtige()));
    m_fehlerhafte->setText(QString::number(pSepa() ? m_sepa.fehlerhafte() : m_lauf.fehlerhafte()));
    pSetEnabled();
    Interaktion::information(this, titel(), QStringLiteral("Datei ist vorbereitet"));
}

DtausDatei::Auftraggeber ZahlungDtaus::pAuftraggeber() const
{
    return {DtausDatei::pText(m_name->text()).trimmed().left(27), DtausDatei::pNummer(m_konto->text()),
            DtausDatei::pNummer(m_blz->text())};
}

SepaDatei::Glaeubiger ZahlungDtaus::pGlaeubiger() const
{
    return {m_name->text(), Iban::normal(m_glaeubigerId->text()), Iban::normal(m_iban->text()),
            Iban::normal(m_bic->text())};
}

QString ZahlungDtaus::pKopf() const
{
    if (pSepa()) {
        const SepaDatei::Glaeubiger g = pGlaeubiger();
        return SepaDatei::pText(g.name, 70) + QStringLiteral("  Gläubiger-ID ") + g.id + QStringLiteral("  IBAN ")
               + Iban::gruppiert(g.iban) + QStringLiteral("\nFällig: ") + UtilDatumZeige(m_faellig->datum());
    }
    const DtausDatei::Auftraggeber a = pAuftraggeber();
    return a.name + QStringLiteral("  Kontonr. ") + a.konto + QStringLiteral(" (") + a.blz + QLatin1Char(')');
}

void ZahlungDtaus::pInhalt()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!Interaktion::druckDialog(printer, this))
        return;
    const bool sepa = pSepa();
    const QString art = sepa ? QStringLiteral("SEPA") : QStringLiteral("DT");
    const QList<DruckListe::Spalte> spalten =
        sepa ? QList<DruckListe::Spalte>{{7, Qt::AlignRight}, {14, Qt::AlignRight}, {27, Qt::AlignLeft},
                                         {11, Qt::AlignLeft}, {28, Qt::AlignLeft}, {20, Qt::AlignLeft}, {4, Qt::AlignLeft}}
             : QList<DruckListe::Spalte>{{7, Qt::AlignRight}, {14, Qt::AlignRight}, {12, Qt::AlignRight},
                                         {10, Qt::AlignRight}, {28, Qt::AlignLeft}, {28, Qt::AlignLeft}};
    const QStringList titelZeile =
        sepa ? QStringList{QStringLiteral("Lfd."), QStringLiteral("Betrag EUR"), QStringLiteral("IBAN"),
                           QStringLiteral("BIC"), QStringLiteral("Zahlungspflichtiger"), QStringLiteral("Mandat"),
                           QStringLiteral("Art")}
             : QStringList{QStringLiteral("Lfd."), QStringLiteral("Betrag EUR"), QStringLiteral("Kontonummer"),
                           QStringLiteral("Blz."), QStringLiteral("Zahlungspflichtiger"),
                           QStringLiteral("Verwendungszweck")};
    DruckListe liste(printer, QLatin1Char(' ') + art + QStringLiteral(" - INHALTSLISTE  -  Lastschriften\n") + pKopf(),
                     spalten, titelZeile);
    if (!liste.ok())
        return;
    QSqlQuery q = Db::abfrage(sepa ? SepaDatei::inhaltSql() : DtausDatei::inhaltSql());
    int lfd = 0;
    qint64 summe = 0;
    while (q.next()) {
        const qint64 cent = q.value(sepa ? 6 : 5).toLongLong();
        summe += cent;
        const QString nummer = QString::number(++lfd);
        if (sepa)
            liste.zeile({nummer, UtilBetragText(cent), q.value(2).toString(), q.value(3).toString(),
                         q.value(1).toString(), q.value(4).toString(), q.value(5).toString()});
        else
            liste.zeile({nummer, UtilBetragText(cent), q.value(3).toString(), q.value(2).toString(),
                         q.value(1).toString(), QStringLiteral("MITGLIEDSNR. %1").arg(q.value(0).toInt())});
    }
    liste.zeile({});
    liste.zeile({QStringLiteral("Summe:"), UtilBetragText(summe)}, true);
    liste.zeile({QStringLiteral("Anzahl:"), QString::number(lfd)}, true);
    m_gedruckt = true;
    pSetEnabled();
    Interaktion::information(this, titel(), QStringLiteral("Inhaltsliste ist gedruckt"));
}

void ZahlungDtaus::pFehlerliste()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!Interaktion::druckDialog(printer, this))
        return;
    DruckListe liste(printer, pSepa() ? QStringLiteral(" SEPA - Fehlerliste") : QStringLiteral(" DT - Fehlerliste"),
                     {{6, Qt::AlignLeft}, {60, Qt::AlignLeft}}, {QStringLiteral("MID"), QStringLiteral("Fehler")});
    if (!liste.ok())
        return;
    QSqlQuery q = Db::abfrage(pSepa() ? SepaDatei::fehlerSql() : DtausDatei::fehlerSql());
    while (q.next())
        liste.zeile({q.value(0).toString(), q.value(1).toString()});
    Interaktion::information(this, titel(), QStringLiteral("Fehlerliste ist gedruckt"));
}

QWidget *ZahlungDtaus::pFehlendeDaten() const
{
    const DtausDatei::Auftraggeber auftraggeber = pAuftraggeber();
    if (auftraggeber.name.size() < 2)
        return m_name;
    if (pSepa()) {
        const SepaDatei::Glaeubiger g = pGlaeubiger();
        if (!Iban::glaeubigerIdFehler(g.id).isEmpty())
            return m_glaeubigerId;
        if (!Iban::gueltig(g.iban))
            return m_iban;
        if (!g.bic.isEmpty() && !Iban::bicFehler(g.bic).isEmpty())
            return m_bic;
    } else if (auftraggeber.konto.size() < 2 || auftraggeber.konto.size() > 10) {
        return m_konto;
    } else if (auftraggeber.blz.size() != 8) {
        return m_blz;
    }
    if (m_datei->text().trimmed().isEmpty())
        return m_datei;
    return nullptr;
}

void ZahlungDtaus::pDateiErst()
{
    // Missing own data: the focus shows where, nothing is written.
    if (QWidget *fehlt = pFehlendeDaten()) {
        fehlt->setEnabled(true);
        fehlt->setFocus();
        return;
    }

    const QString name = m_datei->text();
    QFile datei(name);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Interaktion::kritisch(this, name, datei.errorString());
        return;
    }
    pSaveParam(pAuftraggeber());
    const bool geschrieben = (pSepa() ? m_sepa.schreiben(datei, pGlaeubiger(), QDateTime::currentDateTime())
                                      : m_lauf.schreiben(datei, pAuftraggeber(), QDate::currentDate()))
                             && datei.flush();
    datei.close();
    if (!geschrieben || datei.error() != QFileDevice::NoError) {
        Interaktion::kritisch(this, name, datei.errorString());
        return;
    }
    m_geschrieben = true;
    // SEPA debits are carried out on the collection date.
    if (pSepa() && m_ausfuehrung)
        m_ausfuehrung->setDatum(m_faellig->datum());
    pSetEnabled();
    Interaktion::information(this, titel(), QStringLiteral("Datei ist erstellt"));
}

void ZahlungDtaus::pAbschluss()
{
    const QDate ausfuehrung = m_ausfuehrung ? m_ausfuehrung->datum() : QDate();
    if (pSepa())
        m_sepa.abschliessen(ausfuehrung);
    else
        m_lauf.abschliessen(ausfuehrung);
    accept();
}

void ZahlungDtaus::reject()
{
    if (m_geschrieben
        && Interaktion::frage(this, titel(), QStringLiteral("Erstellte Datei verwerfen"),
                              QMessageBox::Ok | QMessageBox::Cancel)
               != QMessageBox::Ok)
        return;
    QDialog::reject();
}
