#include "spende.h"

#include "db.h"
#include "parameter.h"
#include "spendenart.h"
#include "textutil.h"
#include "wbetrag.h"
#include "wdatum.h"
#include "utilkonto.h"
#include "wgliederung.h"
#include "wmitglied.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QDate kLeer(1900, 1, 1);
constexpr int kMonate = 12;
constexpr int kSpalten = 6;

bool istMitglied(int mid) { return mid >= 1 && mid <= 999999; }

// Split column of a level: 1 Bundesverband .. 5 Ortsverband; anything else is column 0.
int spalte(int ebene)
{
    const int c = ebene + 1;
    return c >= kSpalten || c < 0 ? 0 : c;
}

// One row of `verband` as the walk up the unit chain reads it.
struct Einheit
{
    bool da = false;
    QString gegruendet;
    int ebene = 0;
    QString teilvon;
    QString bukto;
};

// The unit of the query's next row (gegruendet, ebene, teilvon, bukto first); none when there is no row.
Einheit einheitAus(QSqlQuery &q)
{
    Einheit e;
    if (q.next()) {
        e.da = true;
        e.gegruendet = q.value(0).toString();
        e.ebene = q.value(1).toInt();
        e.teilvon = q.value(2).toString();
        e.bukto = q.value(3).toString();
    }
    return e;
}

Einheit einheit(const QString &namekurz)
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT gegruendet,ebene,teilvon,bukto FROM verband WHERE namekurz=?"),
                              {namekurz});
    return einheitAus(q);
}

// The top of every chain: the first unit of level 0.
Einheit bundesverband(QString *namekurz)
{
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT gegruendet,ebene,teilvon,bukto,namekurz FROM verband WHERE ebene=? LIMIT 1"), {0});
    const Einheit e = einheitAus(q);
    if (e.da)
        *namekurz = q.value(4).toString();
    return e;
}

int ebeneVon(const QString &namekurz)
{
    const QVariant e = Db::wert(QStringLiteral("SELECT ebene FROM verband WHERE namekurz=?"), {namekurz});
    return e.isValid() ? e.toInt() : 0;
}

} // namespace

Spende::Spende(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Spende"));
    auto *grid = new QGridLayout;

    m_midFeld = new WMitglied(true, this);
    m_bezahltFeld = new WDatum(kLeer, this);
    m_bezahltFeld->setEnabled(false);
    grid->addWidget(new QLabel(QStringLiteral("MID/Spender"), this), 0, 0);
    grid->addWidget(m_midFeld, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Bezahlt bis"), this), 0, 2);
    grid->addWidget(m_bezahltFeld, 0, 3);

    m_name = new QLabel(this);
    grid->addWidget(m_name, 1, 1, 1, 3);

    m_gliederungFeld = new WGliederung(this);
    grid->addWidget(new QLabel(QStringLiteral("Gliederung"), this), 2, 0);
    grid->addWidget(m_gliederungFeld, 2, 1, 1, 4);

    m_artListe = new QComboBox(this);
    for (int i = 0; i < SpendenArt::Anzahl; ++i)
        m_artListe->addItem(SpendenArt::text(i));
    m_bezahltNeuFeld = new WDatum(kLeer, this);
    grid->addWidget(new QLabel(QStringLiteral("Art"), this), 3, 0);
    grid->addWidget(m_artListe, 3, 1, 1, 2);
    grid->addWidget(m_bezahltNeuFeld, 3, 3);

    m_gebuehr = new WBetrag(this);
    m_gebuehr->setBereich(-99999, 99999);
    grid->addWidget(new QLabel(QStringLiteral("Anteile:"), this), 4, 0);
    grid->addWidget(new QLabel(QStringLiteral("Bankgebühr"), this), 4, 2);
    grid->addWidget(m_gebuehr, 4, 3);

    SpendenArt::anteilFelder(grid, m_proz, 5, 2, this);

    m_quittungFeld = new WDatum(kLeer, this);
    m_quittungFeld->setLeer(LeerDatum::Vor2000);
    grid->addWidget(new QLabel(QStringLiteral("Bescheinigung"), this), 8, 0);
    grid->addWidget(m_quittungFeld, 8, 1);

    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_abbruch);
    knoepfe->addStretch();

    auto *aussen = new QVBoxLayout(this);
    aussen->addLayout(grid);
    aussen->addLayout(knoepfe);

    connect(m_midFeld, &WMitglied::finished, this, &Spende::pDisName);
    connect(m_artListe, qOverload<int>(&QComboBox::currentIndexChanged), this, &Spende::pArtChg);
    connect(m_speichern, &QPushButton::clicked, this, &Spende::accept);
    connect(m_abbruch, &QPushButton::clicked, this, &Spende::reject);

    m_selbstEbene = UtilSelbstEbene();
    m_geaendert = true;
    clear();
}

