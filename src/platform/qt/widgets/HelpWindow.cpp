#include "platform/qt/widgets/HelpWindow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/qt/widgets/AccessibleWindow.h"

namespace glimpa {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent), m_browser(new QTextBrowser(this)) {
    presentAsWindow<HelpWindow>();
    const QString title = QGuiApplication::applicationDisplayName() + QStringLiteral(" Help");
    setWindowTitle(title);
    setAccessibleName(title);
    resize(720, 640);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    m_browser->setOpenExternalLinks(true);
    m_browser->setAccessibleName(QStringLiteral("Help text"));
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, m_browser, &QTextBrowser::home);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
}

void HelpWindow::open(const QString& path, const QString& topic) {
    QUrl place = QUrl::fromLocalFile(path);
    if (!topic.isEmpty()) {
        place.setFragment(topic);
    }
    if (m_browser->source() != place) {
        // The help file is HTML whatever its name says.
        m_browser->setSource(place, QTextDocument::HtmlResource);
    } else {
        m_browser->scrollToAnchor(topic);  // the user may have scrolled away
    }
}

}  // namespace glimpa
