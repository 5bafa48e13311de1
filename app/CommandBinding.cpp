// Menu items, toolbar buttons, popups and a few events name their handlers
// as text; the names are bound here, at run time, and a command whose handler
// is not written yet is shown disabled instead of doing nothing.
#include "Main.h"

#include "Exceptions.h"
#include "HandlersNotBuilt.h"
#include "MainWindowTables.h"
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
    if (!IsHandlerNotBuilt(name))
        throw Exception("No handler is registered under the name " + name);
}

bool TMain::CommandBuilt(const std::string& name) const
{
    // A menu's own handler refreshes it as it drops down; the menu opens
    // with or without it.
    if (const auto* item = dynamic_cast<const TMenuItem*>(FindComponent(name)); item && item->Count() > 0)
        return true;
    const std::string_view handler = CommandHandlerName(name);
    return handler.empty() || HasHandler(std::string(handler));
}

void TMain::EnableCommand(const std::string& name, bool enabled)
{
    enabled = enabled && CommandBuilt(name);
    TComponent* component = FindComponent(name);
    if (auto* item = dynamic_cast<TMenuItem*>(component))
        item->SetEnabled(enabled);
    else if (auto* button = dynamic_cast<TToolButton*>(component))
        button->SetEnabled(enabled);
}

void TMain::DisableCommandsNotBuilt()
{
    for (const auto& items : {MainMenuItems(), PopupMenuItems()}) {
        for (const MenuItemSpec& item : items) {
            if (!CommandBuilt(item.name))
                EnableCommand(item.name, false);
        }
    }
    for (const ToolButtonSpec& button : ToolbarButtons()) {
        if (*button.name && !CommandBuilt(button.name))
            EnableCommand(button.name, false);
    }
}
