#include "app/InstanceRequestHandler.h"

#include <utility>

namespace tilewise {

void InstanceRequestHandler::handle(const InstanceRequest& request, Reply reply) {
    struct Dispatch {
        InstanceRequestHandler& handler;
        Reply& reply;
        void operator()(const ApplyLayoutRequest& r) { handler.applyLayout(r, std::move(reply)); }
        void operator()(const PlaceCellsRequest& r) { handler.placeCells(r, std::move(reply)); }
        void operator()(const ShowGridRequest&) { handler.showGrid(std::move(reply)); }
        void operator()(const ShowPreferencesRequest&) {
            handler.showPreferences(std::move(reply));
        }
    };
    std::visit(Dispatch{*this, reply}, request);
}

}  // namespace tilewise
