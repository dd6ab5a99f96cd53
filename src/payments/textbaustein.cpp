#include "textbaustein.h"

#include "db.h"
#include "textutil.h"
#include "utilbuch.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

Textbaustein::Textbaustein(bool pick, QWidget *parent)
    : QDialog(parent), m_bez(new QLineEdit(this)), m_beschreibung(new QLineEdit(this)),
      m_betreff(new QLineEdit(this)), m_inhalt(new QPlainTextEdit(this)),
      m_speichern(UtilKnopf(QStringLiteral("&Speichern"), this)),
      m_abbruch(UtilKnopf(QStringLiteral("&Abbruch"), this)), m_liste(new QTableView(this)),
      m_model(new QStandardItemModel(this)), m_pick(pick)
{
    setWindowTitle(QStringLiteral("Textbausteine"));

    m_bez->setFixedSize(150, 25);
    m_bez->setMaxLength(15);
    m_beschreibung->setFixedSize(500, 25);
    m_beschreibung->setMaxLength(80);
    m_betreff->setFixedSize(500, 25);
    m_betreff->setMaxLength(80);
    m_inhalt->setTabChangesFocus(true);
    if (!m_pick)
        m_loeschen = UtilKnopf(QStringLiteral("&Löschen"), this);

    m_liste->setModel(m_model);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Bezeichnung"), this), 0, 0);
    grid->addWidget(m_bez, 0, 1, Qt::AlignLeft);
    m_neu = UtilNeuLabel(this);
    grid->addWidget(m_neu, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Beschreibung"), this), 1, 0);
    grid->addWidget(m_beschreibung, 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Betreff"), this), 2, 0);
    grid->addWidget(m_betreff, 2, 1, Qt::AlignLeft);
    grid->addWidget(m_inhalt, 3, 0, 1, 3);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_abbruch);
    if (m_loeschen)
        knoepfe->addWidget(m_loeschen);
    knoepfe->addStretch();
    grid->addLayout(knoepfe, 4, 0, 1, 3);
    grid->addWidget(m_liste, 5, 0, 1, 3);

    // editingFinished covers both Return and leaving the field.
    connect(m_bez, &QLineEdit::editingFinished, this, &Textbaustein::pRead);
    connect(m_speichern, &QPushButton::clicked, this, &Textbaustein::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &Textbaustein::pCancel);
    if (m_loeschen)
        connect(m_loeschen, &QPushButton::clicked, this, &Textbaustein::pDelete);
    connect(m_liste, &QTableView::clicked, this, &Textbaustein::pAuswahl);

    pFuellListe();
    pSetWahl(true);
}

// Hiding the children in ~QWidget takes the focus from the name field, whose
// editingFinished must not reach this half-destroyed dialog any more.
Textbaustein::~Textbaustein()
{
    m_bez->disconnect(this);
}

// Names are kept upper-case, so a name typed in any case finds its template.
// The body keeps its lines and spacing.
void Textbaustein::pFelder()
{
    m_fBez = UtilSauberGross(m_bez->text());
    m_fBeschreibung = UtilSauber(m_beschreibung->text());
    m_fBetreff = UtilSauber(m_betreff->text());
    m_fInhalt = m_inhalt->toPlainText().replace(QLatin1Char('\''), QChar(0x60));
}

void Textbaustein::pFuellListe()
{
    m_model->clear();
    m_model->setHorizontalHeaderLabels({QStringLiteral("Bez."), QStringLiteral("Beschreibung")});
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT bez,beschreibung FROM textbaustein ORDER BY bez"));
    while (q.next()) // the view edits nothing
        m_model->appendRow({new QStandardItem(q.value(0).toString()), new QStandardItem(q.value(1).toString())});
    m_liste->setColumnWidth(0, 150);
    m_liste->setColumnWidth(1, 400);
}

void Textbaustein::pSetWahl(bool wahl)
{
    m_wahl = wahl;
    m_bez->setEnabled(wahl);
    for (QWidget *w : {static_cast<QWidget *>(m_beschreibung), static_cast<QWidget *>(m_betreff),
                       static_cast<QWidget *>(m_inhalt), static_cast<QWidget *>(m_speichern),
                       static_cast<QWidget *>(m_abbruch)})
        w->setEnabled(!wahl);
    if (m_loeschen)
        m_loeschen->setEnabled(!wahl);

    if (wahl) {
        UtilNeu(m_neu, false);
        m_bez->clear();
        m_beschreibung->clear();
        m_betreff->clear();
        m_inhalt->clear();
        m_bez->setFocus();
    } else {
        m_beschreibung->setFocus();
    }
}

void Textbaustein::pRead()
{
    if (!m_wahl)
        return;
    pFelder();
    m_bez->setText(m_fBez);
    if (m_fBez.isEmpty())
        return;
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT beschreibung,subject,inhalt FROM textbaustein WHERE bez=?"),
                              {m_fBez});
    const bool gefunden = q.next();
    UtilNeu(m_neu, !gefunden);
    if (gefunden) {
        m_beschreibung->setText(q.value(0).toString());
        m_betreff->setText(q.value(1).toString());
        m_inhalt->setPlainText(q.value(2).toString());
    }
    // An unknown name starts an empty template.
    pSetWahl(false);
}

void Textbaustein::pWrite()
{
    if (m_wahl)
        return;
    pFelder();
    if (m_fBez.isEmpty())
        return;
    const bool gespeichert = Db::speichern(this, windowTitle(), [this] {
        const int geaendert = Db::ausfuehren(
            QStringLiteral("UPDATE textbaustein SET beschreibung=?,subject=?,inhalt=? WHERE bez = ?"),
            {m_fBeschreibung, m_fBetreff, m_fInhalt, m_fBez});
        if (geaendert == 0)
            Db::ausfuehren(
                QStringLiteral("INSERT INTO textbaustein (bez,beschreibung,subject,inhalt) VALUES (?,?,?,?)"),
                {m_fBez, m_fBeschreibung, m_fBetreff, m_fInhalt});
    });
    if (!gespeichert)
        return;

    if (m_pick) {
        m_angelegt = m_fBez;
        accept();
        return;
    }
    pFuellListe();
    pSetWahl(true);
}

void Textbaustein::pDelete()
{
    if (m_wahl || m_pick)
        return;
    pFelder();
    if (m_fBez.isEmpty() || !UtilQDelete())
        return;
    if (!Db::speichern(this, windowTitle(), [this] {
            Db::ausfuehren(QStringLiteral("DELETE FROM textbaustein WHERE bez=?"), {m_fBez});
        }))
        return;
    pFuellListe();
    pSetWahl(true);
}

void Textbaustein::pCancel()
{
    if (!m_wahl && !m_pick)
        pSetWahl(true);
    else
        reject();
}

void Textbaustein::pAuswahl(const QModelIndex &index)
{
    if (!m_wahl || !index.isValid())
        return;
    m_bez->setText(m_model->item(index.row(), 0)->text());
    pRead();
}

void Textbaustein::keyPressEvent(QKeyEvent *event)
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

void Textbaustein::closeEvent(QCloseEvent *event)
{
    if (!m_wahl) {
        pSetWahl(true);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
