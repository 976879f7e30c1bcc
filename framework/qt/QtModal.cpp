#include "framework/qt/QtModal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <vector>

namespace {
std::vector<QPointer<QWidget>> g_modal;

// Swallows input bound for a window that a modal window above it blocks; a click there
// brings the modal window forward, as on Windows.
class ModalBlocker : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::Close: break;
        case QEvent::WindowActivate: {
            // A blocked window that the window manager activates hands on to its modal window.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow() && IsBlocked(widget))
                QTimer::singleShot(0, widget, [] {
                    if (QWidget* top = AfxQtActiveOwner()) {
                        top->raise();
                        top->activateWindow();
                    }
                });
            return false;
        }
        default: return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !IsBlocked(widget->window())) return false;
        if (event->type() == QEvent::MouseButtonPress) {
            QWidget* top = g_modal.back();
            top->raise();
            top->activateWindow();
        }
        event->ignore();  // a close that is refused
        return true;
    }

private:
    static bool IsBlocked(QWidget* window) {
        for (size_t i = 0; i + 1 < g_modal.size(); ++i)
            if (g_modal[i] == window) return true;
        return false;
    }
};

void InstallBlocker() {
    static QPointer<ModalBlocker> blocker;
    if (blocker || !qApp) return;
    blocker = new ModalBlocker;
    blocker->setParent(qApp);
    qApp->installEventFilter(blocker);
}
}  // namespace

QWidget* AfxQtActiveOwner() {
    for (auto it = g_modal.rbegin(); it != g_modal.rend(); ++it)
        if (*it) return *it;
    return nullptr;
}

QWidget* AfxQtMainWindow() {
    for (const QPointer<QWidget>& w : g_modal)
        if (w) return w;
    return nullptr;
}

int AfxQtRunModal(QDialog* dialog) {
    InstallBlocker();
    g_modal.emplace_back(dialog);
    QEventLoop loop;
    const auto done = QObject::connect(dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    if (dialog->isVisible()) loop.exec(QEventLoop::DialogExec);
    QObject::disconnect(done);
    g_modal.pop_back();
    if (QWidget* owner = AfxQtActiveOwner()) owner->activateWindow();
    return dialog->result();
}

void AfxQtPlaceBeside(QWidget* window, QWidget* owner, int minWidth) {
    if (!owner) owner = AfxQtMainWindow();
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    QRect frame(QPoint(), window->size().boundedTo(room.size()));
    if (!owner) {
        frame.moveCenter(room.center());
    } else {
        // On the side with more room, narrowed to fit there if it can stay wide enough;
        // else as far to that side as the screen allows, covering as little as it can.
        const QRect o = owner->frameGeometry();
        const int gap = 8;
        const int right = room.right() - o.right() - gap;
        const int left = o.left() - room.left() - gap;
        const int side = std::max(right, left);
        if (side < frame.width()) frame.setWidth(std::max(side, std::min(minWidth, frame.width())));
        if (right >= left)
            frame.moveTopLeft(QPoint(o.right() + gap, o.top()));
        else
            frame.moveTopRight(QPoint(o.left() - gap, o.top()));
    }
    // Never off the screen, so that its caption can be reached.
    frame.moveLeft(std::max(room.left(), std::min(frame.left(), room.right() - frame.width())));
    frame.moveTop(std::max(room.top(), std::min(frame.top(), room.bottom() - frame.height())));
    window->resize(frame.size());
    window->move(frame.topLeft());
}
