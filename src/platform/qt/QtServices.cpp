#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <numeric>

#include "platform/files/Mounts.h"
#include "platform/qt/ArtworkPicture.h"
#include "platform/qt/QtArtwork.h"
#include "platform/qt/widgets/HelpWindow.h"

namespace glimpa {

namespace {

QString fromCarriageReturns(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

/// A message box that cannot be left minimized: it belongs to the whole
/// program rather than to one of its windows, so that it stays above them
/// all, and a window manager that offers to minimize it would minimize it
/// alone, leaving the program waiting for an answer out of sight.
class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void changeEvent(QEvent* event) override {
        QMessageBox::changeEvent(event);
        if (event->type() == QEvent::WindowStateChange && isMinimized()) {
            QTimer::singleShot(0, this, [this] { showNormal(); });
        }
    }
};

}  // namespace

int QtMessageBoxes::present(const std::string& text, int style, const std::string& title) {
    MessageBox box;
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(fromCarriageReturns(text));
    box.setWindowModality(Qt::ApplicationModal);
    switch (style & 0x70) {
        case msgbox::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case msgbox::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case msgbox::Information:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    if ((style & 0x0f) == msgbox::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    if ((style & msgbox::SystemModal) != 0) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return msgbox::Yes;
        case QMessageBox::No:
            return msgbox::No;
        case QMessageBox::Ok:
            return msgbox::Ok;
        default:
            return msgbox::Cancel;
    }
}

void QtMessageBoxes::beep() {
    QApplication::beep();
}

QtMousePointer::~QtMousePointer() {
    setBusy(false);
}

void QtMousePointer::setBusy(bool busy) {
    if (busy == m_busy) {
        return;
    }
    m_busy = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtProcessControl::end() {
    std::fflush(nullptr);
    std::_Exit(0);
}

void QtProcessControl::quit() {
    // Queued, so that a quit asked for before the event loop runs still ends it.
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

QtHelpViewer::QtHelpViewer(MessageBoxes& messages) : m_messages(messages) {}

QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::showHelp(const std::string& topic) {
    const QString path = QFile::decodeName(QByteArray::fromStdString(m_path));
    if (m_path.empty() || !QFileInfo(path).isFile()) {
        m_messages.show("The help file " + m_path + " could not be found.", msgbox::Notice,
                        QGuiApplication::applicationDisplayName().toStdString());
        return;
    }
    if (!m_window) {
        m_window = std::make_unique<HelpWindow>();
    }
    m_window->open(path, QString::fromStdString(topic));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

std::string QtEnvironment::applicationFolder() {
    return QFile::encodeName(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()))
        .toStdString();
}

char QtEnvironment::pathSeparator() {
    return QDir::separator().toLatin1();
}

TwipsRect QtEnvironment::workArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {0, 0, 19200, 10800};
    }
    const QRect area = screen->availableGeometry();
    return {pixelsToTwips(area.x()), pixelsToTwips(area.y()), pixelsToTwips(area.width()),
            pixelsToTwips(area.height())};
}

std::vector<TwipsRect> QtEnvironment::screens() {
    std::vector<TwipsRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<QScreen*> all = QGuiApplication::screens();
    std::stable_partition(all.begin(), all.end(), [primary](QScreen* s) { return s == primary; });
    for (const QScreen* screen : all) {
        const QRect area = screen->availableGeometry();
        areas.push_back({pixelsToTwips(area.x()), pixelsToTwips(area.y()),
                         pixelsToTwips(area.width()), pixelsToTwips(area.height())});
    }
    return areas;
}

std::vector<std::string> QtEnvironment::drives() {
    return mountedDrives();
}

namespace {

// Languages whose collation orders printable ASCII as naturalLess does (no
// letters of their own such as "ch", "aa" or a dotless i among them).
bool collatesAsciiAsUsual(QLocale::Language language) {
    using L = QLocale;
    static constexpr std::array kLanguages = {
        L::English, L::German,     L::French,    L::Italian, L::Spanish, L::Portuguese, L::Dutch,
        L::Polish,  L::Russian,    L::Ukrainian, L::Swedish, L::Finnish, L::Greek,      L::Romanian,
        L::Catalan, L::Indonesian, L::Japanese,  L::Chinese, L::Korean};
    return std::find(kLanguages.begin(), kLanguages.end(), language) != kLanguages.end();
}

}  // namespace

NameSorter QtEnvironment::nameSorter() {
    // The user's collation (LC_COLLATE), as the file dialogs use it. Without
    // one (the C locale) names still sort as people read them, not by their
    // bytes.
    const QLocale collation = QLocale::system().collation();
    return nameSorter(collation.language() == QLocale::C ? QLocale(QLocale::English) : collation);
}

NameSorter QtEnvironment::nameSorter(const QLocale& locale) {
    return [locale](std::vector<std::string>& names) {
        // Most folders hold ASCII names only: ordering them without the
        // collation library keeps its tables (2 MB) out of memory.
        if (collatesAsciiAsUsual(locale.language()) &&
            std::all_of(names.begin(), names.end(),
                        [](const std::string& name) { return isPlainAscii(name); })) {
            sortNaturally(names);
            return;
        }
        QCollator collator(locale);
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        // One sort key per name: comparing keys is far cheaper than comparing
        // names through the collator, for folders of tens of thousands.
        std::vector<QCollatorSortKey> keys;
        keys.reserve(names.size());
        for (const std::string& name : names) {
            keys.push_back(collator.sortKey(QFile::decodeName(QByteArray::fromStdString(name))));
        }
        std::vector<std::size_t> order(names.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const int byKey = keys[a].compare(keys[b]);
            return byKey != 0 ? byKey < 0 : names[a] < names[b];
        });
        std::vector<std::string> sorted;
        sorted.reserve(names.size());
        for (std::size_t index : order) {
            sorted.push_back(std::move(names[index]));
        }
        names = std::move(sorted);
    };
}

Picture QtEnvironment::artwork(const std::string& name) {
    return std::make_shared<ArtworkPicture>(QString::fromStdString(name));
}

}  // namespace glimpa
