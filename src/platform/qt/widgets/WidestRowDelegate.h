#pragma once

#include <QStyledItemDelegate>

namespace glimpa {

/// Sizes every row of a list as its widest row. A list view with uniform
/// item sizes (the only kind that stays quick with tens of thousands of rows)
/// asks one row for the size of all, the last: a longer row anywhere else
/// would be cut off, with no scroll bar to reach its end.
class WidestRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace glimpa