int Spende::feldMid() const
{
    return m_midFeld->text().trimmed().toInt();
}

void Spende::pFelder()
{
    m_f.mid = feldMid();
    m_f.midText = m_f.mid < 1 ? QString() : QString::number(m_f.mid);
    m_f.gliederung = UtilSauber(m_gliederungFeld->text());
    m_f.art = SpendenArt::code(m_artListe->currentIndex());
    m_f.quittung = m_quittungFeld->datumText();
    for (int i = 0; i < 6; ++i)
        m_f.proz[i] = UtilCent(m_proz[i]->value());
    m_f.bezahlt = m_bezahltFeld->datum();
    m_f.bezahltNeu = m_bezahltNeuFeld->datum();
}

void Spende::zeigeAnteile()
{
    for (int i = 0; i < 6; ++i)
        m_proz[i]->setValue(static_cast<double>(m_f.proz[i]) / 100.0);
}

// Puts the collected state back into the widgets, without a kind change.
void Spende::zeigeFelder()
{
    m_midFeld->setText(m_f.midText);
    m_gliederungFeld->setText(m_f.gliederung);
    const QDate quittung = UtilDatum(m_f.quittung);
    m_quittungFeld->setDatum(quittung.isValid() ? quittung : kLeer);
    zeigeAnteile();
    const QSignalBlocker sperre(m_artListe);
    m_artListe->setCurrentIndex(SpendenArt::index(m_f.art));
}

void Spende::pDisName()
{
    const int mid = feldMid();
    QString zeile;
    if (mid >= 1) {
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT name1,name2,plz,ort FROM adresse WHERE art='M' AND key=?"),
                                  {UtilMidKey(mid)});
        if (q.next()) {
            if (mid <= 9999999) {
                zeile = QString::number(mid) + QLatin1Char(' ') + q.value(0).toString() + QStringLiteral(", ") +
                        q.value(1).toString() + QStringLiteral(", ") + q.value(2).toString() +
                        QStringLiteral("  ") + q.value(3).toString();
            }
            if (m_gliederungFeld->text().trimmed().isEmpty()) {
                const QVariant g = Db::wert(QStringLiteral("SELECT gliederung FROM mitglied WHERE mid=?"), {mid});
                if (g.isValid())
                    m_gliederungFeld->setText(g.toString());
            }
        }
    }
    m_name->setText(zeile);
    pBeitrDat();
}

void Spende::pArtChg(int index)
{
    if (index == m_artGeladen)
        return; // the stored record keeps its shares
    m_f.art = SpendenArt::code(index);
    m_param = Param();
    for (qint64 &p : m_f.proz)
        p = 0;

    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,kontokasse,kontobank,"
                       "kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,kostkasse,kostbank,kostanonkasse,"
                       "kostanonbank,kostjurkasse,kostjurbank FROM spendenparam WHERE art=?"),
        {QString(m_f.art)});
    if (q.next()) {
        for (int i = 0; i < 6; ++i)
            m_f.proz[i] = q.value(i).toLongLong();
        m_param.midBuchung = q.value(6).toString() == QLatin1String("J");
        for (int i = 0; i < 6; ++i) {
            m_param.konto[i] = q.value(7 + i).toString();
            m_param.kost[i] = q.value(13 + i).toString();
        }
    }

    // What the levels above do not take stays with the own level.
    qint64 summe = 0;
    for (qint64 p : m_f.proz)
        summe += p;
    const qint64 rest = 10000 - summe;
    if (rest > 0) {
        const int eigen = m_selbstEbene >= 1 && m_selbstEbene <= 4 ? m_selbstEbene + 1 : 1;
        m_f.proz[eigen] += rest;
    }
    zeigeAnteile();
    pBeitrDat();
}

