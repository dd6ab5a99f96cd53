#include "zuwenddruck.h"

#include "db.h"
#include "interaktion.h"
#include "parameter.h"
#include "textutil.h"
#include "utilbuch.h"
#include "utilkonto.h"
#include "wdatum.h"
#include "wfortschritt.h"
#include "zahlwort.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

namespace {

const QString kTitel = QStringLiteral("Zuwendungsbestätigungen");

// Stored receipt dates before this mean: never printed.
const QString kGedrucktAb = QStringLiteral("2000-01-01");
// A donation cancelled by a refund gets no receipt.
const QString kStorniert = QStringLiteral("2200-12-31");
const QString kAnonym = QStringLiteral("ZZZZZ");

bool istAufwand(QChar art) { return art == QLatin1Char('A'); }

// Joins two parts with a blank, but only when both are there: else the first stands alone.
QString verbinde(const QString &erstes, const QString &zweites)
{
    return erstes.isEmpty() || zweites.isEmpty() ? erstes : erstes + QLatin1Char(' ') + zweites;
}

// The donor's address lines; false for an anonymous donor, who gets no receipt.
bool adresseLesen(ZuwendBeleg &beleg)
{
    QSqlQuery a = Db::abfrage(
        QStringLiteral("SELECT name2,name1,strasse,plz,ort FROM adresse WHERE art='M' AND key=?"),
        {UtilMidKey(beleg.mid)});
    if (!a.next())
        return true;
    const QString plz = a.value(3).toString();
    if (plz == kAnonym)
        return false;
    beleg.adresse[0] = verbinde(a.value(0).toString(), a.value(1).toString());
    beleg.adresse[1] = a.value(2).toString();
    beleg.adresse[2] = verbinde(plz, a.value(4).toString());
    return true;
}

bool gewaehlt(const QString &quittung, const ZuwendFilter &f)
{
    if (quittung < kGedrucktAb)
        return f.auswahl != ZuwendFilter::Gedruckt;
    return f.auswahl != ZuwendFilter::NichtGedruckt && quittung >= UtilDatumText(f.druckVon)
           && quittung <= UtilDatumText(f.druckBis);
}

// The member's donations in the range, with their amounts from the donor's side.
QList<ZuwendZeile> spendenLesen(int mid, const ZuwendFilter &f)
{
    const QString mitgliedKonto = UtilMIDKonto(mid);
    const QDate heute = QDate::currentDate();
    QList<ZuwendZeile> zeilen;
    QSqlQuery s = Db::abfrage(QStringLiteral("SELECT jdatum,jlfd,art,quittung FROM spende WHERE mid=? AND jdatum>=? "
                                             "AND jdatum<=? AND art!='S' ORDER BY mid,jdatum,jlfd,art"),
                              {mid, UtilDatumText(f.von), UtilDatumText(f.bis)});
    while (zeilen.size() < ZuwendMaxZeilen && s.next()) {
        const QString quittung = s.value(3).toString();
        if (!gewaehlt(quittung, f))
            continue;
        const QString jdatum = s.value(0).toString();
        const int jlfd = s.value(1).toInt();
        QSqlQuery k = Db::abfrage(QStringLiteral("SELECT konto,cent FROM kgkto WHERE datum=? AND lfd=? AND kg='1' "
                                                 "LIMIT 1"),
                                  {jdatum, jlfd});
        if (!k.next())
            continue;
        ZuwendZeile z;
        z.datum = UtilDatum(jdatum);
        z.lfd = jlfd;
        z.cent = UtilSpendeVorzeichen(k.value(0).toString(), mitgliedKonto) * k.value(1).toLongLong();
        const QString art = s.value(2).toString();
        z.art = art.isEmpty() ? QChar() : art.at(0);
        z.quittung = quittung < kGedrucktAb ? heute : UtilDatum(quittung);
        zeilen.append(z);
    }
    return zeilen;
}

// A refund cancels the largest earlier donation that it covers (the latest of
// equal ones): the money that came back is the money that was given.
void erstattungenVerrechnen(QList<ZuwendZeile> &zeilen)
{
    for (ZuwendZeile &erstattung : zeilen) {
        if (erstattung.cent >= 0)
            continue;
        ZuwendZeile *gewaehlt = nullptr;
        for (ZuwendZeile &z : zeilen) {
            if (z.cent > 0 && z.datum <= erstattung.datum && z.cent <= -erstattung.cent
                && (!gewaehlt || z.cent >= gewaehlt->cent))
                gewaehlt = &z;
        }
        if (gewaehlt) {
            gewaehlt->cent = 0;
            erstattung.cent = 0;
        }
    }
}

} // namespace

