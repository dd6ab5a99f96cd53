#include "velamain.h"

#include "akkredlist.h"
#include "auszugimport.h"
#include "aktualisierung.h"
#include "blzimport.h"
#include "db.h"
#include "einzelkto.h"
#include "gliederung.h"
#include "interaktion.h"
#include "journal.h"
#include "journexport.h"
#include "kontenplan.h"
#include "ktodruck.h"
#include "lieferant.h"
#include "midimport.h"
#include "mitglieder.h"
#include "parameter.h"
#include "setup.h"
#include "sicherung.h"
#include "spendenexport.h"
#include "spendenparam.h"
#include "textbaustein.h"
#include "zahlabschluss.h"
#include "zahlbearb.h"
#include "zahlbrief.h"
#include "zahldtaus.h"
#include "zahlerst.h"
#include "zahlmail.h"
#include "zahlungen.h"
#include "zuwenddruck.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace {

// Run codes of the nine "&Bearbeiten" entries, in menu order.
const char *const kBearbeitenCodes = "RrLlDG123";

// Space between the logo and the greeting of new books.
const int kRand = 8;

} // namespace

VelaMain::VelaMain(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Vela"));
    auto *leiste = new QMenuBar(this);

    QMenu *buchungen = leiste->addMenu(QStringLiteral("&Buchungen"));
    eintrag(buchungen, QStringLiteral("&Journal"), &VelaMain::pJournal);
    eintrag(buchungen, QStringLiteral("B&ank/Kasse"), &VelaMain::pZahlungen);
    eintrag(buchungen, QStringLiteral("Kontoauszug e&inlesen"), &VelaMain::pKontoauszug);
    eintrag(buchungen, QStringLiteral("Einzel&konten"), &VelaMain::pEinzelKto);
    QAction *ende = buchungen->addAction(QStringLiteral("&Ende"));
    connect(ende, &QAction::triggered, this, &QDialog::reject);

    QMenu *stamm = leiste->addMenu(QStringLiteral("&Stammdaten"));
    eintrag(stamm, QStringLiteral("&Kontenplan"), &VelaMain::pKtoPlan);
    eintrag(stamm, QStringLiteral("&Mitglieder"), &VelaMain::pMitglieder);
    eintrag(stamm, QStringLiteral("&Lieferanten"), &VelaMain::pLieferant);
    eintrag(stamm, QStringLiteral("&Gliederungen"), &VelaMain::pGliederung);
    eintrag(stamm, QStringLiteral("&Textbausteine"), &VelaMain::pTextbaustein);

    QMenu *drucke = leiste->addMenu(QStringLiteral("&Drucke/Datenaustausch"));
    eintrag(drucke, QStringLiteral("&Kontendruck"), &VelaMain::pKtoDruck);
    eintrag(drucke, QStringLiteral("&Journalexport"), &VelaMain::pJournExport);
    eintrag(drucke, QStringLiteral("&Spendenbuch Export"), &VelaMain::pSpendenExport);
    eintrag(drucke, QStringLiteral("&Akkreditierungsliste"), &VelaMain::pAkkredListe);
    eintrag(drucke, QStringLiteral("&Mitgliederimport"), &VelaMain::pMIDImport);
    eintrag(drucke, QStringLiteral("&Zuwendungsbestätigungen"), &VelaMain::pZuwend);

    if (UtilBeitragAb() != 2)
        zahlMenuBauen(leiste);

    QMenu *dienst = leiste->addMenu(QStringLiteral("Dienst&programme"));
    eintrag(dienst, QStringLiteral("&BLZ-Datei lesen"), &VelaMain::pBlzImp);
    eintrag(dienst, QStringLiteral("S&pendenparameter"), &VelaMain::pSpendenParam);
    eintrag(dienst, QStringLiteral("&Setup"), &VelaMain::pSetup);
    eintrag(dienst, QStringLiteral("&Datensicherung"), &VelaMain::pSave);
    eintrag(dienst, QStringLiteral("Daten &Wiederherstellen"), &VelaMain::pRestore);
    eintrag(dienst, QStringLiteral("Neue Programm&version"), &VelaMain::pUpdate);

    if (m_abschliessen)
        pSetZahlMenu();

    const QSize hint = leiste->sizeHint();
    m_menuHoehe = hint.height();
    m_breite = qMax(hint.width(), VelaLogo().width());
    m_hoehe = m_menuHoehe + 2 * VelaLogo().height();
    leiste->resize(m_breite, m_menuHoehe);
    setFixedSize(m_breite, m_hoehe);

    // New books: the steps of setting up, below the logo, until the own unit is set.
    m_begruessung = new QLabel(QString::fromUtf8("Willkommen! Drei Schritte zum Einrichten:\n"
                                                 "1. Stammdaten / Gliederungen: die eigene Gliederung anlegen\n"
                                                 "2. Stammdaten / Kontenplan: die Konten anlegen\n"
                                                 "3. Dienstprogramme / Setup: die eigene Gliederung wählen"),
                               this);
    m_begruessung->setObjectName(QStringLiteral("begruessung"));
    m_begruessung->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const int oben = m_menuHoehe + kRand + VelaLogo().height() + kRand;
    m_begruessung->setGeometry(0, oben, m_breite, m_hoehe - oben);
    pBegruessung();
}

