#include "midimportlauf.h"

#include "csvdatei.h"
#include "db.h"
#include "parameter.h"
#include "suchname.h"
#include "textutil.h"

#include <QElapsedTimer>
#include <QLineEdit>

#include <optional>

namespace {

// Header search names per target, in the order of MIDImportLauf::Ziel.
const std::array<QStringList, 25> &kopfNamen()
{
    static const std::array<QStringList, 25> namen = {
        QStringList{"EXTERNEIDFENTIFIKATIONMATCHTOCONTACT", "MITGLIEDSNR", "MITGLIEDSNUMER",
                    "EXTERNALIDENTIFIERMATCHTOCONTACT"},
        {"INTERNEKONTAKTID", "INTERNALCONTACTID"},
        {"VORNAME", "FIRSTNAME"},
        {"NACHNAME", "LASTNAME"},
        {"GEBURTSDATUM", "GEBDATUM", "BIRTHDATE"},
        {"GENDER"},
        {"STRASE", "STRETADRES"},
        {"PLZ", "POSTALCODE"},
        {"STADT", "CITI"},
        {"LAND", "COUNTI"},
        {"STATSBURGERSCHAFT"},
        {"TELEFON", "PHONE"},
        {"EMAIL"},
        {"EINZUGSERMACHTIGUNG"},
        {"KONTOINHABER"},
        {"KONTONUMER"},
        {"BANKLEITZAHL"},
        {"KREDITINSTITUT"},
        {"GESAMTBEITRAG"},
        {"EINTRITSDATUM"},
        {"AUSTRITSDATUM"},
        {"GEMEINDE"},
        {"LANDKREIS"},
        {"REGIERUNGSBEZIRK"},
        {"BUNDESLAND"},
    };
    return namen;
}

// Lines are committed together for this long: one commit per line would cost
// a disk flush per member, and a line counts as read only once its group is committed.
constexpr qint64 kGruppeMs = 200;

// Notes beyond this many are only counted.
constexpr int kMaxHinweise = 20;

// Sets a carrier's field only when its text changes: every new text is laid out
// like a visible one, and that is most of an import's time.
void setze(QLineEdit *feld, const QString &text)
{
    if (feld->text() != text)
        feld->setText(text);
}

const QDate kOhneDatum(1900, 1, 1);
const QDate kNichtAusgetreten(2200, 1, 1);

} // namespace

MIDImportLauf::MIDImportLauf(CSVDatei &datei) : m_datei(datei)
{
    m_spalte.fill(-1);
}

MIDImportLauf::~MIDImportLauf()
{
    m_update.finish();
    m_insert.finish();
    m_vorhanden.finish();
    if (m_tabelle)
        Db::ausfuehren(QStringLiteral("DROP TABLE zwimid"));
}

bool MIDImportLauf::exec(QSqlQuery &q)
{
    if (q.exec())
        return true;
    Db::fehlgeschlagen(q);
    return false;
}

bool MIDImportLauf::kopfLesen()
{
    for (int spalte = 0; !m_datei.eol(); ++spalte) {
        const QString name = SuchName(m_datei.readField(), QString());
        for (int ziel = 0; ziel < ZielAnzahl; ++ziel) {
            if (m_spalte[ziel] < 0 && kopfNamen()[ziel].contains(name))
                m_spalte[ziel] = spalte;
        }
        m_felder = spalte + 1;
    }
    return hat(Mid) && hat(Nachname);
}

void MIDImportLauf::eigeneGliederungen()
{
    m_eigene.clear();
    if (UtilSelbst().isEmpty())
        return;
    m_eigene << UtilSelbst();
    for (int i = 0; i < m_eigene.size(); ++i) {
        QSqlQuery q = Db::abfrage(QStringLiteral("SELECT namekurz FROM verband WHERE teilvon=?"), {m_eigene.at(i)});
        while (q.next()) {
            const QString name = q.value(0).toString();
            if (!m_eigene.contains(name))
                m_eigene << name;
        }
    }
}

