// The Transform submenu and "Fix all roads and rivers" of the Edit menu.
#include "ui/TransformMenu.h"

#include "session/ClipboardModel.h"
#include "session/RefusalWords.h"
#include "ui/EditorContext.h"
#include "ui/MenuCommand.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include <array>
#include <tuple>
#include <utility>

namespace {

// Runs a transform of the level, the selection or the copied cells and says
// what came of it.
void runTransform(EditorContext &context, const TransformMenuHooks &hooks, Transform transform,
                  TransformTarget::Kind kind)
{
    const TransformTarget target{kind, hooks.selection ? hooks.selection() : QRect()};
    const TransformResult result = context.session.transform(transform, target);
    if (!hooks.note)
        return;
    if (!result.ok())
        hooks.note(transformRefusalWords(context.texts, result.refusal));
    else if (swapsSides(transform) && !result.edgesApplied && kind != TransformTarget::Kind::Clipboard)
        hooks.note(context.texts.msgnoturnrules);
    else
        hooks.note(context.texts.counted(context.texts.msgtransformed, result.changed));
}

}  // namespace

void addTransformMenu(QMenu *edit, QMainWindow &window, EditorContext &context, const TransformMenuHooks &hooks)
{
    const InterfaceTexts &t = context.texts;
    const auto note = [hooks](const QString &text) {
        if (hooks.note)
            hooks.note(text);
    };
    const auto add = [&](QMenu *menu, const QString &objectName, const QString &text, std::function<void()> run) {
        return addMenuCommand(menu, window, objectName, text, hooks.beforeCommand, std::move(run));
    };

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
            add(transforms, QStringLiteral("action%1%2").arg(operations[operation].second, targets[target].second),
                operationTexts[operation],
                [&context, hooks, transform, kind] { runTransform(context, hooks, transform, kind); });
        }
    }
    transforms->addSeparator();
    for (const auto &[half, name, text] : {std::tuple{LevelHalf::Left, "actionMirrorLeftHalf", t.trmirrorleft},
                                           std::tuple{LevelHalf::Right, "actionMirrorRightHalf", t.trmirrorright},
                                           std::tuple{LevelHalf::Top, "actionMirrorTopHalf", t.trmirrortop},
                                           std::tuple{LevelHalf::Bottom, "actionMirrorBottomHalf", t.trmirrorbottom}}) {
        // A structured binding is captured through a copy of its own: not
        // every compiler takes one in a capture list yet.
        add(transforms, QString::fromLatin1(name), text, [&context, note, side = half] {
            note(context.texts.counted(context.texts.msgtransformed, context.session.mirrorHalf(side)));
        });
    }

    QAction *fixPaths = add(edit, QStringLiteral("actionFixPaths"), t.menufixpaths, [&context, note] {
        note(context.texts.counted(context.texts.msgpathsfixed, context.session.fixAllPaths()));
    });

    // Transforms need a map, those of the copied cells some copied cells, and
    // fixing paths the rules.
    const auto enable = [transforms, fixPaths, &session = context.session] {
        transforms->setEnabled(session.document().isLoaded);
        for (QAction *action : transforms->actions())
            if (action->objectName().endsWith(QLatin1String("Clipboard")))
                action->setEnabled(!session.clipboard().isEmpty());
        fixPaths->setEnabled(session.document().isLoaded && session.hasPathRules());
    };
    enable();
    QObject::connect(&context.session, &EditorSession::mapOpened, &window, enable);
    QObject::connect(&context.session.clipboardModel(), &ClipboardModel::changed, &window, enable);
}
