// Pays a member's fee again and again in "Bank/Kasse", through the donation
// dialog and the form's own save, until the count is reached or the process is
// killed. Prints "bereit" once the books are open.
//
//   beitragszahler <database file> <mid> <number of payments>

#include "db.h"
#include "dialogdriver.h"
#include "wmitglied.h"
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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 || !Db::oeffnen(args.at(1)))
        return 2;
    Db::setOffen(true);
    Zahlungen form;
    form.show();
    std::puts("bereit");
    std::fflush(stdout);
    for (int i = args.at(3).toInt(); i > 0; --i)
        zahle(form, args.at(2));
    return 0;
}
