#include "server/core/Client.h"
#include "server/core/Records.h"
#include "server/core/Server.h"
#include "server/features/Features.h"

namespace veltrin::server {

void installAccountFeature(Server& server) {
    HandlerRegistry& r = server.mainChannel();
    r.on(150, [](CommandContext& ctx) {
        const Company& co = ctx.server.config().company;
        Bytes payload;
        VCTools::writeIntMD(payload, co.hostAccountType);
        VCTools::writeIntMD(payload, co.hostAccountValue);
        ctx.client.sendFrame(150, 0, payload);
    });
    r.on(152, [](CommandContext& ctx) {
        Bytes payload;
        makeAccountData(ctx.server, ctx.client).writeToMD(payload);
        ctx.client.sendFrame(152, 0, payload);
    });
}

}  // namespace veltrin::server
