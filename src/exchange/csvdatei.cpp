#include "csvdatei.h"

#include "interaktion.h"
#include "wdatum.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>

namespace {

// The first character of a delimiter field as one byte; 0 when the field is empty.
char trenner(const QLineEdit *feld)
{
    const QString text = feld->text();
    return text.isEmpty() ? 0 : text.at(0).toLatin1();
}

QString dekodiert(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

bool ziffern(const QString &text, std::initializer_list<int> stellen)
{
    for (const int i : stellen) {
        if (!text.at(i).isDigit())
            return false;
    }
    return true;
}

int zahl(const QString &text, int von, int laenge)
{
    return QStringView(text).mid(von, laenge).toInt();
}

} // namespace

CSVDatei::CSVDatei(bool mitDatum, bool lesen, QWidget *parent)
    : m_mitDatum(false), m_lesen(lesen), m_eltern(parent), m_name(new QLineEdit(parent)),
      m_feld(new QLineEdit(QStringLiteral(","), parent)), m_text(new QLineEdit(QStringLiteral("\""), parent)),
      m_waehlen(new QPushButton(QStringLiteral("&Wählen"), parent))
{
    m_name->setFixedSize(400, 25);
    m_feld->setFixedSize(25, 25);
    m_text->setFixedSize(25, 25);
    m_waehlen->setAutoDefault(false);
    m_waehlen->setDefault(false);
    connect(m_waehlen, &QPushButton::clicked, this, &CSVDatei::pDateiWahl);
    setFlags(mitDatum, lesen);
}

CSVDatei::~CSVDatei()
{
    closeFile();
}

void CSVDatei::setFlags(bool mitDatum, bool lesen)
{
    m_lesen = lesen;
    m_mitDatum = mitDatum;
    if (m_mitDatum && !m_datum) {
        m_datum = new WDatum(QDate::currentDate(), m_eltern);
        m_datum->setFixedSize(100, 25);
    }
}

void CSVDatei::FuellLayout(QGridLayout *layout, int zeile, int spalte)
{
    Q_UNUSED(spalte) // the columns are fixed, so that the fields line up in every dialog
    auto beschriftung = [this](const QString &text, QWidget *feld) {
        auto *label = new QLabel(text, m_eltern);
        label->setBuddy(feld);
        return label;
    };
    layout->addWidget(beschriftung(QStringLiteral("Dateiname"), m_name), zeile, 1);
    layout->addWidget(m_name, zeile, 2, 1, 6);
    layout->addWidget(m_waehlen, zeile, 9);
    layout->addWidget(beschriftung(QStringLiteral("Feldtrenner"), m_feld), zeile + 1, 1);
    layout->addWidget(m_feld, zeile + 1, 2);
    layout->addWidget(beschriftung(QStringLiteral("Texttrenner"), m_text), zeile + 1, 3);
    layout->addWidget(m_text, zeile + 1, 4);
    if (m_mitDatum) {
        layout->addWidget(beschriftung(QStringLiteral("Erstelldatum"), m_datum), zeile + 1, 5);
        layout->addWidget(m_datum, zeile + 1, 6);
    }
}

void CSVDatei::pDateiWahl()
{
    QFileDialog dialog(m_eltern, QStringLiteral("CSV-Datei"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setNameFilters(QStringLiteral("CSV file (*.csv),Any file (*)").split(QLatin1Char(',')));
    dialog.selectNameFilter(QStringLiteral("*.csv"));
    if (m_lesen) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The overwrite question comes from isValid(), once.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!m_name->text().isEmpty())
        dialog.selectFile(m_name->text());
    if (Interaktion::dateidialog(dialog) && !dialog.selectedFiles().isEmpty())
        m_name->setText(dialog.selectedFiles().constFirst());
}

bool CSVDatei::isValid()
{
    m_pos = -1;
    m_zeile.clear();
    closeFile();
    const QString name = m_name->text();
    m_datei.setFileName(name);
    if (!m_lesen && m_datei.exists()) {
        const auto antwort = Interaktion::frage(m_eltern, QStringLiteral("CSV-Datei"),
                                                QStringLiteral("Datei ") + name + QStringLiteral(" überschreiben?"),
                                                QMessageBox::Ok | QMessageBox::Cancel);
        if (antwort != QMessageBox::Ok)
            return false;
    }
    if (!m_datei.open(m_lesen ? QIODevice::ReadOnly : QIODevice::WriteOnly | QIODevice::Truncate)) {
        Interaktion::kritisch(m_eltern, name, m_datei.errorString());
        return false;
    }
    m_schreibFehler = false;
    m_feldTrenner = trenner(m_feld);
    // A blank as text delimiter means none, on reading as on writing.
    m_textTrenner = trenner(m_text) == ' ' ? 0 : trenner(m_text);
    return true;
}

bool CSVDatei::closeFile()
{
    if (!m_datei.isOpen())
        return true;
    const bool schreiben = !m_lesen;
    if (schreiben && !m_zeile.isEmpty())
        zeileSchreiben(); // a line without its end
    if (schreiben && !m_datei.flush())
        m_schreibFehler = true;
    m_datei.close();
    return !(schreiben && (m_schreibFehler || m_datei.error() != QFileDevice::NoError));
}

void CSVDatei::fertig(QWidget *parent, const QString &titel)
{
    const QString grund = m_datei.errorString();
    if (closeFile())
        Interaktion::information(parent, titel, QStringLiteral("Fertig"));
    else
        Interaktion::kritisch(parent, titel,
                              QStringLiteral("Die Datei ") + m_datei.fileName()
                                  + QStringLiteral(" ist unvollständig: ") + grund);
}

bool CSVDatei::startLine()
{
    m_pos = -1;
    m_zeile.clear();
    while (!m_datei.atEnd()) {
        m_zeile = m_datei.readLine();
        if (!m_zeile.isEmpty()) {
            m_pos = 0;
            return true;
        }
    }
    return false;
}

bool CSVDatei::eol() const
{
    return m_pos < 0 || m_pos > m_zeile.size();
}

QString CSVDatei::readField()
{
    if (eol())
        return QString();
    QByteArray wert;
    bool quoted = false;
    const int laenge = m_zeile.size();
    while (m_pos < laenge) {
        const char c = m_zeile.at(m_pos);
        if (m_feldTrenner && c == m_feldTrenner && !quoted) {
            ++m_pos; // another field follows, empty when the line ends here
            return dekodiert(wert);
        }
        if (m_textTrenner && c == m_textTrenner) {
            ++m_pos;
            quoted = !quoted;
            continue;
        }
        // A run up to the next delimiter of either kind; a field delimiter in quoted mode starts it.
        int ende = m_pos + 1;
        while (ende < laenge && m_zeile.at(ende) != m_feldTrenner && m_zeile.at(ende) != m_textTrenner)
            ++ende;
        wert.append(m_zeile.constData() + m_pos, ende - m_pos);
        m_pos = ende;
    }
    m_pos = laenge + 1;
    return dekodiert(wert);
}

void CSVDatei::write(const QString &wert, bool quoten, bool letztes)
{
    // The line is collected in m_zeile and written whole by newLine().
    const bool mitTrenner = quoten && m_textTrenner;
    if (mitTrenner)
        m_zeile += m_textTrenner;
    if (m_textTrenner && wert.contains(QLatin1Char(m_textTrenner)))
        m_zeile += QString(wert).replace(QLatin1Char(m_textTrenner), QLatin1Char(' ')).toLatin1();
    else
        m_zeile += wert.toLatin1();
    if (mitTrenner)
        m_zeile += m_textTrenner;
    if (!letztes && m_feldTrenner)
        m_zeile += m_feldTrenner;
}

void CSVDatei::newLine()
{
    m_zeile += '\n';
    zeileSchreiben();
}

void CSVDatei::zeileSchreiben()
{
    if (m_datei.write(m_zeile) != m_zeile.size())
        m_schreibFehler = true;
    m_zeile.resize(0);
}

void CSVDatei::writeLine(const QStringList &werte, const QList<bool> &quoten)
{
    for (int i = 0; i < werte.size(); ++i)
        write(werte.at(i), quoten.value(i, true), i == werte.size() - 1);
    newLine();
}

QDate CSVDatei::creationDate() const
{
    return m_datum ? m_datum->datum() : QDate::currentDate();
}

QDate CSVDatei::toDate(const QString &text, const QDate &ersatz)
{
    const int laenge = text.size();
    if (laenge != 8 && laenge != 10)
        return ersatz;
    int jahr = 0, monat = 0, tag = 0;
    if (ziffern(text, {0, 1, 3, 4, 6, 7})) {
        tag = zahl(text, 0, 2);
        monat = zahl(text, 3, 2);
        jahr = zahl(text, 6, laenge - 6);
        if (laenge == 10 && !ziffern(text, {8, 9}))
            return QDate();
    } else if (laenge == 10 && ziffern(text, {0, 1, 2, 3, 5, 6, 8, 9})) {
        jahr = zahl(text, 0, 4);
        monat = zahl(text, 5, 2);
        tag = zahl(text, 8, 2);
    } else {
        return ersatz;
    }
    if (laenge == 8) {
        // Two-digit years up to the current one (counted from 1989) are this century's.
        jahr += jahr < QDate::currentDate().year() - 1989 ? 2000 : 1900;
    }
    return QDate(jahr, monat, tag);
}

void CSVDatei::setDateiName(const QString &name)
{
    m_name->setText(name);
}

QString CSVDatei::dateiName() const
{
    return m_name->text();
}

void CSVDatei::setTrenner(const QString &feld, const QString &text)
{
    m_feld->setText(feld);
    m_text->setText(text);
}

void CSVDatei::setCreationDate(const QDate &datum)
{
    if (m_datum)
        m_datum->setDatum(datum);
}
