// Seed corpora of the sprite archive and sprite file fuzz targets.
#pragma once

#include <QString>

void writeDefSeeds(const QString &folder);
void writeLodSeeds(const QString &folder);
