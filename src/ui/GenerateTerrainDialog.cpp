// The Generate terrain dialog.
#include "ui/GenerateTerrainDialog.h"

#include "gfx/OverviewImage.h"
#include "session/Preferences.h"
#include "ui/EditorContext.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>

namespace {

// The preview's picture: the level fitted into this many pixels a side.
constexpr int PreviewPixels = 288;

// A level at least this large is generated on a thread of its own, with
// progress and Cancel; a smaller one takes well under a second.
constexpr std::uint32_t LongWorkSide = 1000;

QString preferenceKey(const char *name)
{
    return QStringLiteral("generate/") + QLatin1String(name);
}

// Fills a combo box with texts whose items carry the option's word (the
// command line's, which the preferences keep too).
void addItems(QComboBox *box, const std::vector<std::pair<QString, QString>> &items)
{
    for (const auto &[text, word] : items)
        box->addItem(QString(text).remove(u'&'), word);
}

// A row whose field is a layout: its label's key moves to the widget given.
void addRowWithBuddy(QFormLayout *form, const QString &text, QLayout *field, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    form->addRow(label, field);
}

void chooseWord(QComboBox *box, const QString &word)
{
    const int index = box->findData(word);
    if (index >= 0)
        box->setCurrentIndex(index);
}

}  // namespace

