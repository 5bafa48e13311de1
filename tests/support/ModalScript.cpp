#include "ModalScript.h"

#include <gtest/gtest.h>

#include <cxxabi.h>
#include <windows.h>

#include <cstdlib>
#include <map>
#include <memory>

namespace {
// The form each watchdog timer guards, by window: the form object may be
// gone by the time the timer fires.
std::map<UINT_PTR, HWND>& Guarded()
{
    static std::map<UINT_PTR, HWND> guarded;
    return guarded;
}
}

std::string ReadableTypeName(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                     std::free);
    return status == 0 && demangled ? demangled.get() : type.name();
}

ModalScript::ModalScript() : previousHook_(TForm::ModalShownHook)
{
    TForm::ModalShownHook = [this](TForm& form) { Shown(form); };
}

ModalScript::~ModalScript()
{
    TForm::ModalShownHook = previousHook_;
    for (UINT_PTR timer : timers_) {
        KillTimer(nullptr, timer);
        Guarded().erase(timer);
    }
    if (!steps_.empty()) {
        std::string expected;
        for (const Step& step : steps_) {
            expected += ' ';
            expected += ReadableTypeName(step.expected);
        }
        ADD_FAILURE() << steps_.size() << " scripted modal form(s) never shown:" << expected;
    }
}

void ModalScript::Cancel(TForm& form, const std::string& why)
{
    ADD_FAILURE() << why << ": " << ReadableTypeName(typeid(form)) << " \"" << form.Caption()
                  << "\"; it is cancelled";
    form.ModalResult = mrCancel;
}

void ModalScript::Shown(TForm& form)
{
    shown_.push_back(form.Caption());
    if (steps_.empty()) {
        Cancel(form, "Unexpected modal form");
        return;
    }
    // Taken off first: the step may open the next (nested) form.
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (!step.matches(form)) {
        std::string why = "Expected a modal ";
        why += ReadableTypeName(step.expected);
        why += ", got another form";
        Cancel(form, why);
        return;
    }
    step.run(form);
    if (form.Modal() && form.ModalResult == mrNone && form.Handle()) {
        const UINT_PTR timer = SetTimer(nullptr, 0, WatchdogMilliseconds, &ModalScript::Watchdog);
        if (timer) {
            Guarded()[timer] = form.Handle();
            timers_.push_back(timer);
        }
    }
}

void CALLBACK ModalScript::Watchdog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    const auto found = Guarded().find(timer);
    if (found == Guarded().end())
        return;
    const HWND window = found->second;
    Guarded().erase(found);
    auto* form = dynamic_cast<TForm*>(TControl::FromHandle(window));
    if (form && form->Modal() && form->ModalResult == mrNone) {
        std::string why = "Modal form still open ";
        why += std::to_string(WatchdogMilliseconds);
        why += " ms after its step";
        Cancel(*form, why);
    }
}
