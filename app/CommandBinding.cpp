// Menu items, toolbar buttons, popups and a few events name their handlers
// as text; the names are bound here, at run time.
#include "Main.h"

#include "Exceptions.h"
#include "Menus.h"
#include "ToolBar.h"

THandlerResolver TMain::HandlerResolver()
{
    // Items name their handler; the handler itself is looked up when it runs,
    // so handlers can be set after the menus are made.
    return [this](const std::string& name) -> TNotifyEvent {
        if (name.empty())
            return {};
        return [this, name](TComponent* sender) { RunHandler(name, sender); };
    };
}

void TMain::SetHandler(const std::string& name, TNotifyEvent handler) { handlers_[name] = std::move(handler); }

bool TMain::HasHandler(const std::string& name) const
{
    const auto found = handlers_.find(name);
    return found != handlers_.end() && found->second;
}

void TMain::RunHandler(const std::string& name, TComponent* sender)
{
    const auto found = handlers_.find(name);
    if (found != handlers_.end() && found->second) {
        found->second(sender);
        return;
    }
    throw Exception("No handler is registered under the name " + name);
}

void TMain::EnableCommand(const std::string& name, bool enabled)
{
    TComponent* component = FindComponent(name);
    if (auto* item = dynamic_cast<TMenuItem*>(component))
        item->SetEnabled(enabled);
    else if (auto* button = dynamic_cast<TToolButton*>(component))
        button->SetEnabled(enabled);
}
