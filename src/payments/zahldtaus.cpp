#include "zahldtaus.h"

#include "db.h"
#include "interaktion.h"
#include "textutil.h"
#include "wdatum.h"
#include "wfortschritt.h"

#include <QApplication>
#include <QCheckBox>
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

ZahlungDtaus::ZahlungDtaus(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("DTAUS Datei generieren"));

    m_name = new QLineEdit(this);
    m_name->setMaxLength(27);
    m_konto = new QLineEdit(this);
    m_konto->setMaxLength(12);
    m_blz = new QLineEdit(this);
    m_blz->setMaxLength(8);
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
    auto label = [&](int zeile, const QString &text) { grid->addWidget(new QLabel(text, this), zeile, 0); };
    label(0, QStringLiteral("Eigener Name"));
    grid->addWidget(m_name, 0, 1, 1, 3);
    label(1, QStringLiteral("Konto, BLZ"));
    grid->addWidget(m_konto, 1, 1);
    grid->addWidget(m_blz, 1, 2);
    grid->addWidget(m_neu, 2, 0, 1, 4);
    label(3, QStringLiteral("Dateiname"));
    grid->addWidget(m_datei, 3, 1);
    grid->addWidget(waehlen, 3, 2);
    label(4, QStringLiteral("1. Schritt"));
    grid->addWidget(m_vorbereiten, 4, 1);
    grid->addWidget(m_richtige, 4, 2);
    grid->addWidget(m_fehlerhafte, 4, 3);
    label(5, QStringLiteral("2. Schritt"));
    grid->addWidget(m_inhalt, 5, 1);
    grid->addWidget(m_fehlerliste, 5, 2);
    label(6, QStringLiteral("3. Schritt"));
    grid->addWidget(m_dateiErst, 6, 1);
    label(7, QStringLiteral("4. Schritt"));
    grid->addWidget(m_ok, 7, 1);
    // The execution date only matters when the debits are booked to a ledger account.
    if (Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Zahlungen/KontoDtaus'")).toString().size() >= 2) {
        m_ausfuehrung = new WDatum(QDate::currentDate(), this);
        grid->addWidget(m_ausfuehrung, 7, 2);
    }
    grid->addWidget(abbrechen, 8, 1);
    m_balken = new WFortschritt(nullptr, this);
    grid->addWidget(m_balken, 8, 2, 1, 2);

    connect(m_neu, &QCheckBox::toggled, this, &ZahlungDtaus::pDupWarn);
    connect(waehlen, &QPushButton::clicked, this, &ZahlungDtaus::pDateiWahl);
    connect(m_vorbereiten, &QPushButton::clicked, this, &ZahlungDtaus::pTempTable);
    connect(m_inhalt, &QPushButton::clicked, this, &ZahlungDtaus::pInhalt);
    connect(m_fehlerliste, &QPushButton::clicked, this, &ZahlungDtaus::pFehlerliste);
    connect(m_dateiErst, &QPushButton::clicked, this, &ZahlungDtaus::pDateiErst);
    connect(m_ok, &QPushButton::clicked, this, &ZahlungDtaus::pAbschluss);
    connect(abbrechen, &QPushButton::clicked, this, &ZahlungDtaus::reject);

    pReadParam();
    pSetEnabled();
}

void ZahlungDtaus::pReadParam()
{
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT key,wert  FROM parameter WHERE key>='dtaus/' AND key<'dtaus/zzz'"));
    while (q.next()) {
        const QString key = q.value(0).toString();
        const QString wert = q.value(1).toString();
        if (key == QLatin1String("dtaus/name"))
            m_name->setText(wert);
        else if (key == QLatin1String("dtaus/konto"))
            m_konto->setText(wert);
        else if (key == QLatin1String("dtaus/blz"))
            m_blz->setText(wert);
        else if (key == QLatin1String("dtaus/datei"))
            m_datei->setText(wert);
    }
}

void ZahlungDtaus::pSaveParam(const DtausDatei::Auftraggeber &auftraggeber)
{
    Db::Transaktion transaktion;
    Db::ausfuehren(QStringLiteral("DELETE FROM parameter WHERE key>='dtaus/' AND key<'dtaus/zzz'"));
    const QString insert = QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)");
    Db::ausfuehren(insert, {QStringLiteral("dtaus/name"), auftraggeber.name});
    Db::ausfuehren(insert, {QStringLiteral("dtaus/konto"), auftraggeber.konto});
    Db::ausfuehren(insert, {QStringLiteral("dtaus/blz"), auftraggeber.blz});
    Db::ausfuehren(insert, {QStringLiteral("dtaus/datei"), m_datei->text()});
    transaktion.commit();
}