void VelaMain::pBegruessung()
{
    m_begruessung->setHidden(!UtilSelbst().isEmpty());
    update();
}

QAction *VelaMain::eintrag(QMenu *menu, const QString &text, void (VelaMain::*slot)())
{
    QAction *action = menu->addAction(text);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void VelaMain::zahlMenuBauen(QMenuBar *leiste)
{
    QMenu *zahlungen = leiste->addMenu(QStringLiteral("&Zahlungen"));
    eintrag(zahlungen, QStringLiteral("&Erstellen"), &VelaMain::pZahlErst);

    m_bearbeiten = zahlungen->addMenu(QStringLiteral("&Bearbeiten"));
    QAction **bearbeiten[] = {&m_vorkasse, &m_vorkasseNeu, &m_lastHinweis, &m_lastHinweisNeu, &m_dtaus,
                              &m_geplatzt, &m_mahnung1,    &m_mahnung2,    &m_mahnung3};
    const char *const texte[] = {"&Vorkasse",   "Vorkasse &Neumitglieder", "&Lastschrifthinweis",
                                 "Lastschrifthinweis N&eumitglieder", "&DTAUS-Datei", "&Geplatzte Lastschrift",
                                 "&1. Mahnung", "&2. Mahnung", "&3. Mahnung"};
    for (int i = 0; i < 9; ++i) {
        *bearbeiten[i] = eintrag(m_bearbeiten, QString::fromUtf8(texte[i]), &VelaMain::pZahlBearb);
        (*bearbeiten[i])->setData(QString(QLatin1Char(kBearbeitenCodes[i])));
    }

    m_durchfuehren = zahlungen->addMenu(QStringLiteral("&Durchführen"));
    m_emails = eintrag(m_durchfuehren, QStringLiteral("&Emails"), &VelaMain::pZahlMail);
    m_briefe = eintrag(m_durchfuehren, QStringLiteral("&Briefe"), &VelaMain::pZahlBrief);
    m_dtausDatei = eintrag(m_durchfuehren, QStringLiteral("&Dtaus Datei"), &VelaMain::pZahlDtaus);
    m_abschliessen = eintrag(zahlungen, QStringLiteral("&Abschliessen"), &VelaMain::pZahlAbschl);
}

void VelaMain::pSetZahlMenu()
{
    if (!m_abschliessen)
        return;
    const QString s =
        Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Status/Zahlungen'")).toString();
    auto zeichen = [&s](int pos) { return pos < s.size() ? s.at(pos) : QChar(); };
    auto existiert = [&](int pos) {
        const QChar c = zeichen(pos);
        return c == QLatin1Char('J') || c == QLatin1Char('D');
    };

    // Kinds in menu order with their e-mail position; the letter follows it.
    QAction *const arten[] = {m_vorkasse, m_vorkasseNeu, m_lastHinweis, m_lastHinweisNeu,
                              m_geplatzt, m_mahnung1,    m_mahnung2,    m_mahnung3};
    bool irgendeine = existiert(0);
    bool mailDa = false, mailOffen = false, briefDa = false, briefOffen = false;
    for (int k = 0; k < 8; ++k) {
        const int mail = 1 + 2 * k;
        const int brief = mail + 1;
        arten[k]->setEnabled(existiert(mail) || existiert(brief));
        if (existiert(mail)) {
            mailDa = true;
            mailOffen = mailOffen || zeichen(mail) == QLatin1Char('J');
        }
        if (existiert(brief)) {
            briefDa = true;
            briefOffen = briefOffen || zeichen(brief) == QLatin1Char('J');
        }
    }
    irgendeine = irgendeine || mailDa || briefDa;
    m_dtaus->setEnabled(existiert(0));
    m_bearbeiten->setEnabled(irgendeine);
    m_durchfuehren->setEnabled(irgendeine);
    m_abschliessen->setEnabled(irgendeine);
    m_emails->setEnabled(mailDa);
    m_dtausDatei->setEnabled(existiert(0));
    m_emails->setText(mailDa && !mailOffen ? QStringLiteral("&Emails (ok)") : QStringLiteral("&Emails"));
    m_briefe->setText(briefDa && !briefOffen ? QStringLiteral("&Briefe (ok)") : QStringLiteral("&Briefe"));
    m_dtausDatei->setText(existiert(0) && zeichen(0) != QLatin1Char('J') ? QStringLiteral("&Dtaus Datei (ok)")
                                                                          : QStringLiteral("&Dtaus Datei"));
}

void VelaMain::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect flaeche(0, m_menuHoehe, width(), height() - m_menuHoehe);
    painter.fillRect(flaeche, Qt::white);
    const QImage &logo = VelaLogo();
    // The greeting needs the room below the logo.
    const int logoOben = m_begruessung->isHidden() ? flaeche.top() + (flaeche.height() - logo.height()) / 2
                                                   : flaeche.top() + kRand;
    const QPoint links((width() - logo.width()) / 2, logoOben);
    painter.drawImage(links, logo);

    const QString name = UtilSelbst();
    if (name.isEmpty())
        return;
    QFont schrift(QStringLiteral("Helvetica"), 12);
    schrift.setWeight(QFont::Bold);
    painter.setFont(schrift);
    const int breite = painter.fontMetrics().horizontalAdvance(name);
    painter.setPen(Qt::black);
    painter.drawText((width() - breite) / 2, links.y() + logo.height() + 15, name);
}