GenerateTerrainDialog::GenerateTerrainDialog(EditorContext &context, Preferences &preferences,
                                             const TerrainEdgeRules *rules, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_preferences(preferences)
    , m_rules(rules)
{
    setObjectName(QStringLiteral("generateTerrainDialog"));
    setWindowTitle(context.texts.gentitle);
    buildControls();
    restoreOptions();
    drawPreview();
}

GenerateTerrainDialog::~GenerateTerrainDialog() = default;

void GenerateTerrainDialog::buildControls()
{
    const InterfaceTexts &t = m_context.texts;
    auto *form = new QFormLayout;

    m_seed = new QLineEdit;
    m_seed->setObjectName(QStringLiteral("seed"));
    m_seed->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), m_seed));
    auto *newSeed = new QPushButton(t.gennewseed);
    newSeed->setObjectName(QStringLiteral("newSeed"));
    newSeed->setAutoDefault(false);
    auto *copySeed = new QPushButton(t.gencopyseed);
    copySeed->setObjectName(QStringLiteral("copySeed"));
    copySeed->setAutoDefault(false);
    auto *seedRow = new QHBoxLayout;
    seedRow->addWidget(m_seed, 1);
    seedRow->addWidget(newSeed);
    seedRow->addWidget(copySeed);
    addRowWithBuddy(form, t.genseed, seedRow, m_seed);
    connect(newSeed, &QPushButton::clicked, this,
            [this] { m_seed->setText(QString::number(QRandomGenerator::global()->generate())); });
    connect(copySeed, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(m_seed->text()); });

    m_symmetry = new QComboBox;
    m_symmetry->setObjectName(QStringLiteral("symmetry"));
    const QString modeTexts[] = {t.symoff, t.symleftright, t.symtopbottom, t.symfourway,
                                 t.symhalfturn, t.symquarterturn, t.symdiagonal};
    std::vector<std::pair<QString, QString>> modes;
    for (std::size_t i = 0; i < generateSymmetries().size(); ++i)
        modes.emplace_back(modeTexts[i], symmetryName(generateSymmetries()[i]));
    addItems(m_symmetry, modes);
    m_sides = new QLabel;
    auto *symmetryRow = new QHBoxLayout;
    symmetryRow->addWidget(m_symmetry, 1);
    symmetryRow->addWidget(m_sides);
    addRowWithBuddy(form, t.gensymmetry, symmetryRow, m_symmetry);

    m_style = new QComboBox;
    m_style->setObjectName(QStringLiteral("style"));
    addItems(m_style, {{t.stylecontinent, styleName(LandStyle::Continent)}, {t.styleislands, styleName(LandStyle::Islands)},
                       {t.stylelakes, styleName(LandStyle::Lakes)}, {t.stylecoast, styleName(LandStyle::Coast)}});
    form->addRow(t.genstyle, m_style);

    const auto percentBox = [](const char *name, int maximum) {
        auto *box = new QSpinBox;
        box->setObjectName(QLatin1String(name));
        box->setRange(0, maximum);
        box->setSuffix(QStringLiteral(" %"));
        return box;
    };
    m_water = percentBox("water", MaxWaterPercent);
    form->addRow(t.genwater, m_water);

    m_mix = new QComboBox;
    m_mix->setObjectName(QStringLiteral("mix"));
    const QString mixTexts[] = {t.mixtemperate, t.mixnorthern, t.mixdesert, t.mixmarsh, t.mixvolcanic, t.mixunderground};
    std::vector<std::pair<QString, QString>> mixes;
    for (std::size_t i = 0; i < terrainMixes().size(); ++i)
        mixes.emplace_back(mixTexts[i], QLatin1String(terrainMixes()[i].name));
    addItems(m_mix, mixes);
    form->addRow(t.genmix, m_mix);

    m_rough = percentBox("rough", MaxRoughPercent);
    form->addRow(t.genrough, m_rough);

    m_rivers = new QSpinBox;
    m_rivers->setObjectName(QStringLiteral("rivers"));
    m_rivers->setRange(0, MaxRivers);
    form->addRow(t.genrivers, m_rivers);

    m_roads = new QComboBox;
    m_roads->setObjectName(QStringLiteral("roads"));
    addItems(m_roads, {{t.roadsnone, roadPlanName(RoadPlan::None)}, {t.roadsplayers, roadPlanName(RoadPlan::Players)},
                       {t.roadscentre, roadPlanName(RoadPlan::Centre)}});
    form->addRow(t.genroads, m_roads);

    m_level = new QComboBox;
    m_level->setObjectName(QStringLiteral("level"));
    addItems(m_level, {{t.levelsurface, QStringLiteral("0")}, {t.levelunderground, QStringLiteral("1")}});
    form->addRow(t.genlevel, m_level);

    m_preview = new QLabel;
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFixedSize(PreviewPixels, PreviewPixels);
    m_preview->setAlignment(Qt::AlignCenter);
    m_reason = new QLabel;
    m_reason->setObjectName(QStringLiteral("reason"));
    m_reason->setWordWrap(true);
    m_reason->setStyleSheet(QStringLiteral("color: #b00000"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    m_generate = buttons->addButton(t.genbutton, QDialogButtonBox::AcceptRole);
    m_generate->setObjectName(QStringLiteral("generate"));
    // Return always means Generate, and does nothing while it is disabled.
    for (QAbstractButton *button : buttons->buttons())
        if (auto *push = qobject_cast<QPushButton *>(button))
            push->setAutoDefault(false);
    m_generate->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &GenerateTerrainDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GenerateTerrainDialog::reject);

    auto *columns = new QHBoxLayout;
    columns->addLayout(form);
    columns->addWidget(m_preview, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_reason);
    layout->addWidget(buttons);

    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(0);
    connect(m_previewTimer, &QTimer::timeout, this, &GenerateTerrainDialog::drawPreview);
    connect(m_seed, &QLineEdit::textChanged, this, &GenerateTerrainDialog::schedulePreview);
    // A land style brings the water share into the range it allows; a share
    // typed in afterwards outside it is refused with the reason.
    connect(m_style, &QComboBox::currentIndexChanged, this, [this] {
        const PercentRange range = waterRange(options().style);
        m_water->setValue(std::clamp(m_water->value(), range.low, range.high));
    });
    for (QComboBox *box : {m_symmetry, m_style, m_mix, m_roads, m_level})
        connect(box, &QComboBox::currentIndexChanged, this, &GenerateTerrainDialog::schedulePreview);
    for (QSpinBox *box : {m_water, m_rough, m_rivers})
        connect(box, &QSpinBox::valueChanged, this, &GenerateTerrainDialog::schedulePreview);
}

std::optional<std::uint32_t> GenerateTerrainDialog::seed() const
{
    bool ok = false;
    const qulonglong value = m_seed->text().toULongLong(&ok);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return std::uint32_t(value);
}

