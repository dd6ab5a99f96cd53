#include "demodaten.h"

#include "db.h"
#include "iban.h"
#include "suchname.h"
#include "textutil.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace {

// The account scheme of the demo books; the settings written below carry the same values.
constexpr char kPrefGliederung[] = "18";
constexpr char kPrefMitglied[] = "20";
constexpr int kAddMitglied = 100000;
constexpr char kPrefLief[] = "16";
constexpr char kKasse[] = "1000";
constexpr char kBank[] = "1200";
constexpr char kAbgrAktiv[] = "1900";
constexpr char kAbgrPassiv[] = "1950";
constexpr char kSaldovortrag[] = "0900";
constexpr char kBankGeb[] = "6800";
constexpr int kSelbst = 1; // index of the own Landesverband in kEinheiten
constexpr int kErsteAndere = 1000000;

QString t(const char *s) { return QString::fromUtf8(s); }

// ---------------------------------------------------------------- tables

struct EinheitDef
{
    const char *anzeige;
    int ebene;
    int oben;  // index of the unit above, -1 for none
    const char *bukto;
    int jahr;  // founding year; 0: the year of the reference day, -1: the year before
    int monat;
    int gewicht; // share of the members living there (0: none)
    const char *ort;
    const char *plz;
    const char *vorwahl;
};

// A Bundesverband, the own Landesverband with Bezirks-, Kreis- and Ortsverbände, two
// neighbouring Landesverbände. Two Kreisverbände hang directly under the Landesverband.
const EinheitDef kEinheiten[] = {
    {"Bundesverband", 0, -1, "0100", 1949, 9, 0, "Berlin", "10117", "030"},
    {"Nordmark", 1, 0, "1000", 1950, 3, 0, "Kiel", "24103", "0431"},
    {"Südmark", 1, 0, "2000", 1951, 6, 0, "Freiburg", "79098", "0761"},
    {"Westmark", 1, 0, "3000", 1952, 10, 0, "Aachen", "52062", "0241"},
    {"Küste", 2, 1, "1100", 1972, 4, 0, "Husum", "25813", "04841"},              // 4
    {"Geest", 2, 1, "1200", 1972, 4, 0, "Neumünster", "24534", "04321"},          // 5
    {"Holstein", 2, 1, "1300", 1973, 1, 0, "Lübeck", "23552", "0451"},            // 6
    {"Nordfriesland", 3, 4, "1110", 1968, 5, 2, "Husum", "25813", "04841"},       // 7
    {"Dithmarschen", 3, 4, "1120", 1969, 2, 2, "Heide", "25746", "0481"},         // 8
    {"Schleswig-Flensburg", 3, 4, "1130", 1970, 11, 2, "Schleswig", "24837", "04621"}, // 9
    {"Rendsburg-Eckernförde", 3, 5, "1210", 1970, 1, 2, "Rendsburg", "24768", "04331"}, // 10
    {"Steinburg", 3, 5, "1220", 1966, 8, 2, "Itzehoe", "25524", "04821"},         // 11
    {"Segeberg", 3, 5, "1230", 1967, 3, 2, "Bad Segeberg", "23795", "04551"},     // 12
    {"Ostholstein", 3, 6, "1310", 1970, 6, 2, "Eutin", "23701", "04521"},         // 13
    {"Stormarn", 3, 6, "1320", 1965, 9, 2, "Bad Oldesloe", "23843", "04531"},     // 14
    {"Herzogtum Lauenburg", 3, 6, "1330", 1966, 4, 2, "Ratzeburg", "23909", "04541"}, // 15
    {"Kiel", 3, 1, "1410", 1964, 2, 3, "Kiel", "24103", "0431"},                  // 16
    {"Flensburg", 3, 1, "1420", 1965, 7, 40, "Flensburg", "24937", "0461"},       // 17
    {"Husum", 4, 7, "1111", 1971, 3, 30, "Husum", "25813", "04841"},
    {"Niebüll", 4, 7, "1112", 1975, 9, 15, "Niebüll", "25899", "04661"},
    {"Sylt", 4, 7, "1113", 1978, 6, 12, "Sylt", "25980", "04651"},
    {"Heide", 4, 8, "1121", 1970, 4, 25, "Heide", "25746", "0481"},
    {"Brunsbüttel", 4, 8, "1122", 1974, 10, 12, "Brunsbüttel", "25541", "04852"},
    {"Meldorf", 4, 8, "1123", 1979, 2, 10, "Meldorf", "25704", "04832"},
    {"Büsum", 4, 8, "1124", 1983, 5, 8, "Büsum", "25761", "04834"},
    {"Schleswig", 4, 9, "1131", 1971, 1, 22, "Schleswig", "24837", "04621"},
    {"Kappeln", 4, 9, "1132", 1976, 8, 10, "Kappeln", "24376", "04642"},
    {"Harrislee", 4, 9, "1133", -1, 4, 10, "Harrislee", "24955", "0461"},
    {"Rendsburg", 4, 10, "1211", 1970, 6, 28, "Rendsburg", "24768", "04331"},
    {"Eckernförde", 4, 10, "1212", 1972, 3, 20, "Eckernförde", "24340", "04351"},
    {"Büdelsdorf", 4, 10, "1213", 1981, 11, 9, "Büdelsdorf", "24782", "04331"},
    {"Itzehoe", 4, 11, "1221", 1967, 5, 25, "Itzehoe", "25524", "04821"},
    {"Glückstadt", 4, 11, "1222", 1973, 7, 10, "Glückstadt", "25348", "04124"},
    {"Bad Segeberg", 4, 12, "1231", 1968, 9, 15, "Bad Segeberg", "23795", "04551"},
    {"Norderstedt", 4, 12, "1232", 1971, 2, 45, "Norderstedt", "22846", "040"},
    {"Kaltenkirchen", 4, 12, "1233", 1977, 4, 14, "Kaltenkirchen", "24568", "04191"},
    {"Eutin", 4, 13, "1311", 1970, 10, 14, "Eutin", "23701", "04521"},
    {"Neustadt", 4, 13, "1312", 1972, 12, 11, "Neustadt in Holstein", "23730", "04561"},
    {"Fehmarn", 4, 13, "1313", 1980, 6, 9, "Fehmarn", "23769", "04371"},
    {"Bad Schwartau", 4, 13, "1314", 1974, 3, 15, "Bad Schwartau", "23611", "0451"},
    {"Bad Oldesloe", 4, 14, "1321", 1966, 11, 18, "Bad Oldesloe", "23843", "04531"},
    {"Ahrensburg", 4, 14, "1322", 1969, 5, 25, "Ahrensburg", "22926", "04102"},
    {"Reinbek", 4, 14, "1323", 1975, 9, 20, "Reinbek", "21465", "040"},
    {"Ratzeburg", 4, 15, "1331", 1967, 8, 11, "Ratzeburg", "23909", "04541"},
    {"Mölln", 4, 15, "1332", 1970, 4, 12, "Mölln", "23879", "04542"},
    {"Geesthacht", 4, 15, "1333", 1972, 1, 20, "Geesthacht", "21502", "04152"},
    {"Kiel-Mitte", 4, 16, "1411", 1964, 6, 30, "Kiel", "24103", "0431"},
    {"Kiel-Nord", 4, 16, "1412", 1970, 3, 28, "Kiel", "24106", "0431"},
    {"Kiel-Ost", 4, 16, "1413", 1970, 3, 22, "Kiel", "24148", "0431"},
    {"Kiel-Süd", 4, 16, "1414", 0, 7, 20, "Kiel", "24114", "0431"},
};
constexpr int kEinheitenZahl = int(sizeof(kEinheiten) / sizeof(kEinheiten[0]));

const char *const kNachnamen[] = {
    "Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker", "Schulz", "Hoffmann",
    "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf", "Schröder", "Neumann", "Schwarz", "Zimmermann",
    "Braun", "Krüger", "Hofmann", "Hartmann", "Lange", "Schmitt", "Werner", "Schmitz", "Krause", "Meier",
    "Lehmann", "Schmid", "Schulze", "Maier", "Köhler", "Herrmann", "König", "Walter", "Mayer", "Huber",
    "Kaiser", "Fuchs", "Peters", "Lang", "Scholz", "Möller", "Weiß", "Jung", "Hahn", "Schubert",
    "Vogel", "Friedrich", "Keller", "Günther", "Frank", "Berger", "Winkler", "Roth", "Beck", "Lorenz",
    "Baumann", "Franke", "Albrecht", "Schuster", "Simon", "Ludwig", "Böhm", "Winter", "Kraus", "Martin",
    "Schumacher", "Krämer", "Vogt", "Stein", "Jäger", "Otto", "Sommer", "Groß", "Seidel", "Heinrich",
    "Brandt", "Haas", "Schreiber", "Graf", "Schulte", "Dietrich", "Ziegler", "Kuhn", "Kühn", "Pohl",
    "Engel", "Horn", "Busch", "Bergmann", "Thomas", "Voigt", "Sauer", "Arnold", "Wolff", "Pfeiffer",
    "Petersen", "Hansen", "Jensen", "Nielsen", "Carstensen", "Thomsen", "Christiansen", "Paulsen",
    "Jacobsen", "Lorenzen", "Andresen", "Clausen", "Feddersen", "Ketelsen", "Martensen", "Nissen",
    "Sönksen", "Asmussen", "Mueller", "Muller", "Schroeder", "Mayr", "Strauß", "O'Neill", "Nowak",
    "Kowalski", "Öztürk", "Yilmaz", "Kaya", "Rossi", "de Vries", "van der Berg", "Popescu", "Ehlers",
    "Timm", "Wulf", "Harder", "Struve", "Brodersen", "Boysen", "Detlefsen", "Reimers", "Rohwer"};

const char *const kVornamenM[] = {
    "Peter", "Michael", "Thomas", "Andreas", "Wolfgang", "Klaus", "Jürgen", "Stefan", "Christian", "Uwe",
    "Werner", "Hans", "Frank", "Bernd", "Martin", "Jörg", "Dieter", "Horst", "Manfred", "Helmut",
    "Sven", "Jan", "Lars", "Jens", "Dirk", "Torsten", "Matthias", "Markus", "Alexander", "Tobias",
    "Daniel", "Sebastian", "Florian", "Lukas", "Jonas", "Leon", "Finn", "Niklas", "Tim", "Paul",
    "Felix", "Maximilian", "Moritz", "Ole", "Hauke", "Knut", "Henning", "Björn", "Sönke", "Arne",
    "Malte", "Nils", "Kai", "Heiko", "Rainer", "Günter", "Karl-Heinz", "Hans-Peter", "Ömer", "Mehmet",
    "Piotr", "Jochen", "Volker", "Hinrich", "Momme"};

