#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QTableView;
class WKonto;

// Keeps the chart of accounts. In creation mode (opened from the account search)
// it saves one new account and closes; angelegt() names it.
class Kontenplan : public QDialog
{
    Q_OBJECT

public:
    explicit Kontenplan(bool anlegen, QWidget *parent = nullptr);
    ~Kontenplan() override;

    // The account saved in creation mode.
    QString angelegt() const { return m_angelegt; }

public slots:
    void pRead();
    void pWrite();
    void pDelete();
    void pCancel();
    void pAuswahl(const QModelIndex &index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void pFelder();
    void pFuellListe();
    void pSetWahl(bool wahl);

    WKonto *m_konto;
    QLabel *m_neu;
    QLineEdit *m_text;
    QTableView *m_liste;
    QStandardItemModel *m_model;
    QPushButton *m_speichern;
    QPushButton *m_abbruch;
    QPushButton *m_loeschen = nullptr; // none in creation mode
    QComboBox *m_abgrenzung;
    bool m_wahl = true;
    const bool m_anlegen;

    // Values read by pFelder.
    QString m_fKonto;
    QString m_fText;
    QString m_fAbgrArt;

    QString m_angelegt;
};