int PrepareZuwend(ZuwendBeleg &beleg, int mid, const ZuwendFilter &filter, bool minimumPruefen)
{
    beleg = ZuwendBeleg();
    beleg.mid = mid;
    if (!adresseLesen(beleg))
        return 0;
    QList<ZuwendZeile> zeilen = spendenLesen(mid, filter);
    erstattungenVerrechnen(zeilen);

    qint64 summe = 0;
    QList<int> eigene; // lines that print on their own, by position in beleg.zeilen
    for (ZuwendZeile &z : zeilen) {
        if (z.cent == 0) {
            Db::ausfuehren(QStringLiteral("UPDATE spende SET quittung=? WHERE jdatum=? AND jlfd=?"),
                           {kStorniert, UtilDatumText(z.datum), z.lfd});
            continue;
        }
        if (z.cent < 0) // a refund that cancelled nothing is no donation
            continue;
        summe += z.cent;
        int ziel = -1;
        for (int i = eigene.size() - 1; i >= 0 && beleg.zeilen.at(eigene.at(i)).datum == z.datum; --i) {
            if (istAufwand(beleg.zeilen.at(eigene.at(i)).art) == istAufwand(z.art)) {
                ziel = eigene.at(i);
                break;
            }
        }
        if (ziel >= 0) {
            beleg.zeilen[ziel].cent += z.cent;
            z.cent = 0;
        } else {
            eigene.append(beleg.zeilen.size());
        }
        beleg.zeilen.append(z);
    }
    if (minimumPruefen && summe < UtilSpendeMin()) {
        beleg.zeilen.clear();
        return 0;
    }
    return beleg.zeilen.size();
}

namespace {

// The receipt form. Positions are inches from the paper's top-left corner, as
// fractions, turned into the painter's coordinates at the printer's resolution;
// texts stand on their baseline.
class Formular
{
public:
    Formular(QPrinter *printer, QPainter *painter)
        : m_painter(painter), m_r(printer->resolution())
    {
        const QRect papier = printer->paperRect(QPrinter::DevicePixel).toRect();
        const QRect seite = printer->pageRect(QPrinter::DevicePixel).toRect();
        m_links = seite.left() - papier.left();
        m_oben = seite.top() - papier.top();
        m_papierBreite = papier.width();
    }

    int x(int zaehler, int nenner = 1) const { return laenge(zaehler, nenner) - m_links; }
    int y(int zaehler, int nenner = 1) const { return laenge(zaehler, nenner) - m_oben; }
    int laenge(int zaehler, int nenner = 1) const { return m_r * zaehler / nenner; }
    int rechterRand() const { return m_papierBreite - m_r / 2 - m_links; }

    void schrift(double punkte, bool fett = false)
    {
        QFont f(QStringLiteral("Helvetica"));
        f.setPointSizeF(punkte);
        f.setWeight(fett ? QFont::Bold : QFont::Normal);
        m_painter->setFont(f);
    }
    int asc() const { return m_painter->fontMetrics().ascent(); }
    int desc() const { return m_painter->fontMetrics().descent(); }
    int zeile() const { return asc() + desc(); }
    int breite(const QString &text) const { return m_painter->fontMetrics().horizontalAdvance(text); }

    void text(int links, int grundlinie, const QString &t);
    void textBis(int rechts, int grundlinie, const QString &t) { text(rechts - breite(t), grundlinie, t); }
    void textMitte(int mitte, int grundlinie, const QString &t) { text(mitte - breite(t) / 2, grundlinie, t); }

