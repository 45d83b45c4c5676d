#pragma once

#include <QFont>
#include <QString>

// The face name every text of the window asks for, as the settings store it.
QString DefaultFaceName();
// Maps the default face to installed Japanese gothic faces so Japanese renders everywhere.
void RegisterJapaneseFontSubstitutes();
// The default face at `points`.
QFont DefaultFont(int points);
