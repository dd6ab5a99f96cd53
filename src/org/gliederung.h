#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class GliederungsBaum;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTabWidget;
class QTreeView;
class WAdresse;
class WBank;
class WDatum;
class WGliederung;

// The master-data dialog of the organisation units ("Gliederungen"): one row of
// `verband` with the unit's address and bank details, and the unit tree below.
class Gliederung : public QDialog
{
    Q_OBJECT

public:
    explicit Gliederung(QWidget *parent = nullptr);
    ~Gliederung() override;

private slots:
    void pRead();
    void pWrite();
    void pCancel();
    void pDelete();
    void pEbene(int ebene);
    void pAuswahl(const QModelIndex &index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

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

    void pSetWahl(bool wahl);
    void pFelder();
    void pFuellListe(const QString &name);
    Kontakt kontaktZeilen(QGridLayout *grid, int zeile, const QString &titel);
    void setEditierbar(bool an);

    // Selection mode: only the short name can be typed; edit mode: one unit is open.
    bool m_wahl = true;

    QLineEdit *m_name = nullptr;
    QLabel *m_neu = nullptr;
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
    QPushButton *m_speichern = nullptr;
    QPushButton *m_abbruch = nullptr;
    QPushButton *m_loeschen = nullptr;
    GliederungsBaum *m_baum = nullptr;
    QTreeView *m_liste = nullptr;

    // The cleaned field values of the last pFelder.
    QString m_namekurz;
    int m_ebeneWert = 0;
    QString m_teilvon;
    QString m_datum;
    QString m_buktoWert;
    KontaktWerte m_vorsitzWert;
    KontaktWerte m_schatzWert;
    KontaktWerte m_gensekWert;
};
