#include "EmfPrinter.h"

#include <algorithm>

namespace {
struct ReadState {
    TEmfPrinter::Page* page = nullptr;
    std::string face;
    int height = 0;
    // Fonts by their object number, selected by EMR_SELECTOBJECT.
    std::vector<std::pair<DWORD, std::pair<std::string, int>>> fonts;
};

std::string AnsiFromWide(const wchar_t* text, int count)
{
    std::string ansi(static_cast<std::size_t>(count) * 2 + 1, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, text, count, ansi.data(), static_cast<int>(ansi.size()), nullptr,
                                           nullptr);
    ansi.resize(static_cast<std::size_t>(std::max(length, 0)));
    return ansi;
}

int CALLBACK ReadRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
{
    auto& state = *reinterpret_cast<ReadState*>(data);
    const auto* bytes = reinterpret_cast<const BYTE*>(record);
    switch (record->iType) {
    case EMR_EXTCREATEFONTINDIRECTW: {
        const auto& font = *reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        state.fonts.push_back({font.ihFont, {AnsiFromWide(font.elfw.elfLogFont.lfFaceName,
                                                          lstrlenW(font.elfw.elfLogFont.lfFaceName)),
                                             font.elfw.elfLogFont.lfHeight}});
        break;
    }
    case EMR_SELECTOBJECT: {
        const DWORD object = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
        for (const auto& [number, font] : state.fonts)
            if (number == object) {
                state.face = font.first;
                state.height = font.second;
            }
        break;
    }
    case EMR_EXTTEXTOUTW:
    case EMR_EXTTEXTOUTA: {
        const auto& out = *reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const int count = static_cast<int>(out.emrtext.nChars);
        std::string text;
        if (record->iType == EMR_EXTTEXTOUTW)
            text = AnsiFromWide(reinterpret_cast<const wchar_t*>(bytes + out.emrtext.offString), count);
        else
            text.assign(reinterpret_cast<const char*>(bytes + out.emrtext.offString), static_cast<std::size_t>(count));
        state.page->texts.push_back(
            {text, out.emrtext.ptlReference.x, out.emrtext.ptlReference.y, state.face, state.height});
        break;
    }
    default:
        break;
    }
    return 1;
}
} // namespace

TEmfPrinter::TEmfPrinter(int width, int height, int dpi) : width_(width), height_(height), dpi_(dpi) {}

TEmfPrinter::~TEmfPrinter() { ClosePage(false); }

void TEmfPrinter::BeginDoc()
{
    Steps.push_back("begin " + Title);
    pending_.clear();
    started_ = 0;
    StartPage();
}

void TEmfPrinter::NewPage()
{
    Steps.push_back("new page");
    if (FailOnPage > 0 && started_ >= FailOnPage)
        throw EPrinter("The printer is out of paper.");
    // Thrown, not reported: the benchmarks print through this printer too.
    if (started_ >= MostPages)
        throw EPrinter("The print job does not end");
    ClosePage(true);
    StartPage();
    if (OnNewPage)
        OnNewPage(started_);
}

void TEmfPrinter::EndDoc()
{
    Steps.push_back("end");
    ClosePage(true);
    Pages = std::move(pending_);
    pending_.clear();
}

void TEmfPrinter::Abort()
{
    Steps.push_back("abort");
    ClosePage(false);
    pending_.clear();
}

void TEmfPrinter::StartPage()
{
    // The frame in hundredths of millimetres.
    const RECT frame{0, 0, MulDiv(width_, 2540, dpi_), MulDiv(height_, 2540, dpi_)};
    dc_ = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    ++started_;
}

void TEmfPrinter::ClosePage(bool keep)
{
    if (!dc_)
        return;
    HENHMETAFILE metafile = CloseEnhMetaFile(dc_);
    dc_ = nullptr;
    if (keep && metafile) {
        ReadState state;
        state.page = &pending_.emplace_back();
        EnumEnhMetaFile(nullptr, metafile, ReadRecord, &state, nullptr);
    }
    if (metafile)
        DeleteEnhMetaFile(metafile);
}
