#include "zahlbearb.h"

#include "db.h"
#include "interaktion.h"
#include "smtp.h"
#include "textutil.h"
#include "wbetrag.h"
#include "wmitglied.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

enum Form { Email = 0, Brief = 1 };

const QString kTestTitel = QStringLiteral("Test der Zahlung");

QString artName(const QString &art)
{
    static const QHash<QString, QString> namen = {
        {QStringLiteral("R"), QStringLiteral("Vorauskasse")},
        {QStringLiteral("r"), QStringLiteral("Vorauskasse Neumitglieder")},
        {QStringLiteral("L"), QStringLiteral("Lastschriftankündigung")},
        {QStringLiteral("l"), QStringLiteral("Lastschriftankündigung Neumitglieder")},
        {QStringLiteral("D"), QStringLiteral("DTAUS-Datei")},
        {QStringLiteral("G"), QStringLiteral("Geplatzte Lastschrift")},
        {QStringLiteral("1"), QStringLiteral("1. Mahnung")},
        {QStringLiteral("2"), QStringLiteral("2. Mahnung")},
        {QStringLiteral("3"), QStringLiteral("3. Mahnung")}};
    return namen.value(art);
}

// "Name, first name, postcode place" as list and label show a member.
QString nameUndOrt(const QString &name1, const QString &name2, const QString &plz, const QString &ort)
{
    QString text = name1;
    if (!name2.isEmpty())
        text += QStringLiteral(", ") + name2;
    if (!plz.isEmpty() || !ort.isEmpty())
        text += QStringLiteral(", ") + plz + QLatin1Char(' ') + ort;
    return text;
}

QStandardItem *zelle(const QString &text, Qt::Alignment ausrichtung = Qt::AlignLeft)
{
    auto *item = new QStandardItem(text);
    item->setTextAlignment(ausrichtung | Qt::AlignVCenter);
    return item;
}

} // namespace