void Spende::pBeitrDat()
{
    const int mid = feldMid();
    QVariant bezahltWert;
    if (istMitglied(mid))
        bezahltWert = Db::wert(QStringLiteral("SELECT bezahlt FROM mitglied WHERE mid=?"), {mid});
    if (!bezahltWert.isValid()) {
        m_bezahltFeld->setDatum(kLeer);
        m_bezahltNeuFeld->setDatum(kLeer);
        m_bezahltNeuFeld->setEnabled(false);
        return;
    }
    QDate bezahlt = UtilDatum(bezahltWert.toString().left(10));
    if (!bezahlt.isValid())
        bezahlt = kLeer;
    m_bezahltFeld->setDatum(bezahlt);

    if (SpendenArt::code(m_artListe->currentIndex()) != QLatin1Char('M')) {
        if (m_neuDatum) {
            m_bezahltNeuFeld->setDatum(bezahlt);
            m_bezahltNeuFeld->setEnabled(false);
        }
        return;
    }
    if (!m_neuDatum)
        return; // as setParam set it
    m_bezahltNeuFeld->setEnabled(true);
    if (!m_neu) {
        m_bezahltNeuFeld->setDatum(bezahlt);
    } else if (m_cent < 0) {
        // A refund takes back the last paid year.
        const int jahr = bezahlt.year() - (bezahlt.month() == 1 ? 2 : 1);
        m_bezahltNeuFeld->setDatum(QDate(jahr, 12, 31));
    } else {
        const int jahr = bezahlt.year() + (bezahlt.month() == 12 ? 1 : 0);
        m_bezahltNeuFeld->setDatum(QDate(jahr, 12, 31));
    }
}

int Spende::beitragsJahr(qint64 cent) const
{
    if (m_f.art != QLatin1Char('M') || !istMitglied(m_f.mid))
        return QDate::currentDate().year();
    if (cent < 0)
        return m_f.bezahltNeu.addDays(1).year();
    if (m_f.bezahltNeu >= m_f.bezahlt)
        return m_f.bezahltNeu.year();
    return m_f.bezahlt.addDays(1).year();
}

QString Spende::pVariablen(qint64 cent, const QString &text) const
{
    QString s = text;
    s.replace(QLatin1String("%Jahr%"), QString::number(beitragsJahr(cent)));
    s.replace(QLatin1String("%MID%"), QString::number(istMitglied(m_f.mid) ? m_f.mid : 0));
    return s;
}

// The donor's part of the posting text, and the class that picks the account.
int Spende::spenderKlasse(QString *spender) const
{
    if (m_f.mid < 1) {
        *spender = QStringLiteral("Anonyme ");
    } else {
        if (istMitglied(m_f.mid))
            *spender = QStringLiteral("MID ") + QString::number(m_f.mid) + QLatin1Char(' ');
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT name1,name2,plz,ort FROM adresse WHERE art='M' AND key=?"),
                                  {UtilMidKey(m_f.mid)});
        if (!q.next() || q.value(2).toString() == QLatin1String("ZZZZZ")) {
            if (spender->isEmpty())
                *spender = QStringLiteral("Anonyme ");
        } else {
            *spender += q.value(0).toString();
            const QString name2 = q.value(1).toString();
            if (!name2.isEmpty())
                *spender += QStringLiteral(", ") + name2;
            *spender += QLatin1Char(' ');
            const QVariant sex = Db::wert(QStringLiteral("SELECT sex FROM mitglied WHERE mid=?"), {m_f.mid});
            return sex.toString() == QLatin1String("U") ? kJuristisch : kNamentlich;
        }
    }
    return kAnonym;
}

