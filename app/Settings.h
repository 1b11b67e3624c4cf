#pragma once

class QAction;
class QComboBox;
class QDialog;
class QWidget;

// The program's settings: the country telephone numbers without a country code are dialled in. "Settings..." in the
// windows' context menus shows them; the import preview asks for the country where the locale names none.
namespace Settings {

// A closed list of the countries, by name, each with its code as data, on the one in effect. Where none is known (a
// locale that names no country), a first item asks for one, with "ZZ" as its code.
QComboBox* regionChooser(QWidget* parent);
// The settings' dialog over `parent`, not yet shown; OK saves them for this run and the next ones.
QDialog* dialog(QWidget* parent);
// Shows the settings' dialog over `parent` until it is answered.
void show(QWidget* parent);
// The menu entry, owned by `window`, opening the settings over it.
QAction* action(QWidget* window);

} // namespace Settings
