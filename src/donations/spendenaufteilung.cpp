#include "spendenaufteilung.h"

#include "db.h"
#include "parameter.h"
#include "textutil.h"
#include "utilkonto.h"

#include <QList>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

const QDate kLeer(1900, 1, 1);
constexpr int kMonate = 12;
constexpr int kSpalten = SpendenAufteilung::kZeilen;

bool istMitglied(int mid) { return mid >= 1 && mid <= 999999; }

// Split column of a level: 1 Bundesverband .. 5 Ortsverband; anything else is column 0.
int spalte(int ebene)
{
    const int c = ebene + 1;
    return c >= kSpalten || c < 0 ? 0 : c;
}

QDate datumOderLeer(const QString &text)
{
    const QDate d = UtilDatum(text.left(10));
    return d.isValid() ? d : kLeer;
}

} // namespace

SpendenAufteilung::SpendenAufteilung() : m_selbstEbene(UtilSelbstEbene()) {}

void SpendenAufteilung::festhalten()
{
    m_festhalten = true;
}

void SpendenAufteilung::clear()
{
    const qint64 betrag = m_a.betrag;
    m_a = Angaben();
    m_a.betrag = betrag;
    m_param = Param();
}

QDate SpendenAufteilung::bezahltBis(int mid)
{
    if (!istMitglied(mid))
        return QDate();
    const QVariant wert = Db::wert(QStringLiteral("SELECT bezahlt FROM mitglied WHERE mid=?"), {mid});
    return wert.isValid() ? datumOderLeer(wert.toString()) : QDate();
}

SpendenAufteilung::Param SpendenAufteilung::param(QChar art)
{
    if (m_festhalten) {
        const auto it = m_params.constFind(art);
        if (it != m_params.constEnd())
            return it.value();
    }
    Param p;
    const QVariantList z = Db::zeile(
        QStringLiteral("SELECT prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,kontokasse,kontobank,"
                       "kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,kostkasse,kostbank,kostanonkasse,"
                       "kostanonbank,kostjurkasse,kostjurbank FROM spendenparam WHERE art=?"),
        {QString(art)});
    if (!z.isEmpty()) {
        for (int i = 0; i < 6; ++i)
            p.proz[i] = z.at(i).toLongLong();
        p.midBuchung = z.at(6).toString() == QLatin1String("J");
        for (int i = 0; i < 6; ++i) {
            p.konto[i] = z.at(7 + i).toString();
            p.kost[i] = z.at(13 + i).toString();
        }
    }
    if (m_festhalten)
        m_params.insert(art, p);
    return p;
}

void SpendenAufteilung::setArt(QChar art)
{
    m_a.art = art;
    m_param = param(art);
    m_a.proz = m_param.proz;
    // What the levels above do not take stays with the own level.
    qint64 summe = 0;
    for (qint64 p : m_a.proz)
        summe += p;
    const qint64 rest = 10000 - summe;
    if (rest > 0) {
        const int eigen = m_selbstEbene >= 1 && m_selbstEbene <= 4 ? m_selbstEbene + 1 : 1;
        m_a.proz[eigen] += rest;
    }
    // A share lies between 0 and 100 %, as its field shows it.
    for (qint64 &p : m_a.proz)
        p = std::clamp<qint64>(p, 0, 10000);
}

void SpendenAufteilung::setParam(int mid, QChar art, const QDate &bezahltNeu)
{
    m_a = Angaben();
    m_a.mid = mid;
    m_personGelesen = false;
    const Person &p = person();
    // The unit of a member with an address, as the dialog's name line fills it.
    m_a.gliederung = UtilSauber(mid >= 1 && p.adresseDa ? p.gliederung : QString());
    m_a.bezahlt = istMitglied(mid) && p.mitgliedDa ? datumOderLeer(p.bezahlt) : kLeer;
    setArt(art);
    if (art == QLatin1Char('M'))
        m_a.bezahltNeu = bezahltNeu;
    else
        m_a.bezahltNeu = istMitglied(mid) && p.mitgliedDa ? m_a.bezahlt : kLeer;
}

SpendenAufteilung::Einheit SpendenAufteilung::einheit(const QString &namekurz)
{
    if (m_festhalten) {
        const auto it = m_einheiten.constFind(namekurz);
        if (it != m_einheiten.constEnd())
            return it.value();
    }
    Einheit e;
    const QVariantList z =
        Db::zeile(QStringLiteral("SELECT gegruendet,ebene,teilvon,bukto FROM verband WHERE namekurz=?"), {namekurz});
    if (!z.isEmpty())
        e = {true, namekurz, z.at(0).toString(), z.at(1).toInt(), z.at(2).toString(), z.at(3).toString()};
    if (m_festhalten)
        m_einheiten.insert(namekurz, e);
    return e;
}

// The top of every chain: the first unit of level 0.
SpendenAufteilung::Einheit SpendenAufteilung::bundesverband()
{
    const QVariantList z = Db::zeile(
        QStringLiteral("SELECT gegruendet,ebene,teilvon,bukto,namekurz FROM verband WHERE ebene=? LIMIT 1"), {0});
    if (z.isEmpty())
        return Einheit();
    return {true, z.at(4).toString(), z.at(0).toString(), z.at(1).toInt(), z.at(2).toString(), z.at(3).toString()};
}

