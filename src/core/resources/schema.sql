-- Permanent tables of a Vela database. Columns marked INTEGER compare and sort as
-- numbers, also against quoted values; every TEXT column keeps its text exactly.

CREATE TABLE parameter (
  key TEXT NOT NULL UNIQUE,
  wert TEXT
);

CREATE TABLE kontenplan (
  konto TEXT NOT NULL UNIQUE,
  text TEXT,
  abgrart TEXT
);

CREATE TABLE journdat (
  datum TEXT NOT NULL,
  lfd INTEGER NOT NULL,
  kost TEXT,
  beleg TEXT,
  extlfd TEXT,
  butext TEXT,
  erfasst TEXT,
  art TEXT,
  beschluss TEXT,
  UNIQUE (datum, lfd)
);

CREATE TABLE kgkto (
  datum TEXT NOT NULL,
  lfd INTEGER NOT NULL,
  kg TEXT,
  konto TEXT,
  cent INTEGER,
  abstimm TEXT
);
-- Both cover what an account's lines are read with: its amounts in booking order,
-- and the contra account of each entry.
CREATE INDEX kgkto_eintrag ON kgkto (datum, lfd, kg, konto);
CREATE INDEX kgkto_konto ON kgkto (konto, datum, lfd, kg, cent);

CREATE TABLE verband (
  namekurz TEXT NOT NULL UNIQUE,
  gegruendet TEXT,
  ebene INTEGER,
  teilvon TEXT,
  bukto TEXT,
  vorsitzname TEXT,
  vorsitzmail TEXT,
  vorsitztel TEXT,
  vorsitzfax TEXT,
  gensekname TEXT,
  gensekmail TEXT,
  gensektel TEXT,
  gensekfax TEXT,
  schatzname TEXT,
  schatzmail TEXT,
  schatztel TEXT,
  schatzfax TEXT
);
CREATE INDEX verband_ebene ON verband (ebene, teilvon, namekurz);
CREATE INDEX verband_bukto ON verband (bukto);

CREATE TABLE adresse (
  art TEXT NOT NULL,
  key TEXT NOT NULL,
  suchname TEXT,
  name1 TEXT,
  name2 TEXT,
  strasse TEXT,
  plz TEXT,
  ort TEXT,
  land TEXT,
  mail TEXT,
  UNIQUE (art, key)
);
CREATE INDEX adresse_suchname ON adresse (art, suchname);
CREATE INDEX adresse_plz ON adresse (art, plz);

CREATE TABLE bankverbindung (
  art TEXT NOT NULL,
  key TEXT NOT NULL,
  inhaber TEXT,
  nummer TEXT,
  blz TEXT,
  bank TEXT,
  bic TEXT,
  iban TEXT,
  -- The SEPA mandate of a member paying by debit: reference and date of signature
  -- (empty: the member number and the joining date), and the reference under which
  -- a debit was last put into a file, so that the next one is a recurring debit.
  mandatref TEXT,
  mandatdatum TEXT,
  mandatgenutzt TEXT,
  UNIQUE (art, key)
);

CREATE TABLE mitglied (
  mid INTEGER NOT NULL UNIQUE,
  intnr TEXT,
  gliederung TEXT,
  wohngliederung TEXT,
  sex TEXT,
  nation TEXT,
  tel TEXT,
  gebdat TEXT,
  zahlart TEXT,
  beitrag INTEGER,
  eintritt TEXT,
  austritt TEXT,
  bezahlt TEXT,
  zahlstatus TEXT,
  statusdatum TEXT
);
CREATE INDEX mitglied_gliederung ON mitglied (gliederung);
CREATE INDEX mitglied_bezahlt ON mitglied (bezahlt);

CREATE TABLE lieferant (
  bez TEXT NOT NULL UNIQUE,
  tel TEXT,
  fax TEXT,
  bukto TEXT,
  zahlart TEXT
);
CREATE INDEX lieferant_bukto ON lieferant (bukto);

CREATE TABLE spende (
  jdatum TEXT NOT NULL,
  jlfd INTEGER NOT NULL,
  mid INTEGER,
  sortname TEXT,
  art TEXT,
  gliederung TEXT,
  quittung TEXT,
  prozint INTEGER,
  prozbuv INTEGER,
  prozlv INTEGER,
  prozbzv INTEGER,
  prozkv INTEGER,
  prozov INTEGER,
  UNIQUE (jdatum, jlfd)
);
CREATE INDEX spende_mid ON spende (mid, jdatum);
CREATE INDEX spende_quittung ON spende (quittung, mid);

CREATE TABLE spendenparam (
  art TEXT NOT NULL UNIQUE,
  prozint INTEGER,
  prozbuv INTEGER,
  prozlv INTEGER,
  prozbzv INTEGER,
  prozkv INTEGER,
  prozov INTEGER,
  midbuchung TEXT,
  kontokasse TEXT,
  kontobank TEXT,
  kontoanonkasse TEXT,
  kontoanonbank TEXT,
  kontojurkasse TEXT,
  kontojurbank TEXT,
  kostkasse TEXT,
  kostbank TEXT,
  kostanonkasse TEXT,
  kostanonbank TEXT,
  kostjurkasse TEXT,
  kostjurbank TEXT
);

CREATE TABLE textbaustein (
  bez TEXT NOT NULL UNIQUE,
  beschreibung TEXT,
  subject TEXT,
  inhalt TEXT
);

CREATE TABLE zahllauf (
  mid INTEGER NOT NULL UNIQUE,
  sperren TEXT,
  art TEXT,
  form TEXT,
  manuell TEXT,
  bausteinm TEXT,
  bausteinb TEXT,
  cent INTEGER,
  statusneu TEXT,
  done TEXT
);

CREATE TABLE blzdatei (
  land TEXT,
  blz TEXT,
  name TEXT,
  pruefart TEXT,
  bic TEXT
);
CREATE INDEX blzdatei_blz ON blzdatei (land, blz);

-- Every line of a bank statement that was read in, so that none is posted twice:
-- per own account (IBAN as the statement names it) the bank's reference of the
-- line or a hash of its date, amount, IBAN and purpose. `jdatum`/`jlfd` name the
-- entry the line was posted as.
CREATE TABLE auszugzeile (
  bankkonto TEXT NOT NULL,
  schluessel TEXT NOT NULL,
  datum TEXT,
  cent INTEGER,
  jdatum TEXT,
  jlfd INTEGER,
  erfasst TEXT,
  UNIQUE (bankkonto, schluessel)
);
