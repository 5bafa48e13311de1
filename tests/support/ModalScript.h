#pragma once
// Drives the modal forms a test opens, one step per form, in order. Each
// step names the form class it expects and runs on the form right after it is
// shown: it may set controls, click buttons and set ModalResult. A form of
// another class, or one with no step left, fails the test and is cancelled;
// so is a form a step leaves open for long. A test never hangs on a dialog.
// Nested modal forms take the next step.

#include "Form.h"

#include <deque>
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

class ModalScript {
public:
    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    template <class Form>
    ModalScript& Then(std::function<void(Form&)> step)
    {
        steps_.push_back(Step{typeid(Form), [](TForm& form) { return dynamic_cast<Form*>(&form) != nullptr; },
                              [step = std::move(step)](TForm& form) { step(dynamic_cast<Form&>(form)); }});
        return *this;
    }

    size_t PendingSteps() const { return steps_.size(); }
    // The captions of the modal forms shown so far.
    const std::vector<std::string>& Shown() const { return shown_; }

    // How long a form may stay open after its step ran.
    static constexpr unsigned WatchdogMilliseconds = 10000;

private:
    struct Step {
        const std::type_info& expected;
        std::function<bool(TForm&)> matches;
        std::function<void(TForm&)> run;
    };
    void Shown(TForm& form);
    static void Cancel(TForm& form, const std::string& why);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD);

    std::deque<Step> steps_;
    std::vector<std::string> shown_;
    std::function<void(TForm&)> previousHook_;
    std::vector<UINT_PTR> timers_;
};

// A class name for messages: demangled where the compiler's names are mangled.
std::string ReadableTypeName(const std::type_info& type);
