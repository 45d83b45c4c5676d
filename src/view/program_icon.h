#pragma once

#include <QIcon>

// The program's icon: the one the desktop's icon theme holds under the application's id (an
// installed copy puts it there), or else the copies built into the program.
QIcon ProgramIcon();