const char *const kVornamenW[] = {
    "Maria", "Ursula", "Monika", "Petra", "Elisabeth", "Sabine", "Renate", "Helga", "Karin", "Brigitte",
    "Ingrid", "Erika", "Andrea", "Gisela", "Claudia", "Susanne", "Gabriele", "Christa", "Christine", "Birgit",
    "Heike", "Anja", "Kerstin", "Silke", "Nicole", "Katrin", "Julia", "Anna", "Laura", "Lea",
    "Sarah", "Lena", "Hannah", "Lisa", "Katharina", "Marie", "Sophie", "Johanna", "Frauke", "Wiebke",
    "Imke", "Maren", "Insa", "Telse", "Anke", "Birte", "Gesa", "Meike", "Jana", "Svenja",
    "Tanja", "Bärbel", "Jutta", "Doris", "Hannelore", "Anne-Kathrin", "Zeynep", "Agnieszka", "Elif", "Merle"};

const char *const kStrassen[] = {
    "Hauptstraße", "Bahnhofstraße", "Dorfstraße", "Schulstraße", "Gartenstraße", "Kirchweg", "Lindenallee",
    "Birkenweg", "Am Markt", "Hafenstraße", "Deichstraße", "Strandweg", "Mühlenweg", "Wiesengrund",
    "Rosenstraße", "Buchenweg", "Eichenweg", "Ahornweg", "Kastanienallee", "Friedrichstraße", "Königstraße",
    "Holstenstraße", "Lange Reihe", "Norderstraße", "Süderstraße", "Osterstraße", "Westerstraße", "Am Hafen",
    "Parkstraße", "Feldweg", "Moorweg", "Geestweg", "Koogstraße", "Fischerweg", "Kapellenweg", "Schlossstraße",
    "Theodor-Storm-Straße", "Goethestraße", "Schillerstraße", "Lessingstraße", "Wilhelmstraße", "Marktplatz",
    "Brückenstraße", "Am Wall", "Rathausstraße", "Poststraße", "Gewerbering", "Danziger Straße",
    "Kieler Straße", "Lübecker Straße", "Hamburger Chaussee", "Flensburger Straße", "Husumer Straße",
    "Op de Wisch", "Achter de Möhl", "Twiete", "Großer Kamp", "Jungfernstieg", "Sophienblatt", "Ringstraße"};

const char *const kNationen[] = {"dänisch", "polnisch", "türkisch", "niederländisch", "österreichisch",
                                 "italienisch", "rumänisch", "schwedisch"};

const char *const kMailAnbieter[] = {"example.com", "example.net", "example.org", "mail.example.com",
                                     "post.example.net"};

struct FirmaDef
{
    const char *name;
    int einheit;
};
const FirmaDef kFirmen[] = {
    {"Nordsee Fisch GmbH", 18},  {"Bauunternehmen Jensen GmbH & Co. KG", 28}, {"Autohaus Petersen KG", 21},
    {"Ingenieurbüro Thomsen", 46}, {"Reederei Carstensen GmbH", 17}, {"Windpark Marsch GmbH & Co. KG", 22},
    {"Landhandel Geest eG", 33}, {"Kanzlei Hansen & Partner", 47}, {"Hotel Strandperle GmbH", 20},
    {"Druckerei Möller OHG", 41}, {"Tischlerei Ketelsen", 25}, {"Apotheke am Markt e.K.", 36}};

struct LieferantDef
{
    const char *bez;
    const char *name;
    const char *bukto;
    const char *konto; // the expense account its invoices go to
    int einheit;       // where it sits (for postcode and telephone)
};
const LieferantDef kLieferanten[] = {
    {"DRUCK", "Druckhaus Nordmark GmbH", "0001", "6700", 16},
    {"POST", "Briefdienst Nord GmbH", "0002", "6200", 16},
    {"TELNET", "NordNetz Telekommunikation AG", "0003", "6210", 5},
    {"HAUSV", "Hausverwaltung Förde KG", "0004", "6100", 46},
    {"BUERO", "Bürobedarf Schmidt e.K.", "0005", "6300", 47},
    {"PLAKAT", "Plakatservice Küste GmbH", "0006", "6600", 18},
    {"HALLE", "Holstenhalle Veranstaltungs GmbH", "0007", "6500", 5},
    {"STBERA", "Steuerberatung Hansen & Partner", "0008", "6950", 46},
    {"VERSI", "Nordmark Versicherung AG", "0009", "6900", 46},
    {"REISE", "Reisebüro Westküste GmbH", "0010", "6400", 21}};

struct BankDef
{
    const char *blz;
    const char *name;
    const char *bic;
};
const BankDef kBanken[] = {
    {"21010000", "Sparkasse Nordmark", "SPNMDEH1XXX"},   {"21020600", "Nordmark Volksbank eG", "GENODEF1NMV"},
    {"21750100", "Raiffeisenbank Geest eG", "GENODEF1RGE"}, {"22010500", "Küstenbank AG", "KUBADEH1XXX"},
    {"23020300", "Holsteiner Privatbank", "HOPBDEH1XXX"}, {"21820100", "Marschbank eG", "GENODEF1MAB"},
    {"20070100", "Hansa Direktbank", "HADBDEHHXXX"}};

struct KontoDef
{
    const char *konto;
    const char *text;
    const char *abgrart;
};
const KontoDef kKontenplan[] = {
    {"0200", "Betriebs- und Geschäftsausstattung", "S"},
    {"0800", "Reinvermögen", "S"},
    {"0900", "Saldovorträge", "S"},
    {"1000", "Kasse", "S"},
    {"1010", "Nebenkasse Geschäftsstelle", "S"},
    {"1200", "Bank Girokonto", "S"},
    {"1210", "Bank Tagesgeld", "S"},
    {"1300", "Forderungen an Gliederungen", "O"},
    {"1400", "Sonstige Forderungen", "O"},
    {"1590", "Durchlaufende Posten", "S"},
    {"1700", "Sonstige Verbindlichkeiten", "O"},
    {"1900", "Aktive Rechnungsabgrenzung", "S"},
    {"1950", "Passive Rechnungsabgrenzung", "S"},
    {"4000", "Mitgliedsbeiträge", " "},
    {"4010", "Mandatsträgerbeiträge", " "},
    {"4100", "Spenden natürlicher Personen", " "},
    {"4110", "Zweckgebundene Spenden", " "},
    {"4120", "Spenden juristischer Personen", " "},
    {"4130", "Anonyme Spenden", " "},
    {"4140", "Sachspenden", " "},
    {"4150", "Aufwandsspenden", " "},
    {"4200", "Einnahmen aus Veranstaltungen", " "},
    {"4300", "Zinserträge", " "},
    {"4500", "Staatliche Mittel", " "},
    {"4600", "Beitragsanteile von Gliederungen", " "},
    {"5000", "Beitragsanteile an Gliederungen", " "},
    {"5100", "Spendenanteile an Gliederungen", " "},
    {"5200", "Zuschüsse an Gliederungen", " "},
    {"6000", "Personalkosten", " "},
    {"6100", "Miete Geschäftsstelle", " "},
    {"6200", "Porto", " "},
    {"6210", "Telefon und Internet", " "},
    {"6300", "Bürobedarf", " "},
    {"6400", "Reisekosten", " "},
    {"6500", "Veranstaltungen und Parteitage", " "},
    {"6600", "Wahlkampf", " "},
    {"6700", "Öffentlichkeitsarbeit und Druck", " "},
    {"6800", "Bankgebühren", " "},
    {"6900", "Versicherungen", " "},
    {"6950", "Sonstige Ausgaben", " "}};

// Expenses paid from the bank or the till: account, cost centre, texts, amount range in cents.
struct AusgabeDef
{
    const char *konto;
    const char *kost;
    const char *texte[3];
    int von;
    int bis;
    int gewicht;
    bool kasse;
};
const AusgabeDef kAusgaben[] = {
    {"6000", "Personal", {"Gehalt Geschäftsführung", "Minijob Büro", "Honorar Buchhaltung"},
     45000, 380000, 8, false},
    {"6100", "Geschäftsstelle", {"Miete Geschäftsstelle", "Nebenkosten Geschäftsstelle", "Reinigung Büro"},
     15000, 120000, 8, false},
    {"6200", "Verwaltung", {"Porto", "Briefmarken", "Porto Mitgliederversand"}, 500, 45000, 10, true},
    {"6210", "Geschäftsstelle", {"Telefon und Internet", "Mobilfunk Vorstand", "Webhosting"}, 1500, 12000, 6, false},
    {"6300", "Verwaltung", {"Büromaterial", "Druckerpatronen", "Kopierpapier"}, 300, 25000, 10, true},
    {"6400", "Vorstand", {"Fahrtkosten Vorstandssitzung", "Reisekosten Bundesparteitag", "Bahnfahrt Klausurtagung"},
     1200, 60000, 12, true},
    {"6500", "Parteitag", {"Saalmiete Landesparteitag", "Verpflegung Mitgliederversammlung", "Technik Parteitag"},
     5000, 450000, 7, false},
    {"6600", "Wahlkampf", {"Plakate Wahlkampf", "Material Infostand", "Anzeigen Wahlkampf"}, 2000, 300000, 9, false},
    {"6700", "Öffentlichkeitsarbeit", {"Flyer Druck", "Mitgliederzeitung Druck", "Fotograf Pressetermin"},
     3000, 250000, 8, false},
    {"6900", "Verwaltung", {"Haftpflichtversicherung", "Veranstaltungsversicherung", "Inventarversicherung"},
     8000, 90000, 3, false},
    {"6950", "Verwaltung", {"Blumen Jubiläum", "Geschenk Ehrenmitglied", "Kranz Trauerfeier"}, 1500, 15000, 4, true}};

