#pragma once
// Named parts of a form. An owner keeps a registry of the components it owns
// so that code and tests can find one by its name ("mSave", "Tree").
// The registry does not own: members of the form hold the objects themselves.

#include <string>
#include <vector>

class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    TComponent* Owner() const { return owner_; }

    // The owned component with this name (case-insensitive), or null.
    TComponent* FindComponent(const std::string& name) const;
    const std::vector<TComponent*>& Components() const { return components_; }

    int Tag = 0;

private:
    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_;
};
