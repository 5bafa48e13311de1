#include "Component.h"

#include "AnsiStrings.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_)
        owner_->components_.push_back(this);
}

std::string TComponent::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                           std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    if (const size_t scope = name.rfind("::"); scope != std::string::npos)
        name.erase(0, scope + 2);
    return name;
}

TComponent::~TComponent()
{
    if (owner_)
        std::erase(owner_->components_, this);
    for (TComponent* owned : components_)
        owned->owner_ = nullptr;
}

void TComponent::operator delete(TComponent* component, std::destroying_delete_t)
{
    component->Destroying();
    // The most-derived object, which is what was allocated.
    void* whole = dynamic_cast<void*>(component);
    component->~TComponent();
    ::operator delete(whole);
}

void TComponent::operator delete(void* memory) { ::operator delete(memory); }

void* TComponent::operator new(std::size_t size) { return ::operator new(size); }

void TComponent::Destroying()
{
    if (destroying_)
        return;
    destroying_ = true;
    // A copy: stopping a part may free or add components.
    const std::vector<TComponent*> owned = components_;
    for (TComponent* component : owned)
        component->Destroying();
    DestructionStarted();
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    const auto found = std::find_if(components_.begin(), components_.end(),
                                    [&](const TComponent* component) { return SameText(component->Name(), name); });
    return found == components_.end() ? nullptr : *found;
}
