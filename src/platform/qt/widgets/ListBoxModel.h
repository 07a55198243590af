#pragma once

#include <QAbstractListModel>
#include <QFile>

#include "platform/controls/ListBox.h"

namespace glimpa {

/// Presents a list box's rows to a QListView without copying them. Many row
/// changes in a row (adding thousands of files) are folded into one reset.
class ListBoxModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ListBoxModel(ListBox& list, QObject* parent = nullptr)
        : QAbstractListModel(parent), m_list(list), m_rows(list.listCount()) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_rows;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole) {
            return {};
        }
        const std::string* row = m_list.list(index.row());
        return row != nullptr ? QFile::decodeName(QByteArray::fromStdString(*row)) : QString();
    }

    /// The rows changed: the view is brought up to date at once.
    void reload() {
        beginResetModel();
        m_rows = m_list.listCount();
        endResetModel();
    }

private:
    ListBox& m_list;
    int m_rows;
};

}  // namespace glimpa
