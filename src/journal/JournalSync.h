// Making written bytes survive a crash of the system: what differs between
// Windows and the other systems in pushing a file's data to its device, and
// in telling that an open file was deleted.
#pragma once

#include "base/Reason.h"

#include <QFile>
#include <QString>

// Hands what the file holds in Qt's and the system's buffers to the device and
// waits until it is there. Returns the reason of a failure, or none.
Reason syncToDevice(QFile &file);

// True when the open file no longer has a name: deleted, or its folder
// deleted, or another file put in its place.
bool fileWasDeleted(const QFile &file);
