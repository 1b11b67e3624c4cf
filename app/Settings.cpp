#include "app/Settings.h"

#include "app/ChoiceBox.h"
#include "exchange/PhoneNumbers.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <algorithm>
#include <memory>

QComboBox* Settings::regionChooser(QWidget* parent)
{
    auto* box = new ChoiceBox(parent);
    box->setObjectName(QStringLiteral("cmbRegion"));
    QList<std::pair<QString, QString>> countries;
    for (const QString& code : PhoneNumbers::knownRegions()) {
        const QLocale::Territory territory = QLocale::codeToTerritory(code);
        const QString name = territory == QLocale::AnyTerritory ? code : QLocale::territoryToString(territory);
        countries.append({QStringLiteral("%1 (%2)").arg(name, code), code});
    }
    std::sort(countries.begin(), countries.end(),
              [](const auto& a, const auto& b) { return QString::localeAwareCompare(a.first, b.first) < 0; });
    const QString region = PhoneNumbers::defaultRegion();
    if (region == QLatin1String("ZZ"))
        box->addItem(QCoreApplication::translate("Settings", "Choose the country"), QStringLiteral("ZZ"));
    for (const auto& [name, code] : std::as_const(countries))
        box->addItem(name, code);
    box->setCurrentIndex(std::max(0, box->findData(region)));
    return box;
}

QDialog* Settings::dialog(QWidget* parent)
{
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("Settings"));
    dialog->setWindowTitle(QCoreApplication::translate("Settings", "Settings"));
    auto* form = new QFormLayout(dialog);
    QComboBox* region = regionChooser(dialog);
    form->addRow(QCoreApplication::translate("Settings", "Telephone numbers without a country code are dialled in:"),
                 region);
    auto* note =
        new QLabel(QCoreApplication::translate(
                       "Settings", "Imports read numbers in this country: a number of another country is left out, and "
                                   "an international number of this one is stored as it is dialled here."),
                   dialog);
    note->setWordWrap(true);
    form->addRow(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::accepted, dialog, [region] {
        const QString code = region->currentData().toString();
        if (code != QLatin1String("ZZ"))
            PhoneNumbers::setRegion(code, true);
    });
    return dialog;
}

void Settings::show(QWidget* parent)
{
    const std::unique_ptr<QDialog> shown(dialog(parent));
    shown->exec();
}

QAction* Settings::action(QWidget* window)
{
    auto* settings = new QAction(QCoreApplication::translate("Settings", "Settings..."), window);
    QObject::connect(settings, &QAction::triggered, window, [window] { show(window); });
    return settings;
}