const SpendenAufteilung::Person &SpendenAufteilung::person()
{
    if (m_festhalten && m_personGelesen && m_person.mid == m_a.mid)
        return m_person;
    m_person = Person();
    m_person.mid = m_a.mid;
    if (m_a.mid >= 1) {
        const QVariantList a = Db::zeile(
            QStringLiteral("SELECT name1,name2,plz FROM adresse WHERE art='M' AND key=?"), {UtilMidKey(m_a.mid)});
        if (!a.isEmpty()) {
            m_person.adresseDa = true;
            m_person.name1 = a.at(0).toString();
            m_person.name2 = a.at(1).toString();
            m_person.plz = a.at(2).toString();
        }
        const QVariantList m = Db::zeile(QStringLiteral("SELECT gliederung,bezahlt,sex,eintritt,austritt,zahlart,"
                                                        "zahlstatus FROM mitglied WHERE mid=? LIMIT 1"),
                                         {m_a.mid});
        if (!m.isEmpty()) {
            m_person.mitgliedDa = true;
            m_person.gliederung = m.at(0).toString();
            m_person.bezahlt = m.at(1).toString();
            m_person.sex = m.at(2).toString();
            m_person.eintritt = m.at(3).toString();
            m_person.austritt = m.at(4).toString();
            m_person.zahlart = m.at(5).toString();
            m_person.zahlstatus = m.at(6).toString();
        }
    }
    m_personGelesen = true;
    return m_person;
}

int SpendenAufteilung::beitragsJahr(qint64 cent) const
{
    if (m_a.art != QLatin1Char('M') || !istMitglied(m_a.mid))
        return QDate::currentDate().year();
    if (cent < 0)
        return m_a.bezahltNeu.addDays(1).year();
    if (m_a.bezahltNeu >= m_a.bezahlt)
        return m_a.bezahltNeu.year();
    return m_a.bezahlt.addDays(1).year();
}

QString SpendenAufteilung::variablen(qint64 cent, const QString &text) const
{
    QString s = text;
    s.replace(QLatin1String("%Jahr%"), QString::number(beitragsJahr(cent)));
    s.replace(QLatin1String("%MID%"), QString::number(istMitglied(m_a.mid) ? m_a.mid : 0));
    return s;
}

// The donor's part of the posting text, and the class that picks the account.
int SpendenAufteilung::spenderKlasse(QString *spender)
{
    if (m_a.mid < 1) {
        *spender = QStringLiteral("Anonyme ");
        return kAnonym;
    }
    if (istMitglied(m_a.mid))
        *spender = QStringLiteral("MID ") + QString::number(m_a.mid) + QLatin1Char(' ');
    const Person &p = person();
    if (!p.adresseDa || p.plz == QLatin1String("ZZZZZ")) {
        if (spender->isEmpty())
            *spender = QStringLiteral("Anonyme ");
        return kAnonym;
    }
    *spender += p.name1;
    if (!p.name2.isEmpty())
        *spender += QStringLiteral(", ") + p.name2;
    *spender += QLatin1Char(' ');
    return p.sex == QLatin1String("U") ? kJuristisch : kNamentlich;
}

// Narrows the months of a fee to the member's joining and leaving in the fee year.
void SpendenAufteilung::monatsBereich(int jahr, int *von, int *bis)
{
    const Person &p = person();
    if (!p.mitgliedDa)
        return;
    // A missing date puts no limit on the range.
    const QDate eintritt = UtilDatum(p.eintritt.left(10));
    const QDate austritt = UtilDatum(p.austritt.left(10));
    if ((austritt.isValid() && austritt.year() < jahr) || (eintritt.isValid() && eintritt.year() > jahr)) {
        *bis = 1;
        return;
    }
    if (eintritt.isValid() && eintritt.year() == jahr)
        *von = eintritt.month();
    if (austritt.isValid() && austritt.year() == jahr)
        *bis = austritt.month();
    if (*bis < *von)
        *bis = *von;
}

// Walks from the donation's unit up to the Bundesverband: a level without a unit
// in the chain passes its share to the next unit above; each unit's column gets
// its account. False when neither the unit nor the own unit exists.
bool SpendenAufteilung::verbandsKette(const QString &selbst, int jahr, Monatstabelle &tabelle,
                                      Ebenenkonten &ebenenKonto)
{
    QString name = m_a.gliederung.isEmpty() ? selbst : m_a.gliederung;
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

        if (m_a.art == QLatin1Char('M')) {
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
            naechste = bundesverband();
            if (!naechste.da || besucht.contains(naechste.namekurz))
                break;
            name = naechste.namekurz;
        }
        e = naechste;
        vorher = c;
    }
    return true;
}

