#pragma once

#include <QWidget>

namespace glimpa {

class ListBox;
class DriveListBox;
class DirListBox;

// Widgets for the list controls, bound to their models both ways.
QWidget* bindListBox(ListBox& list, QWidget* parent);
QWidget* bindDriveList(DriveListBox& drives, QWidget* parent);
QWidget* bindDirList(DirListBox& folders, QWidget* parent);

}  // namespace glimpa
