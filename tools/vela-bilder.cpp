// Takes the handbook's pictures: opens each dialog offscreen on generated demo
// books and saves what QWidget::grab() shows as a PNG file in the given folder,
// so the pictures always show the dialogs as they are.

#include "akkredlist.h"
#include "db.h"
#include "demodaten.h"
#include "einzelkto.h"
#include "gliederung.h"
#include "interaktion.h"
#include "journal.h"
#include "journexport.h"
#include "kontenplan.h"
#include "ktodruck.h"
#include "midimport.h"
#include "mitglieder.h"
#include "parameter.h"
#include "programm.h"
#include "spendenexport.h"
#include "spendenparam.h"
#include "textbaustein.h"
#include "zahlbearb.h"
#include "zahlbrief.h"
#include "zahldtaus.h"
#include "zahlerst.h"
#include "zahlmail.h"
#include "zahlungen.h"
#include "zuwenddruck.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>

#include <functional>

namespace {

class Fotograf
{
public:
    explicit Fotograf(const QDir &ordner) : m_ordner(ordner) {}

    // Shows the dialog and saves it as `name`.png, after `vorher` has brought it into
    // shape. A palette of 256 colours keeps the files small; the dialogs hardly use more.
    void aufnehmen(QWidget &dialog, const QString &name, const std::function<void()> &vorher = {})
    {
        dialog.show();
        QCoreApplication::processEvents();
        if (vorher)
            vorher();
        QCoreApplication::processEvents();
        const QImage bild = dialog.grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        const QString datei = m_ordner.filePath(name + QStringLiteral(".png"));
        if (!bild.save(datei))
            m_fehler << datei;
        dialog.hide();
    }

