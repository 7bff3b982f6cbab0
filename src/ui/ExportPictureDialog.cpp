// The export picture dialog.
#include "ui/ExportPictureDialog.h"

#include "gfx/TileSprites.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

ExportPictureDialog::ExportPictureDialog(const PictureExportTexts &texts, const PromptButtons &buttons,
                                         std::uint32_t side, int proposedCellSize, QWidget *parent)
    : QDialog(parent)
    , m_texts(texts)
    , m_side(side)
{
    setObjectName("exportPictureDialog");
    setWindowTitle(texts.title);
    m_cellSize = new QSpinBox(this);
    m_cellSize->setObjectName("exportCellSize");
    m_cellSize->setRange(TileSprites::MinCellSize, TileSprites::MaxCellSize);
    m_cellSize->setValue(std::clamp(proposedCellSize, TileSprites::MinCellSize, TileSprites::MaxCellSize));
    m_note = new QLabel(this);
    m_note->setObjectName("exportNote");
    m_note->setWordWrap(true);

    auto *buttonBox = new QDialogButtonBox(this);
    m_ok = buttonBox->addButton(buttons.ok, QDialogButtonBox::AcceptRole);
    buttonBox->addButton(buttons.cancel, QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QFormLayout(this);
    layout->addRow(texts.cellSize, m_cellSize);
    layout->addRow(m_note);
    layout->addRow(buttonBox);

    connect(m_cellSize, &QSpinBox::valueChanged, this, &ExportPictureDialog::showPictureSize);
    showPictureSize();
}

int ExportPictureDialog::cellSize() const
{
    return m_cellSize->value();
}

void ExportPictureDialog::showPictureSize()
{
    const QString tooLarge = pictureTooLargeText(m_texts, m_side, cellSize());
    const qint64 pixels = qint64(m_side) * cellSize();
    m_note->setText(tooLarge.isEmpty() ? m_texts.pictureSize.arg(pixels).arg(pixels) : tooLarge);
    m_ok->setEnabled(tooLarge.isEmpty());
}

std::optional<PictureExportAnswer> ExportPictureDialog::ask(QWidget *parent, UserPrompts &prompts,
                                                            const PictureExportTexts &texts,
                                                            const PromptButtons &buttons, std::uint32_t side,
                                                            const PictureExportAnswer &proposal)
{
    ExportPictureDialog dialog(texts, buttons, side, proposal.cellSize, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString fileName = prompts.saveFileName(parent, proposal.fileName, texts.filter, QStringLiteral("png"));
    if (fileName.isEmpty())
        return std::nullopt;
    return PictureExportAnswer{fileName, dialog.cellSize()};
}
