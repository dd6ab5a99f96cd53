// Pays a member's fee again and again in "Bank/Kasse", through the donation
// dialog and the form's own save, until the count is reached or the process is
// killed; or imports a member file, printing "gelesen <n>" whenever the number
// of lines read grows; or closes the payment run of the file. Prints "bereit"
// once the books are open.
//
//   beitragszahler <database file> <mid> <number of payments>
//   beitragszahler <database file> import <member file>
//   beitragszahler <database file> abschluss

#include "csvdatei.h"
#include "db.h"
#include "dialogdriver.h"
#include "midimportlauf.h"
#include "wmitglied.h"
#include "zahlabschluss.h"
#include "zahlungen.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include <cstdio>

namespace {

void zahle(Zahlungen &form, const QString &mid)
{
    using DialogTreiber::knopf, DialogTreiber::tippe;
    auto *konto = form.findChild<QWidget *>(QStringLiteral("konto"));
    auto *betrag = form.findChild<QWidget *>(QStringLiteral("betrag"));
    QMetaObject::invokeMethod(konto, "selectAll"), tippe(konto, QStringLiteral("1200"));
    QMetaObject::invokeMethod(betrag, "selectAll"), tippe(betrag, QStringLiteral("36"));
    DialogTreiber::beiModal([mid](QDialog *spende) {
        DialogTreiber::tippeReturn(spende->findChild<WMitglied *>(), mid);
        auto *art = spende->findChild<QComboBox *>();
        art->setCurrentIndex(art->findText(QStringLiteral("Mitgliedsbeitrag")));
        knopf(spende, QStringLiteral("&Speichern"))->click();
    });
    knopf(&form, QStringLiteral("S&penden"))->click();
    knopf(&form, QStringLiteral("&Speichern"))->click();
}

// The import as the dialog runs it, with the file date of today.
int importiere(const QString &datei)
{
    QWidget dialog;
    CSVDatei csv(true, true, &dialog);
    csv.setDateiName(datei);
    MIDImportLauf lauf(csv);
    int gemeldet = 0;
    lauf.setFortschritt([&gemeldet](int gelesen) {
        if (gelesen > gemeldet) {
            gemeldet = gelesen;
            std::printf("gelesen %d\n", gelesen);
            std::fflush(stdout);
        }
        return true;
    });
    return lauf.importieren() == MIDImportLauf::Ergebnis::Fertig ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool abschluss = args.size() == 3 && args.at(2) == QLatin1String("abschluss");
    if ((args.size() != 4 && !abschluss) || !Db::oeffnen(args.at(1)))
        return 2;
    Db::setOffen(true);
    if (abschluss) {
        std::puts("bereit");
        std::fflush(stdout);
        return ZahlungAbschluss().ausfuehren() ? 0 : 1;
    }
    if (args.at(2) == QLatin1String("import")) {
        std::puts("bereit");
        std::fflush(stdout);
        return importiere(args.at(3));
    }
    Zahlungen form;
    form.show();
    std::puts("bereit");
    std::fflush(stdout);
    for (int i = args.at(3).toInt(); i > 0; --i)
        zahle(form, args.at(2));
    return 0;
}
