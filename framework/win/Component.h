#pragma once
// Named parts of a form. An owner keeps a registry of the components it owns
// so that code and tests can find one by its name ("mSave", "Tree").
// The registry does not own: members of the form hold the objects themselves.
//
// The destroying state: a C++ form frees its members (its controls, menus,
// timers) before its base destructors run, while its window still exists and
// can receive messages (the menu bar taken away resizes the client area,
// freed controls move the focus). An event raised then would run a handler
// whose objects are gone. So a component first enters its destroying state,
// it and everything it owns, before any part of it is freed; from then on it
// raises no event, and its window gets only the default processing.
// Deleting a component (delete, a unique_ptr) does that by itself. A
// component that lives on the stack or as a member enters it in its own
// framework destructor, after the derived parts are gone: forms belong on
// the heap.

#include <new>
#include <string>
#include <vector>

class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    // Puts the component into its destroying state before its destructor
    // starts (see the top of this file).
    static void operator delete(TComponent* component, std::destroying_delete_t);
    // The pair of the allocation below, used when a constructor throws.
    static void operator delete(void* memory);
    static void* operator new(std::size_t size);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    TComponent* Owner() const { return owner_; }
    // The name of the object's own class, without namespaces ("TSaveExt").
    std::string ClassName() const;

    // The owned component with this name (case-insensitive), or null.
    TComponent* FindComponent(const std::string& name) const;
    const std::vector<TComponent*>& Components() const { return components_; }

    // Enters the destroying state, with every owned component; once only.
    void Destroying();
    bool IsDestroying() const { return destroying_; }

    int Tag = 0;

protected:
    // Called once, on entering the destroying state, while the whole object
    // still exists: stop whatever could raise events during the teardown
    // (timers, a menu bar, a notification icon) and pass the state on to the
    // parts the owner registry does not know.
    virtual void DestructionStarted() {}

private:
    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_;
    bool destroying_ = false;
};
