#include "platform/qt/widgets/FormWidget.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QSysInfo>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <cmath>
#include <cstdlib>

#include "platform/qt/QtGeometry.h"
#include "platform/qt/QtModality.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/qt/widgets/AccessibleWindow.h"

namespace glimpa {

namespace {

/// The local files and folders a drag carries, as the system names them;
/// empty when it carries anything else.
std::vector<std::string> droppedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        // A file URL may name another machine, whose path here is some other file.
        const QString host = url.host();
        if (!url.isLocalFile() || !(host.isEmpty() || host == QLatin1String("localhost") ||
                                    host == QSysInfo::machineHostName())) {
            return {};
        }
        // The path's bytes as they came: a name that is not UTF-8 stays
        // percent-encoded in the URL and is decoded to its own bytes here.
        paths.push_back(
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
    }
    return paths;
}

/// The window's own scroll bar of this direction (not one of a list's), when
/// it has something to scroll: the picture is larger than its frame.
QScrollBar* scrollBarOf(QWidget* window, Qt::Orientation orientation) {
    const auto insideScrollArea = [window](const QWidget* widget) {
        for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window;
             up = up->parentWidget()) {
            if (qobject_cast<const QAbstractScrollArea*>(up) != nullptr) {
                return true;
            }
        }
        return false;
    };
    for (QScrollBar* bar : window->findChildren<QScrollBar*>()) {
        if (bar->orientation() == orientation && bar->isVisible() && bar->isEnabled() &&
            !bar->invertedAppearance() && bar->minimum() < bar->maximum() &&
            !insideScrollArea(bar)) {
            return bar;
        }
    }
    return nullptr;
}

// How long the window system may take to answer a placement.
constexpr int kSettleMs = 300;

class Applying {
public:
    explicit Applying(bool& flag) : m_flag(flag), m_before(flag) { m_flag = true; }
    ~Applying() { m_flag = m_before; }
    Applying(const Applying&) = delete;
    Applying& operator=(const Applying&) = delete;

private:
    bool& m_flag;
    bool m_before;
};

}  // namespace

FormWidget::FormWidget(Form& form) : QWidget(nullptr), m_form(form) {
    presentAsWindow<FormWidget>();
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAcceptDrops(form.acceptsFiles());
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] { report(); });
    setWindowTitle(QString::fromStdString(form.caption()));
    if (!form.sizable()) {
        // A window of fixed size offers no maximize button that could do nothing.
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowCloseButtonHint);
    }
    applyGeometry();
}

void FormWidget::sync(Aspect aspect) {
    if (m_reporting && aspect == Aspect::Geometry) {
        return;
    }
    {
        const Applying applying(m_applying);
        switch (aspect) {
            case Aspect::Text:
                setWindowTitle(QString::fromStdString(m_form.caption()));
                break;
            case Aspect::Geometry:
                applyGeometry();
                break;
            case Aspect::Visibility:
            case Aspect::Style:
                applyState();
                break;
            case Aspect::Activation:
                if (isVisible()) {
                    raise();
                    activateWindow();
                }
                break;
            default:
                break;
        }
    }
    // Showing a window, or changing its state, may leave it at another size
    // than the model asked for (no window manager to maximize it, a screen too
    // small): the model takes what the window really got.
    if (aspect == Aspect::Visibility || aspect == Aspect::Style) {
        report();
    }
}

void FormWidget::applyGeometry() {
    if (m_form.windowState() != WindowState::Normal) {
        return;
    }
    const Applying applying(m_applying);
    // The window system answers a placement with a train of moves and
    // resizes, some of them stale; what it settles on is the window's place.
    m_settle.start();
    // A window that the program never placed stays where the window system
    // puts it.
    if (m_form.placed()) {
        move(twipsToPixels(m_form.left()), twipsToPixels(m_form.top()));
    }
    const QSize client(twipsToPixels(m_form.clientWidth()), twipsToPixels(m_form.clientHeight()));
    if (m_form.sizable()) {
        // As window systems do, no window is made larger than the desktop:
        // a size from a damaged settings file would take gigabytes to draw.
        QSize bounded = client;
        if (const QScreen* desktop = screen()) {
            bounded = client.boundedTo(desktop->virtualSize() -
                                       QSize(twipsToPixels(m_form.decorationWidth()),
                                             twipsToPixels(m_form.decorationHeight())));
        }
        resize(bounded);
    } else {
        setFixedSize(client);
    }
}

