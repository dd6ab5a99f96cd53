#include "einzelkto.h"

#include "db.h"
#include "interaktion.h"
#include "journal.h"
#include "kontozeilen.h"
#include "textutil.h"
#include "utilbuch.h"
#include "wdatum.h"
#include "wkonto.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>

#include <iterator>
#include <memory>

// The listed lines as the table shows them. Texts are formed only for the rows
// in view, so an account with a hundred thousand lines fills at once.
// The listed lines as the table shows them. Texts are read and formed only for
// the rows in view, so an account with a hundred thousand lines fills at once.
class EinzelKto::Modell : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setKonto(std::unique_ptr<KontoZeilen> konto)
    {
        beginResetModel();
        m_konto = std::move(konto);
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_konto ? 0 : int(m_konto->zeilen().size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(std::size(kTitel));
    }

    QVariant data(const QModelIndex &index, int rolle) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return QVariant();
        const int spalte = index.column();
        if (rolle == Qt::TextAlignmentRole && (spalte == 1 || spalte == 5))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (rolle != Qt::DisplayRole)
            return QVariant();
        const std::size_t zeile = std::size_t(index.row());
        if (spalte >= 2 && spalte <= 4 && !m_konto->zeilen()[zeile].mitTexten)
            m_konto->texteLesen(zeile - zeile % kBlock, kBlock);
        const KontoZeile &z = m_konto->zeilen()[zeile];
        switch (spalte) {
        case 0: return UtilDatumZeige(z.datum);
        case 1: return QString::number(z.lfd);
        case 2: return z.kost;
        case 3: return z.beschluss.isEmpty() ? z.butext : z.butext + QStringLiteral(", ") + z.beschluss;
        case 4: return z.gkonto;
        case 5: return UtilBetragText(z.cent);
        }
        return QVariant();
    }

    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle) const override
    {
        if (richtung == Qt::Horizontal && rolle == Qt::DisplayRole && abschnitt >= 0
            && abschnitt < int(std::size(kTitel)))
            return QString::fromUtf8(kTitel[abschnitt]);
        return QAbstractTableModel::headerData(abschnitt, richtung, rolle);
    }

private:
    static constexpr const char *kTitel[] = {"Datum", "Nr", "Kostenst.", "Text", "GKonto", "Betrag"};
    // Lines whose texts are read together, about a few screens.
    static constexpr std::size_t kBlock = 200;
    std::unique_ptr<KontoZeilen> m_konto;
};

namespace {

QLineEdit *saldoFeld(QWidget *parent, const char *name)
{
    auto *feld = new QLineEdit(parent);
    feld->setObjectName(QLatin1String(name));
    feld->setFixedWidth(95);
    feld->setReadOnly(true);
    feld->setEnabled(false);
    feld->setAlignment(Qt::AlignRight);
    return feld;
}

} // namespace

EinzelKto::EinzelKto(Drucker drucker, QWidget *parent) : QDialog(parent), m_drucker(std::move(drucker))
{
    setWindowTitle(QStringLiteral("Einzelkonto"));
    auto *gitter = new QGridLayout(this);

    m_kontoLabel = new QLabel(this);
    m_kontoLabel->setObjectName(QStringLiteral("kontoLabel"));
    m_konto = new WKonto(m_kontoLabel, true, this);
    m_konto->setObjectName(QStringLiteral("konto"));
    gitter->addWidget(new QLabel(QStringLiteral("Konto"), this), 0, 0);
    gitter->addWidget(m_konto, 0, 1);
    gitter->addWidget(m_kontoLabel, 0, 2, 1, 6);

    m_von = new WDatum(UtilGJVon(), this);
    m_von->setObjectName(QStringLiteral("von"));
    m_anfang = saldoFeld(this, "anfangssaldo");
    gitter->addWidget(new QLabel(QStringLiteral("Von"), this), 1, 0);
    gitter->addWidget(m_von, 1, 1);
    gitter->addWidget(new QLabel(QStringLiteral("Anfangssaldo"), this), 1, 2);
    gitter->addWidget(m_anfang, 1, 3);

    m_bis = new WDatum(QDate::currentDate(), this);
    m_bis->setObjectName(QStringLiteral("bis"));
    m_ende = saldoFeld(this, "endsaldo");
    m_kost = new QLineEdit(this);
    m_kost->setObjectName(QStringLiteral("kost"));
    m_kost->setFixedWidth(150);
    m_zurueck = UtilKnopf(QStringLiteral("&Zurück"), this);
    m_vor = UtilKnopf(QStringLiteral("&Vorwärts"), this);
    m_drucken = UtilKnopf(QStringLiteral("&Drucken"), this);
    m_drucken->setEnabled(bool(m_drucker));
    m_ok = UtilKnopf(QStringLiteral("&OK"), this);
    gitter->addWidget(new QLabel(QStringLiteral("Bis"), this), 2, 0);
    gitter->addWidget(m_bis, 2, 1);
    gitter->addWidget(new QLabel(QStringLiteral("Endsaldo"), this), 2, 2);
    gitter->addWidget(m_ende, 2, 3);
    gitter->addWidget(new QLabel(QStringLiteral("Kost."), this), 2, 4);
    gitter->addWidget(m_kost, 2, 5);
    gitter->addWidget(m_zurueck, 2, 6);
    gitter->addWidget(m_vor, 2, 7);
    gitter->addWidget(m_drucken, 2, 8);
    gitter->addWidget(m_ok, 2, 9);

    m_modell = new Modell(this);
    m_liste = new QTableView(this);
    m_liste->setObjectName(QStringLiteral("liste"));
    m_liste->setModel(m_modell);
    m_liste->setMinimumSize(1000, 500);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();
    // All rows have one height: the view need not measure a hundred thousand of them.
    m_liste->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gitter->addWidget(m_liste, 3, 0, 1, 10);

    connect(m_konto, &WKonto::returnPressed, this, &EinzelKto::pEnter);
    connect(m_kost, &QLineEdit::returnPressed, this, &EinzelKto::pEnter);
    connect(m_ok, &QPushButton::clicked, this, &EinzelKto::pEnter);
    connect(m_vor, &QPushButton::clicked, this, &EinzelKto::pKtoVor);
    connect(m_zurueck, &QPushButton::clicked, this, &EinzelKto::pKtoRu);
    connect(m_drucken, &QPushButton::clicked, this, &EinzelKto::pDrucken);
    connect(m_liste, &QTableView::clicked, this, &EinzelKto::pAuswahl);

    pFuellListe();
    m_konto->setFocus();
}

