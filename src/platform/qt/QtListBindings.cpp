#include "platform/qt/QtListBindings.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <set>

#include "platform/controls/DirListBox.h"
#include "platform/controls/DriveListBox.h"
#include "platform/controls/ListBox.h"
#include "platform/qt/QtEventHook.h"
#include "platform/qt/QtGeometry.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtModality.h"
#include "platform/qt/widgets/ListBoxModel.h"
#include "platform/qt/widgets/WidestRowDelegate.h"

namespace glimpa {

namespace {

QString fromLocal(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

int mouseButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

/// A drop-down list that reads its entries again when the user opens it.
class DriveComboBox : public QComboBox {
public:
    DriveComboBox(std::function<void()> opening, QWidget* parent)
        : QComboBox(parent), m_opening(std::move(opening)) {}
    void showPopup() override {
        m_opening();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_opening;
};

/// A list view that tells when the focus is arriving. Qt makes the first row
/// current when the keyboard (or an activated window) brings the focus to a
/// list without a current row: the focus is then on that row, but the user
/// chose nothing.
class ListView : public QListView {
public:
    using QListView::QListView;
    bool takingFocus() const { return m_takingFocus; }

protected:
    // A list of one column moves with every arrow key: Left and Right move
    // as Up and Down do.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action == MoveLeft) {
            action = MoveUp;
        } else if (action == MoveRight) {
            action = MoveDown;
        }
        return QListView::moveCursor(action, modifiers);
    }
    void focusInEvent(QFocusEvent* event) override {
        m_takingFocus = true;
        QListView::focusInEvent(event);
        m_takingFocus = false;
    }

private:
    bool m_takingFocus = false;
};

/// Keeps a list view in step with its list box. Row changes are folded into
/// one reload at the next turn of the event loop, or sooner when the
/// selection must be shown.
class ListBinding : public QObject {
public:
    ListBinding(ListBox& list, ListView* view)
        : QObject(view), m_list(list), m_view(view), m_model(new ListBoxModel(list, view)) {
        view->setModel(m_model);
    }

    void rowsChanged() {
        if (!m_reloadPending) {
            m_reloadPending = true;
            QTimer::singleShot(0, this, [this] { reloadIfPending(); });
        }
    }

    void showSelection() {
        // What the user selected in the view is shown there already.
        if (m_reporting) {
            m_reporting = false;
            return;
        }
        reloadIfPending();
        QItemSelectionModel* selection = m_view->selectionModel();
        const QSignalBlocker blocker(selection);
        const QModelIndex current = m_model->index(m_list.listIndex(), 0);
        if (m_list.selectionMode() == SelectionMode::Single) {
            selection->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
        } else {
            selection->select(selectedRanges(), QItemSelectionModel::ClearAndSelect);
            selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        }
        // A row chosen by the program is brought into view, as one chosen by the user is.
        if (current.isValid()) {
            m_view->scrollTo(current);
        }
        m_view->viewport()->update();
    }

    /// The user moved the current row or changed the selection.
    void userChangedSelection() {
        if (m_reloadPending) {
            return;
        }
        if (blockedByModalBox(m_view)) {
            showSelection();
            return;
        }
        const int current = m_view->selectionModel()->currentIndex().row();
        if (m_view->takingFocus()) {
            m_list.platformFocusRow(current);
            return;
        }
        if (m_list.selectionMode() == SelectionMode::Single) {
            m_list.platformSetCurrent(current, true, shiftState(QApplication::keyboardModifiers()));
            return;
        }
        // One click changes both the selection and the current row: report once.
        if (!m_clickPending) {
            m_clickPending = true;
            QTimer::singleShot(0, this, [this] {
                m_clickPending = false;
                reportExtendedSelection();
            });
        }
    }

private:
    void reloadIfPending() {
        if (m_reloadPending) {
            m_reloadPending = false;
            m_model->reload();
            showSelection();
        }
    }

    /// The list's selected rows as runs of neighbouring rows: selecting all of
    /// a large folder is one range, not one range per row.
    QItemSelection selectedRanges() const {
        QItemSelection ranges;
        const int count = m_list.listCount();
        for (int first = 0; first < count; ++first) {
            if (!m_list.selected(first)) {
                continue;
            }
            int last = first;
            while (last + 1 < count && m_list.selected(last + 1)) {
                ++last;
            }
            ranges.append(QItemSelectionRange(m_model->index(first, 0), m_model->index(last, 0)));
            first = last;
        }
        return ranges;
    }

    void reportExtendedSelection() {
        if (m_reloadPending || m_model->rowCount() != m_list.listCount()) {
            return;
        }
        QItemSelectionModel* selection = m_view->selectionModel();
        std::deque<bool> selected(static_cast<std::size_t>(m_list.listCount()), false);
        for (const QItemSelectionRange& range : selection->selection()) {
            const int last = std::min(range.bottom(), m_list.listCount() - 1);
            for (int row = std::max(range.top(), 0); row <= last; ++row) {
                selected[static_cast<std::size_t>(row)] = true;
            }
        }
        m_reporting = true;
        m_list.platformSetSelection(selection->currentIndex().row(), selected);
        m_reporting = false;
    }

