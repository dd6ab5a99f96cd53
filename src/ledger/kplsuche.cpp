#include "kplsuche.h"

#include "db.h"
#include "kontenplan.h"
#include "suchname.h"
#include "suchtasten.h"
#include "textutil.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

KplSuche::KplSuche(bool anlegen, QWidget *parent)
    : QDialog(parent), m_suche(new QLineEdit(this)), m_liste(new QTableView(this)),
      m_model(new QStandardItemModel(this))
{
    setWindowTitle(QStringLiteral("Kontenplansuche"));

    m_suche->setFixedSize(525, 25);
    m_suche->setPlaceholderText(QStringLiteral("Teil des Kontotexts"));
    m_liste->setModel(m_model);
    m_liste->setFixedSize(650, 300);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();

    // Return in the search field searches: "&Ok" is the default button.
    auto *ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setAutoDefault(true);
    ok->setDefault(true);
    auto *abbruch = new QPushButton(QStringLiteral("&Abbruch"), this);
    abbruch->setAutoDefault(false);

    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbruch);
    if (anlegen) {
        auto *neu = new QPushButton(QStringLiteral("A&nlegen"), this);
        neu->setAutoDefault(false);
        knoepfe->addWidget(neu);
        connect(neu, &QPushButton::clicked, this, &KplSuche::pAnlegen);
    }
    knoepfe->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Text"), this), 0, 0);
    grid->addWidget(m_suche, 0, 1);
    grid->addLayout(knoepfe, 1, 1);
    grid->addWidget(m_liste, 2, 0, 1, 2);

    connect(ok, &QPushButton::clicked, this, &KplSuche::pSuche);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_liste, &QTableView::clicked, this, &KplSuche::pAuswahl);
    auto *tasten = new SuchTasten(m_liste);
    tasten->feld(m_suche);
    connect(tasten, &SuchTasten::gewaehlt, this, &KplSuche::pAuswahl);

    pInitListe();
}

int KplSuche::exec(const QString &text)
{
    m_suche->setText(text.endsWith(QLatin1Char('?')) ? text.chopped(1) : text);
    if (!m_suche->text().isEmpty())
        pSuche();
    return QDialog::exec();
}

QString KplSuche::auswahl() const { return m_auswahl; }

void KplSuche::pInitListe()
{
    m_model->clear();
    m_model->setHorizontalHeaderLabels(QStringLiteral("Konto,Text").split(QLatin1Char(',')));
    m_liste->setColumnWidth(0, 95);
    m_liste->setColumnWidth(1, 500);
}

void KplSuche::pSuche()
{
    pInitListe();
    const QString key = UtilSauberGross(SuchName(m_suche->text(), QString()));
    // The chart is small and the match needs the search-name form of every text,
    // which SQL cannot compute; so every row is read and tested here.
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT konto,text FROM kontenplan"));
    while (q.next()) {
        const QString text = q.value(1).toString();
        if (!SuchName(text, QString()).contains(key))
            continue;
        auto *konto = new QStandardItem(q.value(0).toString());
        auto *zeile = new QStandardItem(text);
        konto->setEditable(false);
        zeile->setEditable(false);
        m_model->appendRow({konto, zeile});
    }
}

void KplSuche::pAuswahl(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    m_auswahl = m_model->item(index.row(), 0)->text();
    accept();
}

void KplSuche::pAnlegen()
{
    Kontenplan kontenplan(true, this);
    if (kontenplan.exec() != QDialog::Accepted)
        return;
    m_auswahl = kontenplan.angelegt();
    accept();
}