    void zeichnen(const ZuwendBeleg &beleg, const ZuwendZeile &z);

private:
    void rahmen(const ZuwendZeile &z);
    void kopf();
    void adressfeld(const ZuwendBeleg &beleg);
    void zuwender(const ZuwendBeleg &beleg);
    void betrag(const ZuwendZeile &z);
    void texte(const ZuwendZeile &z);

    QPainter *m_painter;
    int m_r;
    int m_links = 0;
    int m_oben = 0;
    int m_papierBreite = 0;
};

// A text that would run into the right margin is set narrower: the form is
// laid out for Helvetica, and a wider font must not cut the legal texts.
void Formular::text(int links, int grundlinie, const QString &t)
{
    const int platz = rechterRand() - links;
    const int b = breite(t);
    if (b <= platz || b <= 0) {
        m_painter->drawText(links, grundlinie, t);
        return;
    }
    m_painter->save();
    m_painter->translate(links, grundlinie);
    m_painter->scale(double(platz) / b, 1);
    m_painter->drawText(0, 0, t);
    m_painter->restore();
}

void Formular::zeichnen(const ZuwendBeleg &beleg, const ZuwendZeile &z)
{
    m_painter->drawImage(QRect(x(1), y(5, 8), laenge(2), laenge(277, 400)), VelaLogo());
    rahmen(z);
    kopf();
    adressfeld(beleg);
    zuwender(beleg);
    betrag(z);
    texte(z);
}

// Address window, donor box, amount box, signature line, and the waiver's circles
// with the cross on "Ja" for an Aufwandsspende, on "Nein" for the others.
void Formular::rahmen(const ZuwendZeile &z)
{
    m_painter->setPen(QPen(Qt::black, m_r / 100));
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawRect(x(1), y(19, 8), laenge(15, 4), laenge(9, 8));
    m_painter->drawRect(x(1), y(9, 2), laenge(27, 4), laenge(17, 16));
    m_painter->drawRect(x(1), y(91, 16), laenge(27, 4), laenge(1, 2));
    m_painter->drawLine(x(1), y(19, 2), x(31, 4), y(19, 2));
    m_painter->drawEllipse(x(47, 8), y(103, 16), laenge(1, 4), laenge(1, 4));
    m_painter->drawEllipse(x(107, 16), y(103, 16), laenge(1, 4), laenge(1, 4));
    const int mx = istAufwand(z.art) ? x(6) : x(109, 16);
    const int my = y(105, 16);
    const int d = laenge(3, 32);
    m_painter->drawLine(mx - d, my - d, mx + d, my + d);
    m_painter->drawLine(mx - d, my + d, mx + d, my - d);
}

// The issuer's name ends half an inch before the right edge; its address starts below at the same x.
void Formular::kopf()
{
    schrift(20, true);
    const QString name = UtilSpendeName();
    const int links = rechterRand() - breite(name);
    const int grundlinie = y(5, 8) + asc();
    text(links, grundlinie, name);
    const int unterName = desc();
    schrift(10);
    int zeileY = grundlinie + unterName + asc();
    text(links, zeileY, UtilSpendeAdr(1));
    zeileY += 2 * zeile();
    text(links, zeileY, UtilSpendeAdr(2));
    text(links, zeileY + zeile(), UtilSpendeAdr(3));
}

void Formular::adressfeld(const ZuwendBeleg &beleg)
{
    schrift(8);
    text(x(1), y(37, 16) - desc(), UtilSpendeAdr(6));
    schrift(12);
    int zeileY = y(21, 8) + asc() * 3 / 2;
    for (const QString &a : beleg.adresse) {
        text(x(9, 8), zeileY, a);
        zeileY += zeile();
    }
}

void Formular::zuwender(const ZuwendBeleg &beleg)
{
    schrift(8);
    text(x(17, 16), y(73, 16) + asc(), QStringLiteral("Name und Anschrift des Zuwendenden"));
    schrift(10);
    const bool mitglied = beleg.mid >= 1 && beleg.mid <= 999999;
    const QString zeilen[] = {beleg.adresse[0],
                              mitglied ? QStringLiteral("Mitgliedsnummer %1").arg(beleg.mid) : QString(),
                              beleg.adresse[1], beleg.adresse[2]};
    int zeileY = y(19, 4) + asc() * 3 / 2;
    for (const QString &t : zeilen) {
        text(x(17, 16), zeileY, t);
        zeileY += zeile();
    }
}

void Formular::betrag(const ZuwendZeile &z)
{
    schrift(8);
    const int beschriftung = y(23, 4) + asc();
    text(x(17, 16), beschriftung, QStringLiteral("Betrag der Zuwendung  - in Ziffern -"));
    textMitte(x(35, 8), beschriftung, QStringLiteral("- in Buchstaben -"));
    textBis(x(123, 16), beschriftung, QStringLiteral("Tag der Zuwendung:"));
    schrift(10);
    const int grundlinie = y(95, 16) + asc();
    text(x(17, 16), grundlinie, UtilBetragText(z.cent));
    textMitte(x(35, 8), grundlinie, UtilZahlwort(z.cent));
    textBis(x(123, 16), grundlinie, z.datum.toString(QStringLiteral("dd.MM.yyyy")));
}

void Formular::texte(const ZuwendZeile &z)
{
    schrift(19.6, true);
    text(x(1), y(4), QStringLiteral("Bestätigung über Geldzuwendung / Mitgliedsbeitrag"));
    schrift(9.7);
    text(x(1), y(69, 16),
         QStringLiteral("Im Sinne des § 34g, § 10b des Einkommensteuergesetzes an politische Parteien im Sinne des "
                        "Parteiengesetzes"));
    schrift(10.2);
    text(x(1), y(53, 8), QStringLiteral("Es handelt sich um den Verzicht auf Erstattung von Aufwendungen"));
    text(x(99, 16), y(53, 8), QStringLiteral("Ja"));
    text(x(7), y(53, 8), QStringLiteral("Nein"));
    text(x(1), y(113, 16),
         QStringLiteral("Es wird bestätigt, dass diese Zuwendung ausschließlich für die satzungsgemäßen Zwecke "
                        "verwendet wird."));

    schrift(10);
    text(x(1), y(19, 2) - asc() * 3 / 2,
         UtilSpendeAdr(4) + QStringLiteral(", den ") + z.quittung.toString(QStringLiteral("dd.MM.yyyy"))
             + QStringLiteral(", ") + UtilSpendeAdr(5));
    schrift(8);
    text(x(1), y(153, 16) + asc(), QStringLiteral("Ort, Datum, Funktion"));

    schrift(9, true);
    text(x(1), y(167, 16), QStringLiteral("Hinweis:"));
    schrift(8);
    const QString hinweis[] = {
        QStringLiteral("Wer vorsätzlich oder grob fahrlässig eine unrichtige Zuwendungsbestätigung erstellt oder wer "
                       "veranlasst, dass Zuwendungen nicht zu"),
        QStringLiteral("den in der Zuwendungsbestätigung angegebenen steuerbegünstigten Zwecken verwendet werden, "
                       "haftet für die Steuer, die dem Fiskus"),
        QStringLiteral("durch einen etwaigen Abzug der Zuwendungen beim Zuwender entgeht (§ 34g Satz 3, § 10b Abs. 4 "
                       "EStG, § 9 Abs. 3 KStG, § 9 Nr. 5"),
        QStringLiteral("GewStG).")};
    int zeileY = y(171, 16);
    for (const QString &t : hinweis) {
        text(x(1), zeileY, t);
        zeileY += zeile();
    }
}

} // namespace