// Narrows the months of a fee to the member's joining and leaving in the fee year.
void Spende::monatsBereich(int jahr, int *von, int *bis) const
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT eintritt,austritt FROM mitglied WHERE mid=?"), {m_f.mid});
    if (q.next()) {
        // A missing date puts no limit on the range.
        const QDate eintritt = UtilDatum(q.value(0).toString().left(10));
        const QDate austritt = UtilDatum(q.value(1).toString().left(10));
        if ((austritt.isValid() && austritt.year() < jahr) || (eintritt.isValid() && eintritt.year() > jahr)) {
            *bis = 1;
        } else {
            if (eintritt.isValid() && eintritt.year() == jahr)
                *von = eintritt.month();
            if (austritt.isValid() && austritt.year() == jahr)
                *bis = austritt.month();
            if (*bis < *von)
                *bis = *von;
        }
    }
}

// Walks from the donation's unit up to the Bundesverband: a level without a unit
// in the chain passes its share to the next unit above; each unit's column gets
// its account. False when neither the unit nor the own unit exists.
bool Spende::verbandsKette(const QString &selbst, int jahr, Monatstabelle &tabelle,
                           Ebenenkonten &ebenenKonto) const
{
    QString name = m_f.gliederung.isEmpty() ? selbst : m_f.gliederung;
    Einheit e = einheit(name);
    if (!e.da && name != selbst) {
        name = selbst;
        e = einheit(name);
        if (!e.da)
            return false;
    }
    // Own unit unknown: the walk runs once on an empty row (column 1).
    QSet<QString> besucht;
    int vorher = kSpalten;
    for (;;) {
        besucht.insert(name);
        const int c = spalte(e.ebene);
        int k = vorher - 1;
        for (; k > c; --k) {
            for (auto &monat : tabelle) {
                monat[c] += monat[k];
                monat[k] = 0;
            }
            ebenenKonto[k].clear();
        }
        // A parent on the same or a lower level takes the next free column above.
        ebenenKonto[k] = e.bukto;
        if (c <= 1)
            break;

        if (m_f.art == QLatin1Char('M')) {
            // Founding rule: before it existed, a unit's share goes one level up.
            const QDate gegruendet = UtilDatum(e.gegruendet.left(10));
            int monate = 0;
            if (gegruendet.isValid() && gegruendet.year() > jahr)
                monate = kMonate;
            else if (gegruendet.isValid() && gegruendet.year() == jahr)
                monate = UtilBeitragAb() == 1 ? kMonate : gegruendet.month();
            for (int m = 0; m < monate; ++m) {
                tabelle[m][c - 1] += tabelle[m][c];
                tabelle[m][c] = 0;
            }
        }

        // A parent already seen (a loop in `teilvon`) counts as no parent, so
        // the walk ends at the Bundesverband like any broken chain.
        Einheit naechste;
        if (!e.teilvon.isEmpty() && !besucht.contains(e.teilvon)) {
            naechste = einheit(e.teilvon);
            if (naechste.da)
                name = e.teilvon;
        }
        if (!naechste.da) {
            naechste = bundesverband(&name);
            if (!naechste.da || besucht.contains(name))
                break;
        }
        e = naechste;
        vorher = c;
    }
    return true;
}

