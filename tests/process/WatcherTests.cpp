// The shutdown watcher, _Dorwick.exe, driven from outside: the test plays
// Quillo's part by showing its own "Closing Quillo..." window.

#include "ProcessDriver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kClosingTitle = "Closing Quillo...";
constexpr const char* kWatcherCaption = "_Dorwick";
constexpr const char* kInstanceMutex = "_DORWICK.MUTEX";
constexpr const char* kReadyMutex = "_DORWICK_READY.MUTEX";

constexpr auto kStartBound = 10s;
// Ending the dialog hides an activated window; under Wine with no window
// manager that alone takes two seconds, so "at once" gets room to spare.
constexpr auto kExitBound = 10s;

std::string WatcherPath() { return BuildBinFolder() + "\\_Dorwick.exe"; }

// The test thread owns a window, so it answers whatever the system sends it
// while it waits.
void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound)
{
    return WaitUntil(
        [&] {
            PumpMessages();
            return condition();
        },
        bound);
}

// Stands in for the window Quillo shows while it closes.
class ClosingWindow {
public:
    ClosingWindow()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass); // fails harmlessly when a previous test registered it
        // Shown without being activated: under Wine with no window manager, a
        // window that was ever active waits two seconds for one when it goes.
        hwnd_ = CreateWindowExA(0, kClassName, kClosingTitle, WS_POPUP | WS_BORDER, 40, 40, 240,
                                100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (hwnd_)
            SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        PumpMessages();
    }
    ClosingWindow(const ClosingWindow&) = delete;
    ClosingWindow& operator=(const ClosingWindow&) = delete;
    ~ClosingWindow() { Close(); }

    HWND Handle() const { return hwnd_; }

    void Close()
    {
        if (hwnd_)
            DestroyWindow(hwnd_);
        hwnd_ = nullptr;
        PumpMessages();
    }

private:
    static constexpr const char* kClassName = "QuilloTestClosingWindow";
    HWND hwnd_ = nullptr;
};

// True while some other thread owns the mutex. Taking it here would mean
// nobody held it; then it is given straight back.
bool MutexHeldElsewhere(const char* name)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name);
    if (!mutex)
        return false;
    const DWORD result = WaitForSingleObject(mutex, 0);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED)
        ReleaseMutex(mutex);
    CloseHandle(mutex);
    return result == WAIT_TIMEOUT;
}

std::string WindowText(HWND hwnd)
{
    // GetWindowText reads another process's window without sending it a
    // message, which matters: the watcher dispatches nothing while it waits.
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

HWND WatcherDialog() { return FindTopLevelWindow(kWatcherCaption, "#32770"); }

// Resources read straight out of the executable, without running it.
class WatcherModule {
public:
    WatcherModule()
        : module_(LoadLibraryExA(WatcherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    WatcherModule(const WatcherModule&) = delete;
    WatcherModule& operator=(const WatcherModule&) = delete;
    ~WatcherModule()
    {
        if (module_)
            FreeLibrary(module_);
    }

    bool Loaded() const { return module_ != nullptr; }

    // The resource's bytes, or null when it is missing.
    const unsigned char* Resource(int id, const char* type, DWORD* size = nullptr) const
    {
        HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
        if (!found)
            return nullptr;
        if (size)
            *size = SizeofResource(module_, found);
        HGLOBAL loaded = LoadResource(module_, found);
        return loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
    }

private:
    HMODULE module_;
};

template <typename T> T ReadAt(const unsigned char* bytes, std::size_t offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

std::string VersionString(const std::vector<char>& info, const std::string& block,
                          const std::string& name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\" + block + "\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || !value)
        return "<missing>";
    return static_cast<const char*>(value);
}

} // namespace

TEST(Watcher, StartedAloneExitsAtOnceWithoutWindowOrMutex)
{
    ASSERT_EQ(FindTopLevelWindow(kClosingTitle), nullptr);

    ChildProcess watcher;
    ASSERT_TRUE(watcher.Start(WatcherPath()));

    bool dialogSeen = false;
    bool readySeen = false;
    const bool exited = WaitUntil(
        [&] {
            dialogSeen = dialogSeen || FindTopLevelWindow(kWatcherCaption) != nullptr;
            readySeen = readySeen || MutexExists(kReadyMutex);
            return !watcher.Running();
        },
        5s);

    ASSERT_TRUE(exited);
    EXPECT_EQ(watcher.ExitCode(), 0u);
    EXPECT_FALSE(dialogSeen);
    EXPECT_FALSE(readySeen);
    EXPECT_FALSE(MutexExists(kReadyMutex));
    EXPECT_FALSE(MutexExists(kInstanceMutex));
}

TEST(Watcher, HoldsReadyMutexWhileClosingWindowExistsThenLeaves)
{
    ClosingWindow closing;
    ASSERT_NE(closing.Handle(), nullptr);

    ChildProcess watcher;
    ASSERT_TRUE(watcher.Start(WatcherPath()));

    ASSERT_TRUE(PumpUntil([] { return MutexExists(kReadyMutex); }, kStartBound));
    EXPECT_TRUE(MutexHeldElsewhere(kReadyMutex));
    EXPECT_TRUE(MutexHeldElsewhere(kInstanceMutex));

    // The dialog is on screen and says what is happening.
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (dialog = WatcherDialog()) != nullptr; }, kStartBound));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(dialog) != FALSE; }, kStartBound));
    HWND text = FindWindowExA(dialog, nullptr, "Static", nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(WindowText(text), kClosingTitle);

    // It keeps waiting as long as the closing window is there.
    EXPECT_FALSE(PumpUntil([&] { return !watcher.Running(); }, 700ms));
    EXPECT_TRUE(MutexHeldElsewhere(kReadyMutex));

    closing.Close();
    ASSERT_TRUE(PumpUntil([&] { return !watcher.Running(); }, kExitBound));
    EXPECT_EQ(watcher.ExitCode(), 0u);
    EXPECT_FALSE(MutexExists(kReadyMutex));
    EXPECT_FALSE(MutexExists(kInstanceMutex));
    EXPECT_EQ(WatcherDialog(), nullptr);
}