bool DruckZuwend(QPrinter *printer, QPainter *painter, const ZuwendBeleg &beleg, int zeile, bool ersteSeite)
{
    if (zeile < 0 || zeile >= beleg.zeilen.size())
        return false;
    const ZuwendZeile &z = beleg.zeilen.at(zeile);
    if (z.art == QLatin1Char('S') || z.cent == 0)
        return false;
    if (!ersteSeite)
        printer->newPage();
    Formular(printer, painter).zeichnen(beleg, z);
    return true;
}

void ZuwendZwidatStart()
{
    Db::ausfuehren(QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS zwispende (jdatum date,jlfd int,drudat date, "
                                  "PRIMARY KEY(jdatum,jlfd ASC))"));
    Db::ausfuehren(QStringLiteral("DELETE FROM zwispende"));
}

void ZuwendZwidatVermerk(const ZuwendZeile &zeile)
{
    Db::ausfuehren(QStringLiteral("INSERT INTO zwispende(jdatum,jlfd,drudat) VALUES(?,?,?)"),
                   {UtilDatumText(zeile.datum), zeile.lfd, UtilDatumText(zeile.quittung)});
}

bool ZuwendZwidatEnd(bool speichern)
{
    bool ok = true;
    if (speichern) {
        Db::Transaktion t;
        Db::ausfuehren(QStringLiteral("UPDATE spende SET quittung=(SELECT drudat FROM zwispende z WHERE "
                                      "z.jdatum=spende.jdatum AND z.jlfd=spende.jlfd) "
                                      "WHERE (jdatum,jlfd) IN (SELECT jdatum,jlfd FROM zwispende)"));
        ok = t.commit();
    }
    Db::ausfuehren(QStringLiteral("DROP TABLE IF EXISTS zwispende"));
    return ok;
}