// The six donation kinds with default shares (International ... Ortsverband, hundredths of a
// percent), the member-account flag, accounts and cost centres for named / anonymous / juristic
// donors, each cash and bank.
struct ParamDef
{
    char art;
    int proz[6];
    bool midbuchung;
    const char *konto[6]; // kasse, bank, anon kasse, anon bank, jur kasse, jur bank
    const char *kost[6];
};
const ParamDef kParameter[] = {
    {'Z', {0, 0, 0, 0, 0, 10000}, false, {"4110", "4110", "4130", "4130", "4120", "4120"},
     {"Zweckspende %Jahr%", "Zweckspende %Jahr%", "Spende anonym %Jahr%", "Spende anonym %Jahr%",
      "Spende jur. %Jahr%", "Spende jur. %Jahr%"}},
    {'G', {0, 1000, 4000, 1000, 2000, 2000}, false, {"4100", "4100", "4130", "4130", "4120", "4120"},
     {"Spenden %Jahr%", "Spenden %Jahr%", "Spende anonym %Jahr%", "Spende anonym %Jahr%",
      "Spende jur. %Jahr%", "Spende jur. %Jahr%"}},
    {'A', {0, 0, 10000, 0, 0, 0}, false, {"4150", "4150", "4150", "4150", "4150", "4150"},
     {"Aufwandsspende %Jahr%", "Aufwandsspende %Jahr%", "Aufwandsspende %Jahr%", "Aufwandsspende %Jahr%",
      "Aufwandsspende %Jahr%", "Aufwandsspende %Jahr%"}},
    {'S', {0, 0, 10000, 0, 0, 0}, false, {"4140", "4140", "4140", "4140", "4140", "4140"},
     {"Sachspende %Jahr%", "Sachspende %Jahr%", "Sachspende %Jahr%", "Sachspende %Jahr%",
      "Sachspende %Jahr%", "Sachspende %Jahr%"}},
    {'M', {100, 1900, 2500, 1000, 2500, 2000}, true, {"4000", "4000", "4000", "4000", "4000", "4000"},
     {"Beitrag %Jahr%", "Beitrag %Jahr%", "Beitrag %Jahr%", "Beitrag %Jahr%", "Beitrag %Jahr%",
      "Beitrag %Jahr%"}},
    {'T', {0, 0, 7000, 0, 2000, 0}, false, {"4010", "4010", "4010", "4010", "4010", "4010"},
     {"Mandat %MID%", "Mandat %MID%", "Mandat", "Mandat", "Mandat", "Mandat"}},
};
enum ParamIndex { kZ, kG, kA, kS, kM, kT };

// Templates for each kind of demand of the payment run: key part, description, subject, text.
struct VorlageDef
{
    const char *name;
    const char *beschreibung;
    const char *betreff;
    const char *text;
};
const VorlageDef kVorlagen[] = {
    {"RECH", "Rechnung Mitgliedsbeitrag", "Ihr Mitgliedsbeitrag %jahr%",
     "für das Jahr %jahr% ist Ihr Mitgliedsbeitrag von %betrag% EUR fällig (Mitgliedsnummer %mid%).\n"
     "Bitte überweisen Sie den Betrag innerhalb von vier Wochen auf das Konto des Landesverbandes\n"
     "und geben Sie als Verwendungszweck \"Beitrag %jahr% MID %mid%\" an."},
    {"RECHNEU", "Rechnung Neumitglied", "Willkommen - Ihr erster Mitgliedsbeitrag",
     "herzlich willkommen im Landesverband! Für das laufende Jahr %jahr% beträgt Ihr anteiliger\n"
     "Mitgliedsbeitrag %betrag% EUR. Ihre Mitgliedsnummer ist %mid%.\n"
     "Bitte überweisen Sie den Betrag mit dem Verwendungszweck \"Beitrag %jahr% MID %mid%\"."},
    {"LAST", "Lastschriftankündigung", "Ankündigung der Lastschrift %jahr%",
     "wir ziehen Ihren Mitgliedsbeitrag %jahr% von %betrag% EUR in den nächsten Tagen\n"
     "von Ihrem Konto %kontonr% bei der %kontobank% (BLZ %kontoblz%) ein.\n"
     "Bitte sorgen Sie für ausreichende Deckung."},
    {"LASTNEU", "Lastschriftankündigung Neumitglied", "Willkommen - Lastschrift Ihres ersten Beitrags",
     "herzlich willkommen im Landesverband! Ihren anteiligen Mitgliedsbeitrag %jahr% von %betrag% EUR\n"
     "ziehen wir von Ihrem Konto %kontonr% bei der %kontobank% (BLZ %kontoblz%) ein.\n"
     "Ihre Mitgliedsnummer ist %mid%."},
    {"PLATZ", "Lastschrift zurückgegangen", "Rücklastschrift Mitgliedsbeitrag %jahr%",
     "leider konnte Ihr Mitgliedsbeitrag %jahr% von %betrag% EUR nicht von Ihrem Konto %kontonr%\n"
     "bei der %kontobank% eingezogen werden. Bitte überweisen Sie den Betrag und teilen Sie uns\n"
     "gegebenenfalls Ihre neue Bankverbindung mit."},
    {"MAHN1", "1. Mahnung", "Erinnerung: Mitgliedsbeitrag %jahr%",
     "sicher ist es Ihrer Aufmerksamkeit entgangen: Ihr Mitgliedsbeitrag %jahr% von %betrag% EUR\n"
     "ist noch offen. Bitte überweisen Sie ihn mit dem Verwendungszweck \"Beitrag %jahr% MID %mid%\"."},
    {"MAHN2", "2. Mahnung", "2. Mahnung: Mitgliedsbeitrag %jahr%",
     "trotz unserer Erinnerung ist Ihr Mitgliedsbeitrag %jahr% von %betrag% EUR noch nicht\n"
     "eingegangen. Bitte überweisen Sie den Betrag innerhalb von 14 Tagen."},
    {"MAHN3", "3. Mahnung", "Letzte Mahnung: Mitgliedsbeitrag %jahr%",
     "Ihr Mitgliedsbeitrag %jahr% von %betrag% EUR ist trotz zweier Mahnungen offen.\n"
     "Nach der Satzung endet die Mitgliedschaft, wenn der Beitrag nicht innerhalb eines Monats\n"
     "nach dieser Mahnung eingeht. Bitte melden Sie sich, falls Sie Fragen haben."},
};

// ---------------------------------------------------------------- helpers

// One prepared statement, run again and again with new values. The first
// failure is reported once and remembered.
class Anweisung
{
public:
    explicit Anweisung(const QString &sql)
    {
        m_q.setForwardOnly(true);
        m_ok = m_q.prepare(sql);
        if (!m_ok)
            qWarning() << "Demodaten:" << sql << m_q.lastError().text();
    }

    template <typename... W>
    bool operator()(const W &...werte)
    {
        int i = 0;
        (m_q.bindValue(i++, wert(werte)), ...);
        if (!m_q.exec() && m_ok) {
            qWarning() << "Demodaten:" << m_q.lastQuery() << m_q.lastError().text();
            m_ok = false;
        }
        return m_ok;
    }

    bool ok() const { return m_ok; }

private:
    // Texts the program writes empty are stored as '' and never as NULL.
    static QVariant wert(const QString &s) { return s.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(s); }
    static QVariant wert(const char *s) { return QVariant(QString::fromUtf8(s)); }
    static QVariant wert(int v) { return QVariant(v); }
    static QVariant wert(qint64 v) { return QVariant(v); }

    QSqlQuery m_q;
    bool m_ok = false;
};

// Bulk-loading settings of the connection for the time of the generation; safe values afterwards.
class Massenladen
{
public:
    Massenladen()
    {
        QSqlQuery q;
        q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        q.exec(QStringLiteral("PRAGMA journal_mode=MEMORY"));
        q.exec(QStringLiteral("PRAGMA cache_size=-262144"));
        q.exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    }
    ~Massenladen()
    {
        QSqlQuery q;
        q.exec(QStringLiteral("PRAGMA temp_store=DEFAULT"));
        q.exec(QStringLiteral("PRAGMA cache_size=-2000"));
        q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    }
    Massenladen(const Massenladen &) = delete;
    Massenladen &operator=(const Massenladen &) = delete;
};

// The name as it may appear in a mail address.
QString mailTeil(const QString &name)
{
    QString s = name.toLower();
    s.replace(QStringLiteral("ä"), QStringLiteral("ae"));
    s.replace(QStringLiteral("ö"), QStringLiteral("oe"));
    s.replace(QStringLiteral("ü"), QStringLiteral("ue"));
    s.replace(QStringLiteral("ß"), QStringLiteral("ss"));
    s.replace(QLatin1Char(' '), QLatin1Char('-'));
    QString r;
    for (const QChar c : s) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('-'))
            r += c;
    }
    return r;
}

// ---------------------------------------------------------------- the generator

class Generator
{
public:
    Generator(QRandomGenerator &zufall, const QDate &stichtag, QList<DemoDaten::Messung> &messungen)
        : m_z(zufall), m_stichtag(stichtag), m_messungen(messungen)
    {
    }

    bool lauf(int anzahlMitglieder, int buchungen);

private:
    struct Einheit
    {
        QString namekurz;
        QString name;
        QString ort;
        QString plz;
        QString vorwahl;
        QString bukto;
        int ebene = 0;
        int oben = -1;
        QDate gegruendet;
        QVector<int> kette; // the unit itself and all above it, upwards
    };

    struct Person
    {
        int mid = 0;
        QString name1;
        QString name2;
        int einheit = kSelbst;
        qint64 beitrag = 0;
        QDate eintritt;
        QDate austritt; // invalid while a member
        QDate bezahlt;
        bool firma = false;
    };

    struct Zeile
    {
        qint64 cent;
        QString konto;
    };

    // random helpers
    int zahl(int n) { return n > 0 ? int(m_z.bounded(quint32(n))) : 0; }
    int zwischen(int a, int b) { return a + zahl(b - a + 1); }
    bool prozent(int p) { return zahl(100) < p; }
    template <size_t N>
    QString eins(const char *const (&liste)[N])
    {
        return t(liste[zahl(int(N))]);
    }
    QDate tagZwischen(const QDate &a, const QDate &b) { return b <= a ? a : a.addDays(zahl(int(a.daysTo(b)) + 1)); }
    int waehle(const QVector<int> &summen); // index by cumulative weights
    qint64 betrag(int von, int bis);        // amount in cents, rounder for larger sums

    QString telefon(const QString &vorwahl);
    QString vorname(char sex);
    QString nachname();
    QString strasse();
    QString mail(const QString &vorname, const QString &nachname);
    bool bank(const QString &art, const QString &key, const QString &inhaber);

    bool stammdaten();
    bool parameter();
    bool kontenplan();
    bool einheiten();
    bool lieferanten();
    bool spendenparameter();
    bool textbausteine();
    bool mitglieder(int anzahl);
    bool journal(int anzahl);

