// The participant and chat row pictures: the client's own drawings, written under the names the
// rows look them up by.

#include "ResourceGenerator.h"
#include "classroom/participants/ParticipantIcons.h"

namespace veltrin::resgen {

namespace {

void generateParticipantIcons(ResourceWriter& writer) {
    for (const QString& name : participantIconNames()) {
        const QPixmap picture = drawParticipantIcon(name);
        if (picture.isNull()) {
            writer.fail(QStringLiteral("no drawing for ") + name);
            continue;
        }
        writer.writeImage(QStringLiteral("icons"), name, picture.toImage());
    }
}

}  // namespace

VELTRIN_RESOURCE_FAMILY("participant-icons", &generateParticipantIcons);

}  // namespace veltrin::resgen
