#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

// The main window: a menu bar over the logo and the own unit's name. Every
// function of the program is one of its menu entries, run as a modal dialog.
class VelaMain : public QDialog
{
    Q_OBJECT

public:
    explicit VelaMain(QWidget *parent = nullptr);

public slots:
    void pJournal();
    void pZahlungen();
    void pKontoauszug();
    void pEinzelKto();
    void pKtoPlan();
    void pMitglieder();
    void pLieferant();
    void pGliederung();
    void pTextbaustein();
    void pKtoDruck();
    void pJournExport();
    void pSpendenExport();
    void pAkkredListe();
    void pMIDImport();
    void pZuwend();
    void pZahlErst();
    void pZahlBearb();
    void pZahlMail();
    void pZahlBrief();
    void pZahlDtaus();
    void pZahlAbschl();
    void pBlzImp();
    void pSpendenParam();
    void pSetup();
    void pSave();
    void pRestore();
    void pUpdate();
    void pSetZahlMenu();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QAction *eintrag(QMenu *menu, const QString &text, void (VelaMain::*slot)());
    void zahlMenuBauen(QMenuBar *leiste);
    void pBegruessung();

    int m_menuHoehe = 0;
    int m_breite = 0;
    int m_hoehe = 0;
    QLabel *m_begruessung = nullptr;
    QAction *m_vorkasse = nullptr;
    QAction *m_vorkasseNeu = nullptr;
    QAction *m_lastHinweis = nullptr;
    QAction *m_lastHinweisNeu = nullptr;
    QAction *m_dtaus = nullptr;
    QAction *m_geplatzt = nullptr;
    QAction *m_mahnung1 = nullptr;
    QAction *m_mahnung2 = nullptr;
    QAction *m_mahnung3 = nullptr;
    QAction *m_emails = nullptr;
    QAction *m_briefe = nullptr;
    QAction *m_dtausDatei = nullptr;
    QAction *m_abschliessen = nullptr;
    QMenu *m_bearbeiten = nullptr;
    QMenu *m_durchfuehren = nullptr;
};
