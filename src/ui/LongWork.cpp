// The busy cursor and the delayed progress dialog of long work.
#include "ui/LongWork.h"

#include <QApplication>
#include <QProgressDialog>

#include <memory>

namespace {

// Shown only when the work is still running after this long.
constexpr int DialogDelayMilliseconds = 500;
// The dialog counts in thousandths, so any size of work fits its int range.
constexpr int Steps = 1000;

struct LongWork {
    LongWork(QWidget *window, const QString &label)
        : dialog(label, QString(), 0, Steps, window)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        dialog.setObjectName(QStringLiteral("longWorkDialog"));
        dialog.setWindowModality(Qt::WindowModal);
        dialog.setCancelButton(nullptr);
        dialog.setMinimumDuration(DialogDelayMilliseconds);
        dialog.setAutoClose(false);
        dialog.setAutoReset(false);
        dialog.setValue(0);
    }
    ~LongWork() { QApplication::restoreOverrideCursor(); }

    QProgressDialog dialog;
};

}  // namespace

ProgressCallback longWorkProgress(QWidget *window, const QString &label)
{
    auto work = std::make_shared<LongWork>(window, label);
    return [work](qint64 done, qint64 total) {
        // Setting the value of a modal dialog lets the windows repaint.
        work->dialog.setValue(total > 0 ? int(done * Steps / total) : Steps);
    };
}
