#include "IconClip.h"

#include "AniBytes.h"
#include "Exceptions.h"
#include "GdiHandles.h"
#include "PictureFormats.h"
#include "Streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace anibytes;

namespace {

constexpr TColor kRed = 0x000080; // the solid pictures' colour

std::unique_ptr<TIcon> IconOf(const std::string& fileImage)
{
    auto icon = std::make_unique<TIcon>();
    TStringStream stream(fileImage);
    icon->LoadFromStream(stream);
    return icon;
}

// A red picture whose top-left pixel is masked out.
std::string CorneredIcon(int size)
{
    IconImage picture = SolidPicture(size, size);
    const auto colorRow = static_cast<std::size_t>(DibRowSize(size, 4));
    const auto maskRow = static_cast<std::size_t>(DibRowSize(size, 1));
    // Rows run bottom-up: the top row is the last.
    picture.colorBits[colorRow * static_cast<std::size_t>(size - 1)] = 0x01;
    picture.maskBits[maskRow * static_cast<std::size_t>(size - 1)] = 0x80;
    return IconFile({picture});
}

class OwnedIconHandle {
public:
    explicit OwnedIconHandle(HICON icon) : icon_(icon) {}
    ~OwnedIconHandle()
    {
        if (icon_)
            DestroyIcon(icon_);
    }
    HICON Get() const { return icon_; }

private:
    HICON icon_;
};

// Another thread holds the clipboard open until the scope ends.
class ClipboardHeldElsewhere {
public:
    ClipboardHeldElsewhere()
        : opened_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          holder_([this] {
              // The clipboard belongs to a window: one opened without a
              // window is open to every thread.
              HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
              held_ = window && OpenClipboard(window) != FALSE;
              SetEvent(opened_);
              WaitForSingleObject(release_, INFINITE);
              if (held_)
                  CloseClipboard();
              if (window)
                  DestroyWindow(window);
          })
    {
        WaitForSingleObject(opened_, INFINITE);
    }
    ~ClipboardHeldElsewhere()
    {
        SetEvent(release_);
        holder_.join();
        CloseHandle(opened_);
        CloseHandle(release_);
    }
    bool Held() const { return held_; }

private:
    HANDLE opened_;
    HANDLE release_;
    bool held_ = false;
    std::thread holder_;
};

} // namespace

TEST(IconStreams, LoadedBytesComeBackAsTheyWereAndAHandleGetsOnePictureOfItsOwn)
{
    const std::string bytes = IconFile({SolidPicture(16, 16), SolidPicture(48, 48, 24)});
    auto icon = IconOf(bytes);
    ASSERT_NE(icon->Handle(), nullptr);
    EXPECT_EQ(icon->Width(), GetSystemMetrics(SM_CXICON));
    TMemoryStream written;
    icon->SaveToStream(written);
    EXPECT_EQ(std::string(static_cast<const char*>(written.Memory()), static_cast<std::size_t>(written.Size())), bytes);

    TIcon copy;
    copy.Assign(*icon);
    EXPECT_EQ(copy.FileImage(), bytes);
    EXPECT_NE(copy.Handle(), icon->Handle());

    // Made from a handle alone: one picture of the icon's own size and depth.
    TIcon fromHandle;
    fromHandle.SetHandle(CopyIcon(icon->Handle()));
    const std::string made = fromHandle.FileImage();
    IconDirectory directory;
    ASSERT_EQ(ReadIconDirectory(made, directory), IconImageError::None);
    ASSERT_EQ(directory.entries.size(), 1u);
    IconImageParts parts;
    ASSERT_EQ(LocateIconImage(made, directory.entries[0], parts), IconImageError::None);
    EXPECT_EQ(parts.width, icon->Width());
    auto reloaded = IconOf(made);
    EXPECT_EQ(reloaded->Width(), icon->Width());

    TIcon untouched;
    untouched.SetHandle(CopyIcon(icon->Handle()));
    const HICON before = untouched.Handle();
    for (const std::string& damaged : {bytes.substr(0, 30), AsCursor(bytes, 1, 1), std::string()}) {
        TStringStream stream(damaged);
        EXPECT_THROW(untouched.LoadFromStream(stream), EInvalidGraphic);
        EXPECT_EQ(untouched.Handle(), before);
    }
}

TEST(RealSizeIcon, IsBuiltAtThePicturesOwnSizeAndDrawnThere)
{
    auto icon = IconOf(IconFile({SolidPicture(48, 48)}));
    OwnedIconHandle real(CreateRealSizeIcon(*icon));
    const SIZE size = GetIconSize(real.Get());
    EXPECT_EQ(size.cx, 48);
    EXPECT_EQ(size.cy, 48);

    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(80, 80);
    target.Canvas().BrushColor = clWhite;
    target.Canvas().FillRect(RECT{0, 0, 80, 80});
    DrawRealSizeIcon(target.Canvas(), *icon, 10, 10);
    EXPECT_EQ(target.Canvas().Pixel(9, 9), clWhite);
    EXPECT_EQ(target.Canvas().Pixel(10, 10), kRed);
    EXPECT_EQ(target.Canvas().Pixel(57, 57), kRed);
    EXPECT_EQ(target.Canvas().Pixel(58, 58), clWhite);

    // Several pictures: the one that suits a screen of 16 bits or more.
    auto several = IconOf(IconFile({SolidPicture(16, 16), SolidPicture(40, 40, 24)}));
    OwnedIconHandle chosen(CreateRealSizeIcon(*several));
    EXPECT_EQ(GetIconSize(chosen.Get()).cx, 40);
}

