// The dialog of "Export picture": the cell size (1 to 64 pixels) with the
// picture's size beside it, or, when that picture would be too large, the
// largest cell size that fits; then the file dialog.
#pragma once

#include "session/PictureExport.h"
#include "ui/UserPrompts.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;

class ExportPictureDialog : public QDialog {
    Q_OBJECT

public:
    ExportPictureDialog(const PictureExportTexts &texts, const PromptButtons &buttons, std::uint32_t side,
                        int proposedCellSize, QWidget *parent = nullptr);

    int cellSize() const;

    // The whole question of an export: this dialog, then the file to write
    // through the prompts; nothing when either is cancelled.
    static std::optional<PictureExportAnswer> ask(QWidget *parent, UserPrompts &prompts,
                                                  const PictureExportTexts &texts, const PromptButtons &buttons,
                                                  std::uint32_t side, const PictureExportAnswer &proposal);

private:
    void showPictureSize();

    PictureExportTexts m_texts;
    std::uint32_t m_side;
    QSpinBox *m_cellSize = nullptr;
    QLabel *m_note = nullptr;
    QPushButton *m_ok = nullptr;
};
