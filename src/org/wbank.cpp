#include "wbank.h"

#include "db.h"
#include "iban.h"
#include "textutil.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTimer>

namespace {

// Column positions, in the order of the constructor.
enum Spalte { Inhaber, Nummer, Blz, Bank, Bic, IbanSpalte };

} // namespace

WBank::WBank(QWidget *parent)
    : WDatensatz(QStringLiteral("bankverbindung"), parent), m_inhaber(neueSpalte(QStringLiteral("inhaber"), 230, 27)),
      m_nummer(neueSpalte(QStringLiteral("nummer"), 110, 12)), m_blz(neueSpalte(QStringLiteral("blz"), 75, 8)),
      m_bank(neueSpalte(QStringLiteral("bank"), 230, 27)), m_bic(neueSpalte(QStringLiteral("bic"), 130, 12)),
      m_iban(neueSpalte(QStringLiteral("iban"), 330, 42)), m_hinweis(new QLabel(parent))
{
    m_hinweis->setObjectName(QStringLiteral("bankHinweis"));
    m_hinweis->setStyleSheet(QStringLiteral("color: #b00000"));
    for (QLineEdit *feld : {m_iban, m_bic})
        feld->installEventFilter(this);
    connect(m_nummer, &QLineEdit::editingFinished, this, &WBank::pAbleiten);
    connect(m_blz, &QLineEdit::editingFinished, this, &WBank::pAbleiten);
    for (QLineEdit *feld : {m_iban, m_bic}) {
        connect(feld, &QLineEdit::textChanged, this, [this] {
            if (fehler(m_iban).isEmpty() && fehler(m_bic).isEmpty())
                m_hinweis->clear();
        });
    }
    connect(m_iban, &QLineEdit::returnPressed, this, [this] { pFeldPruefen(m_iban); });
    connect(m_bic, &QLineEdit::returnPressed, this, [this] { pFeldPruefen(m_bic); });
}

void WBank::FuellLayout(QGridLayout *layout, int zeile, int spalte)
{
    auto beschriftung = [&](const QString &text, int z, QLineEdit *feld) {
        beschrifte(layout, text, z, spalte, feld);
    };
    beschriftung(QStringLiteral("Konto Inhaber"), zeile, m_inhaber);
    layout->addWidget(m_inhaber, zeile, spalte + 1, 1, 2);
    beschriftung(QStringLiteral("Konto Nr./BLZ."), zeile + 1, m_nummer);
    layout->addWidget(m_nummer, zeile + 1, spalte + 1);
    layout->addWidget(m_blz, zeile + 1, spalte + 2);
    beschriftung(QStringLiteral("Bank"), zeile + 2, m_bank);
    layout->addWidget(m_bank, zeile + 2, spalte + 1, 1, 2);
    beschriftung(QStringLiteral("BIC"), zeile + 3, m_bic);
    layout->addWidget(m_bic, zeile + 3, spalte + 1);
    beschriftung(QStringLiteral("IBAN"), zeile + 4, m_iban);
    layout->addWidget(m_iban, zeile + 4, spalte + 1, 1, 3);
    layout->addWidget(m_hinweis, zeile + 5, spalte + 1, 1, 4);
}

QString WBank::speicherForm(int i, const QString &text) const
{
    return i == Bic || i == IbanSpalte ? Iban::normal(text) : WDatensatz::speicherForm(i, text);
}

QString WBank::anzeigeForm(int i, const QString &wert) const
{
    return i == IbanSpalte ? Iban::gruppiert(wert) : wert;
}

QString WBank::fehler(const QLineEdit *feld) const
{
    if (Iban::normal(feld->text()).isEmpty())
        return QString();
    return feld == m_iban ? Iban::fehler(feld->text()) : Iban::bicFehler(feld->text());
}

bool WBank::pFeldPruefen(QLineEdit *feld)
{
    const QString grund = fehler(feld);
    m_hinweis->setText(grund);
    if (!grund.isEmpty())
        return false;
    if (feld == m_iban) {
        m_iban->setText(Iban::gruppiert(m_iban->text()));
        const QString iban = Iban::normal(m_iban->text());
        if (iban.startsWith(QLatin1String("DE")))
            pBankAusBlz(iban.mid(4, 8));
    } else {
        m_bic->setText(Iban::normal(m_bic->text()));
    }
    return true;
}

bool WBank::eventFilter(QObject *objekt, QEvent *ereignis)
{
    auto *feld = qobject_cast<QLineEdit *>(objekt);
    if (feld && ereignis->type() == QEvent::FocusOut && feld->isEnabled()
        && static_cast<QFocusEvent *>(ereignis)->reason() != Qt::PopupFocusReason && !pFeldPruefen(feld)) {
        // Back into the field once the focus has moved on, unless the record was left meanwhile.
        QTimer::singleShot(0, feld, [this, feld] {
            if (feld->isEnabled() && !fehler(feld).isEmpty())
                feld->setFocus();
        });
    }
    return QObject::eventFilter(objekt, ereignis);
}

void WBank::pAbleiten()
{
    if (!Iban::normal(m_iban->text()).isEmpty())
        return;
    const QString blz = Iban::normal(m_blz->text());
    const QString iban = Iban::ausKonto(blz, Iban::normal(m_nummer->text()));
    if (iban.isEmpty())
        return;
    m_iban->setText(Iban::gruppiert(iban));
    pBankAusBlz(blz);
}

// BIC and bank name from the bank-code table, where the fields are empty.
void WBank::pBankAusBlz(const QString &blz)
{
    QSqlQuery q = Db::abfrage(QStringLiteral("SELECT bic,name FROM blzdatei WHERE land='D' AND blz=? LIMIT 1"), {blz});
    if (!q.next())
        return;
    if (Iban::normal(m_bic->text()).isEmpty())
        m_bic->setText(q.value(0).toString().trimmed());
    if (m_bank->text().trimmed().isEmpty())
        m_bank->setText(q.value(1).toString().trimmed().left(m_bank->maxLength()));
}

bool WBank::pruefen()
{
    pAbleiten();
    for (QLineEdit *feld : {m_iban, m_bic}) {
        if (!pFeldPruefen(feld)) {
            UtilFokus(feld);
            return false;
        }
    }
    return true;
}
