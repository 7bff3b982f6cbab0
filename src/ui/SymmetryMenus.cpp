// The symmetry and transform entries of the Edit menu.
#include "ui/SymmetryMenus.h"

#include "session/RefusalWords.h"
#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>

#include <array>
#include <memory>
#include <tuple>
#include <utility>

namespace {

// The order of the submenu and of the Next symmetry cycle. The object names
// number the entries in this order, the quarter turn last so that the names of
// the entries before it stay as they were.
constexpr std::array<SymmetryMode, 7> Modes = {SymmetryMode::Off,      SymmetryMode::LeftRight,
                                               SymmetryMode::TopBottom, SymmetryMode::FourWay,
                                               SymmetryMode::HalfTurn, SymmetryMode::QuarterTurn,
                                               SymmetryMode::Diagonal};
constexpr std::array<int, 7> ObjectNumbers = {0, 1, 2, 3, 4, 6, 5};

QString modeText(const InterfaceTexts &t, SymmetryMode mode)
{
    switch (mode) {
    case SymmetryMode::Off: return t.symoff;
    case SymmetryMode::LeftRight: return t.symleftright;
    case SymmetryMode::TopBottom: return t.symtopbottom;
    case SymmetryMode::FourWay: return t.symfourway;
    case SymmetryMode::HalfTurn: return t.symhalfturn;
    case SymmetryMode::QuarterTurn: return t.symquarterturn;
    case SymmetryMode::Diagonal: return t.symdiagonal;
    }
    return {};
}

// The entries' common work: actions of the window that end the gesture first.
class MenuBuilder {
public:
    MenuBuilder(QMainWindow &window, EditorContext &context, const SymmetryMenuHooks &hooks)
        : m_window(window)
        , m_context(context)
        , m_hooks(hooks)
    {
    }

    QAction *add(QMenu *menu, const QString &objectName, const QString &text, std::function<void()> run,
                 const QKeySequence &key = {})
    {
        auto *action = new QAction(text, &m_window);
        action->setObjectName(objectName);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(action, &QAction::triggered, &m_window, [hooks = m_hooks, run = std::move(run)] {
            if (hooks.beforeCommand)
                hooks.beforeCommand();
            run();
        });
        menu->addAction(action);
        m_window.addAction(action);
        return action;
    }

    void note(const QString &text) const
    {
        if (m_hooks.note)
            m_hooks.note(text);
    }

    // Sets the mode, shows its axes and says so.
    void setMode(SymmetryMode mode) const
    {
        m_context.session.setSymmetry(mode);
        showGuides();
        note(m_context.texts.stsymmetry.arg(modeText(m_context.texts, mode)));
    }

    void showGuides() const
    {
        if (m_hooks.grid)
            m_hooks.grid->setSymmetryGuides(m_context.session.symmetry(), int(m_context.session.document().mapSize));
    }

    void transform(Transform transform, TransformTarget::Kind kind) const
    {
        const TransformTarget target{kind, m_hooks.selection ? m_hooks.selection() : QRect()};
        const TransformResult result = m_context.session.transform(transform, target);
        if (!result.ok())
            note(transformRefusalWords(m_context.texts, result.refusal));
        else if (swapsSides(transform) && !result.edgesApplied && kind != TransformTarget::Kind::Clipboard)
            note(m_context.texts.msgnoturnrules);
        else
            note(m_context.texts.counted(m_context.texts.msgtransformed, result.changed));
    }

    EditorContext &context() const { return m_context; }

private:
    QMainWindow &m_window;
    EditorContext &m_context;
    SymmetryMenuHooks m_hooks;
};

}  // namespace

