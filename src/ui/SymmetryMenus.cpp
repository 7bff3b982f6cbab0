// The Symmetry submenu of the Edit menu.
#include "ui/SymmetryMenus.h"

#include "ui/DrawGrid.h"
#include "ui/EditorContext.h"
#include "ui/MenuCommand.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>

#include <array>
#include <memory>
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
        return addMenuCommand(menu, m_window, objectName, text, m_hooks.beforeCommand, std::move(run), key);
    }

    // Sets the mode, shows its axes and says so.
    void setMode(SymmetryMode mode) const
    {
        m_context.session.setSymmetry(mode);
        showGuides();
        if (m_hooks.note)
            m_hooks.note(m_context.texts.stsymmetry.arg(modeText(m_context.texts, mode)));
    }

    void showGuides() const
    {
        if (m_hooks.grid)
            m_hooks.grid->setSymmetryGuides(m_context.session.symmetry(), int(m_context.session.document().mapSize));
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

    // A new map, or a new side, moves the axes.
    QObject::connect(&context.session, &EditorSession::mapOpened, &window, [builder] { builder->showGuides(); });
    QObject::connect(&context.session, &EditorSession::mapResized, &window, [builder] { builder->showGuides(); });
}

QString symmetryModeText(const InterfaceTexts &texts, SymmetryMode mode)
{
    return modeText(texts, mode);
}