    // journal helpers
    int buche(int tag, const QString &kost, const QString &beleg, const QString &butext, qint64 cent,
              const QString &konto, const QString &gkonto, const QString &beschluss = QString(),
              const QString &art = QString());
    void spende(int tag, int lfd, const Person *p, int paramIndex, int einheit, const QString &quittung);
    QVector<Zeile> aufteilen(int paramIndex, int einheit, qint64 gesamt, const Person *beitragVon, int jahr,
                             const QString &hauptkonto, const QString &eigenkonto) const;
    int spendeBuchen(int tag, const Person *p, int paramIndex, int einheit, qint64 cent, bool kasse,
                     const QString &quittung, const QString &belegText, int jahr);
    QString quittung(int tag, int paramIndex);
    QString beleg(int tag, bool kasse);
    int rest() const { return m_soll - m_gebucht; }

    void ereignisBeitrag(int tag);
    void ereignisSpende(int tag, int wahl);
    void ereignisAusgabe(int tag, bool kasse);
    void ereignisRechnung(int tag);
    void ereignisEinfach(int tag);

    void messen(const QString &schritt, QElapsedTimer &uhr, qint64 zeilen)
    {
        m_messungen.append({schritt, uhr.restart(), zeilen});
    }

    QRandomGenerator &m_z;
    const QDate m_stichtag;
    QList<DemoDaten::Messung> &m_messungen;

    QVector<Einheit> m_einheiten;
    QVector<int> m_eigeneEinheiten;      // the own Landesverband and everything below it
    QVector<int> m_einheitGewichte;      // cumulative member weights over m_eigeneEinheiten
    QVector<Person> m_personen;          // members, then other persons
    int m_mitglieder = 0;
    QVector<int> m_firmen;               // indexes into m_personen
    QVector<int> m_spender;              // other natural persons
    QVector<int> m_mandatstraeger;
    QString m_lvStrasse;
    QString m_lvKonto;

    std::unique_ptr<Anweisung> m_adresse;
    std::unique_ptr<Anweisung> m_bank;

    // journal state
    std::unique_ptr<Anweisung> m_journdat;
    std::unique_ptr<Anweisung> m_kgkto;
    std::unique_ptr<Anweisung> m_spende;
    QDate m_start;
    QVector<QString> m_tage;   // date texts of the days from m_start
    QVector<int> m_lfd;        // last number per day
    std::vector<std::vector<std::function<void()>>> m_spaeter; // entries due on a later day
    int m_soll = 0;
    int m_gebucht = 0;
    QVector<QVector<int>> m_beitragsListe; // per year: members whose fee of that year is booked
    QVector<int> m_beitragsPos;
    int m_kbNummer = 0;
    QVector<int> m_ausgabeSummen;
};

int Generator::waehle(const QVector<int> &summen)
{
    const int r = zahl(summen.last());
    return int(std::upper_bound(summen.begin(), summen.end(), r) - summen.begin());
}

qint64 Generator::betrag(int von, int bis)
{
    qint64 c = zwischen(von, bis);
    if (c >= 10000 && prozent(60))
        c = c / 500 * 500; // people give and pay round sums
    return c;
}

QString Generator::telefon(const QString &vorwahl)
{
    if (prozent(30))
        return QStringLiteral("01%1%2 %3")
            .arg(eins({"5", "6", "7"}))
            .arg(zwischen(0, 9))
            .arg(zwischen(1000000, 9999999));
    return vorwahl + QLatin1Char(' ') + QString::number(zwischen(vorwahl.size() > 4 ? 1000 : 100000,
                                                                   vorwahl.size() > 4 ? 99999 : 9999999));
}

QString Generator::vorname(char sex)
{
    if (sex == 'W' || (sex != 'M' && prozent(50)))
        return eins(kVornamenW);
    return eins(kVornamenM);
}

QString Generator::nachname()
{
    if (prozent(3))
    {
        const QString erster = eins(kNachnamen);
        return erster + QLatin1Char('-') + eins(kNachnamen);
    }
    return eins(kNachnamen);
}

QString Generator::strasse()
{
    const QString s = eins(kStrassen);
    QString nr = QString::number(prozent(70) ? zwischen(1, 40) : zwischen(41, 180));
    if (prozent(8))
        nr += QChar(QLatin1Char('a' + zahl(3)));
    return s + QLatin1Char(' ') + nr;
}

QString Generator::mail(const QString &vorname, const QString &nachname)
{
    const QString v = mailTeil(vorname);
    const QString n = mailTeil(nachname);
    QString lokal;
    switch (zahl(4)) {
    case 0: lokal = v + QLatin1Char('.') + n; break;
    case 1: lokal = v.left(1) + QLatin1Char('.') + n; break;
    case 2: lokal = n + QLatin1Char('.') + v + QString::number(zwischen(1, 99)); break;
    default: lokal = v + n.left(1) + QString::number(zwischen(1950, 2010)); break;
    }
    return lokal + QLatin1Char('@') + eins(kMailAnbieter);
}

bool Generator::bank(const QString &art, const QString &key, const QString &inhaber)
{
    const BankDef &b = kBanken[zahl(int(sizeof(kBanken) / sizeof(kBanken[0])))];
    // Random draws one per statement, so the data do not depend on the order a compiler evaluates in.
    qint64 n = zwischen(1000000, 99999999);
    if (prozent(50))
        n = n * 10 + zwischen(0, 9);
    const QString nummer = QString::number(n);
    return (*m_bank)(art, key, UtilSauber(inhaber).left(27), nummer, t(b.blz), t(b.name), t(b.bic),
                     Iban::ausKonto(t(b.blz), nummer));
}

// ---------------------------------------------------------------- master data

bool Generator::stammdaten()
{
    m_adresse = std::make_unique<Anweisung>(QStringLiteral(
        "INSERT INTO adresse (art,key,suchname,name1,name2,strasse,plz,ort,land,mail) VALUES (?,?,?,?,?,?,?,?,?,?)"));
    m_bank = std::make_unique<Anweisung>(QStringLiteral(
        "INSERT INTO bankverbindung (art,key,inhaber,nummer,blz,bank,bic,iban) VALUES (?,?,?,?,?,?,?,?)"));
    return einheiten() && parameter() && kontenplan() && lieferanten() && spendenparameter() && textbausteine()
           && m_adresse->ok() && m_bank->ok();
}

