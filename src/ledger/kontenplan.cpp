#include "kontenplan.h"

#include "db.h"
#include "textutil.h"
#include "utilbuch.h"
#include "wkonto.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

Kontenplan::Kontenplan(bool anlegen, QWidget *parent)
    : QDialog(parent), m_konto(new WKonto(nullptr, anlegen, this)), m_text(new QLineEdit(this)),
      m_liste(new QTableView(this)), m_model(new QStandardItemModel(this)),
      m_speichern(UtilKnopf(QStringLiteral("&Speichern"), this)),
      m_abbruch(UtilKnopf(QStringLiteral("&Abbruch"), this)),
      m_abgrenzung(new QComboBox(this)), m_anlegen(anlegen)
{
    setWindowTitle(QStringLiteral("Kontenplan"));

    m_konto->setFixedSize(150, 25);
    m_konto->setMaxLength(15);
    m_text->setFixedSize(500, 25);
    m_text->setMaxLength(80);
    m_abgrenzung->addItems({QString(), QStringLiteral("Saldo"), QStringLiteral("OPs")});
    if (!m_anlegen)
        m_loeschen = UtilKnopf(QStringLiteral("&Löschen"), this);

    m_liste->setModel(m_model);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Konto"), this), 0, 0);
    grid->addWidget(m_konto, 0, 1);
    grid->addWidget(m_speichern, 0, 2);
    m_neu = UtilNeuLabel(this);
    grid->addWidget(m_neu, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Text"), this), 1, 0);
    grid->addWidget(m_text, 1, 1);
    grid->addWidget(m_abbruch, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Abgrenzung"), this), 2, 0);
    grid->addWidget(m_abgrenzung, 2, 1, Qt::AlignLeft);
    if (m_loeschen)
        grid->addWidget(m_loeschen, 2, 2);
    grid->addWidget(m_liste, 3, 0, 1, 4);

    // editingFinished covers both Return and leaving the field.
    connect(m_konto, &QLineEdit::editingFinished, this, &Kontenplan::pRead);
    connect(m_text, &QLineEdit::returnPressed, this, &Kontenplan::pWrite);
    connect(m_speichern, &QPushButton::clicked, this, &Kontenplan::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &Kontenplan::pCancel);
    if (m_loeschen)
        connect(m_loeschen, &QPushButton::clicked, this, &Kontenplan::pDelete);
    connect(m_liste, &QTableView::clicked, this, &Kontenplan::pAuswahl);

    pFuellListe();
    pSetWahl(true);
}

// Hiding the children in ~QWidget takes the focus from the account field, whose
// editingFinished must not reach this half-destroyed dialog any more.
Kontenplan::~Kontenplan()
{
    m_konto->disconnect(this);
}

void Kontenplan::pFelder()
{
    m_fKonto = UtilSauber(m_konto->text());
    m_fText = UtilSauber(m_text->text());
    switch (m_abgrenzung->currentIndex()) {
    case 1:
        m_fAbgrArt = QStringLiteral("S");
        break;
    case 2:
        m_fAbgrArt = QStringLiteral("O");
        break;
    default:
        m_fAbgrArt = QStringLiteral(" ");
    }
}

void Kontenplan::pFuellListe()
{
    m_model->clear();
    m_model->setHorizontalHeaderLabels(QStringLiteral("Konto,Text").split(QLatin1Char(',')));
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT konto,text FROM kontenplan ORDER BY konto"));
    while (q.next()) {
        auto *konto = new QStandardItem(q.value(0).toString());
        auto *text = new QStandardItem(q.value(1).toString());
        konto->setEditable(false);
        text->setEditable(false);
        m_model->appendRow({konto, text});
    }
    m_liste->setColumnWidth(0, 150);
    m_liste->setColumnWidth(1, 500);
}

void Kontenplan::pSetWahl(bool wahl)
{
    m_wahl = wahl;
    m_konto->setEnabled(wahl);
    m_text->setEnabled(!wahl);
    m_abgrenzung->setEnabled(!wahl);
    m_speichern->setEnabled(!wahl);
    m_abbruch->setEnabled(!wahl);
    if (m_loeschen)
        m_loeschen->setEnabled(!wahl);

    if (wahl) {
        UtilNeu(m_neu, false);
        m_konto->clear();
        m_text->clear();
        m_abgrenzung->setCurrentIndex(0);
        m_konto->setFocus();
    } else if (!m_text->text().isEmpty()) {
        m_abbruch->setFocus(); // an existing account was read
    } else {
        m_text->setFocus();
    }
}

void Kontenplan::pRead()
{
    if (!m_wahl)
        return;
    pFelder();
    if (m_fKonto.isEmpty())
        return;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT text,abgrart FROM kontenplan WHERE konto=?"), {m_fKonto});
    const bool gefunden = q.next();
    UtilNeu(m_neu, !gefunden);
    if (gefunden) {
        m_text->setText(q.value(0).toString());
        const QString art = q.value(1).toString();
        m_abgrenzung->setCurrentIndex(art == QLatin1String("S") ? 1 : art == QLatin1String("O") ? 2 : 0);
    }
    // An unknown number starts a new account.
    pSetWahl(false);
}

void Kontenplan::pWrite()
{
    if (m_wahl)
        return;
    pFelder();
    if (m_fText.isEmpty())
        return;
    const bool gespeichert = Db::speichern(this, windowTitle(), [this] {
        const int geaendert = Db::ausfuehren(QStringLiteral("UPDATE kontenplan SET text=?,abgrart=? WHERE konto = ?"),
                                             {m_fText, m_fAbgrArt, m_fKonto});
        if (geaendert == 0)
            Db::ausfuehren(QStringLiteral("INSERT INTO kontenplan (konto,text,abgrart) VALUES (?,?,?)"),
                           {m_fKonto, m_fText, m_fAbgrArt});
    });
    if (!gespeichert)
        return;

    if (m_anlegen) {
        m_angelegt = m_fKonto;
        accept();
        return;
    }
    pFuellListe();
    pSetWahl(true);
}

void Kontenplan::pDelete()
{
    if (m_wahl || m_anlegen)
        return;
    pFelder();
    if (!UtilQDelete())
        return;
    // Bookings on the account stay; their account text simply becomes empty.
    if (!Db::speichern(this, windowTitle(),
                       [this] { Db::ausfuehren(QStringLiteral("DELETE FROM kontenplan WHERE konto=?"), {m_fKonto}); }))
        return;
    pFuellListe();
    pSetWahl(true);
}

void Kontenplan::pCancel()
{
    if (!m_wahl && !m_anlegen)
        pSetWahl(true);
    else
        reject();
}

void Kontenplan::pAuswahl(const QModelIndex &index)
{
    if (!m_wahl || !index.isValid())
        return;
    m_konto->setText(m_model->item(index.row(), 0)->text());
    pRead();
}

void Kontenplan::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_wahl)
            reject();
        else
            pCancel();
    }
    // Every key ends here, so Return never reaches a button.
    event->accept();
}

void Kontenplan::closeEvent(QCloseEvent *event)
{
    if (!m_wahl && !m_anlegen) {
        pCancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