ZahlungBearb::ZahlungBearb(const QString &art, QWidget *parent)
    : QDialog(parent), m_art(art), m_midFeld(new WMitglied(false, this)), m_name(new QLabel(this)),
      m_sperren(new QCheckBox(QStringLiteral("Sperren"), this)),
      m_speichern(UtilKnopf(QStringLiteral("&Speichern"), this)),
      m_abbruch(UtilKnopf(QStringLiteral("&Abbruch"), this)), m_liste(new QTableView(this)),
      m_model(new QStandardItemModel(this))
{
    setWindowTitle(QStringLiteral("Bearbeitung der Zahlungen"));
    m_name->setFixedWidth(300);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Mitglied"), this), 0, 0);
    grid->addWidget(m_midFeld, 0, 1);
    grid->addWidget(m_name, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Betrag"), this), 1, 0);
    if (istDtaus()) {
        m_betrag = new WBetrag(this);
        m_betrag->setBereich(0, 9999999999);
        grid->addWidget(m_betrag, 1, 1, 1, 2, Qt::AlignLeft);
    } else {
        m_betragText = new QLabel(this);
        grid->addWidget(m_betragText, 1, 1, 1, 2);
        m_form = new QComboBox(this);
        m_form->addItems({QStringLiteral("Email"), QStringLiteral("Brief")});
        m_baustein = new QLabel(this);
        grid->addWidget(new QLabel(QStringLiteral("Mail/Brief"), this), 2, 0);
        grid->addWidget(m_form, 2, 1);
        grid->addWidget(new QLabel(QStringLiteral("Textbaustein"), this), 3, 0);
        grid->addWidget(m_baustein, 3, 1, 1, 2);
        m_testen = UtilKnopf(QStringLiteral("&Testen"), this);
    }
    grid->addWidget(m_sperren, 4, 1, 1, 2);
    grid->setColumnStretch(3, 1);

    auto *knoepfe = new QHBoxLayout;
    if (m_testen)
        knoepfe->addWidget(m_testen);
    knoepfe->addWidget(m_speichern);
    knoepfe->addWidget(m_abbruch);
    knoepfe->addStretch();

    m_liste->setModel(m_model);
    m_liste->setFixedSize(670, 200);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->verticalHeader()->hide();

    auto *kopf = new QLabel(artName(m_art), this);
    QFont fett = kopf->font();
    fett.setBold(true);
    kopf->setFont(fett);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(kopf);
    layout->addLayout(grid);
    layout->addLayout(knoepfe);
    layout->addWidget(m_liste);

    connect(m_midFeld, &WMitglied::finished, this, &ZahlungBearb::pRead);
    connect(m_speichern, &QPushButton::clicked, this, &ZahlungBearb::pWrite);
    connect(m_abbruch, &QPushButton::clicked, this, &ZahlungBearb::pCancel);
    connect(m_liste, &QTableView::clicked, this, &ZahlungBearb::pAuswahl);
    if (m_form) {
        connect(m_form, &QComboBox::currentIndexChanged, this, &ZahlungBearb::pBaustein);
        connect(m_testen, &QPushButton::clicked, this, &ZahlungBearb::pTest);
    }

    pFuellListe();
    pSetWahl(true);
}

void ZahlungBearb::pFuellListe()
{
    m_model->clear();
    m_model->setHorizontalHeaderLabels(
        {QStringLiteral("MID"), QStringLiteral("Name"), QStringLiteral("Betrag"), QStringLiteral("Status")});
    QSqlQuery q = Db::abfrage(
        QStringLiteral("SELECT z.mid,z.cent,z.sperren,z.done,a.name1,a.name2,a.plz,a.ort FROM zahllauf z "
                       "LEFT JOIN adresse a ON a.art='M' AND a.key=printf('%08d',z.mid) WHERE z.art=? "
                       "ORDER BY z.mid"),
        {m_art});
    while (q.next()) {
        const QString status = q.value(2).toString() == QLatin1String("J") ? QStringLiteral("Gesperrt")
                               : q.value(3).toString() == QLatin1String("J") ? QStringLiteral("O.K.")
                                                                             : QStringLiteral(" ");
        m_model->appendRow({zelle(q.value(0).toString(), Qt::AlignRight),
                            zelle(nameUndOrt(q.value(4).toString(), q.value(5).toString(), q.value(6).toString(),
                                             q.value(7).toString())),
                            zelle(UtilBetragText(q.value(1).toLongLong()), Qt::AlignRight), zelle(status)});
    }
    m_liste->setColumnWidth(0, 70);
    m_liste->setColumnWidth(1, 380);
    m_liste->setColumnWidth(2, 100);
    m_liste->setColumnWidth(3, 90);
}

void ZahlungBearb::pSetWahl(bool wahl)
{
    m_wahl = wahl;
    if (wahl) {
        m_midFeld->clear();
        m_name->clear();
        m_sperren->setChecked(false);
        if (m_baustein)
            m_baustein->clear();
    }
    m_midFeld->setEnabled(wahl);
    for (QWidget *w : {static_cast<QWidget *>(m_speichern), static_cast<QWidget *>(m_abbruch),
                       static_cast<QWidget *>(m_sperren)})
        w->setEnabled(!wahl);
    if (m_betrag)
        m_betrag->setEnabled(!wahl);
    if (m_form) {
        m_form->setEnabled(!wahl && !m_mail.isEmpty() && !m_bausteinm.isEmpty() && !m_bausteinb.isEmpty());
        m_testen->setEnabled(!wahl);
    }
    if (wahl)
        m_midFeld->setFocus();
    else
        m_sperren->setFocus();
}

void ZahlungBearb::pRead()
{
    if (!m_wahl)
        return;
    const int mid = m_midFeld->getInt();
    if (mid < 1)
        return;
    QSqlQuery z = Db::abfrage(QStringLiteral("SELECT mid,art,sperren,form,bausteinm,bausteinb,cent,done "
                                             "FROM zahllauf WHERE mid=?"),
                              {QString::number(mid)});
    if (!z.next() || z.value(1).toString() != m_art)
        return;

    m_mid = mid;
    m_midFeld->setText(QString::number(mid));
    m_bausteinm = z.value(4).toString();
    m_bausteinb = z.value(5).toString();
    m_cent = z.value(6).toLongLong();
    m_mail.clear();
    QString name;
    QSqlQuery a = Db::abfrage(
        QStringLiteral("SELECT name1,name2,plz,ort,mail FROM adresse WHERE art='M' AND key=?"), {UtilMidKey(mid)});
    if (a.next()) {
        name = nameUndOrt(a.value(0).toString(), a.value(1).toString(), a.value(2).toString(), a.value(3).toString());
        m_mail = a.value(4).toString().trimmed();
    }
    m_name->setText(name);
    m_sperren->setChecked(z.value(2).toString() == QLatin1String("J"));
    if (m_betrag) {
        m_betrag->setCents(m_cent);
    } else {
        m_betragText->setText(UtilBetragText(m_cent) + QStringLiteral(" EUR"));
        const QSignalBlocker stumm(m_form);
        m_form->setCurrentIndex(z.value(3).toString() == QLatin1String("M") ? Email : Brief);
    }
    pSetWahl(false);
    if (m_form)
        pBaustein(m_form->currentIndex());
}

// Only a form that can be carried out: a mail needs an address and a mail template.
void ZahlungBearb::pBaustein(int index)
{
    if (m_wahl) {
        m_baustein->clear();
        return;
    }
    if (index == Email && !m_bausteinb.isEmpty() && (m_mail.isEmpty() || m_bausteinm.isEmpty())) {
        m_form->setCurrentIndex(Brief);
        return;
    }
    if (index == Brief && !m_bausteinm.isEmpty() && m_bausteinb.isEmpty() && !m_mail.isEmpty()) {
        m_form->setCurrentIndex(Email);
        return;
    }
    m_baustein->setText(index == Email ? m_bausteinm : m_bausteinb);
}

void ZahlungBearb::pWrite()
{
    if (m_wahl || !WBetrag::alleGueltig(this))
        return;
    const QString sperren = m_sperren->isChecked() ? QStringLiteral("J") : QString();
    const bool gespeichert = Db::speichern(this, windowTitle(), [&] {
        if (m_betrag)
            Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET manuell='J',sperren=?,cent=? WHERE mid=?"),
                           {sperren, m_betrag->cents(), QString::number(m_mid)});
        else
            Db::ausfuehren(QStringLiteral("UPDATE zahllauf SET manuell='J',sperren=?,form=? WHERE mid=?"),
                           {sperren, m_form->currentIndex() == Email ? QStringLiteral("M") : QStringLiteral("B"),
                            QString::number(m_mid)});
    });
    if (!gespeichert)
        return;
    pFuellListe();
    pSetWahl(true);
}

