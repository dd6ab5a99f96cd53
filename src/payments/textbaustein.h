#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QModelIndex;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

// Keeps the text templates of payment mails and letters. In pick mode it has no
// delete button and closes after saving; angelegt() names the saved template.
class Textbaustein : public QDialog
{
    Q_OBJECT

public:
    explicit Textbaustein(bool pick, QWidget *parent = nullptr);
    ~Textbaustein() override;

    // The template saved in pick mode.
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

    QLineEdit *m_bez;
    QLabel *m_neu;
    QLineEdit *m_beschreibung;
    QLineEdit *m_betreff;
    QPlainTextEdit *m_inhalt;
    QPushButton *m_speichern;
    QPushButton *m_abbruch;
    QPushButton *m_loeschen = nullptr; // none in pick mode
    QTableView *m_liste;
    QStandardItemModel *m_model;
    bool m_wahl = true;
    const bool m_pick;

    // Values read by pFelder.
    QString m_fBez;
    QString m_fBeschreibung;
    QString m_fBetreff;
    QString m_fInhalt;

    QString m_angelegt;
};