EinzelKto::~EinzelKto() = default;

void EinzelKto::pEnter()
{
    pFuellListe();
}

void EinzelKto::pKtoVor()
{
    pFelder();
    pSpringe(QStringLiteral("SELECT konto FROM kgkto WHERE konto>? AND datum>=? AND datum<=? "
                            "ORDER BY konto,datum,lfd LIMIT 1"),
             {m_kontoNr, m_von->datumText(), m_bis->datumText()});
}

void EinzelKto::pKtoRu()
{
    pFelder();
    // Without an account: the highest one with bookings in the range.
    if (m_kontoNr.isEmpty())
        pSpringe(QStringLiteral("SELECT konto FROM kgkto WHERE datum>=? AND datum<=? "
                                "ORDER BY konto DESC,datum DESC,lfd DESC LIMIT 1"),
                 {m_von->datumText(), m_bis->datumText()});
    else
        pSpringe(QStringLiteral("SELECT konto FROM kgkto WHERE konto<? AND datum>=? AND datum<=? "
                                "ORDER BY konto DESC,datum DESC,lfd DESC LIMIT 1"),
                 {m_kontoNr, m_von->datumText(), m_bis->datumText()});
}

void EinzelKto::pSpringe(const QString &sql, const QVariantList &werte)
{
    m_konto->setText(Db::wert(sql, werte).toString());
    pFuellListe();
}

void EinzelKto::pDrucken()
{
    if (!m_drucker)
        return;
    pFelder();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!Interaktion::druckDialog(printer, m_liste))
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_drucker(&printer, &painter, m_kontoNr, m_von->datum(), m_bis->datum(), m_kostFilter);
    painter.end();
    QApplication::restoreOverrideCursor();
}

void EinzelKto::pAuswahl(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QDate datum = QDate::fromString(m_modell->index(index.row(), 0).data().toString(),
                                          QStringLiteral("dd.MM.yyyy"));
    const int lfd = m_modell->index(index.row(), 1).data().toInt();
    if (!datum.isValid() || lfd < 1)
        return;
    {
        Journal journal;
        journal.exec(datum, lfd);
    }
    // What was changed there shows at once.
    pFuellListe();
}

void EinzelKto::keyPressEvent(QKeyEvent *event)
{
    // Return belongs to the fields, never to a button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void EinzelKto::pFelder()
{
    m_kontoNr = UtilSauberGross(m_konto->text());
    m_konto->setText(m_kontoNr);
    m_kostFilter = UtilSauberGross(m_kost->text());
    m_kost->setText(m_kostFilter);
}

void EinzelKto::pFuellListe()
{
    pFelder();
    if (m_kontoNr.isEmpty()) {
        // The balances keep what they showed.
        m_modell->setKonto(nullptr);
    } else {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        auto konto = std::make_unique<KontoZeilen>(m_kontoNr, m_von->datum(), m_bis->datum(), m_kostFilter);
        m_anfang->setText(UtilBetragText(konto->anfangssaldo()));
        m_ende->setText(UtilBetragText(konto->endsaldo()));
        m_modell->setKonto(std::move(konto));
        QApplication::restoreOverrideCursor();
    }
    const int breiten[] = {85, 40, 125, 480, 115, 95};
    for (int i = 0; i < 6; ++i)
        m_liste->setColumnWidth(i, breiten[i]);
}
