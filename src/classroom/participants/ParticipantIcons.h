#pragma once

#include <QPixmap>
#include <QString>

namespace veltrin {

// The pictures of the participant rows under their file names ("mike_granted_16x16.png",
// "motion_hand_32.png", …). They are drawn here rather than shipped as files, so the artwork is
// code that can be reviewed; a name without a picture answers a null pixmap.
QPixmap participantIcon(const QString& name);

}  // namespace veltrin
