// The sample folder an installed editor brings along: sample maps, tile
// sprites, rules and settings, in the data folder beside the program's folder
// (the program in /usr/bin, the samples in /usr/share/brackwen).
#pragma once

#include <QString>

// The installed sample folder for a program in programFolder; empty when
// there is none (a program run from its build tree).
QString installedSampleFolder(const QString &programFolder);

// The folder of the installed sample maps, where the open dialog starts when
// the settings name no maps folder; empty when there is none.
QString installedSampleMaps(const QString &programFolder);
