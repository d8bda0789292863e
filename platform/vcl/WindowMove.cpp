#include "platform/vcl/WindowMove.h"

#include "platform/vcl/QtWindowMove.h"

namespace {

TWindowMoveService*& Installed() {
    static TWindowMoveService* service = nullptr;
    return service;
}

}  // namespace

TWindowMoveService* GetWindowMoveService() {
    return Installed() != nullptr ? Installed() : ToolkitWindowMoveService();
}

void SetWindowMoveService(TWindowMoveService* Service) { Installed() = Service; }