void addSymmetryMenus(QMenu *edit, QMainWindow &window, EditorContext &context, const SymmetryMenuHooks &hooks)
{
    const InterfaceTexts &t = context.texts;
    // The builder lives as long as the actions that call it.
    auto builder = std::make_shared<MenuBuilder>(window, context, hooks);

    QMenu *symmetry = edit->addMenu(t.menusymmetry);
    symmetry->setObjectName(QStringLiteral("menuSymmetry"));
    auto *modes = new QActionGroup(symmetry);
    std::array<QAction *, Modes.size()> modeActions{};
    for (std::size_t index = 0; index < Modes.size(); ++index) {
        const SymmetryMode mode = Modes[index];
        QAction *action = builder->add(symmetry, QStringLiteral("actionSymmetry%1").arg(ObjectNumbers[index]), modeText(t, mode),
                                       [builder, mode] { builder->setMode(mode); });
        action->setCheckable(true);
        action->setChecked(mode == context.session.symmetry());
        modes->addAction(action);
        modeActions[index] = action;
    }
    symmetry->addSeparator();
    builder->add(symmetry, QStringLiteral("actionNextSymmetry"), t.menunextsymmetry, [builder, modeActions] {
        const SymmetryMode now = builder->context().session.symmetry();
        std::size_t index = 0;
        while (Modes[index] != now)
            ++index;
        const std::size_t next = (index + 1) % Modes.size();
        modeActions[next]->setChecked(true);
        builder->setMode(Modes[next]);
    }, QKeySequence(Qt::CTRL | Qt::Key_M));

    QMenu *transforms = edit->addMenu(t.menutransform);
    transforms->setObjectName(QStringLiteral("menuTransform"));
    const std::array<std::pair<TransformTarget::Kind, QString>, 3> targets = {
        std::pair{TransformTarget::Kind::Level, QStringLiteral("Level")},
        std::pair{TransformTarget::Kind::Selection, QStringLiteral("Selection")},
        std::pair{TransformTarget::Kind::Clipboard, QStringLiteral("Clipboard")}};
    const std::array<std::pair<Transform, QString>, 5> operations = {
        std::pair{Transform::FlipHorizontal, QStringLiteral("FlipLeftRight")},
        std::pair{Transform::FlipVertical, QStringLiteral("FlipTopBottom")},
        std::pair{Transform::Turn90, QStringLiteral("Turn90")},
        std::pair{Transform::Turn180, QStringLiteral("Turn180")},
        std::pair{Transform::Turn270, QStringLiteral("Turn270")}};
    const std::array<QString, 5> operationTexts = {t.trfliph, t.trflipv, t.trturn90, t.trturn180, t.trturn270};
    const std::array<QString, 3> targetTexts = {t.trlevel, t.trselection, t.trclipboard};
    for (std::size_t target = 0; target < targets.size(); ++target) {
        const TransformTarget::Kind kind = targets[target].first;
        transforms->addSection(targetTexts[target]);
        for (std::size_t operation = 0; operation < operations.size(); ++operation) {
            const Transform transform = operations[operation].first;
            builder->add(transforms,
                         QStringLiteral("action%1%2").arg(operations[operation].second, targets[target].second),
                         operationTexts[operation], [builder, transform, kind] { builder->transform(transform, kind); });
        }
    }
    transforms->addSeparator();
    for (const auto &[half, name, text] : {std::tuple{LevelHalf::Left, "actionMirrorLeftHalf", t.trmirrorleft},
                                           std::tuple{LevelHalf::Top, "actionMirrorTopHalf", t.trmirrortop}}) {
        // A structured binding is captured through a copy of its own: not
        // every compiler takes one in a capture list yet.
        builder->add(transforms, QString::fromLatin1(name), text, [builder, side = half] {
            const std::size_t changed = builder->context().session.mirrorHalf(side);
            const InterfaceTexts &texts = builder->context().texts;
            builder->note(texts.counted(texts.msgtransformed, changed));
        });
    }

    QAction *fixPaths = builder->add(edit, QStringLiteral("actionFixPaths"), t.menufixpaths, [builder] {
        const InterfaceTexts &texts = builder->context().texts;
        builder->note(texts.counted(texts.msgpathsfixed, builder->context().session.fixAllPaths()));
    });

    // Transforms need a map, and fixing paths their rules too.
    const auto enable = [transforms, fixPaths, &session = context.session] {
        transforms->setEnabled(session.document().isLoaded);
        fixPaths->setEnabled(session.document().isLoaded && session.hasPathRules());
    };
    enable();
    // A new map, or a new side, moves the axes.
    QObject::connect(&context.session, &EditorSession::mapOpened, &window, [builder, enable] {
        builder->showGuides();
        enable();
    });
    QObject::connect(&context.session, &EditorSession::mapResized, &window, [builder] { builder->showGuides(); });
}

QString symmetryModeText(const InterfaceTexts &texts, SymmetryMode mode)
{
    return modeText(texts, mode);
}