void ZahlungDtaus::pSetEnabled()
{
    const QList<QWidget *> eingaben = {m_name, m_konto, m_blz, m_neu, m_vorbereiten};
    for (QWidget *w : eingaben)
        w->setEnabled(!m_vorbereitet);
    m_inhalt->setEnabled(m_vorbereitet && m_lauf.richtige() > 0);
    m_fehlerliste->setEnabled(m_vorbereitet && m_lauf.fehlerhafte() > 0);
    m_dateiErst->setEnabled(m_vorbereitet && m_lauf.richtige() > 0 && m_gedruckt);
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
    dialog.setDefaultSuffix(QStringLiteral("dta"));
    dialog.setNameFilters({QStringLiteral("DTAUS-Datei (*.dta)"), QStringLiteral("Any file (*)")});
    if (!m_datei->text().isEmpty())
        dialog.selectFile(m_datei->text());
    if (Interaktion::dateidialog(dialog) && !dialog.selectedFiles().isEmpty())
        m_datei->setText(dialog.selectedFiles().constFirst());
}

void ZahlungDtaus::pTempTable()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The window repaints meanwhile but takes no input: a second start would pull the table away.
    setEnabled(false);
    m_balken->start(Db::wert(QStringLiteral("SELECT count(*) FROM zahllauf WHERE art='D'")).toInt());
    m_lauf.vorbereiten(m_neu->isChecked(), [this](int nr) { m_balken->schritt(nr); });
    m_balken->ende();
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    m_vorbereitet = true;
    m_gedruckt = false;
    m_richtige->setText(QString::number(m_lauf.richtige()));
    m_fehlerhafte->setText(QString::number(m_lauf.fehlerhafte()));
    pSetEnabled();
    Interaktion::information(this, titel(), QStringLiteral("Datei ist vorbereitet"));
}

DtausDatei::Auftraggeber ZahlungDtaus::pAuftraggeber() const
{
    return {DtausDatei::pText(m_name->text()).trimmed().left(27), DtausDatei::pNummer(m_konto->text()),
            DtausDatei::pNummer(m_blz->text())};
}

QString ZahlungDtaus::pKopf() const
{
    const DtausDatei::Auftraggeber a = pAuftraggeber();
    return a.name + QStringLiteral("  Kontonr. ") + a.konto + QStringLiteral(" (") + a.blz + QLatin1Char(')');
}

void ZahlungDtaus::pInhalt()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!Interaktion::druckDialog(printer, this))
        return;
    DruckListe liste(printer, QStringLiteral(" DT - INHALTSLISTE  -  Lastschriften\n") + pKopf(),
                     {{7, Qt::AlignRight}, {14, Qt::AlignRight}, {12, Qt::AlignRight}, {10, Qt::AlignRight},
                      {28, Qt::AlignLeft}, {28, Qt::AlignLeft}},
                     {QStringLiteral("Lfd."), QStringLiteral("Betrag EUR"), QStringLiteral("Kontonummer"),
                      QStringLiteral("Blz."), QStringLiteral("Zahlungspflichtiger"), QStringLiteral("Verwendungszweck")});
    if (!liste.ok())
        return;
    QSqlQuery q = Db::abfrage(DtausDatei::inhaltSql());
    int lfd = 0;
    qint64 summe = 0;
    while (q.next()) {
        const qint64 cent = q.value(5).toLongLong();
        summe += cent;
        liste.zeile({QString::number(++lfd), UtilBetragText(cent), q.value(3).toString(), q.value(2).toString(),
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
    DruckListe liste(printer, QStringLiteral(" DT - Fehlerliste"), {{6, Qt::AlignLeft}, {60, Qt::AlignLeft}},
                     {QStringLiteral("MID"), QStringLiteral("Fehler")});
    if (!liste.ok())
        return;
    QSqlQuery q = Db::abfrage(DtausDatei::fehlerSql());
    while (q.next())
        liste.zeile({q.value(0).toString(), q.value(1).toString()});
    Interaktion::information(this, titel(), QStringLiteral("Fehlerliste ist gedruckt"));
}

void ZahlungDtaus::pDateiErst()
{
    const DtausDatei::Auftraggeber auftraggeber = pAuftraggeber();
    // Missing own data: the focus shows where, nothing is written.
    QLineEdit *fehlt = nullptr;
    if (auftraggeber.name.size() < 2)
        fehlt = m_name;
    else if (auftraggeber.konto.size() < 2 || auftraggeber.konto.size() > 10)
        fehlt = m_konto;
    else if (auftraggeber.blz.size() != 8)
        fehlt = m_blz;
    else if (m_datei->text().trimmed().isEmpty())
        fehlt = m_datei;
    if (fehlt) {
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
    pSaveParam(auftraggeber);
    const bool geschrieben = m_lauf.schreiben(datei, auftraggeber, QDate::currentDate()) && datei.flush();
    datei.close();
    if (!geschrieben || datei.error() != QFileDevice::NoError) {
        Interaktion::kritisch(this, name, datei.errorString());
        return;
    }
    m_geschrieben = true;
    pSetEnabled();
    Interaktion::information(this, titel(), QStringLiteral("Datei ist erstellt"));
}

void ZahlungDtaus::pAbschluss()
{
    m_lauf.abschliessen(m_ausfuehrung ? m_ausfuehrung->datum() : QDate());
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
