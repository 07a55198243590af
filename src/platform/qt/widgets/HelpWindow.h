#pragma once

#include <QWidget>

class QTextBrowser;

namespace glimpa {

/// The program's help: an HTML page in a browser with links, Back, Forward
/// and Contents.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void open(const QString& path);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

}  // namespace glimpa