void MIDImportLauf::anweisungenVorbereiten()
{
    // Only the columns the file has; dates that do not exist leave the stored value.
    QStringList setzen{QStringLiteral("intnr=?"), QStringLiteral("gliederung=?"), QStringLiteral("wohngliederung=?")};
    if (!hat(Intnr))
        setzen.removeFirst();
    const std::pair<Ziel, const char *> spalten[] = {{Sex, "sex"},        {Nation, "nation"},     {Tel, "tel"},
                                                     {Gebdat, "gebdat"},  {Eintritt, "eintritt"}, {Austritt, "austritt"}};
    for (const auto &[ziel, name] : spalten) {
        if (!hat(ziel))
            continue;
        const QString spalte = QLatin1String(name);
        setzen << (ziel == Gebdat || ziel == Eintritt || ziel == Austritt
                       ? spalte + QStringLiteral("=coalesce(?,") + spalte + QLatin1Char(')')
                       : spalte + QStringLiteral("=?"));
    }
    m_update.prepare(QStringLiteral("UPDATE mitglied SET ") + setzen.join(QLatin1Char(','))
                     + QStringLiteral(" WHERE mid=?"));
    // A new member gets every column; those the file lacks stay empty as in the members dialog.
    m_insert.prepare(QStringLiteral("INSERT INTO mitglied (mid,intnr,gliederung,wohngliederung,sex,nation,tel,gebdat,"
                                    "zahlart,beitrag,eintritt,austritt,bezahlt,zahlstatus,statusdatum) "
                                    "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,'N',?)"));
    m_vorhanden.prepare(QStringLiteral("DELETE FROM zwimid WHERE mid=?"));
}

MIDImportLauf::Ergebnis MIDImportLauf::importieren()
{
    if (!m_datei.isValid())
        return Ergebnis::NichtGeoeffnet;
    m_dateiDatum = m_datei.creationDate();
    if (!m_datei.startLine())
        return Ergebnis::KeineDaten;
    if (!kopfLesen())
        return Ergebnis::FalschesFormat;
    eigeneGliederungen();

    Db::ausfuehren(QStringLiteral("DROP TABLE IF EXISTS zwimid"));
    Db::ausfuehren(QStringLiteral("CREATE TEMPORARY TABLE zwimid (mid int, PRIMARY KEY(mid ASC))"));
    m_tabelle = true;
    Db::ausfuehren(QStringLiteral("INSERT INTO zwimid (mid) SELECT mid FROM mitglied WHERE mid<? AND austritt>?"),
                   {1000000, UtilDatumText(m_dateiDatum)});
    anweisungenVorbereiten();

    std::optional<Db::Transaktion> gruppe;
    gruppe.emplace();
    QElapsedTimer seitCommit;
    seitCommit.start();
    auto festschreiben = [&] {
        if (!gruppe->commit())
            return false;
        m_gelesen += m_offenGelesen;
        m_neu += m_offenNeu;
        m_aktualisiert += m_offenAktualisiert;
        m_offenGelesen = m_offenNeu = m_offenAktualisiert = 0;
        seitCommit.restart();
        return true;
    };

    Ergebnis ergebnis = Ergebnis::Fertig;
    for (int nr = 2; m_datei.startLine(); ++nr) {
        QStringList felder;
        while (!m_datei.eol())
            felder << m_datei.readField();
        if (!zeile(felder, nr)) {
            gruppe.reset();
            m_offenGelesen = m_offenNeu = m_offenAktualisiert = 0;
            ergebnis = Ergebnis::Datenbankfehler;
            break;
        }
        if (seitCommit.elapsed() >= kGruppeMs) {
            if (!festschreiben()) {
                ergebnis = Ergebnis::Datenbankfehler;
                break;
            }
            gruppe.emplace();
        }
        if (nr % 6 == 0 && m_fortschritt && !m_fortschritt(m_gelesen)) {
            ergebnis = Ergebnis::Abgebrochen;
            break;
        }
    }
    if (ergebnis != Ergebnis::Datenbankfehler && !festschreiben())
        ergebnis = Ergebnis::Datenbankfehler;
    gruppe.reset();
    if (ergebnis != Ergebnis::Fertig)
        return ergebnis;
    if (m_gelesen == 0)
        return Ergebnis::KeineDaten;
    m_nichtMehr = Db::wert(QStringLiteral("SELECT count(*) FROM zwimid")).toInt();
    return Ergebnis::Fertig;
}

