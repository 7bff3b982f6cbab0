// The cells copied for pasting, kept from map to map, with a notice whenever
// they change, whichever command copied or turned them: Paste is enabled
// from it.
#pragma once

#include "edit/CellClipboard.h"

#include <QObject>
#include <QRect>

class ClipboardModel : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    const CellClipboard &cells() const { return m_cells; }
    bool isEmpty() const { return m_cells.isEmpty(); }

    // Copies the selection of the document's current layer; false, with the
    // cells held unchanged, when it could not.
    bool copy(const MapDocument &document, int level, const QRect &selection);
    // Copies the cells of a region of the current layer.
    bool copy(const MapDocument &document, int level, const RegionSelection &region);
    // Flips or turns the cells held.
    void transform(Transform transform);

Q_SIGNALS:
    void changed();

private:
    CellClipboard m_cells;
};