void Spende::pAufteilen(bool kasse, qint64 cent)
{
    // 1. Fee and total.
    qint64 gebuehr = m_gebuehr->cents();
    qint64 gesamt = 0;
    if (cent == 0)
        gebuehr = 0;
    else
        gesamt = cent + gebuehr;

    // 2. Levels.
    const QString selbst = UtilSelbst();
    const int eigeneEbene = ebeneVon(selbst);
    const int spenderEbene = ebeneVon(m_f.gliederung);
    int jahr = QDate::currentDate().year();

    // 3. Donor text and class.
    QString spender;
    const int klasse = spenderKlasse(&spender);

    // 4. Posting text.
    if (m_f.art == QLatin1Char('M')) {
        m_buText = spender + QStringLiteral("Mitgliedsbeitrag %Jahr%");
    } else {
        m_buText = spender + QStringLiteral("Spende");
        if (!m_f.gliederung.isEmpty()) {
            static const char *const praefix[5] = {"", "LV ", "BZV ", "KV ", "OV "};
            const QString p =
                spenderEbene >= 1 && spenderEbene <= 4 ? QString::fromLatin1(praefix[spenderEbene]) : QString();
            m_buText += QLatin1Char(' ') + p + m_f.gliederung;
        }
    }

    // 5. Account and cost centre.
    const int wahl = klasse * 2 + (kasse ? 0 : 1);
    m_kontoEigen = m_param.konto[wahl];
    m_kostenstelle = m_param.kost[wahl];
    m_hauptKonto = m_param.midBuchung ? UtilMIDKonto(m_f.mid) : m_kontoEigen;

    // 6. No lines yet.
    for (Zeile &z : m_zeilen)
        z = Zeile();

    // 7. Month share table; the International share goes with the Bundesverband.
    Monatstabelle tabelle;
    for (auto &monat : tabelle) {
        monat[0] = 0;
        monat[1] = m_f.proz[0] + m_f.proz[1];
        for (int c = 2; c < kSpalten; ++c)
            monat[c] = m_f.proz[c];
    }

    // 8. Month range: a fee counts only the months of membership in the fee year.
    int von = 1;
    int bis = kMonate;
    if (m_f.art == QLatin1Char('M') && istMitglied(m_f.mid)) {
        jahr = beitragsJahr(cent);
        monatsBereich(jahr, &von, &bis);
    }

    // 9. Walk up the unit chain; levels without a unit in it pass their share up.
    Ebenenkonten ebenenKonto;
    if (!verbandsKette(selbst, jahr, tabelle, ebenenKonto))
        return;

    // 10. Amounts per column over the month range, in cents.
    const int monate = bis - von + 1;
    const double proMonat = (static_cast<double>(gesamt) / 100.0) / monate;
    auto anteil = [&](int c) {
        double summe = 0.0;
        for (int m = von - 1; m < bis; ++m)
            summe += static_cast<double>(tabelle[m][c]) * proMonat / 10000.0;
        return static_cast<qint64>(std::llround(summe * 100.0));
    };

    // 11. Own share.
    QList<Zeile> zeilen;
    const int eigen = spalte(eigeneEbene);
    const qint64 eigenAnteil = anteil(eigen);
    for (auto &monat : tabelle)
        monat[eigen] = 0;
    if (eigenAnteil != 0)
        zeilen.append({eigenAnteil, m_kontoEigen, m_kostenstelle});
    qint64 rest = gesamt - eigenAnteil;

    // 12. Level shares.
    for (int c = 0; c < kSpalten; ++c) {
        const qint64 teil = anteil(c);
        rest -= teil;
        if (teil != 0)
            zeilen.append({teil, UtilGlKonto(ebenenKonto[c]), m_kostenstelle});
    }

    // 13. What is booked on the main account simply stays there.
    for (int i = zeilen.size() - 1; i >= 0; --i) {
        if (zeilen.at(i).konto == m_hauptKonto)
            zeilen.removeAt(i);
    }

    // 14. Bank fee.
    if (gebuehr != 0 && zeilen.size() < kSpalten)
        zeilen.append({-gebuehr, UtilBankGebKonto(), m_kostenstelle});

    // 15. Six lines; line 0 takes the rounding difference.
    for (int i = 0; i < kSpalten && i < zeilen.size(); ++i)
        m_zeilen[i] = zeilen.at(i);
    m_zeilen[0].cent += rest;
}