bool MIDImportLauf::zeile(const QStringList &felder, int nr)
{
    // A blank line (an editor's last line) is no line.
    if (felder.size() <= 1 && felder.value(0).trimmed().isEmpty())
        return true;
    Werte w;
    for (int ziel = 0; ziel < ZielAnzahl; ++ziel)
        w[ziel] = hat(Ziel(ziel)) ? UtilSauber(felder.value(m_spalte[ziel])) : QStringLiteral("");

    bool zahlOk = false;
    const int mid = w[Mid].toInt(&zahlOk);
    const bool midOk = zahlOk && mid >= 1 && mid <= 999999;
    if (felder.size() != m_felder) {
        hinweis(nr, QStringLiteral("%1 statt %2 Felder, nicht übernommen").arg(felder.size()).arg(m_felder));
        // The member is still in the file: not one who left.
        if (midOk) {
            m_vorhanden.bindValue(0, mid);
            return exec(m_vorhanden);
        }
        return true;
    }
    if (!midOk) {
        hinweis(nr, QStringLiteral("Mitgliedsnummer \"%1\" ungültig, nicht übernommen").arg(w[Mid]));
        return true;
    }

    // Dates that fit a pattern but name no day are not taken.
    QList<QVariant> daten;
    const std::pair<Ziel, QDate> datumsSpalten[] = {
        {Gebdat, kOhneDatum}, {Eintritt, kOhneDatum}, {Austritt, kNichtAusgetreten}};
    for (const auto &[ziel, ersatz] : datumsSpalten) {
        const QDate datum = CSVDatei::toDate(w[ziel], ersatz);
        if (!datum.isValid())
            hinweis(nr, QStringLiteral("Datum \"%1\" ungültig, nicht übernommen").arg(w[ziel]));
        daten << (datum.isValid() ? QVariant(UtilDatumText(datum)) : QVariant());
    }
    return schreiben(mid, w, daten);
}