TEST(RealSizeIcon, OtherTypesGiveCopiesTheCallerMayDestroyAndDamageIsRefused)
{
    auto icon = IconOf(IconFile({SolidPicture(32, 32)}));
    std::string typeZero = IconFile({SolidPicture(32, 32)});
    typeZero[2] = 0;
    std::string png = IconFile({SolidPicture(32, 32)});
    png.replace(22, 8, std::string("\x89PNG\r\n\x1a\n", 8));
    for (const std::string& bytes : {typeZero, AsCursor(png, 0, 0), png}) {
        HICON made = CreateRealSizeIconFromImage(bytes, icon->Handle());
        ASSERT_NE(made, nullptr);
        EXPECT_NE(made, icon->Handle());
        EXPECT_TRUE(DestroyIcon(made)) << "the caller owns what it gets";
    }
    EXPECT_NE(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), nullptr) << "the shared icon is still there";

    const std::string good = IconFile({SolidPicture(32, 32)});
    std::string hostile = good;
    Set32(hostile, 22 + 4, 0x7FFFFFFF); // a width whose rows cannot fit
    for (const std::string& bytes : {good.substr(0, 5), good.substr(0, 100), hostile})
        EXPECT_THROW(CreateRealSizeIconFromImage(bytes, icon->Handle()), EInvalidGraphic);
}

TEST(IconClipboard, AnIconComesBackTheSameWithItsBitmapOnTheBackColour)
{
    ASSERT_NE(RegisterIconClipboardFormat(), 0u);
    EXPECT_EQ(RegisterIconClipboardFormat(), IconClipboardFormat());
    const std::string bytes = CorneredIcon(48);
    auto icon = IconOf(bytes);
    constexpr TColor back = 0x00C08040;
    CopyIconToClipboard(*icon, back);

    auto pasted = CreateIconFromClipboard();
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->FileImage(), bytes);
    TIcon assigned;
    AssignClipboardIcon(assigned);
    EXPECT_EQ(assigned.FileImage(), bytes);

    ASSERT_TRUE(OpenClipboard(nullptr));
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP description{};
    ASSERT_NE(bitmap, nullptr);
    GetObjectA(bitmap, sizeof description, &description);
    EXPECT_EQ(description.bmWidth, 48);
    EXPECT_EQ(description.bmHeight, 48);
    {
        MemoryDC dc(nullptr);
        Selection selected(dc.Get(), bitmap);
        EXPECT_EQ(GetPixel(dc.Get(), 0, 0), back);
        EXPECT_EQ(GetPixel(dc.Get(), 1, 0), kRed);
    }
    CloseClipboard();
}

// A stored picture names its class; the icon must come back through the
// picture registry by class, extension and clipboard block alike.
TEST(IconClipboard, TheIconJoinsThePictureRegistry)
{
    RegisterIconClipboardFormat();
    const std::string bytes = CorneredIcon(32);
    auto icon = IconOf(bytes);
    TMemoryStream stored;
    icon->WriteData(stored);
    stored.SetPosition(0);
    auto byClass = CreateGraphicByClassName("TIcon");
    ASSERT_NE(byClass, nullptr);
    byClass->ReadData(stored);
    EXPECT_EQ(dynamic_cast<TIcon&>(*byClass).FileImage(), bytes);
    EXPECT_NE(CreateGraphicForExtension("ico"), nullptr);

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    ASSERT_NE(block, nullptr);
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    auto byFormat = CreateGraphicForClipboardFormat(IconClipboardFormat());
    ASSERT_NE(byFormat, nullptr);
    byFormat->LoadFromClipboardFormat(IconClipboardFormat(), block, nullptr);
    EXPECT_EQ(dynamic_cast<TIcon&>(*byFormat).FileImage(), bytes);
    GlobalFree(block);
}

TEST(IconClipboard, NothingChangesWhileAnotherThreadHoldsTheClipboard)
{
    RegisterIconClipboardFormat();
    auto icon = IconOf(IconFile({SolidPicture(32, 32)}));
    CopyIconToClipboard(*icon, clWhite);
    TIcon target;
    target.SetHandle(CopyIcon(icon->Handle()));
    const HICON before = target.Handle();
    {
        ClipboardHeldElsewhere held;
        ASSERT_TRUE(held.Held());
        AssignClipboardIcon(target);
        EXPECT_EQ(target.Handle(), before);
        EXPECT_EQ(CreateIconFromClipboard(), nullptr);
        EXPECT_THROW(CopyIconToClipboard(*icon, clWhite), Exception);
    }
    // Damaged data under the format is refused, the clipboard closed again.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 10);
    std::memcpy(GlobalLock(block), "\0\0\1\0\xFF\xFF\0\0\0\0", 10);
    GlobalUnlock(block);
    SetClipboardData(IconClipboardFormat(), block);
    CloseClipboard();
    EXPECT_THROW(AssignClipboardIcon(target), EInvalidGraphic);
    EXPECT_EQ(target.Handle(), before);
    ASSERT_TRUE(OpenClipboard(nullptr)) << "closed on the error path";
    CloseClipboard();
}