GenerateOptions GenerateTerrainDialog::options() const
{
    GenerateOptions options;
    options.seed = seed().value_or(0);
    options.symmetry = symmetryFromName(m_symmetry->currentData().toString()).value_or(SymmetryMode::Off);
    options.style = styleFromName(m_style->currentData().toString()).value_or(LandStyle::Continent);
    options.waterPercent = m_water->value();
    options.mix = m_mix->currentIndex();
    options.roughPercent = m_rough->value();
    options.rivers = m_rivers->value();
    options.roads = roadPlanFromName(m_roads->currentData().toString()).value_or(RoadPlan::None);
    options.level = m_level->currentIndex();
    return options;
}

void GenerateTerrainDialog::setOptions(const GenerateOptions &options)
{
    m_seed->setText(QString::number(options.seed));
    chooseWord(m_symmetry, symmetryName(options.symmetry));
    chooseWord(m_style, styleName(options.style));
    m_water->setValue(options.waterPercent);
    m_mix->setCurrentIndex(options.mix);
    m_rough->setValue(options.roughPercent);
    m_rivers->setValue(options.rivers);
    chooseWord(m_roads, roadPlanName(options.roads));
    m_level->setCurrentIndex(options.level);
}

QString GenerateTerrainDialog::refusal() const
{
    return m_generate->isEnabled() ? QString() : m_reason->text();
}

void GenerateTerrainDialog::restoreOptions()
{
    // The last options, or at first a two-sided continent with roads between
    // the sides, and a new seed.
    GenerateOptions initial;
    initial.seed = QRandomGenerator::global()->generate();
    initial.symmetry = SymmetryMode::LeftRight;
    initial.roads = RoadPlan::Players;
    initial.level = m_context.session.level();
    const auto word = [&](const char *name, const QString &value) {
        return m_preferences.dialogChoice(preferenceKey(name), value);
    };
    const auto number = [&](const char *name, int value) {
        bool ok = false;
        const int read = word(name, QString::number(value)).toInt(&ok);
        return ok ? read : value;
    };
    GenerateOptions options;
    const QString seedText = word("seed", QString::number(initial.seed));
    options.seed = std::uint32_t(seedText.toULongLong());
    options.symmetry = symmetryFromName(word("symmetry", symmetryName(initial.symmetry))).value_or(initial.symmetry);
    options.style = styleFromName(word("style", styleName(initial.style))).value_or(initial.style);
    options.waterPercent = std::clamp(number("water", initial.waterPercent), 0, MaxWaterPercent);
    options.mix = mixFromName(word("mix", QLatin1String(terrainMixes()[0].name))).value_or(0);
    options.roughPercent = std::clamp(number("rough", initial.roughPercent), 0, MaxRoughPercent);
    options.rivers = std::clamp(number("rivers", initial.rivers), 0, MaxRivers);
    options.roads = roadPlanFromName(word("roads", roadPlanName(initial.roads))).value_or(initial.roads);
    options.level = initial.level;
    setOptions(options);
    m_seed->setText(seedText);
}

void GenerateTerrainDialog::rememberOptions() const
{
    const GenerateOptions chosen = options();
    const auto remember = [&](const char *name, const QString &value) {
        m_preferences.setDialogChoice(preferenceKey(name), value);
    };
    remember("seed", m_seed->text());
    remember("symmetry", symmetryName(chosen.symmetry));
    remember("style", styleName(chosen.style));
    remember("water", QString::number(chosen.waterPercent));
    remember("mix", QLatin1String(terrainMixes()[std::size_t(chosen.mix)].name));
    remember("rough", QString::number(chosen.roughPercent));
    remember("rivers", QString::number(chosen.rivers));
    remember("roads", roadPlanName(chosen.roads));
}

void GenerateTerrainDialog::schedulePreview()
{
    m_previewTimer->start();
}