bool MIDImportLauf::schreiben(int mid, Werte &w, const QList<QVariant> &daten)
{
    const QString intnr = QString::number(w[Intnr].toInt());
    const QChar s = w[Sex].isEmpty() ? QChar() : w[Sex].at(0).toUpper();
    // "F" (female) for files in English.
    const QString sex = s == QLatin1Char('M') ? QStringLiteral("M")
                        : s == QLatin1Char('W') || s == QLatin1Char('F') ? QStringLiteral("W")
                                                                         : QStringLiteral(" ");
    const QString ja = w[Zahlart].toUpper();
    QString zahlart = ja == QLatin1String("YES") || ja == QLatin1String("JA") ? QStringLiteral("L") : QStringLiteral("V");
    bool zahlOk = false;
    const double euro = w[Beitrag].toDouble(&zahlOk);
    const qint64 beitrag = zahlOk ? UtilCent(euro) : 0;

    // A direct debit needs an account number and a bank code.
    if (zahlart == QLatin1String("L") && (w[Nummer].isEmpty() || w[Blz].isEmpty()))
        zahlart = QStringLiteral("V");
    if (zahlart == QLatin1String("L") && w[Inhaber].isEmpty())
        w[Inhaber] = UtilSauber(w[Vorname] + QLatin1Char(' ') + w[Nachname]);

    QString gliederung, wohnort;
    for (const Ziel ziel : {Gemeinde, Landkreis, Regierungsbezirk, Bundesland}) {
        const QString einheit = w[ziel].toUpper();
        if (einheit.isEmpty())
            continue;
        if (wohnort.isEmpty())
            wohnort = einheit;
        if (gliederung.isEmpty() && m_eigene.contains(einheit))
            gliederung = einheit;
    }
    if (gliederung.isEmpty())
        gliederung = UtilSelbst();
    if (wohnort == gliederung) // stored empty when it is the unit itself
        wohnort.clear();
    if (wohnort.isNull())
        wohnort = QStringLiteral("");

    const QString key = UtilMidKey(mid);
    Db::Transaktion transaktion;

    QVariantList werte;
    if (hat(Intnr))
        werte << intnr;
    werte << gliederung << wohnort;
    if (hat(Sex))
        werte << sex;
    if (hat(Nation))
        werte << w[Nation];
    if (hat(Tel))
        werte << w[Tel];
    if (hat(Gebdat))
        werte << daten.at(0);
    if (hat(Eintritt))
        werte << daten.at(1);
    if (hat(Austritt))
        werte << daten.at(2);
    werte << mid;
    for (int i = 0; i < werte.size(); ++i)
        m_update.bindValue(i, werte.at(i));
    if (!exec(m_update))
        return false;
    if (m_update.numRowsAffected() > 0) {
        ++m_offenAktualisiert;
    } else {
        const QString datei = UtilDatumText(m_dateiDatum);
        const QString eintritt = hat(Eintritt) && !daten.at(1).isNull() ? daten.at(1).toString() : datei;
        const QString austritt = hat(Austritt) && !daten.at(2).isNull() ? daten.at(2).toString()
                                                                         : UtilDatumText(kNichtAusgetreten);
        const QString gebdat = hat(Gebdat) && !daten.at(0).isNull() ? daten.at(0).toString()
                                                                     : UtilDatumText(kOhneDatum);
        const QVariantList neu{mid,
                               hat(Intnr) ? intnr : QStringLiteral(""),
                               gliederung,
                               wohnort,
                               hat(Sex) ? sex : QStringLiteral(" "),
                               w[Nation],
                               w[Tel],
                               gebdat,
                               hat(Zahlart) ? zahlart : QStringLiteral(" "),
                               beitrag,
                               eintritt,
                               austritt,
                               hat(Eintritt) ? eintritt : datei,
                               datei};
        for (int i = 0; i < neu.size(); ++i)
            m_insert.bindValue(i, neu.at(i));
        if (!exec(m_insert))
            return false;
        ++m_offenNeu;
    }

    // Address and bank details: what the file has replaces the stored values, the rest
    // stays. With account number and bank code the file's bank details are complete:
    // holder and bank without a column, BIC and IBAN are cleared.
    const bool bankKomplett = hat(Nummer) && hat(Blz);
    const QString art = QStringLiteral("M");
    const std::pair<Ziel, QLineEdit *> adresse[] = {
        {Vorname, m_adresse.Name2()}, {Nachname, m_adresse.Name1()}, {Strasse, m_adresse.Strasse()},
        {Plz, m_adresse.Plz()},       {Ort, m_adresse.Ort()},        {Land, m_adresse.Land()},
        {Mail, m_adresse.Mail()}};
    const std::pair<Ziel, QLineEdit *> bank[] = {{Inhaber, m_bank.KontoInh()}, {Nummer, m_bank.KontoNr()},
                                                 {Blz, m_bank.KontoBlz()},      {Bank, m_bank.KontoBank()},
                                                 {ZielAnzahl, m_bank.KontoBic()}, {ZielAnzahl, m_bank.KontoIban()}};
    // The stored row is loaded only when the file leaves some of its fields open.
    auto fuellen = [&](WDatensatz &traeger, const auto &felder, bool komplett) {
        auto ausDatei = [&](Ziel ziel) { return komplett || (ziel != ZielAnzahl && hat(ziel)); };
        bool laden = false;
        for (const auto &[ziel, feld] : felder)
            laden = laden || !ausDatei(ziel);
        if (laden) {
            for (const auto &[ziel, feld] : felder)
                setze(feld, QString());
            traeger.read(art, key);
        }
        for (const auto &[ziel, feld] : felder) {
            if (ausDatei(ziel))
                setze(feld, ziel == ZielAnzahl ? QString() : w[ziel]);
        }
    };
    fuellen(m_adresse, adresse, false);
    fuellen(m_bank, bank, bankKomplett);
    // The carriers are emptied before the next line, as their fields are.
    m_adresse.write(QStringLiteral("M"), key);
    m_bank.write(QStringLiteral("M"), key);

    m_vorhanden.bindValue(0, mid);
    exec(m_vorhanden);
    if (!transaktion.commit())
        return false;
    ++m_offenGelesen;
    return true;
}

void MIDImportLauf::hinweis(int nr, const QString &text)
{
    if (m_hinweise.size() < kMaxHinweise)
        m_hinweise << QStringLiteral("Zeile %1: ").arg(nr) + text;
    else if (m_hinweise.size() == kMaxHinweise)
        m_hinweise << QStringLiteral("… und weitere Hinweise");
}

QString MIDImportLauf::bericht() const
{
    QStringList zeilen{QString::number(m_gelesen) + QStringLiteral(" Sätze gelesen"),
                       QString::number(m_neu) + QStringLiteral(" Sätze neu"),
                       QString::number(m_aktualisiert) + QStringLiteral(" Sätze aktualisiert"),
                       QString::number(m_nichtMehr) + QStringLiteral(" Sätze nicht mehr vorhanden")};
    return (zeilen + m_hinweise).join(QLatin1Char('\n'));
}

bool MIDImportLauf::austrittMarkieren()
{
    Db::Transaktion transaktion;
    Db::ausfuehren(QStringLiteral("UPDATE mitglied SET austritt=? WHERE mid IN (SELECT mid FROM zwimid)"),
                   {UtilDatumText(m_dateiDatum)});
    return transaktion.commit();
}
