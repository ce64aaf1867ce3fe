#include "app/core/MenuRules.h"

namespace veltrin {

bool isMenuItemEnabled(int tag, const MenuContext& c) {
    const bool moderator = c.ownUserType > 0;
    if (tag == 0 || tag == 201 || tag == 202 || tag > 1000) return true;
    if (tag >= 203 && tag <= 206) return c.classroomExists;
    if ((tag >= 1 && tag <= 3) || (tag >= 5 && tag <= 8) || tag == 14) return moderator;
    if (tag >= 9 && tag <= 13) return true;
    if (tag == 301 || tag == 304 || tag == 305) return c.liveMode && moderator;
    if (tag == 302) return c.screenShareButtonEnabled && c.roomAllowsAppShare && moderator;
    if (tag == 303) return c.ownWebcamButtonEnabled;
    if (tag >= 501 && tag <= 516) return c.classroomExists;
    if (tag >= 520 && tag <= 522) return moderator;
    if (tag == 701 || tag == 702) return true;
    if (tag >= 703 && tag <= 705) return moderator;
    if (tag == 706) return c.liveMode;
    if (tag == 801) return c.videoAllowed;
    if (tag == 802) return true;
    return false;
}

}  // namespace veltrin