TEST(Watcher, SecondInstanceLeavesAtOnceAndFirstKeepsReadyMutex)
{
    ClosingWindow closing;
    ASSERT_NE(closing.Handle(), nullptr);

    ChildProcess first;
    ASSERT_TRUE(first.Start(WatcherPath()));
    ASSERT_TRUE(PumpUntil([] { return MutexExists(kReadyMutex); }, kStartBound));

    ChildProcess second;
    ASSERT_TRUE(second.Start(WatcherPath()));
    ASSERT_TRUE(PumpUntil([&] { return !second.Running(); }, kExitBound));
    EXPECT_EQ(second.ExitCode(), 0u);

    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(MutexHeldElsewhere(kReadyMutex));
    EXPECT_TRUE(MutexHeldElsewhere(kInstanceMutex));

    closing.Close();
    ASSERT_TRUE(PumpUntil([&] { return !first.Running(); }, kExitBound));
    EXPECT_EQ(first.ExitCode(), 0u);
    EXPECT_FALSE(MutexExists(kReadyMutex));
    EXPECT_FALSE(MutexExists(kInstanceMutex));
}

TEST(Watcher, ResourcesHoldDialogIconAndVersion)
{
    WatcherModule module;
    ASSERT_TRUE(module.Loaded());

    // Dialog 102: an extended template, no parent needed, one static text.
    DWORD size = 0;
    const unsigned char* dialog = module.Resource(102, MAKEINTRESOURCEA(5) /* RT_DIALOG */, &size);
    ASSERT_NE(dialog, nullptr);
    ASSERT_GE(size, 26u);
    EXPECT_EQ(ReadAt<std::uint16_t>(dialog, 0), 1);      // dlgVer
    EXPECT_EQ(ReadAt<std::uint16_t>(dialog, 2), 0xFFFF); // signature of DIALOGEX
    EXPECT_EQ(ReadAt<std::uint32_t>(dialog, 8), 0x00040000u);
    EXPECT_EQ(ReadAt<std::uint32_t>(dialog, 12), 0x90C800C0u);
    EXPECT_EQ(ReadAt<std::uint16_t>(dialog, 16), 1); // controls
    EXPECT_EQ(ReadAt<std::int16_t>(dialog, 18), 0);
    EXPECT_EQ(ReadAt<std::int16_t>(dialog, 20), 0);
    EXPECT_EQ(ReadAt<std::int16_t>(dialog, 22), 233);
    EXPECT_EQ(ReadAt<std::int16_t>(dialog, 24), 74);

    // Icon group 128: one 16x16 image in 256 colours.
    const unsigned char* group =
        module.Resource(128, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, &size);
    ASSERT_NE(group, nullptr);
    ASSERT_GE(size, 6u + 14u);
    EXPECT_EQ(ReadAt<std::uint16_t>(group, 4), 1);     // images
    EXPECT_EQ(group[6], 16);                           // width
    EXPECT_EQ(group[7], 16);                           // height
    EXPECT_EQ(ReadAt<std::uint16_t>(group, 6 + 6), 8); // bits per pixel

    DWORD ignored = 0;
    const std::string path = WatcherPath();
    const DWORD infoSize = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(infoSize, 0u);
    std::vector<char> info(infoSize);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, infoSize, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    // The strings sit in the block the translation table names.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    char block[16] = {};
    wsprintfA(block, "%04X%04X", translation[0], translation[1]);
    EXPECT_STREQ(block, "040904E4");

    EXPECT_EQ(VersionString(info, block, "FileDescription"), "Quillo Shutdown Module");
    EXPECT_EQ(VersionString(info, block, "InternalName"), "_Dorwick");
    EXPECT_EQ(VersionString(info, block, "OriginalFilename"), "_Dorwick.exe");
    EXPECT_EQ(VersionString(info, block, "ProductName"), "Quillo _Dorwick");
    EXPECT_EQ(VersionString(info, block, "FileVersion"), "1.2.0.0");
    EXPECT_EQ(VersionString(info, block, "ProductVersion"), "1.2.0.0");
}
