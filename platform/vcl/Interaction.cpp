#include "platform/vcl/Interaction.h"

#include "platform/vcl/QtDialogs.h"

namespace {

// The installed replacement (tests), or nullptr for the real dialogs.
TInteractionService* g_installed = nullptr;

}  // namespace

TInteractionService* GetInteractionService() {
    return g_installed != nullptr ? g_installed : QtInteractionService();
}

TInteractionService* DefaultInteractionService() { return QtInteractionService(); }

void SetInteractionService(TInteractionService* Service) { g_installed = Service; }
