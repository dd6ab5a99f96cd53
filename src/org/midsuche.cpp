#include "midsuche.h"

#include "db.h"
#include "mitglieder.h"
#include "suchname.h"
#include "suchtasten.h"
#include "textutil.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Upper bound of a prefix range: every text that begins with the prefix sorts below it.
const QChar kEnde(0x00FF);

} // namespace

MIDSuche::MIDSuche(bool anlegen, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Mitgliedersuche"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setFixedWidth(525);
    m_name->setPlaceholderText(QStringLiteral("Anfang des Nachnamens"));
    m_plz = new QLineEdit(this);
    m_plz->setObjectName(QStringLiteral("plz"));
    m_plz->setFixedWidth(95);
    m_plz->setPlaceholderText(QStringLiteral("PLZ-Anfang"));

    auto *ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setDefault(true);
    auto *abbruch = new QPushButton(QStringLiteral("&Abbruch"), this);
    abbruch->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &MIDSuche::pSuche);
    connect(abbruch, &QPushButton::clicked, this, &QDialog::reject);

    auto *kopf = new QGridLayout;
    kopf->addWidget(new QLabel(QStringLiteral("Nachname"), this), 0, 0);
    kopf->addWidget(m_name, 0, 1, 1, 5);
    kopf->addWidget(new QLabel(QStringLiteral("PLZ."), this), 1, 0);
    kopf->addWidget(m_plz, 1, 1);
    kopf->addWidget(ok, 1, 2);
    kopf->addWidget(abbruch, 1, 3);
    if (anlegen) {
        auto *neu = new QPushButton(QStringLiteral("A&nlegen"), this);
        neu->setAutoDefault(false);
        connect(neu, &QPushButton::clicked, this, &MIDSuche::pAnlegen);
        kopf->addWidget(neu, 1, 4);
    }
    kopf->setColumnStretch(5, 1);

    m_modell = new QStandardItemModel(0, 3, this);
    m_liste = new QTableView(this);
    m_liste->setObjectName(QStringLiteral("liste"));
    m_liste->setModel(m_modell);
    m_liste->setFixedSize(750, 300);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();
    connect(m_liste, &QTableView::clicked, this, &MIDSuche::pAuswahl);
    auto *tasten = new SuchTasten(m_liste);
    tasten->feld(m_name);
    tasten->feld(m_plz);
    connect(tasten, &SuchTasten::gewaehlt, this, &MIDSuche::pAuswahl);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(kopf);
    layout->addWidget(m_liste);

    m_modell->setHorizontalHeaderLabels(QStringLiteral("MID,Name, PLZ/Ort").split(QLatin1Char(',')));
    m_liste->setColumnWidth(0, 95);
    m_liste->setColumnWidth(1, 300);
    m_liste->setColumnWidth(2, 300);
}

int MIDSuche::exec(const QString &text)
{
    m_name->clear();
    m_plz->clear();
    m_auswahl = -1;

    const QString s = text.toUpper().simplified();
    const auto beginntMitZiffer = [](const QString &t) { return !t.isEmpty() && t.at(0).isDigit(); };
    bool suchen = true;
    if (s.endsWith(QLatin1Char('?'))) {
        const QString rest = s.left(s.size() - 1);
        (beginntMitZiffer(rest) ? m_plz : m_name)->setText(rest);
    } else if (s.startsWith(QLatin1Char('N'))) {
        m_name->setText(s.mid(1));
    } else if (s.startsWith(QLatin1Char('P'))) {
        m_plz->setText(s.mid(1));
    } else if (s.startsWith(QLatin1Char('M'))) {
        const QString rest = s.mid(1);
        (beginntMitZiffer(rest) ? m_plz : m_name)->setText(rest);
    } else {
        suchen = false;
    }
    if (suchen)
        pSuche();
    return QDialog::exec();
}

int MIDSuche::auswahl() const
{
    return m_auswahl;
}

void MIDSuche::pSuche()
{
    m_modell->removeRows(0, m_modell->rowCount());
    m_modell->setHorizontalHeaderLabels(QStringLiteral("MID,Name, PLZ/Ort").split(QLatin1Char(',')));

    const QString name = UtilSauberGross(m_name->text());
    const QString plz = UtilSauberGross(m_plz->text());
    const QString suchname = name.isEmpty() ? QString() : SuchName(name, QString());

    QString sql = QStringLiteral("SELECT key,name1,name2,plz,ort FROM adresse WHERE ");
    QVariantList werte;
    if (!name.isEmpty()) {
        sql += QStringLiteral("suchname >= ? AND suchname <= ? AND ");
        werte << suchname << QString(suchname + kEnde);
    }
    if (!plz.isEmpty()) {
        sql += QStringLiteral("plz >= ? AND plz <= ? AND ");
        werte << plz << QString(plz + kEnde);
    }
    sql += QStringLiteral("art = ? ORDER BY");
    werte << QStringLiteral("M");
    // A postcode narrows better than a shorter search name.
    if (!plz.isEmpty() && (name.isEmpty() || plz.size() >= suchname.size()))
        sql += QStringLiteral(" plz,name1,name2");
    else
        sql += QStringLiteral(" suchname,name1,name2");

    QSqlQuery q = Db::abfrage(sql, werte);
    while (q.next()) {
        QList<QStandardItem *> zeile;
        zeile << new QStandardItem(QString::number(q.value(0).toString().toInt()))
              << new QStandardItem(q.value(1).toString() + QStringLiteral(", ") + q.value(2).toString())
              << new QStandardItem(q.value(3).toString() + QLatin1Char(' ') + q.value(4).toString());
        m_modell->appendRow(zeile);
    }
}

void MIDSuche::pAuswahl(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    m_auswahl = m_modell->index(index.row(), 0).data().toString().toInt();
    accept();
}

void MIDSuche::pAnlegen()
{
    Mitglieder dialog(true, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_auswahl = dialog.angelegt();
    accept();
}
