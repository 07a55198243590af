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
    /// Shows the file at the section with this anchor, or at its top.
    void open(const QString& path, const QString& topic);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

}  // namespace glimpa