bool Generator::einheiten()
{
    static const char *const ebenen[] = {"Bundesverband", "Landesverband", "Bezirksverband", "Kreisverband",
                                         "Ortsverband"};
    Anweisung verband(QStringLiteral(
        "INSERT INTO verband (namekurz,gegruendet,ebene,teilvon,bukto,vorsitzname,vorsitzmail,vorsitztel,"
        "vorsitzfax,gensekname,gensekmail,gensektel,gensekfax,schatzname,schatzmail,schatztel,schatzfax) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < kEinheitenZahl; ++i) {
        const EinheitDef &d = kEinheiten[i];
        Einheit e;
        e.namekurz = UtilSauberGross(t(d.anzeige));
        e.name = d.ebene == 0 ? t(ebenen[0]) : t(ebenen[d.ebene]) + QLatin1Char(' ') + t(d.anzeige);
        e.ort = t(d.ort);
        e.plz = t(d.plz);
        e.vorwahl = t(d.vorwahl);
        e.bukto = t(d.bukto);
        e.ebene = d.ebene;
        e.oben = d.oben;
        const int jahr = d.jahr > 0 ? d.jahr : m_stichtag.year() + d.jahr;
        e.gegruendet = std::min(QDate(jahr, d.monat, 1 + zahl(28)), m_stichtag);
        for (int u = i; u >= 0; u = kEinheiten[u].oben)
            e.kette.append(u);
        m_einheiten.append(e);
        if (std::find(e.kette.begin(), e.kette.end(), kSelbst) != e.kette.end()) {
            m_eigeneEinheiten.append(i);
            m_einheitGewichte.append((m_einheitGewichte.isEmpty() ? 0 : m_einheitGewichte.last()) + d.gewicht);
        }

        // Officers: chair and treasurer everywhere, a general secretary above the Ortsverbände.
        const QString slug = mailTeil(t(d.anzeige));
        const QString domain = (d.ebene == 0 ? QStringLiteral("bund") : slug) + QStringLiteral(".example.org");
        auto person = [&](QString *name, QString *mail, QString *tel, QString *fax, const char *funktion) {
            const char sex = prozent(50) ? 'M' : 'W';
            *name = prozent(8) ? QStringLiteral("Dr. ") : QString();
            *name += vorname(sex);
            *name += QLatin1Char(' ') + nachname();
            *mail = t(funktion) + QLatin1Char('@') + domain;
            *tel = telefon(e.vorwahl);
            *fax = prozent(40) ? e.vorwahl + QLatin1Char(' ') + QString::number(zwischen(10000, 99999)) : QString();
        };
        QString v[4], s[4], g[4];
        person(&v[0], &v[1], &v[2], &v[3], "vorsitz");
        person(&s[0], &s[1], &s[2], &s[3], "schatzmeister");
        if (d.ebene < 4)
            person(&g[0], &g[1], &g[2], &g[3], "geschaeftsstelle");
        const QString teilvon = d.oben < 0 ? QString() : m_einheiten.at(d.oben).namekurz;
        if (!verband(e.namekurz, UtilDatumText(e.gegruendet), e.ebene, teilvon, e.bukto, v[0], v[1], v[2], v[3], g[0],
                     g[1], g[2], g[3], s[0], s[1], s[2], s[3]))
            return false;

        const QString str = strasse();
        if (i == kSelbst)
            m_lvStrasse = str;
        (*m_adresse)(QStringLiteral("V"), e.namekurz, SuchName(e.name, QString()), e.name, QString(), str, e.plz,
                     e.ort, QString(), QStringLiteral("info@") + domain);
        const BankDef &b = kBanken[i % int(sizeof(kBanken) / sizeof(kBanken[0]))];
        const QString nummer = QString::number(100000000 + qint64(i) * 7919 + zahl(1000));
        if (i == kSelbst)
            m_lvKonto = nummer;
        (*m_bank)(QStringLiteral("V"), e.namekurz, e.name.left(27), nummer, t(b.blz), t(b.name), t(b.bic),
                  Iban::ausKonto(t(b.blz), nummer));
    }
    // The bank codes in use, as the bank-code import would have left them.
    Anweisung blz(QStringLiteral("INSERT INTO blzdatei (land,blz,name,pruefart,bic) VALUES ('D',?,?,?,?)"));
    for (const BankDef &b : kBanken)
        blz(t(b.blz), t(b.name).leftJustified(27, QLatin1Char(' '), true), "09", t(b.bic));
    return verband.ok() && blz.ok();
}

bool Generator::parameter()
{
    const Einheit &lv = m_einheiten.at(kSelbst);
    const BankDef &lvBank = kBanken[kSelbst];
    const QList<QPair<QString, QString>> werte = {
        {QStringLiteral("General/Gliederung"), lv.namekurz},
        {QStringLiteral("General/BeitragAb"), QStringLiteral("M")},
        {QStringLiteral("Konten/AbgrAktiv"), t(kAbgrAktiv)},
        {QStringLiteral("Konten/AbgrPassiv"), t(kAbgrPassiv)},
        {QStringLiteral("Konten/BankGeb"), t(kBankGeb)},
        {QStringLiteral("Konten/PrefGliederung"), t(kPrefGliederung)},
        {QStringLiteral("Konten/PrefMitglied"), t(kPrefMitglied)},
        {QStringLiteral("Konten/AddMitglied"), QString::number(kAddMitglied)},
        {QStringLiteral("Konten/PrefLief"), t(kPrefLief)},
        {QStringLiteral("Mail/Host"), QStringLiteral("localhost")},
        {QStringLiteral("Mail/Port"), QStringLiteral("25")},
        {QStringLiteral("Mail/User"), QString()},
        {QStringLiteral("Mail/Passwd"), QString()},
        {QStringLiteral("Mail/Abs"), QStringLiteral("schatzmeister@nordmark.example.org")},
        {QStringLiteral("Mail/Name"), lv.name},
        {QStringLiteral("Mail/AdrL"), QStringLiteral("12")},
        {QStringLiteral("Mail/AdrT"), QStringLiteral("55")},
        {QStringLiteral("Mail/AdrPt"), QStringLiteral("12")},
        {QStringLiteral("Mail/L"), QStringLiteral("25")},
        {QStringLiteral("Mail/T"), QStringLiteral("95")},
        {QStringLiteral("Mail/R"), QStringLiteral("20")},
        {QStringLiteral("Mail/B"), QStringLiteral("20")},
        {QStringLiteral("Mail/Pt"), QStringLiteral("12")},
        {QStringLiteral("Spende/Adr1"), lv.name},
        {QStringLiteral("Spende/Adr2"), m_lvStrasse},
        {QStringLiteral("Spende/Adr3"), lv.plz + QLatin1Char(' ') + lv.ort},
        {QStringLiteral("Spende/Ort"), lv.ort},
        {QStringLiteral("Spende/Funkt"), QStringLiteral("Landesschatzmeister")},
        {QStringLiteral("Spende/Abs"), lv.name + QStringLiteral(", ") + m_lvStrasse + QStringLiteral(", ") + lv.plz
                                           + QLatin1Char(' ') + lv.ort},
        {QStringLiteral("Spende/Min"), QStringLiteral("1000")},
        {QStringLiteral("Zahlungen/TageLast"), QStringLiteral("14")},
        {QStringLiteral("Zahlungen/TageMahn1"), QStringLiteral("28")},
        {QStringLiteral("Zahlungen/TageMahn2"), QStringLiteral("21")},
        {QStringLiteral("Zahlungen/TageMahn3"), QStringLiteral("21")},
        {QStringLiteral("Zahlungen/KontoDtaus"), t(kBank)},
        {QStringLiteral("dtaus/name"), QStringLiteral("LV NORDMARK")},
        {QStringLiteral("dtaus/konto"), m_lvKonto},
        {QStringLiteral("dtaus/blz"), t(lvBank.blz)},
        {QStringLiteral("dtaus/datei"), QStringLiteral("lastschrift.dta")},
    };
    Anweisung param(QStringLiteral("INSERT INTO parameter (key,wert) VALUES (?,?)"));
    for (const auto &w : werte)
        param(w.first, w.second);
    // The templates of every kind of demand, mail and letter.
    static const char *const arten[] = {"Rech", "RechNeu", "Last", "LastNeu", "Platz", "Mahn1", "Mahn2", "Mahn3"};
    for (int i = 0; i < 8; ++i) {
        const QString name = t(kVorlagen[i].name);
        param(QStringLiteral("Zahlungen/Text%1M").arg(t(arten[i])), name + QLatin1Char('M'));
        param(QStringLiteral("Zahlungen/Text%1B").arg(t(arten[i])), name + QLatin1Char('B'));
    }
    return param.ok();
}

bool Generator::kontenplan()
{
    Anweisung konto(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES (?,?,?)"));
    for (const KontoDef &k : kKontenplan)
        konto(t(k.konto), UtilSauber(t(k.text)), t(k.abgrart));
    return konto.ok();
}

bool Generator::lieferanten()
{
    Anweisung lieferant(
        QStringLiteral("INSERT INTO lieferant (bez,tel,fax,bukto,zahlart) VALUES (?,?,?,?,' ')"));
    for (const LieferantDef &l : kLieferanten) {
        const Einheit &e = m_einheiten.at(l.einheit);
        const QString name = UtilSauber(t(l.name));
        const QString tel = telefon(e.vorwahl);
        const QString fax = e.vorwahl + QLatin1Char(' ') + QString::number(zwischen(10000, 99999));
        lieferant(t(l.bez), tel, fax, t(l.bukto));
        (*m_adresse)(QStringLiteral("L"), t(l.bez), SuchName(name, QString()), name, QString(), strasse(), e.plz,
                     e.ort, QString(), QStringLiteral("rechnung@%1.example.com").arg(mailTeil(t(l.bez))));
        bank(QStringLiteral("L"), t(l.bez), name);
    }
    return lieferant.ok();
}

bool Generator::spendenparameter()
{
    Anweisung param(QStringLiteral(
        "INSERT INTO spendenparam (art,prozint,prozbuv,prozlv,prozbzv,prozkv,prozov,midbuchung,kontokasse,kontobank,"
        "kontoanonkasse,kontoanonbank,kontojurkasse,kontojurbank,kostkasse,kostbank,kostanonkasse,kostanonbank,"
        "kostjurkasse,kostjurbank) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const ParamDef &p : kParameter) {
        param(QString(QLatin1Char(p.art)), p.proz[0], p.proz[1], p.proz[2], p.proz[3], p.proz[4], p.proz[5],
              p.midbuchung ? "J" : "N", p.konto[0], p.konto[1], p.konto[2], p.konto[3], p.konto[4], p.konto[5],
              p.kost[0], p.kost[1], p.kost[2], p.kost[3], p.kost[4], p.kost[5]);
    }
    return param.ok();
}

bool Generator::textbausteine()
{
    const Einheit &lv = m_einheiten.at(kSelbst);
    Anweisung baustein(
        QStringLiteral("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES (?,?,?,?)"));
    for (const VorlageDef &v : kVorlagen) {
        const QString text = UtilSauber(t(v.text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        const QString mailText = QStringLiteral("Guten Tag %vname% %nname%,\n\n") + t(v.text)
                                 + QStringLiteral("\n\nMit freundlichen Grüßen\n") + lv.name
                                 + QStringLiteral("\nDer Landesschatzmeister\n");
        const QString briefText
            = QStringLiteral("Mitgliedsnummer: %mid%\n%vname% %nname%\n%strasse%\n%plz% %ort%\n%land%\n\n"
                             "Sehr geehrte Damen und Herren,\nliebes Mitglied,\n\n")
              + text + QStringLiteral("\n\nMit freundlichen Grüßen\n\n\nLandesschatzmeister\n");
        baustein(t(v.name) + QLatin1Char('M'), UtilSauber(t(v.beschreibung) + QStringLiteral(" (Mail)")),
                 UtilSauber(t(v.betreff)), QString(mailText).replace(QLatin1Char('\''), QChar(0x60)));
        baustein(t(v.name) + QLatin1Char('B'), UtilSauber(t(v.beschreibung) + QStringLiteral(" (Brief)")),
                 UtilSauber(t(v.betreff)), QString(briefText).replace(QLatin1Char('\''), QChar(0x60)));
    }
    return baustein.ok();
}

// ---------------------------------------------------------------- members

bool Generator::mitglieder(int anzahl)
{
    Anweisung mitglied(QStringLiteral(
        "INSERT INTO mitglied (mid,intnr,gliederung,wohngliederung,sex,nation,tel,gebdat,zahlart,beitrag,eintritt,"
        "austritt,bezahlt,zahlstatus,statusdatum) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const int jahr = m_stichtag.year();
    const QDate jahresende(jahr, 12, 31);
    const QDate vorjahr(jahr - 1, 12, 31);
    static const int beitraege[] = {3600, 3600, 3600, 6000, 6000, 6000, 4800, 9600, 12000, 12000, 2400, 2400,
                                    18000, 24000, 60000};
    m_personen.reserve(anzahl + anzahl / 40 + 16);

    for (int mid = 1; mid <= anzahl; ++mid) {
        Person p;
        p.mid = mid;
        const int r = zahl(100);
        const char sex = r < 52 ? 'M' : r < 99 ? 'W' : ' ';
        p.name1 = UtilSauber(nachname());
        p.name2 = vorname(sex);
        if (prozent(4))
            p.name2 += QLatin1Char(' ') + vorname(sex);
        p.name2 = UtilSauber(p.name2);
        p.einheit = m_eigeneEinheiten.at(waehle(m_einheitGewichte));
        const Einheit &e = m_einheiten.at(p.einheit);
        if (prozent(15))
            p.beitrag = qint64(zwischen(30, 400)) * 100; // fee by self-assessment, whole euros a year
        else
            p.beitrag = beitraege[zahl(int(sizeof(beitraege) / sizeof(beitraege[0])))];

        const int alter = zwischen(17, 88);
        const int gebMonat = zwischen(1, 12);
        const QDate geburt(jahr - alter, gebMonat, zwischen(1, 28));
        const QDate fruehestens = std::max(geburt.addYears(16), std::max(QDate(1970, 1, 1), e.gegruendet));
        const int w = zahl(100);
        const QDate ab = w < 30 ? m_stichtag.addYears(-2) : w < 60 ? m_stichtag.addYears(-10) : fruehestens;
        p.eintritt = tagZwischen(std::max(ab, fruehestens), m_stichtag);
        if (prozent(4))
            p.austritt = tagZwischen(p.eintritt.addDays(1), jahresende);

        // Payment state and paid-until date fit together the way the fee collection leaves them.
        QString zahlart = prozent(58) ? QStringLiteral("L") : prozent(86) ? QStringLiteral("V")
                        : prozent(50) ? QStringLiteral("G") : QStringLiteral(" ");
        QString status = QStringLiteral(" ");
        QDate statusdatum = tagZwischen(m_stichtag.addDays(-300), m_stichtag);
        const int s = zahl(100);
        if (p.austritt.isValid()) {
            p.bezahlt = QDate(std::min(p.austritt.year(), jahr), 12, 31);
            if (prozent(30))
                p.bezahlt = p.bezahlt.addYears(-1);
            status = prozent(20) ? QStringLiteral("X") : QStringLiteral(" ");
        } else if (p.eintritt > m_stichtag.addDays(-60)) {
            p.bezahlt = p.eintritt; // the new member's first fee is still to come
            status = QStringLiteral("N");
            statusdatum = p.eintritt;
        } else if (s < 64) {
            p.bezahlt = jahresende;
        } else if (s < 90) {
            p.bezahlt = vorjahr;
            static const char *const offen[] = {" ", " ", "R", "R", "1", "2", "3", "L"};
            status = t(offen[zahl(8)]);
            statusdatum = tagZwischen(m_stichtag.addDays(-90), m_stichtag);
        } else if (s < 94) {
            p.bezahlt = QDate(jahr - 2, 12, 31);
            status = prozent(50) ? QStringLiteral("3") : QStringLiteral("X");
        } else if (s < 97) {
            p.bezahlt = QDate(jahr, 6, 30);
        } else {
            p.bezahlt = QDate(jahr + 1, 12, 31);
        }
        if (p.bezahlt < p.eintritt.addDays(-1))
            p.bezahlt = p.eintritt.addDays(-1);
        // Reminders go to members who pay by invoice, a started debit to those who pay by debit.
        if (status == QLatin1String("1") || status == QLatin1String("2") || status == QLatin1String("3"))
            zahlart = QStringLiteral("V");
        else if (status == QLatin1String("L"))
            zahlart = QStringLiteral("L");

        QString wohn;
        if (prozent(4))
            wohn = m_einheiten.at(m_eigeneEinheiten.at(waehle(m_einheitGewichte))).namekurz;
        if (wohn == e.namekurz)
            wohn.clear();
        const QString intnr = prozent(10) ? QStringLiteral("0") : QString::number(zwischen(100000, 9999999));
        const QString nation = prozent(94) ? QStringLiteral("deutsch") : eins(kNationen);
        const QString tel = prozent(75) ? telefon(e.vorwahl) : QString();
        mitglied(mid, intnr, e.namekurz, wohn, QString(QLatin1Char(sex)), nation, tel, UtilDatumText(geburt), zahlart,
                 p.beitrag,
                 UtilDatumText(p.eintritt),
                 p.austritt.isValid() ? UtilDatumText(p.austritt) : QStringLiteral("2200-01-01"),
                 UtilDatumText(p.bezahlt), status, UtilDatumText(statusdatum));

        const QString key = UtilMidKey(mid);
        QString plz = e.plz, ort = e.ort, land;
        if (prozent(1)) {
            plz = QStringLiteral("6330");
            ort = QStringLiteral("Padborg");
            land = QStringLiteral("Dänemark");
        }
        const QString str = strasse();
        const QString adr = prozent(68) ? mail(p.name2, p.name1) : QString();
        (*m_adresse)(QStringLiteral("M"), key, SuchName(p.name1, p.name2), p.name1, p.name2, str, plz, ort, land, adr);
        if (zahlart == QLatin1String("L") || zahlart == QLatin1String("G") || prozent(25))
            bank(QStringLiteral("M"), key, p.name2 + QLatin1Char(' ') + p.name1);
        m_personen.append(p);
    }
    m_mitglieder = m_personen.size();

    // Other persons: donors who are no members, and firms.
    const int andere = std::max(12, anzahl / 40);
    const int firmen = int(sizeof(kFirmen) / sizeof(kFirmen[0]));
    for (int i = 0; i < andere; ++i) {
        Person p;
        p.mid = kErsteAndere + i;
        p.firma = i < firmen;
        char sex = 'U';
        if (p.firma) {
            p.name1 = UtilSauber(t(kFirmen[i].name));
            p.einheit = kFirmen[i].einheit;
        } else {
            sex = prozent(50) ? 'M' : 'W';
            p.name1 = UtilSauber(nachname());
            p.name2 = UtilSauber(vorname(sex));
            p.einheit = m_eigeneEinheiten.at(waehle(m_einheitGewichte));
        }
        const Einheit &e = m_einheiten.at(p.einheit);
        const QDate angelegt = tagZwischen(m_stichtag.addYears(-6), m_stichtag);
        mitglied(p.mid, QStringLiteral("0"), e.namekurz, QString(), QString(QLatin1Char(sex)), QString(),
                 prozent(60) ? telefon(e.vorwahl) : QString(), QStringLiteral("1900-01-01"), QStringLiteral(" "),
                 qint64(0), QStringLiteral("1900-01-01"), QStringLiteral("2200-01-01"), QStringLiteral("1900-01-01"),
                 QStringLiteral(" "), UtilDatumText(angelegt));
        const QString key = UtilMidKey(p.mid);
        const QString str = strasse();
        const QString adr = prozent(50) ? mail(p.firma ? QStringLiteral("info") : p.name2, p.name1) : QString();
        (*m_adresse)(QStringLiteral("M"), key, SuchName(p.name1, p.name2), p.name1, p.name2, str, e.plz, e.ort,
                     QString(), adr);
        if (p.firma || prozent(20))
            bank(QStringLiteral("M"), key, p.firma ? p.name1 : p.name2 + QLatin1Char(' ') + p.name1);
        (p.firma ? m_firmen : m_spender).append(m_personen.size());
        m_personen.append(p);
    }

    // Holders of an elected office pay a monthly Mandatsträgerbeitrag.
    const int mandate = std::clamp(anzahl / 2000, 3, 40);
    for (int i = 0; i < mandate && anzahl > 0; ++i)
        m_mandatstraeger.append(zahl(anzahl));
    return mitglied.ok() && m_adresse->ok() && m_bank->ok();
}

// ---------------------------------------------------------------- journal

// One journal entry in the shape the posting engine gives it: the next number of its date,
// two lines with the amount and its negation. Written here directly, as the engine's
// transaction per entry would make a million entries take far too long.
int Generator::buche(int tag, const QString &kost, const QString &beleg, const QString &butext, qint64 cent,
                     const QString &konto, const QString &gkonto, const QString &beschluss, const QString &art)
{
    // A day holds at most 9999 entries; a full day passes its entries on to the nearest free one.
    int d = tag;
    for (int schritt = 1; m_lfd.at(d) >= 9999; ++schritt) {
        d = tag + ((schritt & 1) ? (schritt + 1) / 2 : -(schritt / 2));
        d = std::clamp(d, 0, int(m_tage.size()) - 1);
    }
    const int lfd = ++m_lfd[d];
    const int spaeter = std::min(d + (prozent(80) ? zahl(6) : 0), int(m_tage.size()) - 1);
    const int stunde = zwischen(7, 22);
    const int minute = zahl(60);
    const QString erfasst = m_tage.at(spaeter) + QString::asprintf(" %02d:%02d:%02d", stunde, minute, zahl(60));
    (*m_journdat)(m_tage.at(d), lfd, kost, beleg, butext, erfasst, art, beschluss);
    (*m_kgkto)(m_tage.at(d), lfd, konto, cent, m_tage.at(d), lfd, gkonto, -cent);
    ++m_gebucht;
    return lfd;
}

QString Generator::beleg(int tag, bool kasse)
{
    const QDate d = m_start.addDays(tag);
    if (kasse)
        return QStringLiteral("KB %1/%2").arg(++m_kbNummer % 400 + 1).arg(d.year());
    return QStringLiteral("KA %1/%2").arg(d.weekNumber()).arg(d.year());
}

QString Generator::quittung(int tag, int paramIndex)
{
    const QDate d = m_start.addDays(tag);
    if (paramIndex == kS || d.year() >= m_stichtag.year())
        return QStringLiteral("1900-01-01"); // no receipt for gifts in kind; this year's are not printed yet
    const int monat = zwischen(1, 3);
    const QDate gedruckt(d.year() + 1, monat, zwischen(1, 28));
    return gedruckt <= m_stichtag ? UtilDatumText(gedruckt) : QStringLiteral("1900-01-01");
}

void Generator::spende(int tag, int lfd, const Person *p, int paramIndex, int einheit, const QString &quittung)
{
    const ParamDef &def = kParameter[paramIndex];
    int proz[6];
    int summe = 0;
    for (int i = 0; i < 6; ++i) {
        proz[i] = def.proz[i];
        summe += proz[i];
    }
    if (summe < 10000)
        proz[2] += 10000 - summe; // the rest goes to the own level, a Landesverband
    (*m_spende)(m_tage.at(tag), lfd, p->mid, p->name1 + QStringLiteral(", ") + p->name2 + QStringLiteral(", ")
                                                 + UtilMidKey(p->mid),
                QString(QLatin1Char(def.art)), m_einheiten.at(einheit).namekurz, quittung, proz[0], proz[1], proz[2],
                proz[3], proz[4], proz[5]);
}

// The split of a donation or fee over the levels of the unit chain: the own share stays on
// the kind's account, every other level's part goes to that unit's account. Fees follow the
// member's months in the year and the founding dates of the units.
QVector<Generator::Zeile> Generator::aufteilen(int paramIndex, int einheit, qint64 gesamt, const Person *beitragVon,
                                               int jahr, const QString &hauptkonto, const QString &eigenkonto) const
{
    const ParamDef &def = kParameter[paramIndex];
    qint64 zelle[12][6];
    qint64 proz[6];
    qint64 summe = 0;
    for (int i = 0; i < 6; ++i) {
        proz[i] = def.proz[i];
        summe += proz[i];
    }
    if (summe < 10000)
        proz[2] += 10000 - summe;
    for (auto &monat : zelle) {
        monat[0] = 0;
        monat[1] = proz[0] + proz[1];
        for (int k = 2; k < 6; ++k)
            monat[k] = proz[k];
    }
    int von = 0, bis = 11;
    if (beitragVon) {
        const QDate &ein = beitragVon->eintritt;
        const QDate aus = beitragVon->austritt.isValid() ? beitragVon->austritt : QDate(2200, 1, 1);
        if (aus.year() < jahr || ein.year() > jahr) {
            bis = 0;
        } else {
            von = ein.year() == jahr ? ein.month() - 1 : 0;
            bis = std::max(von, aus.year() == jahr ? aus.month() - 1 : 11);
        }
    }
    QString konten[6];
    int vorher = 6;
    for (const int u : m_einheiten.at(einheit).kette) {
        const Einheit &e = m_einheiten.at(u);
        const int c = e.ebene + 1 >= 6 ? 0 : e.ebene + 1;
        for (int k = vorher - 1; k > c; --k) {
            for (auto &monat : zelle) {
                monat[c] += monat[k];
                monat[k] = 0;
            }
            konten[k].clear();
        }
        konten[c] = e.bukto;
        if (c <= 1)
            break;
        if (beitragVon && e.gegruendet.year() >= jahr) {
            const int bisMonat = e.gegruendet.year() > jahr ? 12 : e.gegruendet.month();
            for (int m = 0; m < bisMonat; ++m) {
                zelle[m][c - 1] += zelle[m][c];
                zelle[m][c] = 0;
            }
        }
        vorher = c;
    }
    // The amounts as the donation dialog computes them, in doubles and in this order, so that
    // the rounding of every line comes out the same.
    const double proMonat = (static_cast<double>(gesamt) / 100.0) / (bis - von + 1);
    qint64 teil[6];
    for (int c = 0; c < 6; ++c) {
        double summe = 0.0;
        for (int m = von; m <= bis; ++m)
            summe += static_cast<double>(zelle[m][c]) * proMonat / 10000.0;
        teil[c] = static_cast<qint64>(std::llround(summe * 100.0));
    }
    QVector<Zeile> zeilen;
    const int eigen = m_einheiten.at(kSelbst).ebene + 1;
    qint64 restbetrag = gesamt - teil[eigen];
    if (teil[eigen] != 0)
        zeilen.append({teil[eigen], eigenkonto});
    teil[eigen] = 0;
    for (int c = 0; c < 6; ++c) {
        if (teil[c] != 0) {
            restbetrag -= teil[c];
            zeilen.append({teil[c], t(kPrefGliederung) + konten[c]});
        }
    }
    zeilen.erase(std::remove_if(zeilen.begin(), zeilen.end(), [&](const Zeile &z) { return z.konto == hauptkonto; }),
                 zeilen.end());
    if (!zeilen.isEmpty())
        zeilen[0].cent += restbetrag;
    return zeilen;
}

// Posts one donation or fee the way the bank/cash entry does: the main entry with its
// donation row, then one entry per split line. Returns the number of entries written.
int Generator::spendeBuchen(int tag, const Person *p, int paramIndex, int einheit, qint64 cent, bool kasse,
                            const QString &quittung, const QString &belegText, int jahr)
{
    const ParamDef &def = kParameter[paramIndex];
    const bool beitrag = paramIndex == kM;
    // donor class: 0 named, 1 anonymous, 2 juristic
    const int klasse = p == nullptr ? 1 : p->firma ? 2 : 0;
    const int spalte = klasse * 2 + (kasse ? 0 : 1);
    const QString midText = p && p->mid <= 999999 ? QString::number(p->mid) : QStringLiteral("0");
    const QString jahrText = QString::number(jahr);
    const QString eigenkonto = t(def.konto[spalte]);
    const QString kost = t(def.kost[spalte]).replace(QStringLiteral("%Jahr%"), jahrText)
                             .replace(QStringLiteral("%MID%"), midText);
    const QString hauptkonto = def.midbuchung && p
                                   ? t(kPrefMitglied) + QString::number(p->mid + kAddMitglied)
                                   : eigenkonto;
    QString text;
    if (!p) {
        text = QStringLiteral("Anonyme ");
    } else {
        if (p->mid <= 999999)
            text = QStringLiteral("MID %1 ").arg(p->mid);
        text += p->name1 + (p->name2.isEmpty() ? QString() : QStringLiteral(", ") + p->name2) + QLatin1Char(' ');
    }
    if (beitrag) {
        text += QStringLiteral("Mitgliedsbeitrag ") + jahrText;
    } else {
        static const char *const vorsilben[] = {"", "LV ", "BZV ", "KV ", "OV "};
        const Einheit &e = m_einheiten.at(einheit);
        text += QStringLiteral("Spende ") + t(vorsilben[e.ebene]) + e.namekurz;
    }
    const QVector<Zeile> zeilen = aufteilen(paramIndex, einheit, cent, beitrag ? p : nullptr, jahr, hauptkonto,
                                            eigenkonto);

    // Gifts in kind and of expenses move no money: the expense account takes the place of the bank.
    QString konto = kasse ? t(kKasse) : t(kBank);
    if (paramIndex == kA)
        konto = QStringLiteral("6400");
    else if (paramIndex == kS)
        konto = QStringLiteral("6500");
    const int lfd = buche(tag, kost, belegText, text, cent, konto, hauptkonto);
    if (p)
        spende(tag, lfd, p, paramIndex, einheit, quittung);
    int n = 1;
    for (const Zeile &z : zeilen) {
        if (z.cent != 0) { // the rounding difference may use up a line of one cent
            buche(tag, kost, QString(), text, z.cent, hauptkonto, z.konto);
            ++n;
        }
    }
    return n;
}

void Generator::ereignisBeitrag(int tag)
{
    const QDate d = m_start.addDays(tag);
    const int j = d.year() - m_start.year();
    QVector<int> &liste = m_beitragsListe[j];
    int &pos = m_beitragsPos[j];
    // Take the next member whose fee of this year is due; one who joins later waits.
    for (int versuch = 0; versuch < 8 && pos < liste.size(); ++versuch) {
        const int index = liste.at(pos);
        const Person &p = m_personen.at(index);
        if (p.eintritt > d) {
            liste.append(index);
            ++pos;
            continue;
        }
        ++pos;
        const qint64 cent = p.eintritt.year() == d.year() ? (13 - p.eintritt.month()) * p.beitrag / 12 : p.beitrag;
        const bool kasse = prozent(3);
        const QString q = quittung(tag, kM);
        spendeBuchen(tag, &p, kM, p.einheit, cent, kasse, q, beleg(tag, kasse), d.year());
        return;
    }
    ereignisSpende(tag, zahl(100));
}

void Generator::ereignisSpende(int tag, int wahl)
{
    const int jahr = m_start.addDays(tag).year();
    const bool kasse = prozent(15);
    const int eigene = m_eigeneEinheiten.at(zahl(m_eigeneEinheiten.size()));
    const QString bankBeleg = beleg(tag, false);
    const int r = wahl;
    if (r < 8 && !m_mandatstraeger.isEmpty()) {
        const Person &p = m_personen.at(m_mandatstraeger.at(zahl(m_mandatstraeger.size())));
        const qint64 cent = betrag(5000, 30000) / 100 * 100;
        spendeBuchen(tag, &p, kT, p.einheit, cent, false, quittung(tag, kT), bankBeleg, jahr);
    } else if (r < 16) { // anonymous, mostly into the till at events
        const int einheit = prozent(50) ? kSelbst : eigene;
        const qint64 cent = betrag(500, 20000);
        const bool bar = prozent(80);
        spendeBuchen(tag, nullptr, kG, einheit, cent, bar, QString(), beleg(tag, bar), jahr);
    } else if (r < 21 && !m_firmen.isEmpty()) {
        const Person &p = m_personen.at(m_firmen.at(zahl(m_firmen.size())));
        const int einheit = prozent(50) ? p.einheit : kSelbst;
        const qint64 cent = betrag(20000, 500000);
        spendeBuchen(tag, &p, kG, einheit, cent, false, quittung(tag, kG), bankBeleg, jahr);
    } else if (r < 25) { // a volunteer waives the refund of travel costs
        const Person &p = m_personen.at(zahl(m_mitglieder));
        const qint64 cent = betrag(1500, 25000);
        spendeBuchen(tag, &p, kA, kSelbst, cent, false, quittung(tag, kA),
                     QStringLiteral("Verzicht %1").arg(m_start.addDays(tag).toString(QStringLiteral("dd.MM."))), jahr);
    } else if (r < 27) {
        const Person &p = m_personen.at(zahl(m_mitglieder));
        const qint64 cent = betrag(2000, 80000);
        spendeBuchen(tag, &p, kS, kSelbst, cent, false, quittung(tag, kS), QStringLiteral("Sachspende"), jahr);
    } else if (r < 28 && rest() >= 14) { // a donation returned: both rows never get a receipt
        const Person &p = m_personen.at(zahl(m_mitglieder));
        const qint64 cent = betrag(5000, 50000);
        const QString storno = QStringLiteral("2200-12-31");
        spendeBuchen(tag, &p, kG, p.einheit, cent, false, storno, bankBeleg, jahr);
        spendeBuchen(tag, &p, kG, p.einheit, -cent, false, storno, bankBeleg, jahr);
    } else {
        const bool mitglied = m_spender.isEmpty() || prozent(75);
        const Person &p = m_personen.at(mitglied ? zahl(m_mitglieder) : m_spender.at(zahl(m_spender.size())));
        const int art = prozent(30) ? kZ : kG;
        const int w = zahl(100);
        const int einheit = w < 50 ? p.einheit : w < 80 ? kSelbst : eigene;
        const qint64 cent = prozent(95) ? betrag(1000, 50000) : betrag(50000, 500000);
        spendeBuchen(tag, &p, art, einheit, cent, kasse, quittung(tag, art), beleg(tag, kasse), jahr);
    }
}

void Generator::ereignisAusgabe(int tag, bool kasse)
{
    if (m_ausgabeSummen.isEmpty()) {
        int s = 0;
        for (const AusgabeDef &a : kAusgaben)
            m_ausgabeSummen.append(s += a.gewicht);
    }
    const AusgabeDef *a = &kAusgaben[waehle(m_ausgabeSummen)];
    for (int i = 0; kasse && !a->kasse && i < 8; ++i)
        a = &kAusgaben[waehle(m_ausgabeSummen)];
    if (kasse && !a->kasse)
        kasse = false;
    const qint64 cent = kasse ? betrag(a->von, std::min(a->bis, 20000)) : betrag(a->von, a->bis);
    const QDate d = m_start.addDays(tag);
    QString text = t(a->texte[zahl(3)]);
    if (QLatin1String(a->konto) == QLatin1String("6100"))
        text += d.toString(QStringLiteral(" MM/yyyy"));
    const QString beschluss = cent >= 100000 ? QStringLiteral("LaVo %1/%2").arg(d.year()).arg(zwischen(1, 24))
                                             : QString();
    buche(tag, t(a->kost), beleg(tag, kasse), text, -cent, kasse ? t(kKasse) : t(kBank), t(a->konto), beschluss);
}

void Generator::ereignisRechnung(int tag)
{
    const LieferantDef &l = kLieferanten[zahl(int(sizeof(kLieferanten) / sizeof(kLieferanten[0])))];
    const QString konto = t(kPrefLief) + t(l.bukto);
    const QDate d = m_start.addDays(tag);
    const qint64 cent = betrag(5000, 350000);
    const QString re = QStringLiteral("RE %1-%2").arg(d.year()).arg(zwischen(1000, 99999));
    const QString text = UtilSauber(t(l.name)) + QStringLiteral(" ") + re;
    QString kost = QStringLiteral("Verwaltung");
    for (const AusgabeDef &a : kAusgaben) {
        if (qstrcmp(a.konto, l.konto) == 0)
            kost = t(a.kost);
    }
    buche(tag, kost, re, text, cent, t(l.konto), konto);
    // Paid by transfer a few weeks later, if the books reach that far.
    const int zahltag = tag + zwischen(7, 35);
    if (zahltag < int(m_spaeter.size())) {
        m_spaeter[zahltag].push_back([this, zahltag, kost, text, cent, konto] {
            buche(zahltag, kost, beleg(zahltag, false), QStringLiteral("Zahlung ") + text, -cent, t(kBank), konto);
        });
    }
}

void Generator::ereignisEinfach(int tag)
{
    const QDate d = m_start.addDays(tag);
    const int r = zahl(100);
    if (r < 25) {
        buche(tag, QStringLiteral("Verwaltung"), beleg(tag, false), QStringLiteral("Kontoführung ")
                  + d.toString(QStringLiteral("MM/yyyy")), -betrag(500, 4500), t(kBank), t(kBankGeb));
    } else if (r < 35) {
        buche(tag, QStringLiteral("Finanzen"), beleg(tag, false), QStringLiteral("Zinsen Tagesgeld"),
              betrag(100, 30000), t(kBank), QStringLiteral("4300"));
    } else if (r < 50) {
        const bool rein = prozent(50);
        buche(tag, QStringLiteral("Verwaltung"), beleg(tag, true), rein ? QStringLiteral("Einzahlung Kasse auf Bank")
                                                                        : QStringLiteral("Barabhebung für Kasse"),
              rein ? betrag(5000, 80000) : -betrag(5000, 50000), t(kKasse), t(kBank));
    } else if (r < 65) {
        static const char *const texte[] = {"Teilnahmegebühren Landesparteitag", "Standmiete Sommerfest",
                                            "Eintritt Neujahrsempfang"};
        const QString text = eins(texte);
        buche(tag, QStringLiteral("Veranstaltungen"), beleg(tag, false), text, betrag(10000, 400000), t(kBank),
              QStringLiteral("4200"));
    } else if (r < 72) {
        buche(tag, QStringLiteral("Staatliche Mittel"), beleg(tag, false),
              QStringLiteral("Abschlag staatliche Teilfinanzierung %1").arg(d.year()), betrag(500000, 5000000),
              t(kBank), QStringLiteral("4500"));
    } else {
        // Settling with a unit: its collected shares paid out, or its levy received.
        const int u = m_eigeneEinheiten.at(zahl(m_eigeneEinheiten.size()));
        const Einheit &e = m_einheiten.at(u);
        const bool aus = prozent(80);
        const QString text = (aus ? QStringLiteral("Auszahlung Anteile ") : QStringLiteral("Umlage "))
                             + e.name + QStringLiteral(" Q%1/%2").arg((d.month() + 2) / 3).arg(d.year());
        buche(tag, QStringLiteral("Gliederungen"), beleg(tag, false), text,
              aus ? -betrag(10000, 600000) : betrag(5000, 100000), t(kBank), t(kPrefGliederung) + e.bukto);
    }
}

bool Generator::journal(int anzahl)
{
    m_journdat = std::make_unique<Anweisung>(
        QStringLiteral("INSERT INTO journdat (datum,lfd,kost,beleg,extlfd,butext,erfasst,art,beschluss) "
                       "VALUES (?,?,?,?,'0',?,?,?,?)"));
    // Both lines of an entry in one statement: half the round trips through the driver.
    m_kgkto = std::make_unique<Anweisung>(
        QStringLiteral("INSERT INTO kgkto (datum,lfd,kg,konto,cent,abstimm) "
                       "VALUES (?,?,'1',?,?,'0'),(?,?,'2',?,?,'0')"));
    m_spende = std::make_unique<Anweisung>(QStringLiteral(
        "INSERT INTO spende (jdatum,jlfd,mid,sortname,art,gliederung,quittung,prozint,prozbuv,prozlv,prozbzv,prozkv,"
        "prozov) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    m_soll = std::max(anzahl, 0);

    // Three years of books up to the reference day, more when the entries would crowd the days.
    const int jahre = std::max(3, (m_soll + 399999) / 400000);
    m_start = QDate(m_stichtag.year() - jahre + 1, 1, 1);
    const int tage = int(m_start.daysTo(m_stichtag)) + 1;
    m_tage.resize(tage);
    m_lfd.fill(0, tage);
    m_spaeter.assign(size_t(tage), {});
    QVector<qint64> gewicht(tage);
    qint64 gesamt = 0;
    for (int i = 0; i < tage; ++i) {
        const QDate d = m_start.addDays(i);
        m_tage[i] = UtilDatumText(d);
        const int wt = d.dayOfWeek();
        qint64 w = wt <= 5 ? 100 : wt == 6 ? 20 : 6;
        if (d.month() <= 3)
            w *= 2; // the season of the fees
        gesamt += w;
        gewicht[i] = gesamt;
    }

    // Per year the members whose fee of that year is paid, in random order.
    m_beitragsListe.resize(jahre);
    m_beitragsPos.fill(0, jahre);
    for (int j = 0; j < jahre; ++j) {
        const int jahr = m_start.year() + j;
        const QDate ende(jahr, 12, 31);
        QVector<int> &liste = m_beitragsListe[j];
        for (int i = 0; i < m_mitglieder; ++i) {
            const Person &p = m_personen.at(i);
            if (p.bezahlt >= ende && p.eintritt <= std::min(ende, m_stichtag)
                && (!p.austritt.isValid() || p.austritt.year() >= jahr))
                liste.append(i);
        }
        for (int i = liste.size() - 1; i > 0; --i)
            std::swap(liste[i], liste[zahl(i + 1)]);
    }

    // Event mix: fees (more in the first quarter), donations, expenses, invoices, the rest.
    for (int tag = 0; tag < tage && rest() > 0; ++tag) {
        const QDate d = m_start.addDays(tag);
        if (d.day() == 1 && d.month() == 1 && rest() >= 2) { // opening balances, accrual entries
            buche(tag, QStringLiteral("Abschluss"), QStringLiteral("EB"), QStringLiteral("Saldovortrag Bank"),
                  betrag(2000000, 8000000), t(kBank), t(kSaldovortrag), QString(), QStringLiteral("A"));
            buche(tag, QStringLiteral("Abschluss"), QStringLiteral("EB"), QStringLiteral("Saldovortrag Kasse"),
                  betrag(30000, 150000), t(kKasse), t(kSaldovortrag), QString(), QStringLiteral("A"));
        }
        for (auto &f : m_spaeter[tag]) {
            if (rest() > 0)
                f();
        }
        m_spaeter[tag].clear();
        m_spaeter[tag].shrink_to_fit();
        const qint64 ziel = m_soll * gewicht.at(tag) / gesamt;
        while (m_gebucht < ziel && rest() > 0) {
            if (rest() < 7) {
                ereignisAusgabe(tag, prozent(20));
                continue;
            }
            const int r = zahl(1000);
            const int beitraege = d.month() <= 3 ? 600 : 250;
            if (r < beitraege)
                ereignisBeitrag(tag);
            else if (r < beitraege + 150)
                ereignisSpende(tag, zahl(100));
            else if (r < beitraege + 330)
                ereignisAusgabe(tag, prozent(20));
            else if (r < beitraege + 390)
                ereignisRechnung(tag);
            else
                ereignisEinfach(tag);
        }
        if (d.day() == 31 && d.month() == 12 && rest() >= 2) {
            buche(tag, QStringLiteral("Abschluss"), QStringLiteral("AB"),
                  QStringLiteral("Miete Januar %1 vorausbezahlt").arg(d.year() + 1), betrag(80000, 120000) / 100 * 100,
                  t(kAbgrAktiv), QStringLiteral("6100"), QString(), QStringLiteral("A"));
            buche(tag, QStringLiteral("Abschluss"), QStringLiteral("AB"),
                  QStringLiteral("Beiträge %1 im Voraus erhalten").arg(d.year() + 1), betrag(50000, 400000),
                  QStringLiteral("4000"), t(kAbgrPassiv), QString(), QStringLiteral("A"));
        }
    }
    return m_journdat->ok() && m_kgkto->ok() && m_spende->ok() && m_gebucht == m_soll;
}

bool Generator::lauf(int anzahlMitglieder, int buchungen)
{
    QElapsedTimer uhr;
    uhr.start();
    const Massenladen massenladen;
    // One transaction: the books come whole or not at all.
    Db::Transaktion tr;
    if (!stammdaten())
        return false;
    messen(QStringLiteral("Stammdaten"), uhr, kEinheitenZahl);
    if (!mitglieder(std::max(anzahlMitglieder, 0)))
        return false;
    messen(QStringLiteral("Mitglieder"), uhr, m_personen.size());
    if (!journal(buchungen))
        return false;
    messen(QStringLiteral("Buchungen"), uhr, m_gebucht);
    if (!tr.commit())
        return false;
    messen(QStringLiteral("Schreiben"), uhr, 0);
    return true;
}

} // namespace

DemoDaten::DemoDaten(quint32 saat) : m_zufall(saat), m_stichtag(QDate::currentDate()) {}

void DemoDaten::setStichtag(const QDate &tag)
{
    if (tag.isValid())
        m_stichtag = tag;
}

bool DemoDaten::erzeugen(int mitglieder, int buchungen)
{
    m_messungen.clear();
    if (mitglieder > MaxMitglieder)
        return false;
    Generator g(m_zufall, m_stichtag, m_messungen);
    return g.lauf(mitglieder, buchungen);
}
