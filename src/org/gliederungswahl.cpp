#include "gliederungswahl.h"

#include "gliederungsbaum.h"
#include "parameter.h"
#include "suchtasten.h"

#include <QTreeView>
#include <QVBoxLayout>

GliederungsWahl::GliederungsWahl(int ebene, QWidget *parent)
    : QDialog(parent), m_baum(new GliederungsBaum(this)), m_view(new QTreeView(this))
{
    m_view->setMinimumSize(550, 300);
    m_view->setModel(m_baum);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);

    const QModelIndex selbst = m_baum->setupModelData(UtilSelbst(), ebene);
    m_view->setColumnWidth(0, 250);
    m_view->setColumnWidth(1, 95);
    m_view->setColumnWidth(2, 200);
    // A short tree is shown whole; the full one only along the path to the own unit.
    if (ebene < 5)
        m_view->expandAll();
    GliederungZeigen(m_view, selbst);
    // The keyboard starts at the own unit.
    if (selbst.isValid())
        m_view->setCurrentIndex(selbst);

    connect(m_view, &QTreeView::clicked, this, &GliederungsWahl::pWahl);
    connect(new SuchTasten(m_view), &SuchTasten::gewaehlt, this, &GliederungsWahl::pWahl);
}

QString GliederungsWahl::text() const
{
    return m_text;
}

void GliederungsWahl::pWahl(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    m_text = m_baum->datac(index, 0).toString();
    accept();
}
