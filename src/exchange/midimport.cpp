#include "midimport.h"

#include "db.h"
#include "interaktion.h"
#include "midimportlauf.h"
#include "textutil.h"
#include "wfortschritt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

const QString &fehlerTitel()
{
    static const QString t = QStringLiteral("Fehler bei Import");
    return t;
}

const QString &fertigTitel()
{
    static const QString t = QStringLiteral("Import abgeschlossen");
    return t;
}

// The lines below the header: one member each.
int datensaetze(const QString &datei)
{
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    qint64 zeilen = 0;
    while (!f.atEnd())
        zeilen += f.read(1 << 16).count('\n');
    return int(qMax<qint64>(0, zeilen - 1));
}

} // namespace

MIDImport::MIDImport(QWidget *parent) : QDialog(parent), m_datei(true, true, this)
{
    setWindowTitle(QStringLiteral("Import Mitgliederdatei"));
    auto *layout = new QGridLayout(this);
    m_datei.FuellLayout(layout, 0, 0);
    m_fortschritt = new QLabel(this);
    m_fortschritt->setFixedSize(100, 25);
    layout->addWidget(m_fortschritt, 2, 1, 1, 2);
    m_balken = new WFortschritt(m_fortschritt, this);
    layout->addWidget(m_balken, 2, 3);
    m_ok = UtilKnopf(QStringLiteral("&Ok"), this);
    QPushButton *abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    layout->addWidget(m_ok, 3, 1);
    layout->addWidget(abbruch, 3, 2);
    connect(m_ok, &QPushButton::clicked, this, &MIDImport::pImport);
    connect(abbruch, &QPushButton::clicked, this, &MIDImport::pAbbruch);
}

// While the import runs, "&Abbruch", Escape and the window's close button stop it after the current line.
void MIDImport::pAbbruch()
{
    if (m_laeuft)
        m_stop = true;
    else
        reject();
}

void MIDImport::closeEvent(QCloseEvent *event)
{
    if (m_laeuft) {
        m_stop = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void MIDImport::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        pAbbruch();
        return;
    }
    // Return belongs to the fields, not to a button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void MIDImport::pImport()
{
    if (m_laeuft)
        return;
    MIDImportLauf lauf(m_datei);
    m_balken->start(datensaetze(m_datei.dateiName()));
    lauf.setFortschritt([this](int gelesen) {
        m_balken->schritt(gelesen, QString::number(gelesen) + QStringLiteral(" Sätze"));
        return !m_stop;
    });
    m_laeuft = true;
    m_stop = false;
    m_ok->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MIDImportLauf::Ergebnis ergebnis = lauf.importieren();
    QApplication::restoreOverrideCursor();
    m_laeuft = false;
    m_ok->setEnabled(true);
    m_balken->ende();
    m_fortschritt->setText(QString::number(lauf.gelesen()) + QStringLiteral(" Sätze"));
    m_datei.closeFile();

    switch (ergebnis) {
    case MIDImportLauf::Ergebnis::NichtGeoeffnet:
        return;
    case MIDImportLauf::Ergebnis::FalschesFormat:
        Interaktion::kritisch(this, fehlerTitel(), QStringLiteral("Datei hat falsches Format"));
        return;
    case MIDImportLauf::Ergebnis::KeineDaten:
        Interaktion::kritisch(this, fehlerTitel(),
                              (QStringList{QStringLiteral("Keine Daten gefunden")} + lauf.hinweise())
                                  .join(QLatin1Char('\n')));
        return;
    case MIDImportLauf::Ergebnis::Abgebrochen:
        Interaktion::information(this, QStringLiteral("Import abgebrochen"),
                                 lauf.bericht()
                                     + QStringLiteral("\nDer Rest der Datei wurde nicht gelesen, niemand wurde "
                                                      "als ausgetreten markiert."));
        return;
    case MIDImportLauf::Ergebnis::Datenbankfehler:
        Interaktion::kritisch(this, fehlerTitel(),
                              Db::fehlerText() + QStringLiteral("\nDie gelesenen Sätze sind gespeichert.\n")
                                  + lauf.bericht());
        return;
    case MIDImportLauf::Ergebnis::Fertig:
        break;
    }

    if (lauf.nichtMehrVorhanden() > 0) {
        const auto antwort = Interaktion::frage(
            this, fertigTitel(),
            lauf.bericht() + QStringLiteral("\nNicht mehr vorhandene Mitglieder als ausgetreten markieren?"),
            QMessageBox::Yes | QMessageBox::No);
        if (antwort == QMessageBox::Yes) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const bool ok = lauf.austrittMarkieren();
            QApplication::restoreOverrideCursor();
            if (!ok) {
                Interaktion::kritisch(this, fehlerTitel(), Db::fehlerText());
                return;
            }
        }
    } else {
        Interaktion::information(this, fertigTitel(), lauf.bericht());
    }
    accept();
}