void SpendenAufteilung::aufteilen(bool kasse, qint64 cent)
{
    // 1. Fee and total.
    const qint64 gebuehr = cent == 0 ? 0 : m_a.gebuehr;
    const qint64 gesamt = cent == 0 ? 0 : cent + gebuehr;

    // 2. Levels.
    const QString selbst = UtilSelbst();
    const int eigeneEbene = einheit(selbst).ebene;
    const int spenderEbene = einheit(m_a.gliederung).ebene;
    int jahr = QDate::currentDate().year();

    // 3. Donor text and class.
    if (!m_festhalten)
        m_personGelesen = false;
    QString spender;
    const int klasse = spenderKlasse(&spender);

    // 4. Posting text.
    if (m_a.art == QLatin1Char('M')) {
        m_buText = spender + QStringLiteral("Mitgliedsbeitrag %Jahr%");
    } else {
        m_buText = spender + QStringLiteral("Spende");
        if (!m_a.gliederung.isEmpty()) {
            static const char *const praefix[5] = {"", "LV ", "BZV ", "KV ", "OV "};
            const QString p =
                spenderEbene >= 1 && spenderEbene <= 4 ? QString::fromLatin1(praefix[spenderEbene]) : QString();
            m_buText += QLatin1Char(' ') + p + m_a.gliederung;
        }
    }

    // 5. Account and cost centre.
    const int wahl = klasse * 2 + (kasse ? 0 : 1);
    const QString kontoEigen = m_param.konto[wahl];
    m_kostenstelle = m_param.kost[wahl];
    m_hauptKonto = m_param.midBuchung ? UtilMIDKonto(m_a.mid) : kontoEigen;

    // 6. No lines yet.
    for (Zeile &z : m_zeilen)
        z = Zeile();

    // 7. Month share table; the International share goes with the Bundesverband.
    Monatstabelle tabelle;
    for (auto &monat : tabelle) {
        monat[0] = 0;
        monat[1] = m_a.proz[0] + m_a.proz[1];
        for (int c = 2; c < kSpalten; ++c)
            monat[c] = m_a.proz[c];
    }

    // 8. Month range: a fee counts only the months of membership in the fee year.
    int von = 1;
    int bis = kMonate;
    if (m_a.art == QLatin1Char('M') && istMitglied(m_a.mid)) {
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
        zeilen.append({eigenAnteil, kontoEigen, m_kostenstelle});
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

void SpendenAufteilung::aufteilung(int zeile, qint64 cent, qint64 *betrag, QString *konto, QString *text) const
{
    qint64 b = 0;
    QString k;
    QString t;
    if (zeile == -1) {
        b = cent;
        k = m_hauptKonto;
        t = variablen(cent, m_kostenstelle);
    } else if (zeile == -2) {
        b = cent;
        t = variablen(cent, m_buText);
    } else if (zeile >= 0 && zeile < kZeilen) {
        b = m_zeilen[zeile].cent;
        k = m_zeilen[zeile].konto;
        t = variablen(cent, m_zeilen[zeile].kost);
    }
    if (betrag)
        *betrag = b;
    if (konto)
        *konto = k;
    if (text)
        *text = t;
}

bool SpendenAufteilung::schreiben(const QDate &jdatum, int jlfd)
{
    const QString datum = UtilDatumText(jdatum);
    Db::Transaktion t;
    if (!m_festhalten)
        m_personGelesen = false;
    if (m_a.mid < 1) {
        // Anonymous gifts keep no row.
        Db::ausfuehren(QStringLiteral("DELETE FROM spende WHERE jdatum=? AND jlfd=?"), {datum, jlfd});
    } else {
        const QString key = UtilMidKey(m_a.mid);
        const Person &p = person();
        const QString sortname = p.adresseDa ? p.name1 + QStringLiteral(", ") + p.name2 + QStringLiteral(", ") + key
                                             : QStringLiteral("");
        QVariantList werte{m_a.mid, sortname, QString(m_a.art), m_a.gliederung, m_a.quittung};
        for (qint64 proz : m_a.proz)
            werte << QString::number(proz);
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
    if (m_a.art == QLatin1Char('M') && istMitglied(m_a.mid) && m_a.bezahltNeu != m_a.bezahlt) {
        QString aenderung = QStringLiteral("bezahlt=?");
        QVariantList werte{UtilDatumText(m_a.bezahltNeu)};
        const Person &p = person();
        if (p.mitgliedDa) {
            if (p.zahlstatus > QLatin1String("!")) {
                aenderung += QStringLiteral(",zahlstatus=?, statusdatum=?");
                werte << QStringLiteral(" ") << UtilDatumText(QDate::currentDate());
            }
            if (p.zahlart == QLatin1String("L") && m_a.betrag < 0) {
                aenderung += QStringLiteral(",zahlart=?");
                werte << QStringLiteral("G");
            } else if (p.zahlart == QLatin1String("G") && m_a.betrag > 0) {
                aenderung += QStringLiteral(",zahlart=?");
                werte << QStringLiteral("L");
            }
        }
        Db::ausfuehren(QStringLiteral("UPDATE mitglied SET %1 WHERE mid=?").arg(aenderung), werte << m_a.mid);
    }
    // A written fee is read again by the next payment of the same member.
    m_personGelesen = false;
    return t.commit();
}