QString GenerateTerrainDialog::refusalText(const GenerateRefusal &refusal, const GenerateOptions &options) const
{
    const InterfaceTexts &t = m_context.texts;
    using Cause = GenerateRefusal::Cause;
    switch (refusal.cause) {
    case Cause::NoSuchLevel:
        return t.gennolevel;
    case Cause::TooSmall:
        return t.counted(t.gensmall, MinGenerateSide);
    case Cause::WaterOutOfRange:
    case Cause::OutOfRange: {
        const PercentRange range = waterRange(options.style);
        return t.genwaterrange.arg(m_style->currentText()).arg(range.low).arg(range.high);
    }
    case Cause::OneSide:
        return t.genoneside;
    case Cause::WaterMissed:
        return t.genwatermissed.arg(WaterTolerance);
    case Cause::NoFittingPicture:
        return t.genrules;
    }
    return {};
}

void GenerateTerrainDialog::drawPreview()
{
    const GenerateOptions chosen = options();
    const MapDocument &document = m_context.session.document();
    const std::uint32_t side = document.mapSize;
    m_sides->setText(m_context.texts.counted(m_context.texts.gensides, sideCount(chosen.symmetry)));
    QString reason;
    if (!seed())
        reason = m_context.texts.genbadseed;
    else if (const auto refusal = checkGenerateOptions(chosen, side, document.levelCount()))
        reason = refusalText(*refusal, chosen);
    const std::uint32_t previewSide = std::min(side, FullPreviewSide);
    if (reason.isEmpty() && previewSide >= MinGenerateSide) {
        // The preview of the chosen level, its other bits as the map has them.
        const TerrainLayer &current = document.layer(chosen.level);
        TerrainLayer preview = previewSide == side ? current : TerrainLayer(previewSide);
        const GenerateResult result = generateTerrain(preview, chosen, m_rules);
        if (result.refusal) {
            // Only the level itself decides a share it misses.
            if (previewSide == side)
                reason = refusalText(*result.refusal, chosen);
        } else {
            const QImage picture = renderOverview(preview, previewSide,
                                                  overviewScale(previewSide, QSize(PreviewPixels, PreviewPixels)));
            m_preview->setPixmap(QPixmap::fromImage(picture));
        }
    }
    if (!reason.isEmpty())
        m_preview->clear();
    m_reason->setText(reason);
    m_generate->setEnabled(reason.isEmpty());
}

std::optional<GenerateResult> GenerateTerrainDialog::generateLevel(TerrainLayer &layer, const GenerateOptions &options)
{
    const TerrainEdgeRules *rules = m_rules;
    if (layer.side() < LongWorkSide)
        return generateTerrain(layer, options, rules);
    // A large level: on a thread of its own, the progress dialog following it.
    QProgressDialog progress(m_context.texts.genprogress, m_context.texts.dlgcancel, 0, 1000, this);
    progress.setObjectName(QStringLiteral("generateProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    std::atomic<bool> cancelled{false};
    std::atomic<int> permille{0};
    GenerateResult result;
    GenerateControl control;
    control.progress = [&](qint64 done, qint64 total) { permille = int(done * 1000 / std::max<qint64>(1, total)); };
    control.cancelled = [&] { return cancelled.load(); };
    QThread *worker = QThread::create([&] { result = generateTerrain(layer, options, rules, control); });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    connect(&progress, &QProgressDialog::canceled, &loop, [&] { cancelled = true; });
    QTimer follow;
    connect(&follow, &QTimer::timeout, &progress, [&] { progress.setValue(permille); });
    follow.start(50);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    if (result.cancelled)
        return std::nullopt;
    return result;
}

void GenerateTerrainDialog::accept()
{
    drawPreview();
    if (!m_generate->isEnabled())
        return;
    rememberOptions();
    const GenerateOptions chosen = options();
    TerrainLayer layer = m_context.session.document().layer(chosen.level);
    const std::optional<GenerateResult> result = generateLevel(layer, chosen);
    if (!result)
        return;  // cancelled: the dialog stays, the map as it was
    if (result->refusal) {
        m_reason->setText(refusalText(*result->refusal, chosen));
        m_generate->setEnabled(false);
        return;
    }
    m_generated = std::move(layer);
    QDialog::accept();
}
