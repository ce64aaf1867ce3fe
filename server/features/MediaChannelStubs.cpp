#include "server/core/Client.h"
#include "server/core/Server.h"
#include "server/features/Features.h"
#include "wire/Log.h"

namespace veltrin::server {

void installMediaChannelStubs(Server& server) {
    for (const std::int32_t selector : {251, 252, 253}) {
        server.onSelector(selector, [selector](Server&, Client& client) {
            logf("channel %d not served yet; closing connection %llu", selector,
                 static_cast<unsigned long long>(client.serial()));
            client.close("channel not served");
        });
    }
}

}  // namespace veltrin::server
