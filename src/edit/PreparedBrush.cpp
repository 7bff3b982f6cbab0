// The brush's mirror choice as byte masks.
#include "edit/PreparedBrush.h"

PreparedBrush::PreparedBrush(const BrushSettings &brush)
    : m_brush(brush)
{
    for (int bit = 0; bit < 6; ++bit)
        if (brush.mirrorBits[bit])
            m_mirrorSet |= std::uint8_t(1u << bit);
    // "Set marked" only adds bits; "Set Mirror" makes bits 0..5 exactly the
    // chosen ones. Bits 6 and 7 always stay.
    if (!brush.mirrorSetOnly && brush.mirrorApply)
        m_mirrorKeep = std::uint8_t(~MirrorBit::Editable);
    else if (!brush.mirrorSetOnly)
        m_mirrorSet = 0;
}