void Spende::aufteilung(bool kasse, int zeile, qint64 cent, qint64 *betrag, QString *konto, QString *text)
{
    if (m_geaendert) {
        pFelder();
        pAufteilen(kasse, cent);
        m_geaendert = false;
    }
    qint64 b = 0;
    QString k;
    QString t;
    if (zeile == -1) {
        b = cent;
        k = m_hauptKonto;
        t = pVariablen(cent, m_kostenstelle);
    } else if (zeile == -2) {
        b = cent;
        t = pVariablen(cent, m_buText);
    } else if (zeile >= 0 && zeile < kSpalten) {
        b = m_zeilen[zeile].cent;
        k = m_zeilen[zeile].konto;
        t = pVariablen(cent, m_zeilen[zeile].kost);
    }
    if (betrag)
        *betrag = b;
    if (konto)
        *konto = k;
    if (text)
        *text = t;
}

QString Spende::disName() const
{
    return m_name->text();
}

void Spende::read(const QDate &jdatum, int jlfd)
{
    if (jlfd < 1) {
        clear();
        return;
    }
    m_artGeladen = -1;
    m_neu = true;
    m_f.mid = -1;
    m_f.midText.clear();
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT mid,art,gliederung,quittung,prozint,prozbuv,prozlv,prozbzv,"
                                             "prozkv,prozov FROM spende WHERE jdatum=? AND jlfd=?"),
                              {UtilDatumText(jdatum), jlfd});
    if (q.next()) {
        m_neu = false;
        m_midFeld->setText(q.value(0).toString());
        const QString art = q.value(1).toString();
        m_f.art = art.isEmpty() ? QLatin1Char('Z') : art.at(0);
        m_artGeladen = SpendenArt::index(m_f.art);
        m_artListe->setCurrentIndex(m_artGeladen);
        m_gliederungFeld->setText(q.value(2).toString());
        const QDate quittung = UtilDatum(q.value(3).toString().left(10));
        m_quittungFeld->setDatum(quittung.isValid() ? quittung : kLeer);
        for (int i = 0; i < 6; ++i)
            m_f.proz[i] = q.value(4 + i).toLongLong();
        zeigeAnteile();
        // Collected after the name line, so the paid-until dates are the member's.
        pDisName();
        pFelder();
        return;
    }
    pDisName();
}

