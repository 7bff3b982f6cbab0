// Long work made visible: a busy cursor at once, and a progress dialog when
// the work lasts longer than about half a second. The window repaints while
// the dialog follows the work; the work cannot be cancelled half-way.
#pragma once

#include "map/ProgressMeter.h"

#include <QString>

class QWidget;

// A progress callback for one piece of long work under a window: the busy
// cursor and the dialog go away when the last copy of the callback does.
ProgressCallback longWorkProgress(QWidget *window, const QString &label);
