#pragma once

#include "satzdialog.h"

#include <QString>

#include <memory>

class GliederungsBaum;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QTabWidget;
class QTreeView;
class WAdresse;
class WBank;
class WDatum;
class WGliederung;

// The master-data dialog of the organisation units ("Gliederungen"): one row of
// `verband` with the unit's address and bank details, and the unit tree below.
class Gliederung : public SatzDialog
{
    Q_OBJECT

public:
    explicit Gliederung(QWidget *parent = nullptr);
    ~Gliederung() override;

private slots:
    void pEbene(int ebene);

protected:
    QString pSchluessel() override;
    bool pLies() override;
    bool pFelder() override;
    void pSchreib() override;
    void pLoesch() override;
    void pLeeren() override;
    void pFreigeben(bool an) override;
    QWidget *pFokus() override;
    void pFuellListe() override;

private:
    // The contact block of one officer: name, telephone, fax, mail.
    struct Kontakt
    {
        QLineEdit *name = nullptr;
        QLineEdit *tel = nullptr;
        QLineEdit *fax = nullptr;
        QLineEdit *mail = nullptr;
    };
    struct KontaktWerte
    {
        QString name, tel, fax, mail;
    };

    Kontakt kontaktZeilen(QGridLayout *grid, int zeile, const QString &titel);

    QLineEdit *m_name = nullptr;
    QTabWidget *m_tabs = nullptr;
    std::unique_ptr<WAdresse> m_adresse;
    std::unique_ptr<WBank> m_bank;
    QComboBox *m_ebene = nullptr;
    WGliederung *m_unter = nullptr;
    WDatum *m_gegruendet = nullptr;
    Kontakt m_vorsitz;
    Kontakt m_schatz;
    Kontakt m_gensek;
    QLineEdit *m_bukto = nullptr;
    GliederungsBaum *m_baum = nullptr;
    QTreeView *m_liste = nullptr;

    // The unit the tree shows after a change: the one saved, or the parent of the one deleted.
    QString m_zeigen;

    // The cleaned field values of the last pFelder.
    int m_ebeneWert = 0;
    QString m_teilvon;
    QString m_datum;
    QString m_buktoWert;
    KontaktWerte m_vorsitzWert;
    KontaktWerte m_schatzWert;
    KontaktWerte m_gensekWert;
};
