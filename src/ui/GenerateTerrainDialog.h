// The dialog of "Generate terrain…": the generator's options, each remembered
// in the preferences, with a live preview of the level and the reason when the
// options cannot be met (Generate then stays disabled). Generate makes the
// level on a copy of the current one, with progress and Cancel for a large
// map, and hands it over; the map itself is written by whoever asked, as one
// step (GenerateTerrainEntry.h), so a cancelled dialog or generation leaves it
// as it was.
#pragma once

#include "generate/TerrainGenerator.h"

#include <QDialog>

#include <optional>

class EditorContext;
class Preferences;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;

class GenerateTerrainDialog : public QDialog {
    Q_OBJECT

public:
    // Largest side whose preview is the level itself; a larger level is
    // previewed at this side with the same options.
    static constexpr std::uint32_t FullPreviewSide = 512;

    // rules: the loaded rules file, which gives the pictures; none for plain ones.
    GenerateTerrainDialog(EditorContext &context, Preferences &preferences, const TerrainEdgeRules *rules,
                          QWidget *parent = nullptr);
    ~GenerateTerrainDialog() override;

    // The options as the controls show them (the seed 0 when it cannot be read).
    GenerateOptions options() const;
    void setOptions(const GenerateOptions &options);
    // Why Generate is disabled; empty when it is enabled.
    QString refusal() const;
    // The level Generate made, once the dialog is accepted.
    std::optional<TerrainLayer> takeGenerated() { return std::exchange(m_generated, std::nullopt); }

public Q_SLOTS:
    void accept() override;

private:
    void buildControls();
    void restoreOptions();
    void rememberOptions() const;
    // Redraws the preview soon after a change, once however many came.
    void schedulePreview();
    void drawPreview();
    QString refusalText(const GenerateRefusal &refusal, const GenerateOptions &options) const;
    std::optional<std::uint32_t> seed() const;
    // Generates the level at its own side, with progress and Cancel when it
    // is large; none when cancelled.
    std::optional<GenerateResult> generateLevel(TerrainLayer &layer, const GenerateOptions &options);

    EditorContext &m_context;
    Preferences &m_preferences;
    const TerrainEdgeRules *m_rules;
    QLineEdit *m_seed = nullptr;
    QComboBox *m_symmetry = nullptr;
    QLabel *m_sides = nullptr;
    QComboBox *m_style = nullptr;
    QSpinBox *m_water = nullptr;
    QComboBox *m_mix = nullptr;
    QSpinBox *m_rough = nullptr;
    QSpinBox *m_rivers = nullptr;
    QComboBox *m_roads = nullptr;
    QComboBox *m_level = nullptr;
    QLabel *m_preview = nullptr;
    QLabel *m_reason = nullptr;
    QPushButton *m_generate = nullptr;
    QTimer *m_previewTimer = nullptr;
    std::optional<TerrainLayer> m_generated;
};
