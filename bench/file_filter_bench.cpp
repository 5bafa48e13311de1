// Times the file dialog listing a folder of 2,000 files, bare and with the
// file list filter removing half of them (every name read through the
// folder), in the same run. The listing is the navigation into the folder,
// where the filter runs on the list's sort request.

#include "ApFileListSession.h"
#include "BenchReport.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int Files = 2000;
constexpr int Runs = 3;

class BenchDialog : public TApFileListHost {
public:
    BenchDialog(std::string parent, std::string folder, bool filtering)
        : parent_(std::move(parent)), folder_(std::move(folder)), filtering_(filtering)
    {
        filter_.Enabled = filtering;
        filter_.OnIncludeFile = [](TComponent*, const std::string& name, bool& include) {
            include = !name.ends_with(".dat");
        };
    }

    // Milliseconds to open the folder; the entries left in the list.
    std::pair<double, int> Measure()
    {
        char fileName[MAX_PATH] = "";
        OPENFILENAMEA record{};
        record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        record.lpstrFile = fileName;
        record.nMaxFile = sizeof fileName;
        record.lpstrInitialDir = parent_.c_str();
        record.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        record.lpfnHook = &BenchDialog::HookProc;
        record.lCustData = reinterpret_cast<LPARAM>(this);
        GetSaveFileNameA(&record);
        return {milliseconds_, entries_};
    }

    HWND DialogWindow() const override { return dialog_; }
    TApListViewStyles& ListViewStyles() override { return styles_; }
    TApFileFilter& ExtFilter() override { return filter_; }
    TApToolBarOptions& ToolBarOptions() override { return toolBar_; }
    void SelectionStyleChanging(TViewStyle, bool&) override {}
    void SelectionStyleChanged(TViewStyle) override {}

private:
    static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
            return TRUE;
        }
        auto* self = reinterpret_cast<BenchDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (!self)
            return FALSE;
        if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE)
            self->Shown(GetParent(window));
        else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_FOLDERCHANGE &&
                 self->session_)
            self->session_->FolderChanged();
        else if (message == WM_DESTROY)
            self->session_.reset();
        return FALSE;
    }

    void Shown(HWND dialog)
    {
        dialog_ = dialog;
        if (filtering_) {
            session_ = std::make_unique<TApFileListSession>(*this);
            session_->StartHooks();
            session_->ShowDone();
        }
        const auto start = BenchClock::now();
        SetDlgItemTextA(dialog, 1152, folder_.c_str());
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        milliseconds_ = MillisecondsSince(start);
        const HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
        const HWND list = view ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
        entries_ = list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }

    std::string parent_;
    std::string folder_;
    bool filtering_;
    HWND dialog_ = nullptr;
    TApListViewStyles styles_;
    TApFileFilter filter_;
    TApToolBarOptions toolBar_;
    std::unique_ptr<TApFileListSession> session_;
    double milliseconds_ = 0;
    int entries_ = 0;
};

std::string MakeFolder()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string parent = std::string(temp) + "quillo-filter-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(parent.c_str(), nullptr);
    const std::string folder = parent + "\\files";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < Files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\file%04d.%s", i, i % 2 ? "dat" : "txt");
        const HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
    return parent;
}

void RemoveFolder(const std::string& parent)
{
    const std::string folder = parent + "\\files";
    for (int i = 0; i < Files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\file%04d.%s", i, i % 2 ? "dat" : "txt");
        DeleteFileA((folder + name).c_str());
    }
    RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(parent.c_str());
}
}

int main()
{
    const std::string parent = MakeFolder();
    std::vector<double> bare;
    std::vector<double> filtered;
    int bareEntries = 0;
    int filteredEntries = 0;
    for (int run = 0; run < Runs; ++run) {
        auto [time, entries] = BenchDialog(parent, parent + "\\files", false).Measure();
        bare.push_back(time);
        bareEntries = entries;
        std::tie(time, entries) = BenchDialog(parent, parent + "\\files", true).Measure();
        filtered.push_back(time);
        filteredEntries = entries;
    }
    RemoveFolder(parent);
    std::printf("listing 2,000 files: bare %s (%d entries), filtered %s (%d entries)\n", RunsText(bare).c_str(),
                bareEntries, RunsText(filtered).c_str(), filteredEntries);
    const double added = 100.0 * (Best(filtered) - Best(bare)) / Best(bare);
    Report("file list filter: time added to listing 2,000 files", added, 20, "%");
    return 0;
}
