#include "lssuche.h"

#include "db.h"
#include "lieferant.h"
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
#include <QVBoxLayout>

LsSuche::LsSuche(bool anlegen, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Lieferantensuche"));

    auto *haupt = new QVBoxLayout(this);
    auto *felder = new QGridLayout;
    m_name = new QLineEdit(this);
    m_plz = new QLineEdit(this);
    m_plz->setMaxLength(10);
    m_name->setPlaceholderText(QStringLiteral("Teil des Namens"));
    m_plz->setPlaceholderText(QStringLiteral("PLZ-Anfang"));
    auto *nameLabel = new QLabel(QStringLiteral("Nachname"), this);
    nameLabel->setBuddy(m_name);
    auto *plzLabel = new QLabel(QStringLiteral("PLZ."), this);
    plzLabel->setBuddy(m_plz);
    felder->addWidget(nameLabel, 0, 0);
    felder->addWidget(m_name, 0, 1);
    felder->addWidget(plzLabel, 1, 0);
    felder->addWidget(m_plz, 1, 1);
    haupt->addLayout(felder);

    auto *knoepfe = new QHBoxLayout;
    auto *ok = UtilKnopf(QStringLiteral("&Ok"), this);
    auto *abbruch = UtilKnopf(QStringLiteral("&Abbruch"), this);
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbruch);
    if (anlegen) {
        auto *neu = UtilKnopf(QStringLiteral("A&nlegen"), this);
        knoepfe->addWidget(neu);
        connect(neu, &QPushButton::clicked, this, &LsSuche::pAnlegen);
    }
    knoepfe->addStretch();
    haupt->addLayout(knoepfe);

    m_modell = new QStandardItemModel(0, 3, this);
    m_modell->setHorizontalHeaderLabels(QStringLiteral("Bez.,Name, PLZ/Ort").split(QLatin1Char(',')));
    m_liste = new QTableView(this);
    m_liste->setModel(m_modell);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();
    m_liste->horizontalHeader()->setStretchLastSection(true);
    m_liste->setMinimumSize(560, 300);
    haupt->addWidget(m_liste);

    connect(ok, &QPushButton::clicked, this, &LsSuche::pSuche);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_name, &QLineEdit::returnPressed, this, &LsSuche::pSuche);
    connect(m_plz, &QLineEdit::returnPressed, this, &LsSuche::pSuche);
    connect(m_liste, &QTableView::clicked, this, &LsSuche::pAuswahl);
    auto *tasten = new SuchTasten(m_liste);
    tasten->feld(m_name);
    tasten->feld(m_plz);
    connect(tasten, &SuchTasten::gewaehlt, this, &LsSuche::pAuswahl);
}

int LsSuche::exec(const QString &text)
{
    m_name->clear();
    m_plz->clear();
    const QString t = text.toUpper().simplified();
    bool suchen = true;
    if (t.endsWith(QLatin1Char('?'))) {
        const QString rest = t.chopped(1);
        if (!rest.isEmpty() && rest.at(0).isDigit())
            m_plz->setText(rest);
        else
            m_name->setText(rest);
    } else if (t.startsWith(QLatin1Char('N'))) {
        m_name->setText(t.mid(1));
    } else if (t.startsWith(QLatin1Char('P'))) {
        m_plz->setText(t.mid(1));
    } else {
        suchen = false;
    }
    if (suchen)
        pSuche();
    return QDialog::exec();
}

QString LsSuche::auswahl() const { return m_auswahl; }

void LsSuche::pSuche()
{
    const QString such = SuchName(UtilSauberGross(m_name->text()), QString());
    const QString plz = UtilSauberGross(m_plz->text());

    QString sql = QStringLiteral("SELECT key,name1,name2,plz,ort,suchname FROM adresse WHERE ");
    QVariantList werte;
    if (!plz.isEmpty()) {
        sql += QStringLiteral("plz >= ? AND plz <= ? AND ");
        werte << plz << plz + QChar(0xFF);
    }
    sql += QStringLiteral("art = ? ORDER BY");
    werte << QStringLiteral("L");
    // A postcode at least as specific as the name sorts by place, else by name.
    if (!plz.isEmpty() && plz.size() >= such.size())
        sql += QStringLiteral(" plz,name1,name2");
    else
        sql += QStringLiteral(" suchname,name1,name2");

    m_modell->removeRows(0, m_modell->rowCount());
    QSqlQuery q = Db::abfrage(sql, werte);
    while (q.next()) {
        // Spelling variants may sit anywhere in the name, so the filter runs here.
        if (!q.value(5).toString().contains(such))
            continue;
        QList<QStandardItem *> zeile;
        zeile << new QStandardItem(q.value(0).toString())
              << new QStandardItem(q.value(1).toString() + QStringLiteral(", ") + q.value(2).toString())
              << new QStandardItem(q.value(3).toString() + QLatin1Char(' ') + q.value(4).toString());
        m_modell->appendRow(zeile);
    }
    m_liste->resizeColumnsToContents();
}

void LsSuche::pAuswahl(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    m_auswahl = m_modell->item(index.row(), 0)->text();
    accept();
}

void LsSuche::pAnlegen()
{
    Lieferant lieferant(true, this);
    if (lieferant.exec() != QDialog::Accepted)
        return;
    m_auswahl = lieferant.angelegt();
    accept();
}
