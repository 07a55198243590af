#include "platform/qt/widgets/WidestRowDelegate.h"

#include <QFontMetricsF>
#include <array>

namespace glimpa {

namespace {

/// The row whose text is widest. Widths are summed from each character's
/// advance, without shaping the text: a whole list of tens of thousands of
/// rows is measured in a few milliseconds, and kerning does not move a row
/// by more than a pixel or two.
int widestRow(const QAbstractItemModel& model, const QModelIndex& parent, int column,
              const QFontMetricsF& metrics) {
    std::array<qreal, 128> ascii{};
    for (std::size_t c = 0; c < ascii.size(); ++c) {
        ascii[c] = metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }
    int widest = -1;
    qreal widestWidth = -1;
    const int rows = model.rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QString text = model.index(row, column, parent).data(Qt::DisplayRole).toString();
        qreal width = 0;
        for (const QChar c : text) {
            width += c.unicode() < ascii.size() ? ascii[c.unicode()] : metrics.horizontalAdvance(c);
        }
        if (width > widestWidth) {
            widest = row;
            widestWidth = width;
        }
    }
    return widest;
}

}  // namespace

QSize WidestRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const QAbstractItemModel* model = index.model();
    if (model == nullptr) {
        return QStyledItemDelegate::sizeHint(option, index);
    }
    const int widest =
        widestRow(*model, index.parent(), index.column(), QFontMetricsF(option.font));
    return QStyledItemDelegate::sizeHint(option,
                                         model->index(widest, index.column(), index.parent()));
}

}  // namespace glimpa
