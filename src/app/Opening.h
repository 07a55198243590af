#pragma once

#include <string>
#include <vector>

namespace glimpa {

class AppContext;

/// Opens what the user handed the program from outside (the command line, a
/// file manager's "Open With", files dropped on a window): each picture file,
/// and the pictures of each folder in the file list's order, go to the front
/// of the lineup in the order given; one already in the lineup stays where it
/// is. The first of them is shown. Files that are not pictures and pictures
/// that found no room are each told once.
void OpenPictures(AppContext& app, const std::vector<std::string>& paths);

}  // namespace glimpa
