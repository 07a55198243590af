#include "app/Main.h"

#include "app/AppContext.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

void Main(AppContext& app) {
    app.AppClosing = false;
    app.frmImageViewer().form().show();
    app.services().help.setHelpFile(app.helpFilePath());
}

}  // namespace glimpa
