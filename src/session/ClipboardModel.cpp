// The copied cells and their change notice.
#include "session/ClipboardModel.h"

bool ClipboardModel::copy(const MapDocument &document, int level, const QRect &selection)
{
    if (!m_cells.copy(document, level, selection))
        return false;
    Q_EMIT changed();
    return true;
}

bool ClipboardModel::copy(const MapDocument &document, int level, const RegionSelection &region)
{
    if (!m_cells.copy(document, level, region))
        return false;
    Q_EMIT changed();
    return true;
}

void ClipboardModel::transform(Transform transform)
{
    if (m_cells.isEmpty())
        return;
    m_cells.transform(transform);
    Q_EMIT changed();
}
