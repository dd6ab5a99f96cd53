#include "satzdialog.h"

#include "db.h"
#include "textutil.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

SatzDialog::SatzDialog(bool anlegen, QWidget *parent)
    : QDialog(parent), m_anlegen(anlegen), m_neu(UtilNeuLabel(this))
{
}

void SatzDialog::knoepfeAnlegen()
{
    if (m_speichern)
        return;
    m_speichern = UtilKnopf(QStringLiteral("&Speichern"), this);
    m_abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    connect(m_speichern, &QPushButton::clicked, this, &SatzDialog::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &SatzDialog::pCancel);
    if (!m_anlegen) {
        m_loeschen = UtilKnopf(QStringLiteral("&Löschen"), this);
        connect(m_loeschen, &QPushButton::clicked, this, &SatzDialog::pDelete);
    }
}

QPushButton *SatzDialog::speichernKnopf()
{
    knoepfeAnlegen();
    return m_speichern;
}

QPushButton *SatzDialog::abbruchKnopf()
{
    knoepfeAnlegen();
    return m_abbruch;
}

QPushButton *SatzDialog::loeschenKnopf()
{
    knoepfeAnlegen();
    return m_loeschen;
}

QHBoxLayout *SatzDialog::knopfZeile()
{
    auto *zeile = new QHBoxLayout;
    for (QPushButton *k : {speichernKnopf(), abbruchKnopf(), loeschenKnopf()}) {
        if (k)
            zeile->addWidget(k);
    }
    zeile->addStretch();
    return zeile;
}

// Hiding the children in ~QWidget takes the focus from the key field, whose
// editingFinished must not reach this half-destroyed dialog any more.
SatzDialog::~SatzDialog()
{
    if (m_schluesselFeld)
        m_schluesselFeld->disconnect(this);
}

void SatzDialog::setSchluesselFeld(QLineEdit *feld)
{
    m_schluesselFeld = feld;
    // editingFinished covers both Return and leaving the field.
    connect(feld, &QLineEdit::editingFinished, this, &SatzDialog::pRead);
}

QTableView *SatzDialog::listeAnlegen(const QString &sql, const QStringList &titel, const QList<int> &breiten)
{
    m_listeSql = sql;
    m_model = new QStandardItemModel(this);
    m_model->setHorizontalHeaderLabels(titel);
    m_liste = new QTableView(this);
    m_liste->setModel(m_model);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();
    for (int i = 0; i < breiten.size(); ++i)
        m_liste->setColumnWidth(i, breiten.at(i));
    connect(m_liste, &QTableView::clicked, this, &SatzDialog::pAuswahl);
    pFuellListe();
    return m_liste;
}

void SatzDialog::pFuellListe()
{
    if (!m_model)
        return;
    m_model->removeRows(0, m_model->rowCount());
    QSqlQuery q = Db::abfrage(m_listeSql);
    while (q.next()) {
        QList<QStandardItem *> zeile;
        for (int i = 0; i < m_model->columnCount(); ++i)
            zeile << new QStandardItem(q.value(i).toString());
        m_model->appendRow(zeile);
    }
}

void SatzDialog::pSetWahl(bool wahl)
{
    // The flag changes first: disabling the focused key field finishes its editing,
    // and that must not load the record a second time.
    m_wahl = wahl;
    knoepfeAnlegen();
    if (wahl) {
        UtilNeu(m_neu, false);
        pLeeren();
    }
    // Enable before disabling, so that the focus never lands on nothing.
    if (wahl)
        m_schluesselFeld->setEnabled(true);
    pFreigeben(!wahl);
    for (QPushButton *k : {m_speichern, m_abbruch, m_loeschen}) {
        if (k)
            k->setEnabled(!wahl);
    }
    if (!wahl)
        m_schluesselFeld->setEnabled(false);
    if (wahl) {
        m_schluesselFeld->selectAll();
        m_schluesselFeld->setFocus();
    } else if (QWidget *fokus = pFokus()) {
        fokus->setFocus();
    }
}

void SatzDialog::pRead()
{
    // A search started from the key field takes the focus away and finishes the
    // editing once more: only the first signal loads.
    if (!m_wahl || m_liest)
        return;
    m_liest = true;
    m_schluessel = pSchluessel();
    if (!m_schluessel.isEmpty()) {
        UtilNeu(m_neu, !pLies());
        // An unknown key starts a new record.
        pSetWahl(false);
    }
    m_liest = false;
}

void SatzDialog::pWrite()
{
    if (m_wahl || !pFelder())
        return;
    if (!Db::speichern(this, windowTitle(), [this] { pSchreib(); }))
        return;
    if (m_anlegen) {
        m_angelegt = m_schluessel;
        accept();
        return;
    }
    pFuellListe();
    pSetWahl(true);
}

void SatzDialog::pDelete()
{
    if (m_wahl || m_anlegen || !UtilQDelete())
        return;
    if (!Db::speichern(this, windowTitle(), [this] { pLoesch(); }))
        return;
    pFuellListe();
    pSetWahl(true);
}

void SatzDialog::pCancel()
{
    if (!m_wahl && !m_anlegen)
        pSetWahl(true);
    else
        reject();
}

void SatzDialog::pAuswahl(const QModelIndex &index)
{
    if (!m_wahl || !index.isValid())
        return;
    m_schluesselFeld->setText(index.siblingAtColumn(0).data().toString());
    pRead();
}

void SatzDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        pCancel();
    // Every key ends here, so Return never reaches a button.
    event->accept();
}

void SatzDialog::closeEvent(QCloseEvent *event)
{
    if (!m_wahl && !m_anlegen) {
        pSetWahl(true);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