void VelaMain::pZahlErst()
{
    const QVariant status = Db::wert(QStringLiteral("SELECT wert FROM parameter WHERE key='Status/Zahlungen'"));
    if (status.isValid()) {
        const auto antwort = Interaktion::frage(
            this, QStringLiteral("Vela"),
            QStringLiteral("Erstellte Zahlungen wurden noch nicht abgeschlossen. Durch ein erneutes Erstellen "
                           "gehen diese Daten verloren, Doppelzahlungen sind nicht ausgeschlossen.\nSollen die "
                           "Zahlungen neu erstellt werden?"),
            QMessageBox::Yes | QMessageBox::No);
        if (antwort != QMessageBox::Yes)
            return;
    }
    ZahlungErst dialog;
    dialog.exec();
    pSetZahlMenu();
}

// One slot for the nine entries: the entry that sent the signal carries the run code.
void VelaMain::pZahlBearb()
{
    const auto *action = qobject_cast<const QAction *>(sender());
    if (!action)
        return;
    ZahlungBearb dialog(action->data().toString());
    dialog.exec();
}

void VelaMain::pZahlMail()
{
    {
        ZahlungMail dialog;
        dialog.exec();
    }
    pSetZahlMenu();
}
void VelaMain::pZahlBrief()
{
    {
        ZahlungBrief dialog;
        dialog.exec();
    }
    pSetZahlMenu();
}
void VelaMain::pZahlDtaus()
{
    {
        ZahlungDtaus dialog;
        dialog.exec();
    }
    pSetZahlMenu();
}
void VelaMain::pZahlAbschl()
{
    if (Interaktion::frage(this, QStringLiteral("Vela"),
                           QString::fromUtf8("Alle durchgeführten Zahlungen abschliessen?"),
                           QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    ZahlungAbschluss abschluss;
    QApplication::setOverrideCursor(Qt::WaitCursor); // a large run takes a while
    const bool ok = abschluss.ausfuehren();
    QApplication::restoreOverrideCursor();
    if (ok)
        Interaktion::information(this, QStringLiteral("Vela"), QStringLiteral("Zahlungen sind abgeschlossen"));
    else // nothing was closed: the run stays as it was
        Interaktion::kritisch(this, QStringLiteral("Vela"),
                              QStringLiteral("Zahlungen wurden nicht abgeschlossen\n") + abschluss.fehler());
    pSetZahlMenu();
}

void VelaMain::pJournal()
{
    Journal dialog;
    dialog.exec();
}

void VelaMain::pKontoauszug()
{
    AuszugImport dialog;
    dialog.exec();
}

void VelaMain::pZahlungen()
{
    Zahlungen dialog;
    dialog.exec();
}

void VelaMain::pEinzelKto()
{
    EinzelKto dialog(DruckKonto);
    dialog.exec();
}

void VelaMain::pKtoDruck()
{
    Kontendruck dialog;
    dialog.exec();
}

void VelaMain::pKtoPlan()
{
    Kontenplan dialog(false);
    dialog.exec();
}

void VelaMain::pMitglieder()
{
    Mitglieder dialog(false);
    // The members dialog knows nothing of receipts; its button opens them through this link.
    connect(&dialog, &Mitglieder::zuwendungDrucken, &dialog, [&dialog](int mid) {
        Zuwenddruck zuwend(mid, &dialog);
        zuwend.exec();
    });
    dialog.exec();
}

void VelaMain::pLieferant()
{
    Lieferant dialog(false);
    dialog.exec();
}

void VelaMain::pGliederung()
{
    Gliederung dialog;
    dialog.exec();
}

void VelaMain::pSpendenParam()
{
    SpendenParam dialog;
    dialog.exec();
}

void VelaMain::pTextbaustein()
{
    Textbaustein dialog(false);
    dialog.exec();
}

void VelaMain::pMIDImport()
{
    MIDImport dialog;
    dialog.exec();
}

void VelaMain::pSetup()
{
    Setup dialog;
    dialog.exec();
    pBegruessung();
}

void VelaMain::pBlzImp()
{
    const QString titel = QStringLiteral("BLZ Datei");
    const QString datei = Interaktion::dateiOeffnen(this, QStringLiteral("Bankleitzahlendatei"));
    if (datei.isEmpty())
        return;
    BlzImport import;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const BlzImport::Ergebnis ergebnis = import.importieren(datei);
    QApplication::restoreOverrideCursor();
    switch (ergebnis) {
    case BlzImport::Ergebnis::Fertig:
        Interaktion::information(this, titel, QStringLiteral("Fertig"));
        break;
    case BlzImport::Ergebnis::NichtLesbar:
        Interaktion::kritisch(this, titel, import.fehler());
        break;
    case BlzImport::Ergebnis::KeinDatensatz:
        Interaktion::warnung(this, titel,
                             QStringLiteral("Die Datei enthält keinen Datensatz einer Bankleitzahlendatei. "
                                            "Die bisherigen Bankleitzahlen bleiben erhalten."));
        break;
    case BlzImport::Ergebnis::Datenbank:
        Interaktion::kritisch(this, titel,
                              QStringLiteral("Die Bankleitzahlen konnten nicht gespeichert werden. "
                                             "Die bisherigen Bankleitzahlen bleiben erhalten."));
        break;
    }
}

void VelaMain::pZuwend()
{
    Zuwenddruck dialog(-1);
    dialog.exec();
}

void VelaMain::pSave() { SaveSave(this); }

void VelaMain::pRestore()
{
    SaveRestore(this);
    // The restored books may name another own unit and hold another payment run.
    pBegruessung();
    pSetZahlMenu();
}

void VelaMain::pUpdate()
{
    const QString titel = QStringLiteral("Neue Programmversion");
    const QString archiv = Interaktion::dateiOeffnen(this, titel);
    if (archiv.isEmpty())
        return;
    Aktualisierung aktualisierung(QCoreApplication::applicationFilePath());
    switch (aktualisierung.installieren(archiv)) {
    case Aktualisierung::Ergebnis::Fertig:
        Interaktion::information(this, QStringLiteral("Neue Programmverision"),
                                 QStringLiteral("Programm ist aktualisiert. Bitte beenden und neu starten"));
        break;
    case Aktualisierung::Ergebnis::UngueltigeDatei:
        Interaktion::kritisch(this, titel, QStringLiteral("Ungültige Datei"));
        break;
    case Aktualisierung::Ergebnis::KeinWerkzeug:
        Interaktion::kritisch(this, titel,
                              QStringLiteral("Zum Installieren wird pkexec oder ein Terminal für sudo gebraucht. "
                                             "Das Programm bleibt unverändert."));
        break;
    case Aktualisierung::Ergebnis::NichtInstalliert:
        Interaktion::kritisch(this, titel,
                              QStringLiteral("Die Installation ist abgebrochen oder fehlgeschlagen."));
        break;
    }
}

void VelaMain::pJournExport()
{
    JournalExport dialog;
    dialog.exec();
}

void VelaMain::pSpendenExport()
{
    SpendenExport dialog;
    dialog.exec();
}

void VelaMain::pAkkredListe()
{
    AkkredListe dialog;
    dialog.exec();
}