void ZahlungBearb::pCancel()
{
    reject();
}

void ZahlungBearb::reject()
{
    if (m_wahl)
        QDialog::reject();
    else
        pSetWahl(true);
}

void ZahlungBearb::closeEvent(QCloseEvent *event)
{
    if (!m_wahl) {
        pSetWahl(true);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ZahlungBearb::pAuswahl(const QModelIndex &index)
{
    if (!m_wahl || !index.isValid())
        return;
    m_midFeld->setText(m_model->item(index.row(), 0)->text());
    pRead();
}

// The mail exactly as the run would send it, to an address of the user's choice; the row stays as it is.
void ZahlungBearb::pTest()
{
    if (m_wahl)
        return;
    if (m_form->currentIndex() != Email) {
        Interaktion::kritisch(this, kTestTitel, QStringLiteral("Derzeit ist nur Email implementiert"));
        return;
    }
    const std::optional<QString> adresse = Interaktion::textEingabe(this, kTestTitel, QStringLiteral("Email Adresse"));
    if (!adresse)
        return;
    Smtp smtp;
    bool ok = smtp.setText(m_bausteinm, QStringLiteral("M"), UtilMidKey(m_mid), m_mid, QDate::currentDate().year(),
                           m_cent);
    if (ok) {
        smtp.setTo(adresse->trimmed());
        ok = !adresse->trimmed().isEmpty() && smtp.sendMail();
    }
    if (ok)
        Interaktion::information(this, kTestTitel, QStringLiteral("Email wurde verschickt"));
    else
        Interaktion::kritisch(this, kTestTitel, smtp.mitGrund(QStringLiteral("Email konnte nicht verschickt werden")));
}