Zuwenddruck::Zuwenddruck(int mid, QWidget *parent) : QDialog(parent), m_mid(mid)
{
    setWindowTitle(kTitel);
    auto *grid = new QGridLayout(this);
    int zeile = 0;
    if (m_mid >= 1)
        grid->addWidget(new QLabel(UtilKtoText(UtilMIDKonto(m_mid)), this), zeile++, 0, 1, 3);

    m_auswahl = new QComboBox(this);
    m_auswahl->addItems({QStringLiteral("nur noch nicht gedruckte"), QStringLiteral("nur bereits gedruckte"),
                         QStringLiteral("alle")});
    grid->addWidget(new QLabel(QStringLiteral("Auswahl"), this), zeile, 0);
    grid->addWidget(m_auswahl, zeile++, 1, 1, 2);

    const QDate heute = QDate::currentDate();
    const QDate gjVon = UtilGJVon();
    m_von = new WDatum(gjVon.addYears(-1), this);
    m_bis = new WDatum(m_mid >= 1 ? heute : gjVon.addDays(-1), this);
    grid->addWidget(new QLabel(QStringLiteral("Datum von/bis"), this), zeile, 0);
    grid->addWidget(m_von, zeile, 1);
    grid->addWidget(m_bis, zeile++, 2);

    m_druckVon = new WDatum(QDate(2000, 1, 1), this);
    m_druckBis = new WDatum(heute, this);
    grid->addWidget(new QLabel(QStringLiteral("Druck von/bis"), this), zeile, 0);
    grid->addWidget(m_druckVon, zeile, 1);
    grid->addWidget(m_druckBis, zeile++, 2);

    m_drucken = UtilKnopf(QStringLiteral("&Drucken"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    m_fortschritt = new QLabel(this);
    m_fortschritt->setMinimumWidth(100);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(m_drucken);
    knoepfe->addWidget(m_abbruch);
    knoepfe->addWidget(m_fortschritt);
    m_balken = new WFortschritt(m_fortschritt, this);
    knoepfe->addWidget(m_balken);
    knoepfe->addStretch();
    grid->addLayout(knoepfe, zeile, 0, 1, 3);

    connect(m_auswahl, &QComboBox::currentIndexChanged, this, &Zuwenddruck::pAuswahl);
    connect(m_drucken, &QPushButton::clicked, this, &Zuwenddruck::pDrucken);
    connect(m_abbruch, &QPushButton::clicked, this, &Zuwenddruck::reject);
    pAuswahl();
}

// The print dates only matter for donations printed before.
void Zuwenddruck::pAuswahl()
{
    const bool gedruckte = !m_laeuft && m_auswahl->currentIndex() != ZuwendFilter::NichtGedruckt;
    m_druckVon->setEnabled(gedruckte);
    m_druckBis->setEnabled(gedruckte);
}

void Zuwenddruck::pSetLauf(bool laeuft)
{
    m_laeuft = laeuft;
    m_stop = false;
    const QList<QWidget *> felder{m_auswahl, m_von, m_bis, m_drucken};
    for (QWidget *w : felder)
        w->setEnabled(!laeuft);
    pAuswahl();
    if (!laeuft)
        m_balken->ende();
}

ZuwendFilter Zuwenddruck::filter() const
{
    ZuwendFilter f;
    f.auswahl = static_cast<ZuwendFilter::Auswahl>(qBound(0, m_auswahl->currentIndex(), 2));
    f.von = m_von->datum();
    f.bis = m_bis->datum();
    f.druckVon = m_druckVon->datum();
    f.druckBis = m_druckBis->datum();
    return f;
}

// The members with donations in question; read at once, since the run writes to `spende`.
QList<int> Zuwenddruck::mitglieder(const ZuwendFilter &f) const
{
    QString sql = QStringLiteral("SELECT DISTINCT mid FROM spende WHERE ");
    QVariantList werte;
    if (m_mid >= 1) {
        sql += QStringLiteral("mid=? AND ");
        werte << m_mid;
    }
    sql += QStringLiteral("jdatum>=? AND jdatum<=?");
    werte << UtilDatumText(f.von) << UtilDatumText(f.bis);
    if (f.auswahl == ZuwendFilter::NichtGedruckt) {
        sql += QStringLiteral(" AND quittung<?");
        werte << kGedrucktAb;
    } else if (f.auswahl == ZuwendFilter::Gedruckt) {
        sql += QStringLiteral(" AND quittung>=? AND quittung<=?");
        werte << UtilDatumText(f.druckVon) << UtilDatumText(f.druckBis);
    }
    sql += QStringLiteral(" AND art!='S' ORDER BY mid");
    QList<int> mids;
    QSqlQuery q = Db::abfrage(sql, werte);
    while (q.next())
        mids.append(q.value(0).toInt());
    return mids;
}

void Zuwenddruck::pDrucken()
{
    if (m_laeuft)
        return;
    pSetLauf(true);
    const ZuwendFilter f = filter();
    const bool alle = m_mid < 1;

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true); // the form is measured from the paper's corner
    QPainter painter;
    ZuwendBeleg beleg;
    bool bereit = false;      // the print dialog was accepted and the painter is active
    bool abgebrochen = false; // the print dialog was cancelled or the printer failed
    int seiten = 0;
    ZuwendZwidatStart();
    const QList<int> spender = mitglieder(f);
    m_balken->start(spender.size());
    int nr = 0;
    for (const int mid : spender) {
        ++nr;
        if (m_stop)
            break;
        const int n = PrepareZuwend(beleg, mid, f, alle);
        if (n == 0)
            continue;
        if (!bereit) {
            if (!Interaktion::druckDialog(printer, this)) {
                abgebrochen = true;
                break;
            }
            if (!painter.begin(&printer)) {
                Interaktion::kritisch(this, kTitel, QStringLiteral("Der Drucker kann nicht geöffnet werden."));
                abgebrochen = true;
                break;
            }
            bereit = true;
        }
        for (int i = 0; i < n; ++i) {
            ZuwendZwidatVermerk(beleg.zeilen.at(i));
            if (DruckZuwend(&printer, &painter, beleg, i, seiten == 0))
                ++seiten;
            m_balken->schritt(nr, QString::number(mid));
        }
    }
    if (painter.isActive())
        painter.end();
    pSetLauf(false);

    bool speichern = false;
    if (seiten > 0) {
        speichern = Interaktion::frage(this, kTitel,
                                       QString::number(seiten)
                                           + QStringLiteral(" Seiten gedruckt (abgebrochen).\nDruck in Stammdaten "
                                                            "vermerken?"),
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                    == QMessageBox::Yes;
    } else if (!abgebrochen) {
        Interaktion::information(this, kTitel, QStringLiteral("Keine Zuwendungen zu bestätigen."));
    }
    if (!ZuwendZwidatEnd(speichern))
        Interaktion::kritisch(this, kTitel,
                              QStringLiteral("Der Druck wurde nicht vermerkt.\n") + Db::fehlerText());
    accept();
}

void Zuwenddruck::reject()
{
    if (m_laeuft)
        m_stop = true;
    else
        QDialog::reject();
}

void Zuwenddruck::closeEvent(QCloseEvent *event)
{
    if (m_laeuft) {
        m_stop = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
