#include "Component.h"

#include "AnsiStrings.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_)
        owner_->components_.push_back(this);
}

TComponent::~TComponent()
{
    if (owner_)
        std::erase(owner_->components_, this);
    for (TComponent* owned : components_)
        owned->owner_ = nullptr;
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    const auto found = std::find_if(components_.begin(), components_.end(),
                                    [&](const TComponent* component) { return SameText(component->Name(), name); });
    return found == components_.end() ? nullptr : *found;
}
