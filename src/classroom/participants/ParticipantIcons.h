#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

namespace veltrin {

// The pictures of the participant and chat rows under their file names ("mike_granted_16x16.png",
// "motion_hand_32.png", …). The artwork is code that can be reviewed: the resource generator
// writes these drawings into the icons folder, and the client reads the files from there, so a
// packager may replace them. A missing or unreadable file falls back to the drawing.
QPixmap participantIcon(const QString& name);

// The drawing alone; a name without a drawing answers a null pixmap.
QPixmap drawParticipantIcon(const QString& name);

// Every name that has a drawing.
const QStringList& participantIconNames();

// The marker of private messages and private notes in the chat and notes lists.
inline constexpr char kPrivateMarkerIcon[] = "private_marker_16x16.png";
// The sort button of the participant list.
inline constexpr char kSortButtonIcon[] = "sort_16x16.png";

}  // namespace veltrin