    QStringList fehler() const { return m_fehler; }

private:
    QDir m_ordner;
    QStringList m_fehler;
};

// Types `text` into the field that has the focus (the key field of a freshly
// opened dialog) and presses Return, as the user does.
void eingeben(QWidget &dialog, const QString &text)
{
    QWidget *feld = dialog.focusWidget();
    if (auto *zeile = qobject_cast<QLineEdit *>(feld))
        zeile->setText(text);
    QKeyEvent druck(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    if (feld)
        QCoreApplication::sendEvent(feld, &druck);
}

void klicken(QWidget &dialog, const QString &knopf)
{
    for (QPushButton *k : dialog.findChildren<QPushButton *>()) {
        if (k->text() == knopf)
            k->click();
    }
}

// A member with an e-mail address and donations shows the most of the dialog.
QString beispielMitglied()
{
    return Db::wert(QStringLiteral("SELECT min(m.mid) FROM mitglied m JOIN adresse a ON a.art='M' "
                                   "AND a.key=printf('%08i',m.mid) WHERE a.mail<>'' AND m.mid<1000000 "
                                   "AND m.mid IN (SELECT mid FROM spende)"))
        .toString();
}

// A dialog of type D made from `argumente`; `eingabe` typed into its key field.
template <typename D, typename... A>
void aufnehmen(Fotograf &f, const QString &name, const QString &eingabe, A... argumente)
{
    D dialog(argumente...);
    f.aufnehmen(dialog, name, [&] {
        if (!eingabe.isEmpty())
            eingeben(dialog, eingabe);
    });
}

void stammdaten(Fotograf &f)
{
    {
        Gliederung gliederung;
        f.aufnehmen(gliederung, QStringLiteral("gliederungen"), [&] {
            eingeben(gliederung, UtilSelbst());
            gliederung.findChild<QTreeView *>()->expandAll();
        });
    }
    aufnehmen<Kontenplan>(f, QStringLiteral("kontenplan"), QString(), false);
    {
        SpendenParam parameter;
        f.aufnehmen(parameter, QStringLiteral("spendenparameter"), [&] {
            parameter.findChild<QComboBox *>()->setCurrentText(QStringLiteral("Mitgliedsbeitrag"));
            klicken(parameter, QStringLiteral("&Lesen"));
        });
    }
    aufnehmen<Textbaustein>(f, QStringLiteral("textbausteine"), QStringLiteral("RECHM"), false);
    Mitglieder mitglieder(false);
    f.aufnehmen(mitglieder, QStringLiteral("mitglieder"), [&] { eingeben(mitglieder, beispielMitglied()); });
    f.aufnehmen(mitglieder, QStringLiteral("mitglieder-verwaltung"),
                [&] { mitglieder.findChild<QTabWidget *>()->setCurrentIndex(1); });
}

void buchungen(Fotograf &f)
{
    aufnehmen<Journal>(f, QStringLiteral("journal"), QString());
    aufnehmen<Zahlungen>(f, QStringLiteral("bankkasse"), QStringLiteral("1200"));
    aufnehmen<EinzelKto>(f, QStringLiteral("einzelkonten"), QStringLiteral("1200"));
}

// The fee collection in its order: create the run, look through it, send, print, debit.
void beitragseinzug(Fotograf &f)
{
    {
        ZahlungErst erstellen;
        f.aufnehmen(erstellen, QStringLiteral("zahlungen-erstellen"));
        erstellen.show();
        erstellen.pLauf();
    }
    const QString vorkasse =
        Db::wert(QStringLiteral("SELECT min(CAST(mid AS INTEGER)) FROM zahllauf WHERE art='R'")).toString();
    aufnehmen<ZahlungBearb>(f, QStringLiteral("zahlungen-bearbeiten"), vorkasse, QStringLiteral("R"));
    aufnehmen<ZahlungMail>(f, QStringLiteral("zahlungen-emails"), QString());
    aufnehmen<ZahlungBrief>(f, QStringLiteral("zahlungen-briefe"), QString());
    ZahlungDtaus dtaus;
    f.aufnehmen(dtaus, QStringLiteral("zahlungen-dtaus"), [&] { klicken(dtaus, QStringLiteral("&Vorbereiten")); });
}

void druckeUndAustausch(Fotograf &f)
{
    aufnehmen<Zuwenddruck>(f, QStringLiteral("zuwendungsbestaetigungen"), QString(), -1);
    aufnehmen<Kontendruck>(f, QStringLiteral("kontendruck"), QString());
    aufnehmen<JournalExport>(f, QStringLiteral("journalexport"), QString());
    aufnehmen<SpendenExport>(f, QStringLiteral("spendenbuch"), QString());
    aufnehmen<AkkredListe>(f, QStringLiteral("akkreditierungsliste"), QString());
    aufnehmen<MIDImport>(f, QStringLiteral("mitgliederimport"), QString());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vela-bilder"));
    QCoreApplication::setApplicationVersion(VelaVersion());
    QApplication::setStyle(QStringLiteral("Fusion"));
    VelaDeutsch();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Nimmt die Dialoge auf Beispieldaten als PNG-Bilder für das Handbuch auf."));
    parser.addPositionalArgument(QStringLiteral("ORDNER"), QStringLiteral("Der Ordner für die Bilder."));
    if (const auto ende = VelaAufruf(parser, app.arguments(), 1, 1))
        return *ende;

    QTextStream err(stderr);
    const QDir ordner(parser.positionalArguments().first());
    const QTemporaryDir arbeit;
    const QString datei = arbeit.filePath(QStringLiteral("demo.db"));
    if (!ordner.mkpath(QStringLiteral(".")) || !Db::anlegen(datei) || !DemoDaten(1).erzeugen(400, 300)) {
        err << "Die Beispieldaten konnten nicht angelegt werden.\n";
        return 1;
    }
    Db::setOffen(true);
    // Nobody is there to answer: every question is answered with Ok.
    Interaktion::setSkript([](const Interaktion::Anfrage &) {
        Interaktion::Antwort antwort;
        antwort.knopf = QMessageBox::Ok;
        return antwort;
    });

    Fotograf fotograf(ordner);
    stammdaten(fotograf);
    buchungen(fotograf);
    beitragseinzug(fotograf);
    druckeUndAustausch(fotograf);
    if (!fotograf.fehler().isEmpty()) {
        err << "Nicht geschrieben: " << fotograf.fehler().join(QStringLiteral(", ")) << '\n';
        return 1;
    }
    return 0;
}
