#pragma once
// The real main window for the benchmarks that time it, started as "Quillo /m"
// with settings of the benchmarks' own: no outline, no help, no notification
// icon. A message box is printed and answered, never waited for: nobody
// watches a benchmark.

#include "Application.h"
#include "BenchReport.h"
#include "CommandLine.h"
#include "KbfFormat.h"
#include "Main.h"
#include "SettingsRecords.h"
#include "SettingsRegistry.h"
#include "SettingsRoot.h"
#include "Streams.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

inline const std::string BenchSettingsParent = "Software\\Corvane\\QuilloBench";

inline void StartBenchWindow()
{
    SetSettingsRoot(BenchSettingsParent + "\\1");
    SetCommandLineArguments(std::vector<std::string>{"/m"});
    OptionSettings.Traybar = 1;
    OptionSettings.FirstUse = false;
    Application.SetMessageBoxHandler([](const MessageBoxRequest& request) {
        std::printf("  message box: %s\n", request.text.c_str());
        return IDCANCEL;
    });
    Application.Initialize();
    Application.CreateForm<TMain>();
}

// Starts the window on settings left by no earlier run and puts it on
// screen, as the benchmarks that time what a user sees need it.
inline void StartShownBenchWindow()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, BenchSettingsParent.c_str());
    StartBenchWindow();
    ShowWindow(Main->Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Main->Handle());
    Application.ProcessMessages();
}

// A file of the given name in the temporary folder.
inline std::string BenchTempPath(const std::string& name)
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

// Frees the window and takes the benchmarks' settings away again.
inline void EndBenchWindow()
{
    Application.DestroyForms();
    SettingsRegistry().CloseKey();
    RegDeleteTreeA(HKEY_CURRENT_USER, BenchSettingsParent.c_str());
}

// Writes the outline as a ".kbf" file; the result is the file's size.
inline std::size_t WriteBenchOutline(const std::string& path, KbfOutline& outline)
{
    TStringStream bytes;
    WriteKbf(bytes, outline, KbfStamp{"1 January 2026 12:00", "Bench"});
    TFileStream file(path, fmCreate | fmShareExclusive);
    file.WriteBuffer(bytes.DataString().data(), static_cast<std::int64_t>(bytes.DataString().size()));
    return bytes.DataString().size();
}

// The process's private bytes now, or the most it has held (link psapi).
inline std::size_t PrivateBytes(bool peak)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return peak ? counters.PeakPagefileUsage : counters.PagefileUsage;
}

// How long a step takes, with the painting it leaves: what the person waits
// for.
template <typename Step>
double TimedWithPainting(Step&& step)
{
    const auto start = BenchClock::now();
    step();
    const double elapsed = MillisecondsSince(start);
    const auto paint = BenchClock::now();
    Application.ProcessMessages();
    return elapsed + MillisecondsSince(paint);
}