    ListBox& m_list;
    ListView* m_view;
    ListBoxModel* m_model;
    bool m_reloadPending = false;
    bool m_clickPending = false;
    bool m_reporting = false;
};

}  // namespace

QWidget* bindListBox(ListBox& list, QWidget* parent) {
    auto* view = new ListView(parent);
    auto* binding = new ListBinding(list, view);
    view->setUniformItemSizes(true);
    view->setItemDelegate(new WidestRowDelegate(view));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(list.selectionMode() == SelectionMode::Single
                               ? QAbstractItemView::SingleSelection
                               : QAbstractItemView::ExtendedSelection);
    list.observe([binding = QPointer<ListBinding>(binding)](Aspect aspect) {
        if (binding.isNull()) {
            return;
        }
        if (aspect == Aspect::Items) {
            binding->rowsChanged();
        } else if (aspect == Aspect::Selection) {
            binding->showSelection();
        }
    });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, binding,
                     [binding] { binding->userChangedSelection(); });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, binding,
                     [binding] { binding->userChangedSelection(); });
    new EventHook(view->viewport(), [&list](QEvent* event) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            list.platformMouseUp(mouseButton(mouse->button()), shiftState(mouse->modifiers()),
                                 pixelsToTwips(mouse->position().x()),
                                 pixelsToTwips(mouse->position().y()));
        }
        return false;
    });
    // A release counts only when this list had the key's press: a message
    // box closed by the press of Enter leaves its release to the list below.
    new EventHook(view, [&list, pressed = std::set<int>()](QEvent* event) mutable {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) {
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            pressed.insert(key->key());
        } else if (pressed.erase(key->key()) != 0) {
            list.platformKeyUp(keyCode(key->key()), shiftState(key->modifiers()));
        }
        return false;
    });
    binding->showSelection();
    return view;
}

QWidget* bindDriveList(DriveListBox& drives, QWidget* parent) {
    auto* box = new DriveComboBox([&drives] { drives.platformOpenList(); }, parent);
    auto sync = [&drives, box = QPointer<QComboBox>(box)](Aspect aspect) {
        if (box.isNull() || (aspect != Aspect::Value && aspect != Aspect::Items)) {
            return;
        }
        const QSignalBlocker blocker(box);
        if (aspect == Aspect::Items) {
            box->clear();
            for (const std::string& drive : drives.drives()) {
                box->addItem(fromLocal(drive), QByteArray::fromStdString(drive));
            }
        }
        box->setCurrentIndex(box->findData(QByteArray::fromStdString(drives.drive())));
    };
    sync(Aspect::Items);
    drives.observe(sync);
    QObject::connect(box, &QComboBox::activated, box, [&drives, box](int index) {
        if (blockedByModalBox(box) ||
            !drives.setDrive(box->itemData(index).toByteArray().toStdString())) {
            const QSignalBlocker blocker(box);
            box->setCurrentIndex(box->findData(QByteArray::fromStdString(drives.drive())));
        }
    });
    return box;
}

QWidget* bindDirList(DirListBox& folders, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setUniformItemSizes(true);
    list->setItemDelegate(new WidestRowDelegate(list));
    auto sync = [&folders, list = QPointer<QListWidget>(list)](Aspect aspect) {
        if (list.isNull() || aspect != Aspect::Items) {
            return;
        }
        const QSignalBlocker blocker(list);
        list->clear();
        // One icon shared by every row: the style makes a new one, with its
        // own pixmaps, each time it is asked.
        const QIcon folderIcon = list->style()->standardIcon(QStyle::SP_DirIcon);
        for (const DirListBox::Entry& entry : folders.entries()) {
            auto* item = new QListWidgetItem(QString(entry.depth * 2, QLatin1Char(' ')) +
                                             fromLocal(entry.label));
            item->setToolTip(fromLocal(entry.path));
            item->setIcon(folderIcon);
            list->addItem(item);
        }
        list->setCurrentRow(folders.listIndex());
        list->scrollToItem(list->currentItem());
    };
    sync(Aspect::Items);
    folders.observe(sync);
    // The path shows from the drive down as far as the view holds it, with
    // the folder itself in view. The list is filled before it has its size,
    // so this is done again when it is shown.
    new EventHook(list, [list](QEvent* event) {
        if (event->type() == QEvent::Show) {
            list->scrollToTop();
            list->scrollToItem(list->currentItem());
        }
        return false;
    });
    // Opening a folder: a double-click or Enter; the list then rebuilds, so
    // the change is made after the view has finished with its event.
    auto open = [&folders, list](int row) {
        QTimer::singleShot(0, list, [&folders, row] { folders.platformOpen(row); });
    };
    QObject::connect(list, &QListWidget::itemActivated, list, [list, open](QListWidgetItem* item) {
        if (!blockedByModalBox(list)) {
            open(list->row(item));
        }
    });
    return list;
}

}  // namespace glimpa
