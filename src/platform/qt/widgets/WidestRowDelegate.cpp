#include "platform/qt/widgets/WidestRowDelegate.h"

#include <QFontMetricsF>
#include <algorithm>
#include <array>
#include <vector>

namespace glimpa {

namespace {

/// The row whose text is widest. Every row is first measured by the sum of
/// its characters' advances, without shaping the text (tens of thousands of
/// rows take a few milliseconds); the few rows that come close to the widest
/// are then measured as they are drawn, kerning included.
int widestRow(const QAbstractItemModel& model, const QModelIndex& parent, int column,
              const QFontMetricsF& metrics) {
    const auto text = [&](int row) {
        return model.index(row, column, parent).data(Qt::DisplayRole).toString();
    };
    std::array<qreal, 128> ascii{};
    for (std::size_t c = 0; c < ascii.size(); ++c) {
        ascii[c] = metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }
    std::vector<qreal> estimates(static_cast<std::size_t>(model.rowCount(parent)));
    for (std::size_t row = 0; row < estimates.size(); ++row) {
        for (const QChar c : text(static_cast<int>(row))) {
            estimates[row] +=
                c.unicode() < ascii.size() ? ascii[c.unicode()] : metrics.horizontalAdvance(c);
        }
    }
    if (estimates.empty()) {
        return -1;
    }
    // The rows within two characters of the widest estimate, widest first.
    const qreal close =
        *std::max_element(estimates.begin(), estimates.end()) - 2 * metrics.averageCharWidth();
    std::vector<int> candidates;
    for (std::size_t row = 0; row < estimates.size(); ++row) {
        if (estimates[row] >= close) {
            candidates.push_back(static_cast<int>(row));
        }
    }
    constexpr std::size_t kMostMeasured = 64;
    const auto measured = candidates.begin() +
                          static_cast<std::ptrdiff_t>(std::min(candidates.size(), kMostMeasured));
    std::partial_sort(candidates.begin(), measured, candidates.end(), [&](int a, int b) {
        return estimates[static_cast<std::size_t>(a)] > estimates[static_cast<std::size_t>(b)];
    });
    int widest = candidates.front();
    qreal widestWidth = -1;
    for (auto row = candidates.begin(); row != measured; ++row) {
        const qreal width = metrics.horizontalAdvance(text(*row));
        if (width > widestWidth) {
            widest = *row;
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