void FormWidget::applyState() {
    const Applying applying(m_applying);
    const bool onTop = m_form.topmost();
    // Wayland ignores stay-on-top requests; a tool window that belongs to the
    // main window still stays above it.
    const bool owned = onTop && m_owner != nullptr &&
                       QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (owned && !windowFlags().testFlag(Qt::Tool)) {
        setWindowFlag(Qt::Tool, true);
        winId();
        if (m_owner->windowHandle() != nullptr) {
            windowHandle()->setTransientParent(m_owner->windowHandle());
        }
    }
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        // Changing the flags hides the window; put it back where it was.
        const bool wasVisible = isVisible();
        const QRect frame = geometry();
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (wasVisible) {
            setGeometry(frame);
            show();
        }
    }
    Qt::WindowStates state = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (m_form.windowState() == WindowState::Maximized) {
        state |= Qt::WindowMaximized;
    } else if (m_form.windowState() == WindowState::Minimized) {
        state |= Qt::WindowMinimized;
    }
    if (state != windowState()) {
        if (state.testFlag(Qt::WindowMaximized) && !windowManagerRuns() && screen() != nullptr) {
            // Without a window manager to maximize it the window still fills
            // the screen.
            setGeometry(screen()->availableGeometry());
        } else if (state.testFlag(Qt::WindowMaximized) &&
                   !windowState().testFlag(Qt::WindowMaximized)) {
            // The size the window has when the window manager maximizes it
            // is the size it is restored to.
            const TwipsRect normal = m_form.normalFrame();
            resize(twipsToPixels(normal.width - m_form.decorationWidth()),
                   twipsToPixels(normal.height - m_form.decorationHeight()));
        }
        setWindowState(state);
    }
    if (m_form.visible() != isVisible()) {
        if (m_form.visible()) {
            show();
            raise();
            activateWindow();
        } else {
            hide();
        }
    }
}

void FormWidget::report() {
    if (m_applying || !isVisible()) {
        return;
    }
    const QRect frame = frameGeometry();
    const QSize decoration = frame.size() - size();
    if (m_form.windowState() == WindowState::Normal &&
        decoration != QSize(twipsToPixels(m_form.decorationWidth()),
                            twipsToPixels(m_form.decorationHeight()))) {
        // The window system has put its frame around the window (or none):
        // the window keeps the size and place it was given, frame included.
        m_form.platformDecoration(pixelsToTwips(decoration.width()),
                                  pixelsToTwips(decoration.height()));
        return;
    }
    if (m_settle.isActive()) {
        return;
    }
    // A length the window system did not change keeps its value to the twip,
    // so that what a window saves unchanged is what it restored.
    auto twips = [](int pixels, Twips now) {
        return twipsToPixels(now) == pixels ? now : pixelsToTwips(pixels);
    };
    const TwipsRect reported{twips(frame.x(), m_form.left()), twips(frame.y(), m_form.top()),
                             twips(frame.width(), m_form.width()),
                             twips(frame.height(), m_form.height())};
    {
        // The window is where it is reported to be already: no echo back to it.
        const Applying reporting(m_reporting);
        m_form.platformGeometry(reported, twips(width(), m_form.clientWidth()),
                                twips(height(), m_form.clientHeight()));
    }
    // What the program made of it goes back to the window (a window made
    // smaller than its smallest size gets that size), unless the window
    // system already answered that very request by staying as it is.
    const bool changed = m_form.left() != reported.left || m_form.top() != reported.top ||
                         m_form.width() != reported.width || m_form.height() != reported.height;
    const QSize wanted(twipsToPixels(m_form.clientWidth()), twipsToPixels(m_form.clientHeight()));
    const bool refused = wanted == m_asked.size && size() == m_asked.from;
    if (changed && !refused) {
        m_asked = {wanted, size()};
        applyGeometry();
    }
}

void FormWidget::closeEvent(QCloseEvent* event) {
    if (m_form.requestUnload()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void FormWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    report();
}

void FormWidget::wheelEvent(QWheelEvent* event) {
    // A wheel turned over the picture scrolls it, as its scroll bars do:
    // down and up, or across with Shift or a sideways wheel, or across when
    // the picture is only wider than its frame.
    const QPoint delta = event->angleDelta();
    const bool across =
        std::abs(delta.x()) > std::abs(delta.y()) || event->modifiers().testFlag(Qt::ShiftModifier);
    QScrollBar* bar = scrollBarOf(this, across ? Qt::Horizontal : Qt::Vertical);
    if (bar == nullptr && !across) {
        bar = scrollBarOf(this, Qt::Horizontal);
    }
    if (bar == nullptr) {
        QWidget::wheelEvent(event);
        return;
    }
    // A notch moves as far as the system's wheel lines of arrow clicks; a
    // touchpad's small turns move less.
    const double notches = (std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y()) /
                           static_cast<double>(QWheelEvent::DefaultDeltasPerStep);
    bar->setValue(bar->value() - static_cast<int>(std::lround(notches * bar->singleStep() *
                                                              QApplication::wheelScrollLines())));
    event->accept();
}

void FormWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    report();
}

void FormWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !m_applying) {
        const Qt::WindowStates state = windowState();
        m_form.platformWindowState(state.testFlag(Qt::WindowMinimized)   ? WindowState::Minimized
                                   : state.testFlag(Qt::WindowMaximized) ? WindowState::Maximized
                                                                         : WindowState::Normal);
    } else if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) {
            m_form.platformActivated();
        } else {
            m_form.platformDeactivated();
        }
    }
}

void FormWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedPaths(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void FormWidget::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = droppedPaths(event->mimeData());
    if (paths.empty()) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop has ended, so that a message box about them does
    // not keep the program they were dragged from waiting for its answer;
    // and after any box that opened meanwhile has been answered.
    QTimer::singleShot(0, this, [this, paths] {
        whenNoModalBox(this, [this, paths] { m_form.FilesDropped(paths); });
    });
}

}  // namespace glimpa
