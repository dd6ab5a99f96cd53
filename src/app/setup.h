#pragma once

#include <QDialog>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QTabWidget;
class QWidget;
class WBetrag;
class WGliederung;
class WKonto;

// The settings dialog: edits the groups 'General/', 'Konten/', 'Mail/' and
// 'Spende/' of the table `parameter` and reloads the settings cache on saving.
class Setup : public QDialog
{
    Q_OBJECT

public:
    explicit Setup(QWidget *parent = nullptr);

public slots:
    void pWrite();
    void pCancel();

private:
    QWidget *seiteAllgemein();
    QWidget *seiteMail();
    QWidget *seiteZuwendung();
    WKonto *kontoZeile(QGridLayout *grid, int zeile, const QString &text, const QString &key);
    QLineEdit *feld(const QString &key, int breite, int min = -1, int max = -1);
    void pLesen();
    void pFelder();
    void pVerschluesselung(int index);
    bool pKlartextErlaubt();

    QTabWidget *m_tabs = nullptr;
    WGliederung *m_gliederung = nullptr;
    QComboBox *m_beitragAb = nullptr;
    QComboBox *m_verschluesselung = nullptr;
    bool m_gewarnt = false; // about a password sent in clear
    WBetrag *m_spendeMin = nullptr;
    QMap<QString, WKonto *> m_konten;   // by parameter key
    QMap<QString, QLineEdit *> m_felder; // every other line edit, by parameter key

    // The values of pFelder, keys in the order they are stored.
    QList<QPair<QString, QString>> m_werte;
};
