#pragma once

#include <QDialog>
#include <QStringList>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The pattern every record dialog follows. In the selection state only the key
// field and the list are open; Return in or leaving the key field loads the record
// and enters the editing state. "&Speichern" saves, "&Abbruch" and Escape go back
// to the selection or, from there, close the dialog; closing the window while
// editing only leaves the editing state. No button is a default button.
// In creation mode there is no "&Löschen" and the first save closes the dialog
// as accepted; angelegt() names the saved key.
class SatzDialog : public QDialog
{
    Q_OBJECT

public:
    ~SatzDialog() override;

    QString angelegt() const { return m_angelegt; }

public slots:
    void pRead();
    void pWrite();
    void pDelete();
    void pCancel();
    void pAuswahl(const QModelIndex &index);

protected:
    // The subclass places the buttons and the "neu" sign and names its key field.
    SatzDialog(bool anlegen, QWidget *parent);

    // The field whose Return or editing end loads the record.
    void setSchluesselFeld(QLineEdit *feld);
    // A list of all records that refills after every change. A click on a row loads
    // the record whose key stands in the first column, here and in a subclass's own list.
    QTableView *listeAnlegen(const QString &sql, const QStringList &titel, const QList<int> &breiten);
    // Enters the selection state; the subclass calls it at the end of its constructor.
    void pSetWahl(bool wahl);
    // Refills the list after a change (the one of listeAnlegen, or the subclass's own).
    virtual void pFuellListe();

    // The key of the loaded record.
    QString schluessel() const { return m_schluessel; }

    // Made when first asked for, so that they follow the fields in the tab order.
    QPushButton *speichernKnopf();
    QPushButton *abbruchKnopf();
    QPushButton *loeschenKnopf(); // nullptr in creation mode
    QLabel *neuZeichen() const { return m_neu; }
    // The buttons side by side, then a stretch.
    QHBoxLayout *knopfZeile();

    // The key as typed, made safe (and found by a search where the dialog offers one);
    // empty when nothing is to be loaded.
    virtual QString pSchluessel() = 0;
    // Fills the fields from the record of schluessel(); false when there is none yet.
    virtual bool pLies() = 0;
    // Copies the fields into the values to store; false when they cannot be saved.
    virtual bool pFelder() = 0;
    // The UPDATE (and INSERT when no row changed) or DELETE of the record, inside one transaction.
    virtual void pSchreib() = 0;
    virtual void pLoesch() = 0;
    // Clears the fields, or opens them for editing.
    virtual void pLeeren() = 0;
    virtual void pFreigeben(bool an) = 0;
    // Where the user goes on after the record was loaded.
    virtual QWidget *pFokus() = 0;

    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void knoepfeAnlegen();

    const bool m_anlegen;
    bool m_wahl = true;
    bool m_liest = false;
    QString m_schluessel;
    QString m_angelegt;
    QString m_listeSql;

    QLineEdit *m_schluesselFeld = nullptr;
    QLabel *m_neu;
    QPushButton *m_speichern = nullptr;
    QPushButton *m_abbruch = nullptr;
    QPushButton *m_loeschen = nullptr;
    QTableView *m_liste = nullptr;
    QStandardItemModel *m_model = nullptr;
};