bool Spende::write(const QDate &jdatum, int jlfd)
{
    pFelder();
    const QString datum = UtilDatumText(jdatum);
    Db::Transaktion t;
    if (m_f.mid < 1) {
        // Anonymous gifts keep no row.
        Db::ausfuehren(QStringLiteral("DELETE FROM spende WHERE jdatum=? AND jlfd=?"), {datum, jlfd});
    } else {
        const QString key = UtilMidKey(m_f.mid);
        QString sortname = QStringLiteral("");
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT name1,name2 FROM adresse WHERE art='M' AND key=?"), {key});
        if (q.next())
            sortname = q.value(0).toString() + QStringLiteral(", ") + q.value(1).toString() + QStringLiteral(", ") + key;

        QVariantList werte{m_f.mid, sortname, QString(m_f.art), m_f.gliederung, m_f.quittung};
        for (qint64 p : m_f.proz)
            werte << QString::number(p);
        const int geaendert =
            Db::ausfuehren(QStringLiteral("UPDATE spende SET mid=?,sortname=?,art=?,gliederung=?,quittung=?,"
                                          "prozint=?,prozbuv=?,prozlv=?,prozbzv=?,prozkv=?,prozov=? "
                                          "WHERE jdatum=? AND jlfd=?"),
                           werte + QVariantList{datum, jlfd});
        if (geaendert == 0) {
            Db::ausfuehren(QStringLiteral("INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung,quittung,"
                                          "prozint,prozbuv,prozlv,prozbzv,prozkv,prozov) "
                                          "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                           QVariantList{datum, jlfd} + werte);
        }
    }

    // A membership fee moves the paid-until date and settles the payment state.
    if (m_f.art == QLatin1Char('M') && istMitglied(m_f.mid) && m_f.bezahltNeu != m_f.bezahlt) {
        QString aenderung = QStringLiteral("bezahlt=?");
        QVariantList werte{UtilDatumText(m_f.bezahltNeu)};
        QSqlQuery q = Db::abfrage(
            QStringLiteral("SELECT zahlart,zahlstatus,statusdatum FROM mitglied WHERE mid=? LIMIT 1"), {m_f.mid});
        if (q.next()) {
            const QString zahlart = q.value(0).toString();
            if (q.value(1).toString() > QLatin1String("!")) {
                aenderung += QStringLiteral(",zahlstatus=?, statusdatum=?");
                werte << QStringLiteral(" ") << UtilDatumText(QDate::currentDate());
            }
            if (zahlart == QLatin1String("L") && m_cent < 0) {
                aenderung += QStringLiteral(",zahlart=?");
                werte << QStringLiteral("G");
            } else if (zahlart == QLatin1String("G") && m_cent > 0) {
                aenderung += QStringLiteral(",zahlart=?");
                werte << QStringLiteral("L");
            }
        }
        Db::ausfuehren(QStringLiteral("UPDATE mitglied SET %1 WHERE mid=?").arg(aenderung), werte << m_f.mid);
    }
    // The form keeps what was entered: when the caller's unit is not committed after
    // all, a repeated save must move the paid-until date again. Callers clear or
    // read the split once their unit is committed.
    return t.commit();
}

void Spende::clear()
{
    m_artGeladen = -1;
    m_neu = true;
    m_neuDatum = true;
    m_quittungFeld->setDatum(kLeer);
    m_midFeld->clear();
    m_gliederungFeld->setText(QString());
    m_name->clear();
    {
        const QSignalBlocker sperre(m_artListe);
        m_artListe->setCurrentIndex(0);
    }
    for (QDoubleSpinBox *p : m_proz)
        p->setValue(0.0);
    m_param = Param();
    pFelder();
    pBeitrDat();
}

void Spende::setParam(int mid, QChar art, const QDate &bezahlt)
{
    m_midFeld->setText(QString::number(mid));
    pDisName();
    const int index = SpendenArt::index(art);
    {
        const QSignalBlocker sperre(m_artListe);
        m_artListe->setCurrentIndex(index);
    }
    pArtChg(index);
    if (SpendenArt::code(index) == QLatin1Char('M')) {
        m_neuDatum = false;
        m_bezahltNeuFeld->setDatum(bezahlt);
    }
    m_geaendert = true;
}

int Spende::exec(qint64 cent)
{
    m_cent = cent;
    m_vorher = m_f;
    m_paramVorher = m_param;
    m_gebuehrVorher = m_gebuehr->cents();

    zeigeFelder();
    pArtChg(m_artListe->currentIndex());
    m_bezahltFeld->setDatum(m_f.bezahlt.isValid() ? m_f.bezahlt : kLeer);
    m_bezahltNeuFeld->setDatum(m_f.bezahltNeu.isValid() ? m_f.bezahltNeu : kLeer);

    if (m_f.midText.isEmpty())
        m_midFeld->setFocus();
    else
        m_abbruch->setFocus();

    m_offen = true;
    const int ergebnis = QDialog::exec();
    m_offen = false;
    if (ergebnis == QDialog::Accepted)
        m_geaendert = true;
    return ergebnis;
}

void Spende::accept()
{
    if (!WBetrag::alleGueltig(this))
        return;
    pFelder();
    QDialog::accept();
}

void Spende::reject()
{
    if (m_offen) {
        // A cancelled dialog leaves the state of the last acceptance untouched.
        m_f = m_vorher;
        m_param = m_paramVorher;
        zeigeFelder();
        m_gebuehr->setCents(m_gebuehrVorher);
        m_bezahltFeld->setDatum(m_f.bezahlt.isValid() ? m_f.bezahlt : kLeer);
        m_bezahltNeuFeld->setDatum(m_f.bezahltNeu.isValid() ? m_f.bezahltNeu : kLeer);
    }
    m_midFeld->setText(m_f.midText);
    pDisName();
    QDialog::reject();
}
