#include "app/LineupMessages.h"

#include "app/AppContext.h"
#include "platform/services/MessageBoxes.h"

namespace glimpa {

std::string counted(int count, const char* text) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) of a literal
    // added to a temporary string.
    std::string result = "(";
    result += std::to_string(count);
    result += ")";
    result += text;
    return result;
}

void reportLineupFull(AppContext& app, int notAdded) {
    app.services().messages.beep();
    app.MsgBox(counted(notAdded, notAdded == 1
                                     ? "  Image was not added because the Image Lineup is full."
                                     : "  Images were not added because the Image Lineup is full."),
               msgbox::Warning);
}

}  // namespace glimpa
