// Edit, Generate terrain….
#include "ui/GenerateTerrainEntry.h"

#include "edit/CellEditor.h"
#include "ui/EditorContext.h"
#include "ui/GenerateTerrainDialog.h"

namespace {

// Writes the generated level over the chosen one as one step of the history,
// with neither symmetry nor the rules: it is symmetric and pieced already.
std::size_t writeLevel(EditorSession &session, int level, const TerrainLayer &generated)
{
    std::size_t changed = 0;
    session.replayStep([&](MapDocument &document, CellEditor &editor) {
        editor.setLevel(level);
        const std::uint32_t side = generated.side();
        for (std::uint32_t row = 0; row < side; ++row)
            changed += editor.replaceCells(0, std::uint16_t(row), std::span(&generated.at(row, 0), side));
        return QString();
    }, StepKind::Generate);
    return changed;
}

}  // namespace

std::optional<std::size_t> generateTerrainFromDialog(QWidget *parent, EditorContext &context,
                                                     Preferences &preferences,
                                                     const std::function<void(int level)> &chooseLevel)
{
    if (!context.session.document().isLoaded)
        return std::nullopt;
    GenerateTerrainDialog dialog(context, preferences, context.session.edgeRules(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const int level = dialog.options().level;
    const std::optional<TerrainLayer> generated = dialog.takeGenerated();
    if (!generated)
        return std::nullopt;
    if (context.session.level() != level)
        chooseLevel(level);
    return writeLevel(context.session, level, *generated);
}
